#pragma once

#include <functional>

#include <QString>

// The display mode that a screen-resolution macro item asks for.
struct DisplayMode {
    int width = 0;
    int height = 0;
    int frequency = 0; // refresh rate in hertz; 0 keeps the current rate
    friend bool operator==(const DisplayMode&, const DisplayMode&) = default;
};

// Reads the arguments of a macro item: a width, "x" (lower case only), a height and optionally ":"
// and a refresh rate, all decimal (1024x768 or 1024x768:85). A part that is not a number raises
// Error("'<part>' is not a valid integer value").
DisplayMode ParseScreenResolution(const QString& arguments);

// Switches the display; raises Error when it cannot. The desktop layer installs the function, so
// that the tab model does not depend on a window system.
using DisplayModeChanger = std::function<void(const DisplayMode&)>;
void SetDisplayModeChanger(DisplayModeChanger changer);

// Calls the installed changer; raises Error when there is none.
void ChangeDisplayMode(const DisplayMode& mode);
