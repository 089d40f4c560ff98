#pragma once

class QWidget;

// Asks the window manager to keep a window off the taskbar and the pager (Qt sets neither for
// tool windows). Does nothing off X11 or before the window has a native handle.
void SetSkipTaskbarAndPager(QWidget* window);

// Whether a compositing manager runs on the display's default screen (the selection
// _NET_WM_CM_S<n> has an owner). False off X11.
bool CompositorRunning();
