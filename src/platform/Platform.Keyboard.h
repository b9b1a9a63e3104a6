#pragma once

namespace Platform {

// True while Caps Lock is toggled on. False when the state cannot be read
// (no window system that reports it, such as the offscreen platform).
bool IsCapsLockOn();

} // namespace Platform
