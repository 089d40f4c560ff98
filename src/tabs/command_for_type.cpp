#include "tabs/command_for_type.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>

#include "common/error.h"
#include "common/regular_file.h"
#include "formats/key_file.h"
#include "tabs/open_command.h"

namespace {

QString EnvironmentPath(const char* name, const QString& fallback) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

QStringList EnvironmentPathList(const char* name, const QString& fallback) {
    return EnvironmentPath(name, fallback).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// A missing, unreadable or oversized file reads as an empty one: the desktop's own tools ignore
// such files too.
KeyFile ReadKeyFile(const QString& path) {
    const std::optional<QByteArray> data = ReadRegularFile(path, KeyFile::MaxSize + 1);
    if (!data)
        return {};
    try {
        return KeyFile::parse(*data);
    } catch (const Error&) {
        return {};
    }
}

const QString EntryGroup = QStringLiteral("Desktop Entry");

} // namespace

XdgSearchPaths XdgSearchPaths::fromEnvironment() {
    const QString home = QDir::homePath();
    const QString configHome = EnvironmentPath("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QStringList configDirs = EnvironmentPathList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    const QString dataHome = EnvironmentPath("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    const QStringList dataDirs =
        EnvironmentPathList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    // A desktop may keep its own list ("gnome-mimeapps.list") ahead of the common one.
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower().split(QLatin1Char(':'), Qt::SkipEmptyParts);

    XdgSearchPaths paths;
    const auto addLists = [&](const QString& dir) {
        for (const QString& desktop : desktops)
            paths.mimeappsLists.append(dir + QLatin1Char('/') + desktop + QStringLiteral("-mimeapps.list"));
        paths.mimeappsLists.append(dir + QStringLiteral("/mimeapps.list"));
    };
    addLists(configHome);
    for (const QString& dir : configDirs)
        addLists(dir);
    addLists(dataHome + QStringLiteral("/applications"));
    for (const QString& dir : dataDirs)
        addLists(dir + QStringLiteral("/applications"));

    paths.applicationDirs.append(dataHome + QStringLiteral("/applications"));
    for (const QString& dir : dataDirs)
        paths.applicationDirs.append(dir + QStringLiteral("/applications"));
    return paths;
}

QString FindDesktopFile(const QString& desktopId, const XdgSearchPaths& paths) {
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')) ||
        !desktopId.endsWith(QLatin1String(".desktop")))
        return {};
    for (const QString& dir : paths.applicationDirs) {
        const QString candidate = dir + QLatin1Char('/') + desktopId;
        if (!QFileInfo(candidate).isFile())
            continue;
        // The first file with this id decides, even when it hides the application.
        const KeyFile entry = ReadKeyFile(candidate);
        if (entry.value(EntryGroup, QStringLiteral("Hidden")) == QLatin1String("true"))
            return {};
        return candidate;
    }
    return {};
}

QString DefaultApplicationId(const QStringList& mimeTypes, const XdgSearchPaths& paths) {
    QList<KeyFile> lists;
    for (const QString& path : paths.mimeappsLists)
        lists.append(ReadKeyFile(path));
    for (const QString& mimeType : mimeTypes) {
        for (const char* group : {"Default Applications", "Added Associations"}) {
            for (const KeyFile& list : lists) {
                for (const QString& id : DesktopListValue(list.value(QLatin1String(group), mimeType))) {
                    if (!FindDesktopFile(id, paths).isEmpty())
                        return id;
                }
            }
        }
    }
    return {};
}

std::optional<RegisteredCommand> CommandForType(const QString& path, const XdgSearchPaths& paths) {
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QStringList mimeTypes{type.name()};
    mimeTypes += type.aliases();
    mimeTypes += type.allAncestors();
    const QString desktopFile = FindDesktopFile(DefaultApplicationId(mimeTypes, paths), paths);
    if (desktopFile.isEmpty())
        return std::nullopt;
    const QString exec = ReadKeyFile(desktopFile).value(EntryGroup, QStringLiteral("Exec"));
    const QString command = ExecToOpenCommand(exec);
    if (command.isEmpty())
        return std::nullopt;
    return RegisteredCommand{SplitOpenCommand(command, path), desktopFile};
}
