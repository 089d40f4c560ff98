#pragma once

#include <functional>

#include <QString>

// Renames a file, link or folder to a name that must not exist yet. The check and the rename are
// one step of the file system, so an entry that appears under the new name meanwhile is never
// replaced (plain rename(2) would replace a file, or an empty folder, without a word). Where a
// file system cannot rename that way, the existence check is made just before the rename.
bool RenameWithoutReplacing(const QString& from, const QString& to);

// A seam for tests of what callers do when a rename fails part way: while set, every rename is
// first shown to fault, and one it answers true for fails (with EIO) without touching anything.
using RenameFault = std::function<bool(const QString& from, const QString& to)>;
void SetRenameFault(RenameFault fault);
