#pragma once

#include <functional>

#include <QString>
#include <QStringList>

#include "platform/user_question.h"
#include "tabs/drop_rules.h"

class TTab;

// What the tab window shows after a drop has been carried out on disk.
enum class DropOutcome {
    Nothing,   // nothing was dropped, or the user declined replacing a file
    Reordered, // an item of the tab moved: draw the tab again
    Added,     // a shortcut was moved or copied in: read the items again and grow to show it
    Linked,    // a new shortcut was written: rebuild the whole tab set
};

// Carries out the drop of path onto tab at the insertion boundary dropIndex, with the effect the
// tab chose while dragging:
// - a shortcut already in the tab folder only moves: in the items and in the order file;
// - another shortcut is moved or copied into the tab folder and put at the boundary;
// - anything else gets a new shortcut at the boundary, "Launches <name>." by description.
// Replacing an existing file is asked first, through ask; when the user declines, the tab and its
// order file stay as they were. The path is handed to the file operation as one path, whatever
// characters it holds. Raises Error when the shortcut or the order file cannot be written.
DropOutcome CarryOutDrop(TTab& tab, const QString& path, DropEffect effect, int dropIndex,
                         const UserQuestion& ask);

// Carries out a drop of several paths at the insertion boundary dropIndex: each path as
// CarryOutDrop carries out one, with its own effect (its shortcut moved or copied, or a new
// shortcut), and all of them put at the boundary in the order given with one write of the order
// file. A path that cannot be added does not stop the others: one Error names every path that
// failed and why, raised once the rest is done. Added: read the tab again; Linked: rebuild the set.
DropOutcome CarryOutDrops(const TTab& tab, const QStringList& paths, bool ctrlHeld, int dropIndex,
                          const UserQuestion& ask);

// Adds a shortcut for each desktop entry after the last item of the tab folder, in the order
// given, as a drop of the entry would make it. Replacing a shortcut of the same name is asked
// through ask; an entry whose shortcut or order line cannot be written is named through failed,
// and the others are still added.
void AppendDesktopEntries(const QString& tabFolder, const QStringList& desktopFiles, const UserQuestion& ask,
                          const std::function<void(const QString&)>& failed);
