#include "Platform.Clipboard.h"

namespace Platform {

namespace {

// Qt puts an entry of this MIME type on the clipboard as the Windows
// clipboard format of the given name.
QString WindowsFormat(const char* name)
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QLatin1String(name));
}

QByteArray Dword(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    return bytes;
}

} // namespace

// Clipboard viewers and monitors skip content carrying the first format;
// Windows 10's clipboard history and cloud clipboard skip it when the other
// two hold a DWORD 0.
QList<TClipboardMark> SecretClipboardMarks()
{
    return {{WindowsFormat("ExcludeClipboardContentFromMonitorProcessing"), Dword(1)},
            {WindowsFormat("CanIncludeInClipboardHistory"), Dword(0)},
            {WindowsFormat("CanUploadToCloudClipboard"), Dword(0)}};
}

} // namespace Platform
