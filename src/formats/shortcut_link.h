#pragma once

#include <QChar>
#include <QString>

#include "common/error.h"

enum TShowCmd { scShowMaximized, scShowMinimized, scShowNormal };

// Raised when a shortcut file cannot be written.
class EShortcutError : public Error {
public:
    explicit EShortcutError(UserText message, UserText reason = {})
        : Error(std::move(message)), m_reason(std::move(reason)) {}

    // Why the file could not be written ("File name too long"), when known.
    const UserText& reason() const { return m_reason; }

private:
    UserText m_reason;
};

// Reads and writes one shortcut file. The properties are set before Write and filled by Read.
class TShortcutLink {
public:
    QString ShortcutFile;
    QString Target;
    QString Arguments;
    QString WorkingDir;
    QString Description;
    QString IconLocation;
    quint16 IconNumber = 0;
    TShowCmd ShowCmd = scShowNormal;

    // One character; a blank means no hot key. An empty text gives the blank, a letter is kept in
    // upper case and a character below the blank becomes the blank.
    void SetHotKey(const QString& key);
    QChar HotKey() const { return m_hotKey; }

    // Saves the properties to ShortcutFile, replacing it as a whole or not at all. Raises
    // EShortcutError "Unable to create .lnk file" when it cannot be saved.
    void Write() const;

    // Loads ShortcutFile into the properties. Raises Error "Unable to open link file" when the file
    // is missing, unreadable or not a shortcut; the properties are then left as they were. Every
    // property is taken from the file, so nothing of a previously read shortcut remains.
    void Read();

private:
    QChar m_hotKey = QLatin1Char(' ');
};

// Whether path is a regular file that reads as a shortcut. A folder, or any other file, whose
// name merely ends in ".lnk" is not one.
bool ReadsAsShortcut(const QString& path);
