#include "Platform.Keyboard.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

namespace Platform {

// The core protocol's pointer query reports the modifier state, in which a
// toggled Caps Lock shows as the Lock modifier. Needs no keyboard extension.
bool IsCapsLockOn()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen)
        return false;
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, screen->root), nullptr);
    const bool on = reply && (reply->mask & XCB_MOD_MASK_LOCK);
    std::free(reply);
    return on;
}

} // namespace Platform
