#pragma once

#include <QByteArray>

// Whether a compositing manager runs on the display's default screen (the selection
// _NET_WM_CM_S<n> has an owner). False off X11 and on the offscreen platform.
bool CompositorRunning();

// The name of that selection for the display's default screen ("_NET_WM_CM_S0" off X11).
QByteArray CompositorSelection();
