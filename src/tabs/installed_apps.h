#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// An application installed on the desktop, as its applications menu lists it.
struct InstalledApp {
    QString desktopFile;  // full path of its ".desktop" file
    QString name;         // Name= in the user's language
    QString genericName;  // GenericName= in the user's language ("Web Browser"); may be empty
    QStringList keywords; // Keywords= in the user's language
};

// The applications that GIO says should be shown in a menu (no NoDisplay=, Hidden=, or OnlyShowIn=
// of another desktop; TryExec= and Exec= programs installed), from the XDG data folders, one per
// desktop file id, sorted by name as the user's language sorts, letter case aside. Only regular
// files are read: a FIFO, socket or device named "*.desktop" is passed over and never blocks.
QList<InstalledApp> InstalledApplications();

// True when every word of query is found, letter case aside, in the name, the generic name or a
// keyword of app. A query of white space only matches every application.
bool AppMatches(const InstalledApp& app, const QString& query);
