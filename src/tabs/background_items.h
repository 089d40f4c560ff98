#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include "tabs/tab.h"

class QThreadPool;

// The workers that read tab folders: one fewer than the machine has cores (at least one).
QThreadPool& ShortcutReaders();

// Reads one tab folder's shortcuts on a worker thread of the pool. Whoever needs them first
// reads them: the worker if it has begun, or else the caller of take(), who reads them at once
// rather than wait behind the reads of other tabs. Neither reads before `after` has finished.
class BackgroundItems : public QObject {
    Q_OBJECT
public:
    explicit BackgroundItems(const QString& folder, QFuture<void> after = {},
                             QThreadPool& pool = ShortcutReaders(), QObject* parent = nullptr);
    // A read that no worker has begun is skipped; one under way runs to its end unseen.
    ~BackgroundItems() override;

    // The worker has finished: take() returns at once.
    bool isFinished() const { return m_future.isFinished(); }
    // The records, read here when no worker has begun; otherwise waits for the worker. Called once;
    // the owner then deletes this object.
    ItemRecords take();

Q_SIGNALS:
    // A worker has read the shortcuts (not sent when take() read them itself).
    void finished();

private:
    QString m_folder;
    QFuture<void> m_after;
    // Set by whichever side reads the folder, so that it is read once.
    std::shared_ptr<std::atomic_bool> m_claimed;
    // Empty when the task found the folder claimed by take().
    QFuture<std::optional<ItemRecords>> m_future;
    QFutureWatcher<std::optional<ItemRecords>> m_watcher;
};
