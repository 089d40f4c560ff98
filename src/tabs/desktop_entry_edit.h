#pragma once

#include <QString>

// What the Properties dialog edits of a desktop entry, as the user's language shows it.
struct DesktopEntryFields {
    QString name;       // Name=, or its translation that the user's language shows
    QString command;    // Exec=, with its quoting and field codes; URL= of a Link entry
    QString workingDir; // Path=
    QString comment;    // Comment=, or its shown translation
    QString icon;       // Icon=: an icon theme name or a file path
    bool link = false;  // Type=Link: command is the entry's address

    bool operator==(const DesktopEntryFields&) const = default;
};

// Reads the [Desktop Entry] group of the file. Raises Error when it is no readable desktop entry.
DesktopEntryFields ReadDesktopEntryFields(const QString& path);

// Writes the fields that the user changed from shown to edited; every other key, group, translation
// and comment stays as the file holds it now. A translated Name= or Comment= is written to the translation
// that the user's language shows (the one that would hide a new untranslated value), else to the untranslated
// key. The file is replaced whole or not at all: on failure (unreadable, a symbolic link, a full disk) it
// stays as it was and Error is raised.
void WriteDesktopEntryFields(const QString& path, const DesktopEntryFields& shown,
                             const DesktopEntryFields& edited);

// Sets the name the entry shows in the user's language, as WriteDesktopEntryFields does. Raises
// Error when the entry cannot be read or written.
void SetDesktopEntryName(const QString& path, const QString& name);
