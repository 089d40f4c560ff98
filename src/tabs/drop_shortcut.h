#pragma once

#include <QString>

#include "tabs/command_for_type.h"
#include "tabs/drop_rules.h"
#include "tabs/tab.h"

// What the shortcut written for a dropped file or folder holds.
struct NewShortcut {
    QString fileName; // name of the shortcut file inside the tab folder
    TItemData data;   // target, arguments, working folder, description, icon location, show command
};

// The shortcut for a dropped path that is not itself a shortcut:
// - a program (an executable file, or a name of type exe, bat or cmd) is the target itself, with
//   no arguments;
// - a ".desktop" file is the target itself (it is started by its Exec line) and gives the icon;
//   the shortcut is named after the entry's Name= in the user's language and has no working
//   folder;
// - a folder is the target itself, so that launching opens it in the file manager;
// - any other file gets the command of its type's default application, whose ".desktop" file gives
//   the icon; without a registered application the file itself is the target and the desktop's
//   default handler opens it at launch.
// The description is "Launches " + the dropped name + "." and the working folder, but for a
// desktop entry, the dropped path's folder.
NewShortcut ShortcutForDrop(const DropPath& dropped,
                            const XdgSearchPaths& paths = XdgSearchPaths::fromEnvironment());
