#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "tabs/open_command.h"

// The open command the desktop has registered for a file's type: the type comes from the shared
// MIME info (by name and content), the application from the XDG "mimeapps.list" files, and the
// command from that application's ".desktop" file.

struct RegisteredCommand {
    LaunchCommand command; // target and arguments for the file
    QString desktopFile;   // full path of the application's ".desktop" file
};

// The places searched, in order of precedence, read from the XDG environment variables with their
// documented defaults.
struct XdgSearchPaths {
    QStringList mimeappsLists;   // every "mimeapps.list" that may exist
    QStringList applicationDirs; // every ".../applications" folder holding ".desktop" files
    static XdgSearchPaths fromEnvironment();
};

// The ".desktop" file id registered as the default application (or, when none is installed, as an
// added association) for any of the MIME types, tried in the order given; empty when none.
QString DefaultApplicationId(const QStringList& mimeTypes, const XdgSearchPaths& paths);

// The full path of the installed, visible ".desktop" file with this id; empty when there is none.
QString FindDesktopFile(const QString& desktopId, const XdgSearchPaths& paths);

// The command registered for the type of path, split for that path; nothing when the type has no
// default application or its ".desktop" file has no Exec line.
std::optional<RegisteredCommand>
CommandForType(const QString& path, const XdgSearchPaths& paths = XdgSearchPaths::fromEnvironment());
