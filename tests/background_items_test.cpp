#include <gtest/gtest.h>

#include <thread>

#include <QCoreApplication>
#include <QFile>
#include <QPromise>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QThreadPool>

#include "common/error.h"
#include "formats/shortcut_link.h"
#include "support/qt_test_support.h"
#include "tabs/background_items.h"

using namespace Qt::StringLiterals;

namespace {

class BackgroundItemsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        for (const char* item : {"a.lnk", "b.lnk"}) {
            TShortcutLink link;
            link.ShortcutFile = m_dir.filePath(QLatin1StringView(item));
            link.Target = QStringLiteral("/bin/true");
            link.Write();
        }
        QFile order(m_dir.filePath(QStringLiteral("order.lst")));
        ASSERT_TRUE(order.open(QIODevice::WriteOnly));
        order.write("a.lnk\r\nb.lnk\r\n");
    }

    static QStringList Names(const ItemRecords& read) {
        QStringList names;
        for (const TItem& item : read.items)
            names.append(item.Data.Name);
        return names;
    }

    QTemporaryDir m_dir;
};

TEST_F(BackgroundItemsTest, WhoeverComesFirstReadsTheFolderOnce) {
    // The worker busy: the read cannot begin, so take() reads the folder itself at once, and the
    // worker that comes free later leaves it alone.
    QThreadPool pool;
    pool.setMaxThreadCount(1);
    QSemaphore release;
    pool.start([&release] { release.acquire(); });
    int announced = 0;
    {
        BackgroundItems queued(m_dir.path(), {}, pool);
        QObject::connect(&queued, &BackgroundItems::finished, [&] { ++announced; });
        EXPECT_EQ(Names(queued.take()), (QStringList{u"a"_s, u"b"_s}));
        release.release();
        pool.waitForDone();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(announced, 0);

    // With workers free the read is done in the background and announced; take() hands it over.
    BackgroundItems background(m_dir.path());
    QObject::connect(&background, &BackgroundItems::finished, [&] { ++announced; });
    ASSERT_TRUE(WaitUntil([&] { return announced == 1; }));
    EXPECT_TRUE(background.isFinished());
    EXPECT_EQ(Names(background.take()), (QStringList{u"a"_s, u"b"_s}));

    // An unreadable shortcut is named in the error; the other items come along.
    QFile damaged(m_dir.filePath(QStringLiteral("a.lnk")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a shortcut");
    damaged.close();
    BackgroundItems failing(m_dir.path());
    const ItemRecords read = failing.take();
    EXPECT_EQ(Names(read), QStringList{u"b"_s});
    ASSERT_TRUE(read.error);
    try {
        std::rethrow_exception(read.error);
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), u"Unable to open link file: "_s + m_dir.filePath(u"a.lnk"_s));
    }
}

// Nothing is read before the future it is told to wait for: a shortcut written before that
// future finishes is among the items, whether a worker reads them or take() does (on a thread
// of its own, begun before the write). Several rounds, since a read that did not wait would
// have to come after the write to pass.
TEST_F(BackgroundItemsTest, NothingIsReadBeforeTheFutureItWaitsFor) {
    for (const bool worker : {true, false}) {
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE(worker ? "worker" : "take");
            QTemporaryDir dir;
            QThreadPool pool;
            pool.setMaxThreadCount(1);
            QSemaphore release;
            if (!worker) // the worker busy, so that take() reads
                pool.start([&release] { release.acquire(); });
            QPromise<void> digest;
            digest.start();
            BackgroundItems items(dir.path(), digest.future(), pool);
            ItemRecords taken;
            std::thread taker;
            if (!worker)
                taker = std::thread([&] { taken = items.take(); });
            TShortcutLink link;
            link.ShortcutFile = dir.filePath(u"late.lnk"_s);
            link.Target = QStringLiteral("/bin/true");
            link.Write();
            digest.finish();
            if (worker) {
                taken = items.take();
            } else {
                taker.join();
                release.release();
            }
            EXPECT_EQ(Names(taken), QStringList{u"late"_s});
        }
    }
}

} // namespace
