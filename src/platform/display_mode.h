#pragma once

#include "tabs/screen_resolution.h"

// Switches the primary monitor to the mode of the given size (and refresh rate, when given)
// through XRandR. Raises Error when the display is not an X11 display with XRandR, or the monitor
// has no such mode.
void ChangeDisplayModeXRandR(const DisplayMode& mode);

// Makes the screen-resolution macro items use ChangeDisplayModeXRandR.
void InstallDisplayModeChanger();
