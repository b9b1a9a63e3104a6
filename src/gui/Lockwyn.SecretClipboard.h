#pragma once
// Passwords reach the clipboard only through the clipboard cleaner: marked
// secret and, when the settings want it, taken off again after their delay.

#include <QString>

class QWidget;

// Returns the seconds until the clipboard is cleaned, 0 when it is not.
int CopySecretToClipboard(const QString& secret);

// Tells over the window what was copied and, when the clipboard is cleaned,
// when that happens.
void ShowSecretCopiedToast(QWidget* window, const QString& copied, int seconds);
