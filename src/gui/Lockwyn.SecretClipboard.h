#pragma once
// Passwords reach the clipboard only through the clipboard cleaner: marked
// secret and, when the settings want it, taken off again after their delay.

#include <QString>

// Returns the seconds until the clipboard is cleaned, 0 when it is not.
int CopySecretToClipboard(const QString& secret);
