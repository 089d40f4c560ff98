#pragma once

#include <QString>
#include <QStringList>

// Font files that skins bring along are registered process-wide when a skin is loaded and stay
// registered until shutdown, even when another skin is chosen.

// Appends the path to SkinFonts and registers the file with the application's font table; a file
// registered before shares that registration, so the table changes once per file. A file that
// cannot be registered (or a process without a GUI application) keeps its path in the list.
void RegisterSkinFont(const QString& path);

// Unregisters every font of SkinFonts, in order, each file once, and empties the list. Does nothing when the
// list is empty.
void UnregisterSkinFonts();

// The font files registered so far, in registration order.
QStringList SkinFonts();
