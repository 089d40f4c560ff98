#include "tabs/background_items.h"

#include <QtConcurrent>

BackgroundItems::BackgroundItems(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder), m_claimed(std::make_shared<std::atomic_bool>(false)) {
    connect(&m_watcher, &QFutureWatcher<std::optional<ItemRecords>>::finished, this, [this] {
        if (m_future.result().has_value())
            Q_EMIT finished();
    });
    // The task holds its own share of the flag and a copy of the name: it may outlive this object.
    m_future = QtConcurrent::run([claimed = m_claimed, folder]() -> std::optional<ItemRecords> {
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
    if (!m_claimed->exchange(true))
        return ReadItemRecords(m_folder);
    return m_future.result().value_or(ItemRecords{});
}
