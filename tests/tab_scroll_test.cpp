#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QWheelEvent>

#include "common/error.h"
#include "qstring_printer.h"
#include "tab_window_fixture.h"
#include "tabs/tab_geometry.h"

namespace {

// Writes count shortcuts "Item 0000.lnk", ... into the tab folder.
void WriteItems(TabWindowFixture& f, int count) {
    for (int i = 0; i < count; ++i)
        f.WriteLink(QStringLiteral("Item %1.lnk").arg(i, 4, 10, QLatin1Char('0')));
}

void Wheel(TfrmTab& window, int angle) {
    const QPointF pos(20, 40);
    QWheelEvent event(pos, window.mapToGlobal(pos), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &event);
}

void Press(TfrmTab& window, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
}

const TabEdge AllEdges[] = {TabEdge::Bottom, TabEdge::Left, TabEdge::Top, TabEdge::Right};

} // namespace

// On every edge a tab of more items than its screen holds opens within the work area, drawn no
// larger than the rows shown; the wheel scrolls it by one item, and the keyboard's highlight
// brings its item into view.
TEST(TabScroll, ALongTabOpensWithinTheWorkAreaAndScrolls) {
    for (const TabEdge edge : AllEdges) {
        SCOPED_TRACE(int(edge));
        TabWindowFixture f;
        f.settings.TabPos = edge;
        WriteItems(f, 30);
        TfrmTab& window = f.Build();
        window.OpenFromKeyboard(0, 0);
        f.Animate();
        const QRect area = f.context.workArea();
        const int rows = RowsThatFit(edge, area, f.skin.HeadHeight, f.skin.ItemHeight);
        ASSERT_LT(rows, 30);
        const TTab& tab = window.TabModel();
        EXPECT_EQ(tab.ShownCount(), rows);
        EXPECT_EQ(tab.OpenExtent, rows * f.skin.ItemHeight);
        EXPECT_TRUE(area.contains(window.geometry()))
            << window.geometry().x() << "," << window.geometry().y();
        const QSize image = window.TabImage().size();
        EXPECT_EQ(std::max(image.width(), image.height()), f.skin.HeadHeight + rows * f.skin.ItemHeight);

        Wheel(window, -120);
        EXPECT_EQ(tab.FirstShown, 1);
        Wheel(window, -60); // half a notch waits for the other half
        EXPECT_EQ(tab.FirstShown, 1);
        Wheel(window, -60);
        EXPECT_EQ(tab.FirstShown, 2);
        Wheel(window, 360);
        EXPECT_EQ(tab.FirstShown, 0);

        Press(window, Qt::Key_End);
        EXPECT_EQ(tab.HotIndex, 29);
        EXPECT_EQ(tab.FirstShown, 30 - rows);
        EXPECT_TRUE(window.rect().contains(window.ItemGeometry(29)));
        Press(window, Qt::Key_Home);
        EXPECT_EQ(tab.FirstShown, 0);
        EXPECT_TRUE(window.rect().contains(window.ItemGeometry(0)));
        // Reopened, the tab starts at its first items again.
        Press(window, Qt::Key_End);
        window.SetOpen(false);
        f.Animate();
        window.SetOpen(true);
        f.Animate();
        EXPECT_EQ(tab.FirstShown, 0);
    }
}

// A tab that fits shows all its items and ignores the wheel, as before.
TEST(TabScroll, ATabThatFitsDoesNotScroll) {
    TabWindowFixture f;
    WriteItems(f, 3);
    TfrmTab& window = f.Open();
    Wheel(window, -120);
    EXPECT_EQ(window.TabModel().FirstShown, 0);
    EXPECT_EQ(window.TabModel().OpenExtent, 3 * f.skin.ItemHeight);
}

// A file held over the far end of a long tab scrolls it to its last items, and drops at the
// boundary the marker shows there: after the last item.
TEST(TabScroll, ADragHeldAtTheFarEndScrollsAndDropsThere) {
    TabWindowFixture f;
    WriteItems(f, 30);
    const QString dropped = f.WriteLink(QStringLiteral("new.lnk"), QStringLiteral("/bin/true"), f.root);
    TfrmTab& window = f.Open();
    const TTab& tab = window.TabModel();
    const int rows = tab.ShownCount();
    const QPoint farEnd(60, f.skin.HeadHeight + rows * f.skin.ItemHeight - 3);
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(dropped)});
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(farEnd, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(farEnd, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    const QDeadlineTimer deadline(30000);
    while (tab.FirstShown < 30 - rows && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(tab.FirstShown, 30 - rows) << "the held drag did not scroll to the last items";
    EXPECT_EQ(tab.DropIndex, 30);
    QDropEvent drop(QPointF(farEnd), offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    const QStringList order = f.ReadOrder(f.tabFolder);
    ASSERT_FALSE(order.isEmpty());
    EXPECT_EQ(order.back(), QStringLiteral("new.lnk"));
}

// A tab holds at most kMaxTabItems items, and says so naming the tab; an order file naming a
// shortcut again and again makes one item of it.
TEST(TabScroll, ItemsAreCappedAndRepeatedOrderLinesCountOnce) {
    TabWindowFixture f(QStringLiteral("Huge"));
    WriteItems(f, int(kMaxTabItems) + 5);
    TTab tab;
    tab.TabFolder = f.tabFolder;
    try {
        tab.LoadItems();
        ADD_FAILURE() << "no message about the cap";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("The tab \"Huge\" holds 1005 items; only the first 1000 are shown."));
    }
    EXPECT_EQ(tab.Items.size(), kMaxTabItems);
    EXPECT_EQ(tab.Items.back().Data.Name, QStringLiteral("Item 0999"));

    TabWindowFixture g;
    g.WriteLink(QStringLiteral("a.lnk"));
    g.WriteLink(QStringLiteral("b.lnk"));
    QStringList lines(5000, QStringLiteral("b.lnk"));
    lines.append(QStringLiteral("A.LNK"));
    g.WriteOrder(g.tabFolder, lines);
    TTab repeated;
    repeated.TabFolder = g.tabFolder;
    repeated.LoadItems();
    ASSERT_EQ(repeated.Items.size(), 2);
    EXPECT_EQ(repeated.Items[0].Data.Name, QStringLiteral("b"));
    EXPECT_EQ(repeated.Items[1].Data.Name, QStringLiteral("A"));
}
