#include "Components.SecretMimeData.h"

#include "Platform.Clipboard.h"

namespace {

const QString PlainText = QStringLiteral("text/plain");
const QString PlainTextUtf8 = QStringLiteral("text/plain;charset=utf-8");

} // namespace

TSecretMimeData::TSecretMimeData(QStringView text) : FText(text)
{
    for (const Platform::TClipboardMark& mark : Platform::SecretClipboardMarks())
        setData(mark.MimeType, mark.Value);
}

QStringList TSecretMimeData::formats() const
{
    return QStringList{PlainText} + QMimeData::formats();
}

bool TSecretMimeData::hasFormat(const QString& mimeType) const
{
    return mimeType == PlainText || mimeType == PlainTextUtf8 || QMimeData::hasFormat(mimeType);
}

QVariant TSecretMimeData::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType != PlainText && mimeType != PlainTextUtf8)
        return QMimeData::retrieveData(mimeType, type);
    if (type.id() == QMetaType::QByteArray)
        return FText.View().toUtf8();
    return FText.View().toString();
}
