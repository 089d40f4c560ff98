#pragma once

class QWidget;

// Keeps a top-level window out of task bars and pagers by adding _NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER to its window state (Qt does not do it for tool windows). Call it
// before each showing: an unmapped window gets the property itself, a mapped one asks the
// window manager. Does nothing and returns false where there is no X11 display (another
// platform, or the offscreen one).
bool SetSkipTaskbarAndPager(QWidget* window);
