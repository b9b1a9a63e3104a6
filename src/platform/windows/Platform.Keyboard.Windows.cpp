#include "Platform.Keyboard.h"

#include <windows.h>

namespace Platform {

bool IsCapsLockOn()
{
    return (GetKeyState(VK_CAPITAL) & 1) != 0;
}

} // namespace Platform
