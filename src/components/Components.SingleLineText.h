#pragma once
// Text that must stay on one line (titles, names, addresses): line breaks and
// tabs become single spaces, other control characters are dropped.

#include <QString>
#include <QValidator>

QString SingleLineText(const QString& text);

// Cleans what is typed or pasted into a line edit as SingleLineText does.
class TSingleLineValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
