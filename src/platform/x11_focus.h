#pragma once

#include <QtGlobal>

class QWidget;

// The keyboard focus between Kelvara's windows and the others. A tab window never takes the focus
// when it shows, so a tab opened from the keyboard is given it on purpose, and gives it back.
// Without an X display (the offscreen platform) Qt's own activation stands in.

// The window that has the keyboard focus now (the window manager's active window when one runs),
// to give it back later; 0 when none or unknown.
quintptr FocusedWindow();

// Gives window the keyboard focus as the answer to a key the user pressed at the X server time
// timestamp: through the window manager when one runs (as a direct request of the user, which
// focus-stealing prevention lets pass), else straight from the server.
void TakeFocus(QWidget* window, quint32 timestamp);

// Gives the focus back to a window that FocusedWindow() named; nothing happens when it has gone.
void GiveFocusBack(quintptr window);
