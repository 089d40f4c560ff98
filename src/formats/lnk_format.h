#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The fields of a Windows shortcut (.lnk) file that the launcher uses, decoded from or encoded into
// the Shell Link binary format: a 76-byte header, an optional item ID list (skipped), an optional
// LinkInfo block with the target's local path, optional counted strings, and extra data blocks
// (skipped).
struct LnkData {
    QString target;       // LinkInfo local base path + common path suffix
    QString description;  // NAME_STRING
    QString relativePath; // RELATIVE_PATH
    QString workingDir;   // WORKING_DIR
    QString arguments;    // COMMAND_LINE_ARGUMENTS
    QString iconLocation; // ICON_LOCATION
    qint32 iconIndex = 0;
    quint32 showCommand = 1; // SW_SHOWNORMAL 1, SW_SHOWMAXIMIZED 3, SW_SHOWMINNOACTIVE 7
    quint16 hotKey = 0;      // low byte virtual key, high byte modifiers
    quint32 fileAttributes = 0;
};

// Shortcut files larger than this are not shortcuts the launcher reads.
constexpr qsizetype kMaxLnkFileSize = 1024 * 1024;

// Decodes a shortcut file. Returns nothing when the bytes are not a well-formed shortcut: a wrong
// header, a structure that claims more bytes than there are, offsets outside their block.
std::optional<LnkData> ParseLnk(QByteArrayView bytes);

// Encodes a shortcut with the Unicode strings flag set and a LinkInfo block holding the target as
// local base path. Returns nothing when a string is too long for its 16-bit length field.
std::optional<QByteArray> SerializeLnk(const LnkData& data);
