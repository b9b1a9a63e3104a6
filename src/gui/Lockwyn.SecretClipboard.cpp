#include "Lockwyn.SecretClipboard.h"

#include "Components.ClipboardAutoCleaner.h"
#include "Lockwyn.Settings.h"

int CopySecretToClipboard(const QString& secret)
{
    const TLockwynGUISettings& settings = GUISettings();
    const int seconds = settings.AutoCleanClipboard() ? settings.AutoCleanClipboardSeconds() : 0;
    ClipboardAutoCleaner().CopyToClipboard(secret, seconds > 0 ? seconds : -1);
    return seconds;
}
