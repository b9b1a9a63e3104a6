#pragma once
// The system's on-screen keyboard: its program and its window.

#include <QString>
#include <QtGlobal>

namespace Platform {

// A top-level window of the window system; 0 for none.
using TWindowHandle = quintptr;

// The full name of the on-screen keyboard program this system offers; empty
// when there is none.
QString OnScreenKeyboardPath();
// The running keyboard's top-level window; 0 when none runs.
TWindowHandle FindOnScreenKeyboardWindow();
// Restores the window when it is minimised and puts it on top of the others.
bool BringWindowToFront(TWindowHandle window);
// Asks the window to close, as its close button does.
bool CloseWindow(TWindowHandle window);
// Starts the keyboard program; true when it started.
bool StartOnScreenKeyboard(const QString& path);

} // namespace Platform
