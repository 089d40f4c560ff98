#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

// Files read for display (shortcuts, order files, settings, skins, desktop entries, icons) may
// be anything a user or another program put there. Opening a FIFO blocks until a writer comes,
// and reading a device may never end, so such files are read only when they are regular files.

// Whether path names a regular file, following symbolic links. Folders, FIFOs, sockets and
// devices are not.
bool IsRegularFile(const QString& path);

// The first maxBytes bytes of the regular file at path; nothing when path is not a regular file
// or cannot be read. Never blocks: the type is checked before the file is opened, the file is
// opened without waiting for a writer, and the type is checked again on what was opened, in case
// the path was swapped meanwhile.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);
