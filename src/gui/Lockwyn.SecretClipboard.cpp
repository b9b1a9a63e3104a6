#include "Lockwyn.SecretClipboard.h"

#include "Components.ClipboardAutoCleaner.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "OvToast.h"

namespace {

constexpr int CopiedToastInterval = 2000;
constexpr int CleanNoticeToastInterval = 4000;

} // namespace

int CopySecretToClipboard(const QString& secret)
{
    const TLockwynGUISettings& settings = GUISettings();
    const int seconds = settings.AutoCleanClipboard() ? settings.AutoCleanClipboardSeconds() : 0;
    ClipboardAutoCleaner().CopyToClipboard(secret, seconds > 0 ? seconds : -1);
    return seconds;
}

void ShowSecretCopiedToast(QWidget* window, const QString& copied, int seconds)
{
    if (seconds <= 0) {
        TOvToast::Show(window, copied, CopiedToastInterval);
        return;
    }
    TOvToast::Show(window,
                   copied + u'\n' +
                       Lockwyn::Format(LocalizedStrings().FAutoCleanClipboardMessage, seconds),
                   CleanNoticeToastInterval);
}
