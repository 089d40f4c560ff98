#include "platform/x11_selection_watch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

namespace {

// The first bytes of X events as the XCB connection delivers them.
struct EventHead {
    uint8_t responseType;
    uint8_t detail;
    uint16_t sequence;
};

struct FixesSelectionEvent {
    EventHead head;
    uint32_t window;
    uint32_t owner;
    uint32_t selection;
};

struct PropertyEvent {
    EventHead head;
    uint32_t window;
    uint32_t atom;
};

constexpr uint8_t XcbPropertyNotify = 28;
// A settings property is a few kilobytes; read at most this many 32-bit units.
constexpr long MaxPropertyUnits = 64 * 1024;

Display* QtDisplay() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

X11SelectionWatch::X11SelectionWatch(const QByteArray& selection, const QByteArray& ownerProperty,
                                     QObject* parent)
    : QObject(parent) {
    Display* display = QtDisplay();
    int errorBase = 0;
    int major = 5;
    int minor = 0;
    if (display == nullptr || !XFixesQueryExtension(display, &m_fixesEventBase, &errorBase) ||
        !XFixesQueryVersion(display, &major, &minor)) {
        m_fixesEventBase = -1;
        return;
    }
    m_display = display;
    m_selection = XInternAtom(display, selection.constData(), False);
    if (!ownerProperty.isEmpty())
        m_property = XInternAtom(display, ownerProperty.constData(), False);
    XFixesSelectSelectionInput(display, DefaultRootWindow(display), m_selection,
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    FollowOwner();
    XFlush(display);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11SelectionWatch::~X11SelectionWatch() {
    if (m_display != nullptr && QCoreApplication::instance() != nullptr)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11SelectionWatch::FollowOwner() {
    auto* display = static_cast<Display*>(m_display);
    m_owner = XGetSelectionOwner(display, m_selection);
    // The owner's window belongs to another program; asking for its property changes is allowed
    // to any client. A window gone meanwhile only makes the request fail.
    if (m_owner != 0 && m_property != 0)
        XSelectInput(display, m_owner, PropertyChangeMask);
}

QByteArray X11SelectionWatch::OwnerProperty() const {
    if (m_owner == 0 || m_property == 0)
        return {};
    auto* display = static_cast<Display*>(m_display);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    QByteArray value;
    // An owner gone meanwhile gives an error, which Qt's handler reports and lets pass.
    if (XGetWindowProperty(display, m_owner, m_property, 0, MaxPropertyUnits, False, AnyPropertyType, &type,
                           &format, &items, &after, &data) == Success &&
        data != nullptr && format == 8)
        value = QByteArray(reinterpret_cast<const char*>(data), qsizetype(items));
    if (data != nullptr)
        XFree(data);
    return value;
}

bool X11SelectionWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_fixesEventBase < 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* head = static_cast<const EventHead*>(message);
    const uint8_t type = head->responseType & 0x7F;
    if (type == m_fixesEventBase + XFixesSelectionNotify) {
        const auto* event = static_cast<const FixesSelectionEvent*>(message);
        if (event->selection == m_selection) {
            FollowOwner();
            Q_EMIT ownerChanged();
        }
    } else if (type == XcbPropertyNotify && m_property != 0) {
        const auto* event = static_cast<const PropertyEvent*>(message);
        if (event->window == m_owner && event->atom == m_property)
            Q_EMIT ownerPropertyChanged();
    }
    return false;
}
