#include "platform/x11_key_combo.h"

#include <gtest/gtest.h>

#include <X11/X.h>
#include <X11/keysym.h>

namespace {

// The keys a user may choose, as the X server names them: letters by their unshifted keysym,
// Latin-1 letters too, function and named keys; modifiers by their masks. A lone modifier or an
// unknown key cannot be grabbed.
TEST(X11KeyCombo, QtKeysBecomeKeysymsAndModifierMasks) {
    const struct {
        QKeyCombination combination;
        quint32 keysym;
        quint16 modifiers;
    } rows[] = {
        {Qt::CTRL | Qt::ALT | Qt::Key_K, XK_k, ControlMask | Mod1Mask},
        {Qt::META | Qt::Key_Space, XK_space, Mod4Mask},
        {Qt::SHIFT | Qt::Key_F12, XK_F12, ShiftMask},
        {QKeyCombination(Qt::Key_F35), XK_F35, 0},
        {Qt::CTRL | Qt::Key_Adiaeresis, XK_adiaeresis, ControlMask},
        {Qt::CTRL | Qt::Key_5, XK_5, ControlMask},
        {Qt::ALT | Qt::Key_PageDown, XK_Next, Mod1Mask},
        {QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter), XK_KP_Enter, ControlMask},
    };
    for (const auto& row : rows) {
        const std::optional<X11KeyCombo> combo = X11KeyFor(row.combination);
        ASSERT_TRUE(combo.has_value()) << row.combination.toCombined();
        EXPECT_EQ(combo->keysym, row.keysym) << row.combination.toCombined();
        EXPECT_EQ(combo->modifiers, row.modifiers) << row.combination.toCombined();
    }
    EXPECT_FALSE(X11KeyFor(Qt::CTRL | Qt::Key_Control).has_value());
    EXPECT_FALSE(X11KeyFor(QKeyCombination(Qt::Key_unknown)).has_value());
}

// The key is grabbed with Caps Lock and Num Lock on and off, and a press counts whatever they are.
TEST(X11KeyCombo, LockKeysNeitherStopNorChangeTheKey) {
    const quint16 ctrlAlt = ControlMask | Mod1Mask;
    EXPECT_EQ(GrabModifierSets(ctrlAlt, Mod2Mask),
              QList<quint16>({ctrlAlt, quint16(ctrlAlt | LockMask), quint16(ctrlAlt | Mod2Mask),
                              quint16(ctrlAlt | LockMask | Mod2Mask)}));
    EXPECT_EQ(GrabModifierSets(0, 0), QList<quint16>({0, LockMask}));
    EXPECT_EQ(DecisiveModifiers(ctrlAlt | LockMask | Mod2Mask | Button1Mask, Mod2Mask), ctrlAlt);
    EXPECT_EQ(DecisiveModifiers(ctrlAlt | ShiftMask, Mod2Mask), ctrlAlt | ShiftMask);
}

} // namespace
