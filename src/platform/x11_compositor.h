#pragma once

// Whether a compositing manager runs on the display's default screen (the selection
// _NET_WM_CM_S<n> has an owner). False off X11 and on the offscreen platform.
bool CompositorRunning();
