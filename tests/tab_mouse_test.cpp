#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>

#include "common/error.h"
#include "qstring_printer.h"
#include "support/file_bytes.h"
#include "tab_window_fixture.h"

namespace {

void Send(TfrmTab& window, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::NoButton,
          QPoint global = QPoint()) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(pos), QPointF(global.isNull() ? window.mapToGlobal(pos) : global), button,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

void Hover(TfrmTab& window, QPoint pos) {
    Send(window, QEvent::MouseMove, pos);
}

} // namespace

TEST(TabMouse, HoverOpensUnlessClickOpenIsOn) {
    for (const bool clickOpen : {false, true}) {
        TabWindowFixture f;
        f.WriteLink(QStringLiteral("a.lnk"));
        f.settings.ClickOpen = clickOpen;
        TfrmTab& window = f.Build();

        Hover(window, QPoint(10, 5));
        EXPECT_EQ(window.Open(), !clickOpen);
        // A right press on a closed tab finds no item: the menu is the tab's.
        Send(window, QEvent::MouseButtonPress, QPoint(10, 5), Qt::RightButton, QPoint(300, 700));
        ASSERT_EQ(f.host.popups.size(), 1);
        EXPECT_EQ(f.host.popups.front().Index, -1);
        EXPECT_EQ(f.host.popups.front().Data.Name, f.tabName);
        EXPECT_EQ(f.host.popups.front().Data.LinkFile, f.tabFolder);
        EXPECT_EQ(f.host.popupPos, QPoint(300, 700));
        // In click mode a left press on the head opens the tab and starts no tab drag.
        Send(window, QEvent::MouseButtonPress, QPoint(10, 5), Qt::LeftButton);
        Send(window, QEvent::MouseButtonRelease, QPoint(10, 5), Qt::LeftButton);
        EXPECT_TRUE(window.Open());
        EXPECT_EQ(f.host.rebuilds, clickOpen ? 0 : 1);
    }
}

TEST(TabMouse, ThePointerArrivingCountsAsItsFirstMovement) {
    for (const bool clickOpen : {false, true}) {
        TabWindowFixture f;
        f.WriteLink(QStringLiteral("a.lnk"));
        f.settings.ClickOpen = clickOpen;
        TfrmTab& window = f.Build();
        QEnterEvent enter(QPointF(10, 5), QPointF(10, 5), QPointF(window.mapToGlobal(QPoint(10, 5))));
        QCoreApplication::sendEvent(&window, &enter);
        EXPECT_EQ(window.Open(), !clickOpen);
    }
}

TEST(TabMouse, HoverHighlightsTheItemUnderThePointer) {
    TabWindowFixture f;
    for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
        f.WriteLink(QString::fromUtf8(name));
    TfrmTab& window = f.Open();
    const struct {
        int y;
        int hot;
    } rows[] = {{16, -1}, {17, 0}, {56, 0}, {57, 1}, {136, 2}, {140, -1}, {60, 1}};
    for (const auto& row : rows) {
        Hover(window, QPoint(60, row.y));
        EXPECT_EQ(window.TabModel().HotIndex, row.hot) << "y " << row.y;
    }
    // While the tab animates the highlight stays where it was.
    window.SetOpen(false);
    Hover(window, QPoint(60, 20));
    EXPECT_EQ(window.TabModel().HotIndex, 1);
}

TEST(TabMouse, ClickLaunchesAndClosesRightClickOffersTheItem) {
    TabWindowFixture f;
    const QString marker = f.WriteRecordingLink(QStringLiteral("Run.lnk"), QStringLiteral("one two"));
    f.WriteLink(QStringLiteral("Other.lnk"));
    f.WriteOrder(f.tabFolder, Names("Other.lnk Run.lnk"));
    TfrmTab& window = f.Open();

    Send(window, QEvent::MouseButtonPress, QPoint(60, 70), Qt::RightButton, QPoint(77, 88));
    ASSERT_EQ(f.host.popups.size(), 1);
    EXPECT_EQ(f.host.popups.front().Index, 1);
    EXPECT_EQ(f.host.popups.front().Data.Name, QStringLiteral("Run"));
    EXPECT_EQ(f.host.popups.front().Data.LinkFile, f.tabFolder + QStringLiteral("/Run.lnk"));

    // A press beyond the last item is ignored.
    Send(window, QEvent::MouseButtonPress, QPoint(60, 200), Qt::LeftButton);
    Send(window, QEvent::MouseButtonRelease, QPoint(60, 200), Qt::LeftButton);
    EXPECT_TRUE(window.Open());
    EXPECT_EQ(f.host.rebuilds, 0);

    // Exactly 10 pixels of movement is still a click.
    Send(window, QEvent::MouseButtonPress, QPoint(60, 70), Qt::LeftButton);
    Send(window, QEvent::MouseMove, QPoint(70, 80), Qt::LeftButton);
    Send(window, QEvent::MouseButtonRelease, QPoint(70, 80), Qt::LeftButton);
    ASSERT_EQ(WaitForRenamedFile(marker), QByteArray("one two\n")) << "the item was not started";
    // The tab closes although the pointer is still over it.
    EXPECT_TRUE(window.tmrAnim().isActive());
    EXPECT_EQ(window.TargetExtent(), f.skin.TabHeight - f.skin.HeadHeight);
    f.Animate();
    EXPECT_FALSE(window.Open());
}

