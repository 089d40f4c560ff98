#pragma once

class QWidget;

// Makes a top-level window a part of the desktop rather than of one workspace: on every workspace
// (_NET_WM_DESKTOP 0xFFFFFFFF and _NET_WM_STATE_STICKY) and out of task bars and pagers
// (_NET_WM_STATE_SKIP_TASKBAR, _NET_WM_STATE_SKIP_PAGER); Qt does none of this for tool windows.
// Call it before each showing: an unmapped window gets the properties, which the window manager
// reads when it maps the window (and again when a new window manager takes over); a mapped one
// asks the window manager. Does nothing and returns false where there is no X11 display (another
// platform, or the offscreen one).
// From a show event the window is known to be unmapped, and the round trip that asks the display
// server is left out.
enum class WindowMapState { Ask, Unmapped };
bool SetDesktopWindowState(QWidget* window, WindowMapState known = WindowMapState::Ask);
