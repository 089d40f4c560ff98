#pragma once

#include <functional>

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// The shortest time between two rebuilds asked for by changes on disk: a burst of changes (a sync
// tool writing a whole tab) gives one rebuild, and a program that writes without end gives at most
// four a second.
constexpr int kLiveFolderDelayMs = 250;

// Notices when the tab set on disk is changed from outside (a file manager, a sync tool, a script)
// and asks for a rebuild, so that what is shown follows the disk without the user pressing
// Refresh. It watches the tabs folder, each tab folder and their order files. A change that is
// shown already (the program's own writes, followed by its own rebuild or reload) asks for
// nothing. While busy() says a rebuild would get in the user's way (a tab is open, a drag, a menu
// or a dialog is in progress), the request waits and is made once it is not.
class LiveFolders : public QObject {
    Q_OBJECT
public:
    explicit LiveFolders(std::function<bool()> busy, QObject* parent = nullptr);

    // The tab set on disk as it is now is the one shown: called as a rebuild begins to read the
    // disk, and after the program has changed a tab and shown the change itself.
    void MarkShown(const QString& tabsFolder);
    // Watches the tabs folder and the tab folders of the set just built, and no others.
    void Watch(const QString& tabsFolder, const QStringList& tabFolders);

Q_SIGNALS:
    void rebuildNeeded();

private:
    void Check();

    std::function<bool()> m_busy;
    QFileSystemWatcher m_watcher;
    QTimer m_delay;
    QString m_tabsFolder;
    QStringList m_tabFolders;
    QByteArray m_shown;
};
