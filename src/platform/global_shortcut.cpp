#include "platform/global_shortcut.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include "platform/x11_key_combo.h"

namespace {

QNativeInterface::QX11Application* X11() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Under the offscreen platform the interface exists without a display.
    return x11 && x11->display() && x11->connection() ? x11 : nullptr;
}

// The modifier bit that the keyboard map gives Num Lock (Mod2Mask on most); 0 when no key has it.
quint16 NumLockMask(Display* display) {
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    if (map == nullptr)
        return 0;
    quint16 mask = 0;
    for (int modifier = 0; modifier < 8 && numLock != 0; ++modifier) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            if (map->modifiermap[modifier * map->max_keypermod + k] == numLock)
                mask = quint16(1 << modifier);
        }
    }
    XFreeModifiermap(map);
    return mask;
}

} // namespace

GlobalShortcut::GlobalShortcut(QObject* parent) : QObject(parent) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

GlobalShortcut::~GlobalShortcut() {
    Release();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

GlobalShortcut::Result GlobalShortcut::Grab(const QKeySequence& key) {
    Release();
    if (key.isEmpty())
        return Result::Off;
    if (!IsDesktopWideKey(key))
        return Result::UnknownKey;
    const std::optional<X11KeyCombo> combo = X11KeyFor(key[0]);
    if (!combo)
        return Result::UnknownKey;
    QNativeInterface::QX11Application* x11 = X11();
    if (x11 == nullptr)
        return Result::NoDisplay;
    Display* display = x11->display();
    // A keysym that no key of this keyboard gives cannot be pressed.
    const KeyCode keycode = XKeysymToKeycode(display, combo->keysym);
    if (keycode == 0)
        return Result::UnknownKey;

    xcb_connection_t* connection = x11->connection();
    m_root = quint32(DefaultRootWindow(display));
    m_keycode = keycode;
    m_modifiers = combo->modifiers;
    m_numLockMask = NumLockMask(display);
    // Every variant is asked for before any answer is read: one round trip in all.
    const QList<quint16> sets = GrabModifierSets(m_modifiers, m_numLockMask);
    QList<xcb_void_cookie_t> cookies;
    for (const quint16 modifiers : sets)
        cookies << xcb_grab_key_checked(connection, 0, m_root, modifiers, m_keycode, XCB_GRAB_MODE_ASYNC,
                                        XCB_GRAB_MODE_ASYNC);
    bool taken = false;
    for (qsizetype i = 0; i < sets.size(); ++i) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookies[i])) {
            taken = true;
            std::free(error);
        } else {
            m_grabbed << sets[i];
        }
    }
    if (taken) {
        // Half a grab would work only with some lock keys on: give it all back.
        Release();
        return Result::Taken;
    }
    return Result::Grabbed;
}

void GlobalShortcut::Release() {
    QNativeInterface::QX11Application* x11 = X11();
    if (x11 != nullptr) {
        for (const quint16 modifiers : std::as_const(m_grabbed))
            xcb_ungrab_key(x11->connection(), m_keycode, m_root, modifiers);
        if (!m_grabbed.isEmpty())
            xcb_flush(x11->connection());
    }
    m_grabbed.clear();
}

bool GlobalShortcut::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (m_grabbed.isEmpty() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    if (press->event != m_root || press->detail != m_keycode ||
        DecisiveModifiers(press->state, m_numLockMask) != m_modifiers)
        return false;
    Q_EMIT activated(press->time);
    return true;
}
