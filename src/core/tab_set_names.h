#pragma once

#include <QString>

// The parts of the tab-set commands that compute names and paths; they need no window.

// A value of the older tab list: the target, optionally followed by "#" and the arguments.
struct LegacyShortcut {
    QString Target;
    QString Arguments;
    QString WorkingDir; // the folder part of the target, with its trailing separator
};
LegacyShortcut ParseLegacyValue(const QString& value);

// The tab folder name for a section of the older tab list. Sections are used as they stand,
// except names that would reach outside the tabs folder ("", ".", "..", or holding "/"), which
// are escaped so that the tab stays inside it.
QString LegacyTabFolderName(const QString& section);

// An item's shortcut file name split for renaming: the unescaped name without its extension,
// and the extension (empty when there is no full stop or it is the last character).
struct ItemFileName {
    QString Base;
    QString Extension;
};
ItemFileName SplitItemFileName(const QString& linkFile);

// The new path of an item renamed to answer: its folder + EscapeName(answer) + "." + extension.
QString RenamedItemPath(const QString& linkFile, const QString& answer, const QString& extension);

// Whether renaming from to to would take the name of another entry of the folder. Names are
// compared without regard to the case of A to Z, as the order files match them: two entries that
// differ only in case would both answer to one line. A new name that differs from the old one
// only in case takes no other entry's name.
bool NameTaken(const QString& from, const QString& to);

// Renames a file or folder the way the tab-set commands expect: it fails when the target exists
// already, when the new name is not a single name in the same folder, or when the file system
// refuses. Nothing is moved anywhere else.
bool RenameEntry(const QString& from, const QString& to);
