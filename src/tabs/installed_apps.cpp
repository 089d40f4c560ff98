#include "tabs/installed_apps.h"

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QDirIterator>
#include <QSet>

#include <gio/gdesktopappinfo.h>

#include "common/regular_file.h"

namespace {

// Desktop entries larger than this are not application entries.
constexpr qint64 kMaxEntrySize = 1024 * 1024;

QString FromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// The folders desktop entries are installed in, the user's first.
QStringList ApplicationFolders() {
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(home))
        home = QDir::homePath() + QStringLiteral("/.local/share");
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    QStringList folders;
    for (const QString& dir : QStringList{home} + system.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(dir))
            folders.append(dir + QStringLiteral("/applications"));
    }
    return folders;
}

// The entry read from its bytes as GIO reads an installed one; nothing when GIO would not list it.
GDesktopAppInfo* ReadEntry(const QByteArray& bytes) {
    GKeyFile* keys = g_key_file_new();
    GDesktopAppInfo* info = nullptr;
    if (g_key_file_load_from_data(keys, bytes.constData(), gsize(bytes.size()), G_KEY_FILE_NONE, nullptr))
        info = g_desktop_app_info_new_from_keyfile(keys);
    g_key_file_unref(keys);
    return info;
}

} // namespace

QList<InstalledApp> InstalledApplications() {
    // The folders are walked here rather than by GIO, which would open a FIFO named "*.desktop"
    // and wait for a writer for ever: each entry is read only when it is a regular file, without
    // waiting. An entry's id is its path below the folder with "/" as "-"; the first of an id wins.
    // Linked folders are not entered: one linked to "/" would have the whole disk walked.
    QList<InstalledApp> apps;
    QSet<QString> seen;
    for (const QString& folder : ApplicationFolders()) {
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files | QDir::System | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QString id = path.mid(folder.size() + 1);
            id.replace(u'/', u'-');
            if (seen.contains(id))
                continue;
            seen.insert(id);
            const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxEntrySize);
            if (!bytes)
                continue;
            GDesktopAppInfo* desktop = ReadEntry(*bytes);
            if (desktop == nullptr)
                continue;
            auto* info = G_APP_INFO(desktop);
            if (!g_desktop_app_info_get_is_hidden(desktop) && g_app_info_should_show(info)) {
                InstalledApp app;
                app.desktopFile = path;
                app.name = FromUtf8(g_app_info_get_name(info));
                app.genericName = FromUtf8(g_desktop_app_info_get_generic_name(desktop));
                if (const char* const* keywords = g_desktop_app_info_get_keywords(desktop)) {
                    for (; *keywords != nullptr; ++keywords)
                        app.keywords.append(QString::fromUtf8(*keywords));
                }
                apps.append(app);
            }
            g_object_unref(desktop);
        }
    }

    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(apps.begin(), apps.end(), [&](const InstalledApp& a, const InstalledApp& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

bool AppMatches(const InstalledApp& app, const QString& query) {
    const QStringList words = query.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::all_of(words.begin(), words.end(), [&](const QString& word) {
        return app.name.contains(word, Qt::CaseInsensitive) ||
               app.genericName.contains(word, Qt::CaseInsensitive) ||
               std::any_of(app.keywords.begin(), app.keywords.end(), [&](const QString& keyword) {
                   return keyword.contains(word, Qt::CaseInsensitive);
               });
    });
}
