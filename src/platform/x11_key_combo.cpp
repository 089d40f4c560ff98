#include "platform/x11_key_combo.h"

#include <QChar>

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

// Keys whose keysym no rule below gives.
std::optional<quint32> NamedKeysym(int key) {
    switch (key) {
    case Qt::Key_Space:
        return XK_space;
    case Qt::Key_Escape:
        return XK_Escape;
    case Qt::Key_Tab:
        return XK_Tab;
    case Qt::Key_Backspace:
        return XK_BackSpace;
    case Qt::Key_Return:
        return XK_Return;
    case Qt::Key_Enter:
        return XK_KP_Enter;
    case Qt::Key_Insert:
        return XK_Insert;
    case Qt::Key_Delete:
        return XK_Delete;
    case Qt::Key_Pause:
        return XK_Pause;
    case Qt::Key_Print:
        return XK_Print;
    case Qt::Key_Home:
        return XK_Home;
    case Qt::Key_End:
        return XK_End;
    case Qt::Key_Left:
        return XK_Left;
    case Qt::Key_Up:
        return XK_Up;
    case Qt::Key_Right:
        return XK_Right;
    case Qt::Key_Down:
        return XK_Down;
    case Qt::Key_PageUp:
        return XK_Prior;
    case Qt::Key_PageDown:
        return XK_Next;
    case Qt::Key_Menu:
        return XK_Menu;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<X11KeyCombo> X11KeyFor(QKeyCombination combination) {
    const int key = combination.key();
    X11KeyCombo combo;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) {
        combo.keysym = XK_F1 + quint32(key - Qt::Key_F1);
    } else if (const std::optional<quint32> named = NamedKeysym(key)) {
        combo.keysym = *named;
    } else if ((key > 0x20 && key < 0x7F) || (key >= 0xA0 && key <= 0xFF)) {
        // Qt names printable Latin-1 keys by their upper-case character; X by the character the
        // key gives without Shift, which for these is the lower-case one.
        combo.keysym = QChar(key).toLower().unicode();
    } else {
        return std::nullopt;
    }
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ShiftModifier)
        combo.modifiers |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        combo.modifiers |= ControlMask;
    if (modifiers & Qt::AltModifier)
        combo.modifiers |= Mod1Mask;
    if (modifiers & Qt::MetaModifier)
        combo.modifiers |= Mod4Mask;
    return combo;
}

bool IsDesktopWideKey(const QKeySequence& key) {
    return key.count() == 1 &&
           (key[0].keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

QList<quint16> GrabModifierSets(quint16 modifiers, quint16 numLockMask) {
    QList<quint16> sets = {modifiers, quint16(modifiers | LockMask)};
    if (numLockMask != 0)
        sets << quint16(modifiers | numLockMask) << quint16(modifiers | LockMask | numLockMask);
    return sets;
}

quint16 DecisiveModifiers(quint16 state, quint16 numLockMask) {
    return state & ~(LockMask | numLockMask) &
           (ShiftMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask);
}
