#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace Platform {

struct TClipboardMark
{
    QString MimeType;
    QByteArray Value;
};

// Clipboard entries, put beside a text, that ask clipboard managers and the
// system's clipboard history not to keep it (a password).
QList<TClipboardMark> SecretClipboardMarks();

} // namespace Platform
