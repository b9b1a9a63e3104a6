#include "Platform.Clipboard.h"

namespace Platform {

// Honoured by KDE's Klipper and other clipboard managers on X11 and Wayland.
QList<TClipboardMark> SecretClipboardMarks()
{
    return {{QStringLiteral("x-kde-passwordManagerHint"), QByteArrayLiteral("secret")}};
}

} // namespace Platform
