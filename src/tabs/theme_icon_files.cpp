#include "tabs/theme_icon_files.h"

#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QStringList>

#include "common/ini_file.h"
#include "common/regular_file.h"

namespace {

// Index files larger than this are not read for their folders; their themes count as unsafe.
constexpr qint64 kMaxIndexSize = 1024 * 1024;
const QString kExtensions[] = {QStringLiteral(".png"), QStringLiteral(".svg"), QStringLiteral(".xpm")};

// There is nothing at path, or a regular file (through any links).
bool AbsentOrRegular(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    return IsRegularFile(path);
}

// The icon folders and the inherited themes of one theme folder, from its index.
struct ThemeFolder {
    bool safe = true;
    QStringList folders;
    QStringList inherits;
};

ThemeFolder ReadThemeFolder(const QString& dir) {
    ThemeFolder theme;
    const QString index = dir + QStringLiteral("/index.theme");
    if (!AbsentOrRegular(index) || !AbsentOrRegular(dir + QStringLiteral("/icon-theme.cache"))) {
        theme.safe = false;
        return theme;
    }
    const std::optional<QByteArray> bytes = ReadRegularFile(index, kMaxIndexSize);
    if (!bytes)
        return theme;
    const IniFile ini = IniFile::fromData(index, *bytes);
    const QString section = QStringLiteral("Icon Theme");
    for (const char* key : {"Directories", "ScaledDirectories"})
        theme.folders += ini.readString(section, QLatin1StringView(key), {}).split(u',', Qt::SkipEmptyParts);
    theme.inherits = ini.readString(section, QStringLiteral("Inherits"), {}).split(u',', Qt::SkipEmptyParts);
    for (QStringList* list : {&theme.folders, &theme.inherits}) {
        for (QString& entry : *list)
            entry = entry.trimmed();
    }
    return theme;
}

// Theme folders are read once: the program's lookups read them again and again.
const ThemeFolder& CachedThemeFolder(const QString& dir) {
    static QHash<QString, ThemeFolder> cache;
    auto found = cache.find(dir);
    if (found == cache.end())
        found = cache.insert(dir, ReadThemeFolder(dir));
    return *found;
}

// The name and its shorter forms, as the lookup tries them.
QStringList NameForms(QString name) {
    QStringList forms{name};
    for (qsizetype dash = name.lastIndexOf(u'-'); dash > 0; dash = name.lastIndexOf(u'-')) {
        name.truncate(dash);
        forms.append(name);
    }
    return forms;
}

bool PicturesSafe(const QString& folder, const QStringList& forms) {
    for (const QString& form : forms) {
        for (const QString& extension : kExtensions) {
            if (!AbsentOrRegular(folder + u'/' + form + extension))
                return false;
        }
    }
    return true;
}

} // namespace

bool ThemeLookupIsSafe(const QString& name) {
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == u"." || name == u"..")
        return false;
    const QStringList forms = NameForms(name);
    QStringList themes{QIcon::themeName(), QIcon::fallbackThemeName(), QStringLiteral("hicolor")};
    // The chain of inherited themes, each once; a theme name holding "/" is not followed.
    for (qsizetype i = 0; i < themes.size() && i < 64; ++i) {
        const QString& theme = themes.at(i);
        if (theme.isEmpty() || theme.contains(u'/') || theme == u"." || theme == u"..")
            continue;
        for (const QString& root : QIcon::themeSearchPaths()) {
            if (root.startsWith(u':'))
                continue; // resources are compiled in
            const QString dir = root + u'/' + theme;
            if (!QFileInfo(dir).isDir())
                continue;
            const ThemeFolder& folder = CachedThemeFolder(dir);
            if (!folder.safe)
                return false;
            for (const QString& sub : folder.folders) {
                if (!PicturesSafe(dir + u'/' + sub, forms))
                    return false;
            }
            for (const QString& inherited : folder.inherits) {
                if (!themes.contains(inherited))
                    themes.append(inherited);
            }
        }
    }
    for (const QString& root : QIcon::fallbackSearchPaths()) {
        if (!root.startsWith(u':') && !PicturesSafe(root, forms))
            return false;
    }
    return true;
}
