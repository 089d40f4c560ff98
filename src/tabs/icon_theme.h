#pragma once

#include <functional>

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Where the user's choice of an icon theme can be read, in the order they count.
struct IconThemeChoices {
    QString platform;    // what Qt's platform theme reports (GNOME and KDE themes, the GTK plugin)
    QString xsettings;   // Net/IconThemeName from the running settings daemon (XSETTINGS)
    QString gtkSettings; // gtk-icon-theme-name in $XDG_CONFIG_HOME/gtk-3.0/settings.ini
    QString desktop;     // the desktop's own setting (KDE, LXQt, Xfce files; GNOME's GSettings)
};

// The theme to use: the platform theme's answer unless it is empty or "hicolor" (every theme
// inherits "hicolor", so it names no choice; without a desktop Qt reports it), else the first of
// the other choices that names an installed theme other than "hicolor". A settings daemon's
// answer comes before the GTK file, as GTK itself takes it. Without any, Adwaita and then breeze
// when installed (full themes with folder, document and program icons), else "hicolor".
QString ChosenIconTheme(const IconThemeChoices& choices,
                        const std::function<bool(const QString&)>& installed);

// gtk-icon-theme-name of the [Settings] group of a GTK 3 settings.ini; empty when not set.
QString GtkIconThemeSetting(QByteArrayView settingsIni);

// The icon theme named by the settings files of the desktop named in XDG_CURRENT_DESKTOP
// (KDE's kdeglobals, LXQt's lxqt.conf, Xfce's xsettings channel), under the configuration folder
// configHome; empty when the desktop keeps none there.
QString DesktopIconThemeSetting(const QString& currentDesktop, const QString& configHome);

// The settings files whose change can change the choice on the desktop named in
// XDG_CURRENT_DESKTOP, under configHome: GTK's, and the desktop's own when it keeps one.
QStringList IconThemeSettingFiles(const QString& currentDesktop, const QString& configHome);

// $XDG_CONFIG_HOME, or ~/.config.
QString ConfigHome();

// Qt takes the icon theme from the desktop environment's platform theme when there is one; under
// a plain window manager such as openbox it reports "hicolor", which holds application icons but
// no folder, document or program icons, and under its offscreen platform it has no search path at
// all. This adds the XDG icon and pixmap folders and picks the theme the user chose (see
// ChosenIconTheme; xsettingsTheme is the settings daemon's answer, empty without one), with
// Adwaita as the theme of last resort for icons the chosen one lacks. Called again after a change
// of any of them, it reads the platform theme's answer afresh. Returns whether the theme in use
// changed. Call it once the application object exists.
bool UseDesktopIconTheme(const QString& xsettingsTheme = {});
