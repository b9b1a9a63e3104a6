#pragma once
// Opens the system's on-screen keyboard, or brings it to the front when it
// runs already. Keeps no state.

#include <QString>

#include "Platform.OnScreenKeyboard.h"

class TOnScreenKeyboard
{
public:
    // Brings a running keyboard to the front, or starts it; true on success.
    static bool Open();
    // Asks a running keyboard to close; true when one was found.
    static bool Close();
    // The keyboard program exists on this system.
    static bool IsAvailable();
    // Its full name; empty when the system offers none.
    static QString GetKeyboardPath();
    // The keyboard's top-level window; 0 when it does not run.
    static Platform::TWindowHandle FindKeyboardWindow();
};
