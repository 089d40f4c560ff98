#pragma once

#include <functional>

#include <QByteArray>
#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>

// The time from the first change on disk after a quiet spell to the check that asks for a rebuild:
// a burst of changes (a sync tool writing a whole tab) gives one rebuild, soon after it began.
constexpr int kLiveFolderDelayMs = 250;
// The shortest time between two rebuilds asked for by changes on disk: a program that writes into
// a tab folder without end gets one rebuild every few seconds while it goes on, not four a
// second, and the program works a small part of the time instead of all of it.
constexpr int kLiveFolderRebuildGapMs = 3000;

// Notices when the tab set on disk is changed from outside (a file manager, a sync tool, a script)
// and asks for a rebuild, so that what is shown follows the disk without the user pressing
// Refresh. It watches the tabs folder, each tab folder and their order files. A change that is
// shown already (the program's own writes, followed by its own rebuild or reload) asks for
// nothing. While busy() says a rebuild would get in the user's way (a tab is open, a drag, a menu
// or a dialog is in progress), the request waits and is made once it is not.
// The digests of the tab set are taken on a thread of their own: for hundreds of tabs they stat
// tens of thousands of files, which would hold up the user interface for a noticeable time.
class LiveFolders : public QObject {
    Q_OBJECT
public:
    explicit LiveFolders(std::function<bool()> busy, QObject* parent = nullptr);
    ~LiveFolders() override;

    // The tab set on disk as it is now is the one shown: called as a rebuild begins to read the
    // disk, and after the program has changed a tab and shown the change itself. The digest is
    // taken in the background; whatever is read as shown must wait for Marked() first, so that
    // nothing it reads is newer than the digest.
    void MarkShown(const QString& tabsFolder);
    // Finished once the digest of the last MarkShown has been taken.
    QFuture<void> Marked() const { return QFuture<void>(m_marking); }
    // Watches the tabs folder and the tab folders of the set just built, and no others.
    void Watch(const QString& tabsFolder, const QStringList& tabFolders);

Q_SIGNALS:
    void rebuildNeeded();
    // A check after a change on disk found the tab set as it is shown.
    void upToDate();

private:
    void Check();
    void Compare();

    std::function<bool()> m_busy;
    QFileSystemWatcher m_watcher;
    QTimer m_delay;
    QElapsedTimer m_sinceRebuild; // since the last rebuildNeeded; invalid before the first
    QString m_tabsFolder;
    QStringList m_tabFolders;
    // One thread for the digests: the one of MarkShown and the one of a check.
    QThreadPool m_digests;
    QFuture<QByteArray> m_marking;
    QFuture<QByteArray> m_checking;
    QFutureWatcher<QByteArray> m_checkWatcher;
    // Counts MarkShown, so that a check begun before the last one is not compared with it.
    quint64 m_marks = 0;
    quint64 m_checkedMark = 0;
};
