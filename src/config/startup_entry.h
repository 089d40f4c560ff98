#pragma once

#include <QString>

// The autostart entry that starts Kelvara when the user logs in: a desktop entry in the XDG
// autostart folder.

// $XDG_CONFIG_HOME/autostart/Kelvara.desktop, with ~/.config when the variable is unset or not
// an absolute path. Empty when no home folder is known either.
QString StartupEntryPath();

// The text of the entry that runs the executable in the folder workingDir.
QByteArray StartupEntryText(const QString& executable, const QString& workingDir);

// Writes the entry (and its folder) unless a file of that name already exists, which is left
// untouched. Raises Error("Unable to write to <path>") when it cannot be written.
void CreateStartupEntry(const QString& entryPath, const QString& executable, const QString& workingDir);

// Rewrites an entry that an older version wrote for this executable and folder, word for word,
// into the present form (which names the executable in TryExec). Any other file, one changed by
// the user among them, is left as it is. Raises Error like CreateStartupEntry.
void UpdateStartupEntry(const QString& entryPath, const QString& executable, const QString& workingDir);

// Deletes the entry if it exists; a failure is ignored.
void DeleteStartupEntry(const QString& entryPath);
