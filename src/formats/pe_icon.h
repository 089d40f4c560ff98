#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>

// Reads the icons of a Windows program or library (the Portable Executable format): its resource
// tree holds icon groups (RT_GROUP_ICON), each naming images stored as RT_ICON resources.

// The icon group number index (counted in the resource tree's order, as Windows counts icon
// numbers) as the bytes of an .ico file holding that group's image nearest 32 x 32 pixels.
// Nothing when the bytes are not a program with that many icon groups, or a structure points
// outside the file.
std::optional<QByteArray> ExtractPeIconGroup(QByteArrayView file, int index);