TEST(TabMouse, DraggingTheHeadReordersTheRow) {
    // Top-left row, spacing 12, tabs 128 wide: tab i starts at 12 + 140 i.
    const struct {
        int releaseX;
        const char* order;
    } rows[] = {
        {342, "B A C D"}, // over C
        {600, "B C D A"}, // past D
        {202, "A B C D"}, // over B
        {20, "A B C D"},  // its own place
    };
    for (const auto& row : rows) {
        TabWindowFixture f(QStringLiteral("A"));
        for (const char* name : {"B", "C", "D"})
            QDir().mkpath(f.tabsFolder + QLatin1Char('/') + QString::fromUtf8(name));
        f.WriteOrder(f.tabsFolder, Names("A B C D"));
        f.host.tabCount = 4;
        TfrmTab& window = f.Open();
        window.Place(QPoint(12, 700));

        Send(window, QEvent::MouseButtonPress, QPoint(30, 5), Qt::LeftButton, QPoint(42, 705));
        EXPECT_FALSE(window.tmrDrop().isActive());
        Send(window, QEvent::MouseMove, QPoint(80, 9), Qt::LeftButton, QPoint(92, 709));
        EXPECT_EQ(window.pos(), QPoint(62, 700)); // along the edge only
        Send(window, QEvent::MouseButtonRelease, QPoint(30, 5), Qt::LeftButton, QPoint(row.releaseX, 705));
        EXPECT_TRUE(window.tmrDrop().isActive());
        EXPECT_EQ(f.ReadOrder(f.tabsFolder), Names(row.order)) << "release at " << row.releaseX;
        EXPECT_EQ(f.host.rebuilds, 1);
    }
}

// The order of the tabs cannot be written: the failure is reported, and the set is still rebuilt
// from disk, so that the dragged tab does not stay where it was let go.
TEST(TabMouse, ATabDragRebuildsTheSetEvenWhenTheOrderCannotBeWritten) {
    TabWindowFixture f(QStringLiteral("A"));
    QDir().mkpath(f.tabsFolder + QStringLiteral("/B"));
    const QString elsewhere = f.root + QStringLiteral("/kept-order.lst");
    {
        QFile file(elsewhere);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("A\r\nB\r\n");
    }
    ASSERT_TRUE(QFile::link(elsewhere, f.tabsFolder + QStringLiteral("/order.lst")));
    f.host.tabCount = 2;
    TfrmTab& window = f.Open();
    window.Place(QPoint(12, 700));
    Send(window, QEvent::MouseButtonPress, QPoint(30, 5), Qt::LeftButton, QPoint(42, 705));
    Send(window, QEvent::MouseMove, QPoint(200, 9), Qt::LeftButton, QPoint(212, 709));
    // The error leaves the handler for the application's error handler. The event goes straight to
    // the window, past QApplication::notify: an exception must not unwind through Qt's delivery.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(200, 5), QPointF(300, 705), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    EXPECT_THROW(static_cast<QObject&>(window).event(&release), Error);
    EXPECT_EQ(f.host.rebuilds, 1);
    EXPECT_EQ(ReadBytes(elsewhere), QByteArray("A\r\nB\r\n"));
}

// An item whose caption is cut short shows its whole name as a tooltip; one that fits shows none.
TEST(TabMouse, AShortenedCaptionShowsItsWholeNameAsATooltip) {
    TabWindowFixture f;
    f.skin.UseText = true;
    const QString longName = QStringLiteral("An application with a name far too long for one row of the tab");
    f.WriteLink(QStringLiteral("A.lnk"));
    f.WriteLink(longName + QStringLiteral(".lnk"));
    TfrmTab& window = f.Open();
    window.show();
    ASSERT_EQ(f.Captions(), QStringList({QStringLiteral("A"), longName}));
    Hover(window, QPoint(60, 17 + 40 + 20));
    ASSERT_EQ(window.TabModel().HotIndex, 1);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(longName));
    Hover(window, QPoint(60, 17 + 20));
    ASSERT_EQ(window.TabModel().HotIndex, 0);
    // The tooltip fades out.
    const QDeadlineTimer deadline(10000);
    while (QToolTip::isVisible() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(QToolTip::isVisible());
}
