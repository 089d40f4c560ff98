#include "platform/x11_focus.h"

#include <cstdlib>
#include <cstring>

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

namespace {

// _NET_ACTIVE_WINDOW's source indication for a request that stands for the user's own action.
constexpr quint32 kSourceUser = 2;

xcb_connection_t* Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Under the offscreen platform the interface exists without a display.
    return x11 && x11->display() ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* connection) {
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, quint16(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// A window named by a property of the root window; 0 when it has none.
xcb_window_t RootWindowProperty(xcb_connection_t* connection, const char* name) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, Root(connection), Atom(connection, name), XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    xcb_window_t window = 0;
    if (reply && reply->format == 32 && xcb_get_property_value_length(reply) >= 4)
        window = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    std::free(reply);
    return window;
}

bool WindowManagerRuns(xcb_connection_t* connection) {
    return RootWindowProperty(connection, "_NET_SUPPORTING_WM_CHECK") != 0;
}

void RequestActive(xcb_connection_t* connection, xcb_window_t window, quint32 timestamp) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = kSourceUser;
    event.data.data32[1] = timestamp;
    event.data.data32[2] = XCB_NONE;
    xcb_send_event(connection, 0, Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

// Sets the focus straight away; a window that has gone meanwhile gives an error, which is read
// here so that it is not reported as one of Qt's.
void SetFocus(xcb_connection_t* connection, xcb_window_t window, quint32 timestamp) {
    const xcb_void_cookie_t cookie =
        xcb_set_input_focus_checked(connection, XCB_INPUT_FOCUS_PARENT, window, timestamp);
    std::free(xcb_request_check(connection, cookie));
}

} // namespace

quintptr FocusedWindow() {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr)
        return 0;
    if (WindowManagerRuns(connection)) {
        if (const xcb_window_t active = RootWindowProperty(connection, "_NET_ACTIVE_WINDOW"))
            return active;
    }
    xcb_get_input_focus_reply_t* reply =
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr);
    const xcb_window_t focus = reply ? reply->focus : XCB_NONE;
    std::free(reply);
    // None and PointerRoot name no window to go back to.
    return focus > XCB_INPUT_FOCUS_POINTER_ROOT ? focus : 0;
}

void TakeFocus(QWidget* window, quint32 timestamp) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        window->activateWindow();
        return;
    }
    const auto id = xcb_window_t(window->winId());
    if (WindowManagerRuns(connection))
        RequestActive(connection, id, timestamp);
    else
        SetFocus(connection, id, timestamp);
    xcb_flush(connection);
}

void GiveFocusBack(quintptr window) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr || window == 0)
        return;
    if (WindowManagerRuns(connection))
        RequestActive(connection, xcb_window_t(window), XCB_CURRENT_TIME);
    else
        SetFocus(connection, xcb_window_t(window), XCB_CURRENT_TIME);
    xcb_flush(connection);
}
