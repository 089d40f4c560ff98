#include "tabs/live_folders.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QThread>

#include "tabs/folder_state.h"
#include "tabs/order_file.h"
#include "support/qt_test_support.h"

namespace {

class LiveFoldersTest : public testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        QDir().mkpath(tab());
        write(QStringLiteral("A/a.lnk"), "a");
        write(QStringLiteral("A/order.lst"), "a.lnk\r\n");
    }

    QString tabs() const { return m_dir.path(); }
    QString tab() const { return m_dir.filePath(QStringLiteral("A")); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private:
    QTemporaryDir m_dir;
};

} // namespace

// The digest tells what a rebuild would show: it changes with the items, the tabs and the order,
// not with the program's own rewriting of an order file.
TEST_F(LiveFoldersTest, TheStateChangesWithWhatARebuildShowsOnly) {
    const QByteArray start = TabSetState(tabs());
    write(QStringLiteral("A/order.lst"), "a.lnk\r\n"); // the same lines, written anew
    EXPECT_EQ(TabSetState(tabs()), start);
    write(QStringLiteral("A/order.lst"), "gone.lnk\r\na.lnk\r\n"); // a stale line, which the
    EXPECT_EQ(TabSetState(tabs()), start);                         // next listing removes
    CleanOrderFile(tab());
    EXPECT_EQ(TabSetState(tabs()), start);

    QByteArray before = start;
    const auto changes = [&] {
        const QByteArray now = TabSetState(tabs());
        const bool changed = now != before;
        before = now;
        return changed;
    };
    write(QStringLiteral("A/b.lnk"), "b");
    EXPECT_TRUE(changes()) << "a new item";
    write(QStringLiteral("A/order.lst"), "b.lnk\r\na.lnk\r\n");
    EXPECT_TRUE(changes()) << "a new order";
    write(QStringLiteral("A/b.lnk"), "bb");
    EXPECT_TRUE(changes()) << "a shortcut written anew";
    QDir().mkpath(tabs() + QStringLiteral("/B"));
    EXPECT_TRUE(changes()) << "a new tab";
}

// A burst of changes gives one request, and none while the user works with the tabs: it is made
// once the work has ended.
TEST_F(LiveFoldersTest, ChangesFromOutsideAskForARebuildOnceNothingIsInTheWay) {
    bool busy = true;
    int busyAsked = 0;
    LiveFolders live([&] {
        ++busyAsked;
        return busy;
    });
    live.MarkShown(tabs());
    // What is shown is read once the digest has been taken.
    live.Marked().waitForFinished();
    live.Watch(tabs(), {tab()});
    int requests = 0;
    QObject::connect(&live, &LiveFolders::rebuildNeeded, [&] { ++requests; });

    for (const char* name : {"A/b.lnk", "A/c.lnk", "A/d.lnk"})
        write(QString::fromLatin1(name), "x");
    ASSERT_TRUE(WaitUntil([&] { return busyAsked > 0; }));
    EXPECT_EQ(requests, 0);
    busy = false;
    ASSERT_TRUE(WaitUntil([&] { return requests > 0; }));
    EXPECT_EQ(requests, 1);
}

// Shown already: the program's own change brings no request; an order file edited in place by
// another program does.
TEST_F(LiveFoldersTest, OwnChangesAreShownAlreadyAndEditsInPlaceAreNoticed) {
    LiveFolders live([] { return false; });
    live.MarkShown(tabs());
    live.Watch(tabs(), {tab()});
    int requests = 0;
    int upToDate = 0;
    QObject::connect(&live, &LiveFolders::rebuildNeeded, [&] { ++requests; });
    QObject::connect(&live, &LiveFolders::upToDate, [&] { ++upToDate; });
    write(QStringLiteral("A/b.lnk"), "b");
    live.MarkShown(tabs());
    ASSERT_TRUE(WaitUntil([&] { return upToDate > 0; }));
    EXPECT_EQ(requests, 0);

    QFile order(tab() + QStringLiteral("/order.lst"));
    ASSERT_TRUE(order.open(QIODevice::Append));
    order.write("b.lnk\r\n");
    order.close();
    ASSERT_TRUE(WaitUntil([&] { return requests > 0; }));
    EXPECT_EQ(requests, 1);
}

// Changes that keep coming faster than the delay between checks (a program that writes without
// end) still lead to a rebuild soon after the first of them, not only once the writing stops.
TEST_F(LiveFoldersTest, AStreamOfChangesAsksForARebuildWhileItLasts) {
    LiveFolders live([] { return false; });
    live.MarkShown(tabs());
    live.Marked().waitForFinished();
    live.Watch(tabs(), {tab()});
    int requests = 0;
    QObject::connect(&live, &LiveFolders::rebuildNeeded, [&] { ++requests; });

    // A new shortcut every 20 ms, far more often than the delay, for as long as the test waits.
    int written = 0;
    QTimer writer;
    writer.setInterval(20);
    QObject::connect(&writer, &QTimer::timeout,
                     [&] { write(QStringLiteral("A/new%1.lnk").arg(written++), "x"); });
    writer.start();
    ASSERT_TRUE(
        WaitFor("a rebuild to be asked for while the changes kept coming", [&] { return requests > 0; }));
    EXPECT_GT(written, 0);
}

// A program that writes into a tab folder without end gets the first rebuild soon and then one
// every few seconds while it goes on, not one for every quarter of a second.
TEST_F(LiveFoldersTest, AStreamOfChangesGivesARebuildEveryFewSecondsAtMost) {
    LiveFolders live([] { return false; });
    live.MarkShown(tabs());
    live.Marked().waitForFinished();
    live.Watch(tabs(), {tab()});
    QList<qint64> requests;
    QElapsedTimer stream;
    QObject::connect(&live, &LiveFolders::rebuildNeeded, [&] { requests.append(stream.elapsed()); });
    constexpr qint64 kStreamMs = 7000;
    stream.start();
    for (int i = 0; stream.elapsed() < kStreamMs; ++i) {
        write(QStringLiteral("A/stream%1.lnk").arg(i % 50), QByteArray::number(i));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    ASSERT_FALSE(requests.isEmpty()) << "no rebuild was asked for during the stream";
    // 7 s of changes: one soon after the first, then at most one per gap.
    EXPECT_LE(requests.size(), 1 + kStreamMs / kLiveFolderRebuildGapMs);
    for (qsizetype i = 1; i < requests.size(); ++i)
        EXPECT_GE(requests[i] - requests[i - 1], kLiveFolderRebuildGapMs - 50) << i;
}
