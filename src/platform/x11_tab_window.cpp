#include "platform/x11_tab_window.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

Display* X11Display() {
    if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display(); // null on the offscreen platform
    return nullptr;
}

} // namespace

void SetSkipTaskbarAndPager(QWidget* window) {
    Display* display = X11Display();
    if (display == nullptr || window == nullptr)
        return;
    const ::Window id = static_cast<::Window>(window->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom skipTaskbar = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
    const Atom skipPager = XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False);
    // Before the window is mapped the property itself is read by the window manager; once it is
    // mapped only a client message changes the state.
    const Atom initial[] = {skipTaskbar, skipPager};
    XChangeProperty(display, id, state, XA_ATOM, 32, PropModeAppend,
                    reinterpret_cast<const unsigned char*>(initial), 2);
    if (window->isVisible()) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = id;
        event.xclient.message_type = state;
        event.xclient.format = 32;
        event.xclient.data.l[0] = 1; // _NET_WM_STATE_ADD
        event.xclient.data.l[1] = static_cast<long>(skipTaskbar);
        event.xclient.data.l[2] = static_cast<long>(skipPager);
        event.xclient.data.l[3] = 1; // normal application
        XSendEvent(display, DefaultRootWindow(display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }
    XFlush(display);
}

bool CompositorRunning() {
    Display* display = X11Display();
    if (display == nullptr)
        return false;
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.constData(), False);
    return XGetSelectionOwner(display, selection) != None;
}
