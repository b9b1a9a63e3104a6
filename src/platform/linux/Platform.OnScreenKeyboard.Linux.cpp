#include "Platform.OnScreenKeyboard.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace Platform {

namespace {

// The keyboards in the order they are preferred. Each is known by its program
// name, which its windows carry as the instance or class of WM_CLASS.
constexpr const char* Keyboards[] = {"onboard", "florence"};

template <typename T> using TReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T> TReply<T> Reply(T* reply)
{
    return TReply<T>(reply, &std::free);
}

// A connection of its own to the X server, so that the keyboard is found
// whichever platform the program's windows use.
class TXConnection
{
public:
    TXConnection() : FConnection(xcb_connect(nullptr, &FScreen)) {}
    // A round trip first: requests still on their way when a client leaves
    // may be dropped.
    ~TXConnection()
    {
        if (Valid())
            std::free(
                xcb_get_input_focus_reply(FConnection, xcb_get_input_focus(FConnection), nullptr));
        xcb_disconnect(FConnection);
    }
    TXConnection(const TXConnection&) = delete;
    TXConnection& operator=(const TXConnection&) = delete;

    bool Valid() const { return xcb_connection_has_error(FConnection) == 0; }
    xcb_connection_t* Get() const { return FConnection; }

    xcb_window_t Root() const
    {
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(FConnection));
        for (int i = 0; i < FScreen && screens.rem > 0; ++i)
            xcb_screen_next(&screens);
        return screens.rem > 0 ? screens.data->root : xcb_window_t(XCB_WINDOW_NONE);
    }

    // XCB_ATOM_NONE when the server does not know the name.
    xcb_atom_t Atom(const char* name) const
    {
        const auto reply = Reply(xcb_intern_atom_reply(
            FConnection, xcb_intern_atom(FConnection, 1, uint16_t(std::strlen(name)), name),
            nullptr));
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    QList<xcb_window_t> Children(xcb_window_t window) const
    {
        QList<xcb_window_t> children;
        const auto reply =
            Reply(xcb_query_tree_reply(FConnection, xcb_query_tree(FConnection, window), nullptr));
        if (!reply)
            return children;
        const xcb_window_t* first = xcb_query_tree_children(reply.get());
        children = QList<xcb_window_t>(first, first + xcb_query_tree_children_length(reply.get()));
        return children;
    }

    // The two parts of WM_CLASS, instance and class; empty when it has none.
    QList<QByteArray> WindowClass(xcb_window_t window) const
    {
        const auto reply = Reply(xcb_get_property_reply(
            FConnection,
            xcb_get_property(FConnection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
            nullptr));
        if (!reply || reply->format != 8)
            return {};
        const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               xcb_get_property_value_length(reply.get()));
        return value.split('\0');
    }

    void SendClientMessage(xcb_window_t destination, xcb_window_t window, xcb_atom_t type,
                           const uint32_t (&data)[5], uint32_t eventMask) const
    {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = type;
        std::memcpy(event.data.data32, data, sizeof data);
        xcb_send_event(FConnection, 0, destination, eventMask,
                       reinterpret_cast<const char*>(&event));
    }

private:
    int FScreen = 0;
    xcb_connection_t* FConnection;
};

bool IsKeyboardWindow(const TXConnection& x, xcb_window_t window)
{
    const QList<QByteArray> parts = x.WindowClass(window);
    for (const QByteArray& part : parts) {
        for (const char* keyboard : Keyboards) {
            if (!part.isEmpty() && part.compare(keyboard, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

QString OnScreenKeyboardPath()
{
    for (const char* keyboard : Keyboards) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(keyboard));
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

// The top-level windows are the root's children; a window manager puts each
// into a frame of its own, so the children of those are looked at as well.
TWindowHandle FindOnScreenKeyboardWindow()
{
    const TXConnection x;
    if (!x.Valid())
        return 0;
    const QList<xcb_window_t> topLevel = x.Children(x.Root());
    for (const xcb_window_t window : topLevel) {
        if (IsKeyboardWindow(x, window))
            return window;
    }
    for (const xcb_window_t frame : topLevel) {
        for (const xcb_window_t window : x.Children(frame)) {
            if (IsKeyboardWindow(x, window))
                return window;
        }
    }
    return 0;
}

bool BringWindowToFront(TWindowHandle handle)
{
    const TXConnection x;
    if (!handle || !x.Valid())
        return false;
    const auto window = xcb_window_t(handle);
    // Mapping restores an iconified window; a window manager turns both
    // requests into its own restore and raise.
    const auto error = Reply(xcb_request_check(x.Get(), xcb_map_window_checked(x.Get(), window)));
    if (error)
        return false;
    const uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(x.Get(), window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    if (const xcb_atom_t active = x.Atom("_NET_ACTIVE_WINDOW"); active != XCB_ATOM_NONE) {
        // Source 2: a request on the user's behalf, as from a task bar.
        const uint32_t data[5] = {2, XCB_CURRENT_TIME, 0, 0, 0};
        x.SendClientMessage(x.Root(), window, active, data,
                            XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT |
                                XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
    }
    return true;
}

bool CloseWindow(TWindowHandle handle)
{
    const TXConnection x;
    if (!handle || !x.Valid())
        return false;
    const xcb_atom_t protocols = x.Atom("WM_PROTOCOLS");
    const xcb_atom_t deleteWindow = x.Atom("WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || deleteWindow == XCB_ATOM_NONE)
        return false;
    const uint32_t data[5] = {deleteWindow, XCB_CURRENT_TIME, 0, 0, 0};
    x.SendClientMessage(xcb_window_t(handle), xcb_window_t(handle), protocols, data,
                        XCB_EVENT_MASK_NO_EVENT);
    return true;
}

bool StartOnScreenKeyboard(const QString& path)
{
    return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
}

} // namespace Platform
