#include "platform/desktop_icon_theme.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>

#include "formats/xsettings_format.h"
#include "platform/x11_selection_watch.h"
#include "tabs/icon_theme.h"

namespace {

QString SettingsSelection() {
    return QStringLiteral("_XSETTINGS_S0");
}

} // namespace

DesktopIconTheme::DesktopIconTheme(QObject* parent)
    : QObject(parent),
      m_xsettings(new X11SelectionWatch(SettingsSelection().toLatin1(), "_XSETTINGS_SETTINGS", this)) {
    connect(m_xsettings, &X11SelectionWatch::ownerChanged, this, &DesktopIconTheme::Update);
    connect(m_xsettings, &X11SelectionWatch::ownerPropertyChanged, this, &DesktopIconTheme::Update);
    // An editor or a settings program may write the file anew under its name: the folder's
    // change tells of that, and the file is watched again.
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, &DesktopIconTheme::Update);
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this, &DesktopIconTheme::Update);
    // The platform theme tells every window of a change of the desktop's look.
    QCoreApplication::instance()->installEventFilter(this);
    UseDesktopIconTheme(SettingsDaemonTheme());
    WatchFiles();
}

void DesktopIconTheme::Update() {
    WatchFiles();
    if (UseDesktopIconTheme(SettingsDaemonTheme()))
        Q_EMIT changed();
}

bool DesktopIconTheme::eventFilter(QObject* watched, QEvent* event) {
    // Every window receives the event: look once, after all of them.
    if (event->type() == QEvent::ThemeChange && !m_updateQueued) {
        m_updateQueued = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_updateQueued = false;
                Update();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void DesktopIconTheme::WatchFiles() {
    QStringList files;
    QStringList folders;
    for (const QString& file :
         IconThemeSettingFiles(qEnvironmentVariable("XDG_CURRENT_DESKTOP"), ConfigHome())) {
        const QFileInfo info(file);
        if (info.exists())
            files.append(file);
        // The nearest folder that exists: a settings file written for the first time appears in it.
        QString folder = info.absolutePath();
        while (!QFileInfo(folder).isDir() && folder.count(QLatin1Char('/')) > 1)
            folder = QFileInfo(folder).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    const QStringList watched = m_files.files() + m_files.directories();
    for (const QString& path : files + folders) {
        if (!watched.contains(path))
            m_files.addPath(path);
    }
}

QString DesktopIconTheme::SettingsDaemonTheme() const {
    if (m_xsettings->Owner() == 0)
        return {};
    return XSettingsString(m_xsettings->OwnerProperty(), "Net/IconThemeName").value_or(QString());
}
