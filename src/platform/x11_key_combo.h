#pragma once

#include <optional>

#include <QKeyCombination>
#include <QKeySequence>
#include <QList>

// A key with its modifiers as the X server names them: a keysym and a mask of ShiftMask,
// ControlMask, Mod1Mask (Alt) and Mod4Mask (the Super or Meta key).
struct X11KeyCombo {
    quint32 keysym = 0;
    quint16 modifiers = 0;
    friend bool operator==(const X11KeyCombo&, const X11KeyCombo&) = default;
};

// The X keysym and modifiers of a Qt key combination; nothing for a key with no keysym known here
// (a key without a key, or a pure modifier).
std::optional<X11KeyCombo> X11KeyFor(QKeyCombination combination);

// Whether key may be grabbed for the whole desktop: one key combination holding Ctrl, Alt or
// Super. A key alone, or with Shift only, would be taken from every program's typing; of a
// sequence of several combinations only the first could be grabbed.
bool IsDesktopWideKey(const QKeySequence& key);

// The modifier masks a key is grabbed with, so that it works whatever Num Lock and Caps Lock stand
// at: modifiers alone, with Caps Lock, with Num Lock, and with both. A Num Lock mask of 0 (no key
// carries it) gives two.
QList<quint16> GrabModifierSets(quint16 modifiers, quint16 numLockMask);

// The modifiers of a key event's state that decide whether it is the grabbed key: the state less
// Caps Lock, Num Lock and the mouse buttons.
quint16 DecisiveModifiers(quint16 state, quint16 numLockMask);
