#pragma once
// The login form's user name and password fields of a token's auto-login: a
// small table of element IDs and names, edited in place.

#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QTableWidget;

class TfrWebFieldsEditView : public QWidget, public IWebFieldsEditView
{
    Q_OBJECT
public:
    explicit TfrWebFieldsEditView(QWidget* parent = nullptr);

    // IWebFieldsEditView
    Lockwyn::TWebFormElement GetUserNameElement() const override;
    Lockwyn::TWebFormElement GetPasswordElement() const override;
    void SetUserNameElement(const Lockwyn::TWebFormElement& element) override;
    void SetPasswordElement(const Lockwyn::TWebFormElement& element) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    Lockwyn::TWebFormElement Element(int row) const;
    void SetElement(int row, const Lockwyn::TWebFormElement& element);
    void LocalizerUpdate();
    void FitHeight();

    QTableWidget* sgWebElements = nullptr;
};
