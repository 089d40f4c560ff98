#include "tabs/icon_theme.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QRegularExpression>

#include <gio/gio.h>

#include "common/regular_file.h"
#include "formats/key_file.h"

namespace {

const QString Hicolor = QStringLiteral("hicolor");
const QString Adwaita = QStringLiteral("Adwaita");

// A settings file of this kind is a few kilobytes.
constexpr qint64 MaxSettingsFile = 256 * 1024;

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

QString Unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

QString KeyFileSetting(const QString& path, const QString& group, const QString& key) {
    const std::optional<QByteArray> data = ReadRegularFile(path, MaxSettingsFile);
    if (!data)
        return {};
    return Unquoted(KeyFile::parse(*data).value(group, key));
}

// Xfce keeps its XSETTINGS values in an XML channel file; its line for the icon theme is
// <property name="IconThemeName" type="string" value="NAME"/>.
QString XfceIconThemeSetting(const QString& path) {
    const std::optional<QByteArray> data = ReadRegularFile(path, MaxSettingsFile);
    if (!data)
        return {};
    static const QRegularExpression line(
        QStringLiteral("<property\\s+name=\"IconThemeName\"\\s+type=\"string\"\\s+value=\"([^\"]*)\""));
    return line.match(QString::fromUtf8(*data)).captured(1).trimmed();
}

// GNOME and the desktops built on it keep the theme in GSettings; a schema that is not
// installed is not asked (GSettings would end the program).
QString GSettingsIconTheme(const char* schemaId) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (source == nullptr)
        return {};
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (schema == nullptr)
        return {};
    QString name;
    if (g_settings_schema_has_key(schema, "icon-theme")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        gchar* value = g_settings_get_string(settings, "icon-theme");
        name = QString::fromUtf8(value);
        g_free(value);
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return name;
}

bool ThemeInstalled(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return false;
    for (const QString& dir : QIcon::themeSearchPaths()) {
        if (QFileInfo::exists(dir + QLatin1Char('/') + name + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

// The name this program set last; a theme name that differs from it was set by someone else
// (the platform theme, or the application before the first call).
QString& AppliedTheme() {
    static QString name;
    return name;
}

} // namespace

QString ChosenIconTheme(const IconThemeChoices& choices,
                        const std::function<bool(const QString&)>& installed) {
    // Qt's platform theme names the theme it uses itself; it is kept as it stands.
    if (!choices.platform.isEmpty() && choices.platform != Hicolor)
        return choices.platform;
    for (const QString& name : {choices.xsettings, choices.gtkSettings, choices.desktop}) {
        if (!name.isEmpty() && name != Hicolor && installed(name))
            return name;
    }
    for (const QString& name : {Adwaita, QStringLiteral("breeze")}) {
        if (installed(name))
            return name;
    }
    return Hicolor;
}

QString GtkIconThemeSetting(QByteArrayView settingsIni) {
    return Unquoted(
        KeyFile::parse(settingsIni).value(QStringLiteral("Settings"), QStringLiteral("gtk-icon-theme-name")));
}

namespace {

enum class DesktopKind { Other, Kde, Lxqt, Xfce, Cinnamon, Mate, Gnome };

DesktopKind KindOf(const QString& currentDesktop) {
    const QStringList desktops = currentDesktop.toUpper().split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const std::pair<const char*, DesktopKind> kinds[] = {
        {"KDE", DesktopKind::Kde},       {"LXQT", DesktopKind::Lxqt},
        {"XFCE", DesktopKind::Xfce},     {"X-CINNAMON", DesktopKind::Cinnamon},
        {"MATE", DesktopKind::Mate},     {"GNOME", DesktopKind::Gnome},
        {"UNITY", DesktopKind::Gnome},   {"BUDGIE", DesktopKind::Gnome},
        {"PANTHEON", DesktopKind::Gnome}};
    for (const QString& desktop : desktops) {
        for (const auto& [name, kind] : kinds) {
            if (desktop == QLatin1String(name))
                return kind;
        }
    }
    return DesktopKind::Other;
}

QString KdeGlobals(const QString& configHome) {
    return configHome + QStringLiteral("/kdeglobals");
}

QString LxqtConf(const QString& configHome) {
    return configHome + QStringLiteral("/lxqt/lxqt.conf");
}

QString XfceSettings(const QString& configHome) {
    return configHome + QStringLiteral("/xfce4/xfconf/xfce-perchannel-xml/xsettings.xml");
}

QString GtkSettings(const QString& configHome) {
    return configHome + QStringLiteral("/gtk-3.0/settings.ini");
}

} // namespace

QString DesktopIconThemeSetting(const QString& currentDesktop, const QString& configHome) {
    switch (KindOf(currentDesktop)) {
    case DesktopKind::Kde: {
        const QString name =
            KeyFileSetting(KdeGlobals(configHome), QStringLiteral("Icons"), QStringLiteral("Theme"));
        // KDE's own default when the user never chose.
        return name.isEmpty() ? QStringLiteral("breeze") : name;
    }
    case DesktopKind::Lxqt:
        return KeyFileSetting(LxqtConf(configHome), QStringLiteral("General"), QStringLiteral("icon_theme"));
    case DesktopKind::Xfce:
        return XfceIconThemeSetting(XfceSettings(configHome));
    case DesktopKind::Cinnamon:
        return GSettingsIconTheme("org.cinnamon.desktop.interface");
    case DesktopKind::Mate:
        return GSettingsIconTheme("org.mate.interface");
    case DesktopKind::Gnome:
        return GSettingsIconTheme("org.gnome.desktop.interface");
    case DesktopKind::Other:
        break;
    }
    return {};
}

QStringList IconThemeSettingFiles(const QString& currentDesktop, const QString& configHome) {
    QStringList files{GtkSettings(configHome)};
    switch (KindOf(currentDesktop)) {
    case DesktopKind::Kde:
        files.append(KdeGlobals(configHome));
        break;
    case DesktopKind::Lxqt:
        files.append(LxqtConf(configHome));
        break;
    case DesktopKind::Xfce:
        files.append(XfceSettings(configHome));
        break;
    default:
        break;
    }
    return files;
}

QString ConfigHome() {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    return home.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : home;
}

bool UseDesktopIconTheme(const QString& xsettingsTheme) {
    QStringList iconDirs{QDir::homePath() + QStringLiteral("/.icons")};
    QStringList pixmapDirs;
    for (const QString& dir : DataDirs()) {
        iconDirs.append(dir + QStringLiteral("/icons"));
        pixmapDirs.append(dir + QStringLiteral("/pixmaps"));
    }
    QIcon::setThemeSearchPaths(WithFolders(QIcon::themeSearchPaths(), iconDirs));
    // Entries such as XTerm's name a picture of the shared pixmaps folder rather than a theme icon.
    QIcon::setFallbackSearchPaths(WithFolders(QIcon::fallbackSearchPaths(), pixmapDirs));

    const QString before = QIcon::themeName();
    // The name set here hides the platform theme's answer; without it Qt reports that answer,
    // which may have changed since.
    if (!AppliedTheme().isEmpty() && before == AppliedTheme())
        QIcon::setThemeName(QString());
    IconThemeChoices choices;
    choices.platform = QIcon::themeName();
    choices.xsettings = xsettingsTheme;
    const QString configHome = ConfigHome();
    if (const auto ini = ReadRegularFile(GtkSettings(configHome), MaxSettingsFile))
        choices.gtkSettings = GtkIconThemeSetting(*ini);
    choices.desktop = DesktopIconThemeSetting(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), configHome);

    const QString chosen = ChosenIconTheme(choices, ThemeInstalled);
    QIcon::setThemeName(chosen);
    AppliedTheme() = chosen;
    if (chosen != Adwaita && ThemeInstalled(Adwaita))
        QIcon::setFallbackThemeName(Adwaita);
    return chosen != before;
}
