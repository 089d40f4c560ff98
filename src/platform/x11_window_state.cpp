#include "platform/x11_window_state.h"

#include <algorithm>
#include <vector>

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// _NET_WM_DESKTOP value of a window shown on all workspaces.
constexpr unsigned long kAllDesktops = 0xFFFFFFFF;

// Adds the atoms to the _NET_WM_STATE property of an unmapped window, keeping those it has.
void AddStateProperty(Display* display, Window window, Atom state, const std::vector<Atom>& wanted) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<Atom> atoms;
    if (XGetWindowProperty(display, window, state, 0, 1024, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        if (type == XA_ATOM && format == 32) {
            const auto* existing = reinterpret_cast<const Atom*>(data);
            atoms.assign(existing, existing + count);
        }
        XFree(data);
    }
    for (Atom atom : wanted) {
        if (std::find(atoms.begin(), atoms.end(), atom) == atoms.end())
            atoms.push_back(atom);
    }
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(atoms.data()), int(atoms.size()));
}

void SendToWindowManager(Display* display, Window window, Atom message, long a, long b, long c) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = message;
    event.xclient.format = 32;
    event.xclient.data.l[0] = a;
    event.xclient.data.l[1] = b;
    event.xclient.data.l[2] = c;
    event.xclient.data.l[3] = 1; // sent by a normal application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

} // namespace

bool SetDesktopWindowState(QWidget* widget, WindowMapState known) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !widget)
        return false;
    const Window window = Window(widget->winId());
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom desktop = XInternAtom(display, "_NET_WM_DESKTOP", False);
    const Atom sticky = XInternAtom(display, "_NET_WM_STATE_STICKY", False);
    const Atom skipTaskbar = XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False);
    const Atom skipPager = XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False);

    bool unmapped = known == WindowMapState::Unmapped;
    if (!unmapped) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, window, &attributes))
            return false;
        unmapped = attributes.map_state == IsUnmapped;
    }
    if (unmapped) {
        AddStateProperty(display, window, state, {sticky, skipTaskbar, skipPager});
        const unsigned long all = kAllDesktops;
        XChangeProperty(display, window, desktop, XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&all), 1);
    } else {
        constexpr long add = 1; // _NET_WM_STATE_ADD
        SendToWindowManager(display, window, state, add, long(skipTaskbar), long(skipPager));
        SendToWindowManager(display, window, state, add, long(sticky), 0);
        SendToWindowManager(display, window, desktop, long(kAllDesktops), 0, 0);
    }
    XFlush(display);
    return true;
}
