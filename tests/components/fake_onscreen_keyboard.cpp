// Stands in for an on-screen keyboard in the tests: a window whose WM_CLASS
// is the name it was started by ("onboard", "florence"), which ends when it
// is asked to close. Each start appends a line to the file named by
// FAKE_KEYBOARD_LOG.

#include <xcb/xcb.h>

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

void LogStart()
{
    if (const char* log = std::getenv("FAKE_KEYBOARD_LOG")) {
        if (std::FILE* file = std::fopen(log, "a")) {
            std::fprintf(file, "%d\n", int(getpid()));
            std::fclose(file);
        }
    }
}

} // namespace

int main(int, char** argv)
{
    // Logged before the window can be found.
    LogStart();
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 320, 120, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);

    std::string name = argv[0];
    name = name.substr(name.find_last_of('/') + 1);
    std::string windowClass = name + '\0' + name + '\0';
    windowClass[name.size() + 1] = char(std::toupper(windowClass[name.size() + 1]));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, uint32_t(windowClass.size()), windowClass.data());
    const xcb_atom_t protocols = Atom(connection, "WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = Atom(connection, "WM_DELETE_WINDOW");
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32, 1,
                        &deleteWindow);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool close =
            (event->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
            reinterpret_cast<xcb_client_message_event_t*>(event)->data.data32[0] == deleteWindow;
        std::free(event);
        if (close)
            break;
    }
    xcb_disconnect(connection);
    return 0;
}
