#pragma once

#include <QFileSystemWatcher>
#include <QObject>

class X11SelectionWatch;

// Keeps the icon theme the one the user chose for the desktop (UseDesktopIconTheme) while the
// program runs: it looks again when the platform theme reports a change, when a settings daemon
// comes, goes or changes its settings (XSETTINGS), and when a settings file that names the theme
// changes. None of these wakes the program while nothing changes. Emits changed() when the theme
// in use is another one.
class DesktopIconTheme : public QObject {
    Q_OBJECT

public:
    explicit DesktopIconTheme(QObject* parent = nullptr);

    // Looks at every source again; emits changed() when the theme in use changed.
    void Update();

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchFiles();
    QString SettingsDaemonTheme() const;

    X11SelectionWatch* m_xsettings;
    QFileSystemWatcher m_files;
    bool m_updateQueued = false;
};
