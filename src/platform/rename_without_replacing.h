#pragma once

#include <QString>

// Renames a file, link or folder to a name that must not exist yet. The check and the rename are
// one step of the file system, so an entry that appears under the new name meanwhile is never
// replaced (plain rename(2) would replace a file, or an empty folder, without a word). Where a
// file system cannot rename that way, the existence check is made just before the rename.
bool RenameWithoutReplacing(const QString& from, const QString& to);
