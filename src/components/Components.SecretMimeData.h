#pragma once
// Clipboard content for a secret text: the text lives in wiped memory and is
// handed out only when a reader asks for it, beside the entries that keep
// clipboard managers and the clipboard history from storing it
// (Platform::SecretClipboardMarks). The clipboard owns and frees it.

#include <QMimeData>

#include "Components.SecureText.h"

class TSecretMimeData : public QMimeData
{
    Q_OBJECT
public:
    explicit TSecretMimeData(QStringView text);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TSecureText FText;
};
