#include "tabs/live_folders.h"

#include <algorithm>

#include <QFileInfo>
#include <QtConcurrent>

#include "common/background_priority.h"
#include "tabs/folder_state.h"

namespace {

QByteArray DigestInBackground(const QString& tabsFolder) {
    RunAtBackgroundPriority();
    return TabSetState(tabsFolder);
}

} // namespace

LiveFolders::LiveFolders(std::function<bool()> busy, QObject* parent)
    : QObject(parent), m_busy(std::move(busy)) {
    m_delay.setSingleShot(true);
    m_delay.setInterval(kLiveFolderDelayMs);
    // A coarse timer may fire a twentieth of its time early, inside the gap.
    m_delay.setTimerType(Qt::PreciseTimer);
    // The first change of a burst starts the delay; later ones join it. A change soon after a
    // rebuild it asked for waits until the gap since that rebuild has passed.
    const auto changed = [this] {
        if (m_delay.isActive())
            return;
        qint64 wait = kLiveFolderDelayMs;
        if (m_sinceRebuild.isValid())
            wait = std::max(wait, kLiveFolderRebuildGapMs - m_sinceRebuild.elapsed());
        m_delay.start(int(wait));
    };
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(&m_delay, &QTimer::timeout, this, &LiveFolders::Check);
    connect(&m_checkWatcher, &QFutureWatcher<QByteArray>::finished, this, &LiveFolders::Compare);
    m_digests.setMaxThreadCount(1);
}

LiveFolders::~LiveFolders() {
    m_digests.waitForDone();
}

void LiveFolders::MarkShown(const QString& tabsFolder) {
    ++m_marks;
    m_marking = QtConcurrent::run(&m_digests, DigestInBackground, tabsFolder);
}

void LiveFolders::Watch(const QString& tabsFolder, const QStringList& tabFolders) {
    m_tabsFolder = tabsFolder;
    m_tabFolders = tabFolders;
    if (const QStringList old = m_watcher.files() + m_watcher.directories(); !old.isEmpty())
        m_watcher.removePaths(old);
    // The folders show files coming and going; the order files, edits made in place.
    QStringList paths;
    for (const QString& folder : QStringList{tabsFolder} + tabFolders) {
        if (!QFileInfo(folder).isDir())
            continue;
        paths.append(folder);
        if (const QString order = folder + QStringLiteral("/order.lst"); QFileInfo(order).isFile())
            paths.append(order);
    }
    if (!paths.isEmpty())
        m_watcher.addPaths(paths);
}

void LiveFolders::Check() {
    if ((m_busy && m_busy()) || m_checking.isRunning()) {
        m_delay.start(kLiveFolderDelayMs);
        return;
    }
    // Never a check within the gap after the last rebuild asked for: a delay started while a
    // slow digest was still running would otherwise bring a second rebuild right after the first.
    if (m_sinceRebuild.isValid() && m_sinceRebuild.elapsed() < kLiveFolderRebuildGapMs) {
        m_delay.start(int(kLiveFolderRebuildGapMs - m_sinceRebuild.elapsed()));
        return;
    }
    m_checkedMark = m_marks;
    m_checking = QtConcurrent::run(&m_digests, DigestInBackground, m_tabsFolder);
    m_checkWatcher.setFuture(m_checking);
}

void LiveFolders::Compare() {
    // Marked again meanwhile: the rebuild or reload that did so shows a newer state, and changes
    // after it are noticed by themselves.
    if (m_checkedMark != m_marks)
        return;
    // The user began to work with the tabs while the digest was taken.
    if (m_busy && m_busy()) {
        m_delay.start(kLiveFolderDelayMs);
        return;
    }
    // The check's digest was queued behind the mark's on the one thread: both are there.
    if (m_checking.result() != m_marking.result()) {
        m_sinceRebuild.start();
        Q_EMIT rebuildNeeded();
        return;
    }
    // An order file replaced by a new one is no longer watched: watch the files there are now.
    Watch(m_tabsFolder, m_tabFolders);
    Q_EMIT upToDate();
}
