#pragma once

#include <optional>

#include <QString>

// What a desktop entry file says about how it is shown: a ".desktop" file of any type, or the
// ".directory" file that gives a folder its icon.
struct DesktopFileInfo {
    QString type;        // "Application", "Link", "Directory"
    QString name;        // Name= in the user's language; empty when the file has none
    QString icon;        // Icon=: an icon theme name or an absolute file path; empty when none
    QString url;         // URL= of a Link entry
    QString exec;        // Exec=, with its quoting and field codes
    QString tryExec;     // TryExec=: a program that must be installed for the entry to count
    bool hidden = false; // Hidden=true: the entry counts as deleted
};

// Reads the [Desktop Entry] group with GLib's key-file reader, which decodes the format's escapes
// and picks the Name= of the user's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG). Nothing when
// path is not a regular file, is larger than a desktop entry can be, or has no such group. Safe
// to call from any thread.
std::optional<DesktopFileInfo> ReadDesktopFile(const QString& path);
