#include "tabs/installed_apps.h"

#include <algorithm>

#include <QCollator>

#include <gio/gdesktopappinfo.h>

namespace {

QString FromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

QList<InstalledApp> InstalledApplications() {
    QList<InstalledApp> apps;
    GList* all = g_app_info_get_all();
    for (GList* node = all; node != nullptr; node = node->next) {
        auto* info = static_cast<GAppInfo*>(node->data);
        // Only desktop entries have a file that a shortcut can start.
        if (!G_IS_DESKTOP_APP_INFO(info) || !g_app_info_should_show(info))
            continue;
        auto* desktop = G_DESKTOP_APP_INFO(info);
        InstalledApp app;
        app.desktopFile = FromUtf8(g_desktop_app_info_get_filename(desktop));
        if (app.desktopFile.isEmpty())
            continue;
        app.name = FromUtf8(g_app_info_get_name(info));
        app.genericName = FromUtf8(g_desktop_app_info_get_generic_name(desktop));
        if (const char* const* keywords = g_desktop_app_info_get_keywords(desktop)) {
            for (; *keywords != nullptr; ++keywords)
                app.keywords.append(QString::fromUtf8(*keywords));
        }
        apps.append(app);
    }
    g_list_free_full(all, g_object_unref);

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
