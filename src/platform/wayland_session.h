#pragma once

// True in a Wayland session (XDG_SESSION_TYPE is "wayland", or WAYLAND_DISPLAY is set), where
// Kelvara runs through XWayland: a key grabbed there reaches it only while one of its own windows
// has the focus, so the desktop has to bind the key to a command instead.
bool WaylandSession();
