#include "tabs/icon_theme.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>

namespace {

QStringList DataDirs() {
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    return QStringList{home} + system.split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

QStringList WithFolders(QStringList paths, const QStringList& more) {
    for (const QString& path : more) {
        if (!paths.contains(path) && QFileInfo(path).isDir())
            paths.append(path);
    }
    return paths;
}

} // namespace

void UseDesktopIconTheme() {
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return;
    QStringList iconDirs{QDir::homePath() + QStringLiteral("/.icons")};
    QStringList pixmapDirs;
    for (const QString& dir : DataDirs()) {
        iconDirs.append(dir + QStringLiteral("/icons"));
        pixmapDirs.append(dir + QStringLiteral("/pixmaps"));
    }
    const QStringList searchPaths = WithFolders(QIcon::themeSearchPaths(), iconDirs);
    QIcon::setThemeSearchPaths(searchPaths);
    // Entries such as XTerm's name a picture of the shared pixmaps folder rather than a theme icon.
    QIcon::setFallbackSearchPaths(WithFolders(QIcon::fallbackSearchPaths(), pixmapDirs));
    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("breeze")}) {
        for (const QString& dir : searchPaths) {
            if (QFileInfo::exists(dir + QLatin1Char('/') + theme + QStringLiteral("/index.theme"))) {
                QIcon::setThemeName(theme);
                return;
            }
        }
    }
    if (current.isEmpty())
        QIcon::setThemeName(QStringLiteral("hicolor"));
}
