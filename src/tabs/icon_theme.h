#pragma once

// Qt takes the icon theme from the desktop environment. Without one (a plain window manager such
// as openbox) it looks only in "hicolor", which holds application icons but no folder, document or
// program icons, and under its offscreen platform it has no search path at all. Then this picks a
// full theme that is installed (Adwaita, then breeze) and adds the XDG icon and pixmap folders,
// so that items show the icons their user knows. A theme the desktop or the user chose is kept.
// Call it once the application object exists.
void UseDesktopIconTheme();
