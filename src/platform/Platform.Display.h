#pragma once

namespace Platform {

// True when windows can be shown to a person: a display server is reachable
// and the GUI is not running on the offscreen platform.
bool HasVisibleDisplay();

} // namespace Platform
