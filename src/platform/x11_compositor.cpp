#include "platform/x11_compositor.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>

namespace {

Display* QtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

QByteArray CompositorSelection() {
    Display* display = QtDisplay();
    return "_NET_WM_CM_S" + QByteArray::number(display ? DefaultScreen(display) : 0);
}

bool CompositorRunning() {
    Display* display = QtDisplay();
    if (display == nullptr)
        return false;
    const Atom selection = XInternAtom(display, CompositorSelection().constData(), False);
    return XGetSelectionOwner(display, selection) != None;
}
