#include "tabs/background_items.h"

#include <algorithm>

#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include "common/background_priority.h"

namespace {

// The workers that read shortcuts: one core fewer than the machine has, so that the
// user-interface thread, which makes the windows meanwhile, always finds one free.
struct ReadingPool : QThreadPool {
    ReadingPool() { setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1)); }
};

} // namespace

QThreadPool& ShortcutReaders() {
    static ReadingPool pool;
    return pool;
}

BackgroundItems::BackgroundItems(const QString& folder, QFuture<void> after, QThreadPool& pool,
                                 QObject* parent)
    : QObject(parent), m_folder(folder), m_after(after),
      m_claimed(std::make_shared<std::atomic_bool>(false)) {
    connect(&m_watcher, &QFutureWatcher<std::optional<ItemRecords>>::finished, this, [this] {
        if (m_future.result().has_value())
            Q_EMIT finished();
    });
    // The task holds its own share of the flag and copies of the name and of the future it waits
    // for: it may outlive this object.
    m_future = QtConcurrent::run(
        &pool, [claimed = m_claimed, folder, after]() mutable -> std::optional<ItemRecords> {
            RunAtBackgroundPriority();
            after.waitForFinished();
            if (claimed->exchange(true))
                return std::nullopt;
            return ReadItemRecords(folder);
        });
    m_watcher.setFuture(m_future);
}

BackgroundItems::~BackgroundItems() {
    m_claimed->store(true);
}

ItemRecords BackgroundItems::take() {
    if (!m_claimed->exchange(true)) {
        m_after.waitForFinished();
        return ReadItemRecords(m_folder);
    }
    return m_future.result().value_or(ItemRecords{});
}
