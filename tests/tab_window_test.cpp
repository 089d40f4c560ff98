#include <gtest/gtest.h>

#include <memory>

#include <QWindow>

#include "support/qt_test_support.h"
#include "tab_test_skin.h"
#include "tab_window_fixture.h"
#include "tabs/tab_shape.h"
#include "tabwindow/tab_window.h"

namespace {

const QRect Area(0, 0, 1024, 768);

struct Fixture {
    TSkin skin;
    Settings settings;
    TabContext context;

    explicit Fixture(TabEdge edge, AnimMode anim = AnimMode::Linear) {
        EnsureApp();
        skin = PlainSkin();
        if (edge == TabEdge::Left || edge == TabEdge::Right) {
            skin.TabBitmaps = {Solid(17, 128, qRgb(200, 0, 0))};
            skin.ItemBitmaps = {Solid(40, 128, qRgb(0, 200, 0))};
            skin.ItemHBitmaps = {Solid(40, 128, qRgb(0, 0, 200))};
        }
        settings.TabPos = edge;
        settings.Spacing = 12;
        settings.OpenAnim = settings.CloseAnim = anim;
        context.settings = &settings;
        context.skin = &skin;
        context.workArea = [] { return Area; };
    }

    std::unique_ptr<TfrmTab> Window(int items) {
        auto window = std::make_unique<TfrmTab>(context);
        window->TabModel().TabName = QStringLiteral("Tools");
        AddItems(window->TabModel(), items, skin.ItemHeight);
        window->TabModel().TabCount = 1;
        window->RebuildImage();
        return window;
    }
};

// Ticks the animation until its timer stops and returns the number of ticks; one that still runs
// after 1000 ticks never ends.
int Animate(TfrmTab& window) {
    int ticks = 0;
    while (window.tmrAnim().isActive()) {
        if (ticks == 1000) {
            ADD_FAILURE() << "the tab's animation still ran after 1000 ticks";
            break;
        }
        window.tmrAnimTimer();
        ++ticks;
    }
    return ticks;
}

TEST(TabWindow, ClosedWindowsInARow) {
    Fixture f(TabEdge::Bottom);
    f.settings.TabAlign = TabAlignment::Center;
    std::vector<std::unique_ptr<TfrmTab>> owned;
    QList<TfrmTab*> windows;
    for (int i = 0; i < 3; ++i) {
        owned.push_back(f.Window(2));
        windows.append(owned.back().get());
    }
    PlaceTabs(windows, f.context);
    EXPECT_EQ(windows[0]->geometry(), QRect(302, 768 - 16, 128, 16));
    EXPECT_EQ(windows[1]->geometry(), QRect(442, 768 - 16, 128, 16));
    EXPECT_EQ(windows[2]->geometry(), QRect(582, 768 - 16, 128, 16));
    EXPECT_FALSE(windows[0]->Open());
    EXPECT_FALSE(windows[0]->tmrAnim().isActive());
    EXPECT_FALSE(windows[0]->tmrDrop().isActive());
    EXPECT_EQ(windows[0]->TabModel().OpenExtent, -1);
    EXPECT_EQ(windows[0]->TabImage().size(), QSize(128, 17 + 80));
}

TEST(TabWindow, OpenAndCloseOnEachEdge) {
    struct Row {
        TabEdge edge;
        QRect closed;
        QRect open;
    };
    const Row rows[] = {
        {TabEdge::Bottom, QRect(12, 752, 128, 16), QRect(12, 631, 128, 137)},
        {TabEdge::Top, QRect(12, 0, 128, 16), QRect(12, 0, 128, 137)},
        {TabEdge::Left, QRect(0, 12, 16, 128), QRect(0, 12, 137, 128)},
        {TabEdge::Right, QRect(1008, 12, 16, 128), QRect(887, 12, 137, 128)},
    };
    for (const Row& r : rows) {
        Fixture f(r.edge);
        auto window = f.Window(3);
        PlaceTabs({window.get()}, f.context);
        EXPECT_EQ(window->geometry(), r.closed) << int(r.edge);
        window->SetOpen(true);
        EXPECT_TRUE(window->tmrDrop().isActive());
        EXPECT_EQ(Animate(*window), 12) << int(r.edge);
        EXPECT_EQ(window->geometry(), r.open) << int(r.edge);
        EXPECT_TRUE(window->Open());
        window->SetOpen(false);
        EXPECT_FALSE(window->tmrDrop().isActive());
        Animate(*window);
        EXPECT_EQ(window->geometry(), r.closed) << int(r.edge);
        EXPECT_FALSE(window->Open());
    }
}

TEST(TabWindow, ShapeFollowsTheVisiblePartOfTheImage) {
    // A head with see-through corners at its far end: the closed window must leave them out.
    Fixture f(TabEdge::Top);
    QImage head = Solid(128, 17, qRgb(200, 0, 0));
    head.setPixel(0, 16, PixelFromColour(KeyColour));
    head.setPixel(127, 16, PixelFromColour(KeyColour));
    f.skin.TabBitmaps = {head};
    auto window = f.Window(3);
    const QRegion closedShape = window->WindowShapeRegion();
    QRegion expected(0, 0, 128, 16);
    expected -= QRegion(0, 15, 1, 1);
    expected -= QRegion(127, 15, 1, 1);
    EXPECT_EQ(closedShape, expected);

    window->SetOpen(true);
    const int rendersBefore = window->RenderCount();
    Animate(*window);
    // Ticks move the window and its shape but never draw the tab again.
    EXPECT_EQ(window->RenderCount(), rendersBefore);
    EXPECT_EQ(window->WindowShapeRegion(), OpaqueRegion(window->TabImage()));
}

TEST(TabWindow, HoverRendersOnlyOnAChange) {
    Fixture f(TabEdge::Bottom);
    auto window = f.Window(3);
    const int start = window->RenderCount();
    window->SetHotIndex(-1);
    EXPECT_EQ(window->RenderCount(), start);
    window->SetHotIndex(1);
    window->SetHotIndex(1);
    EXPECT_EQ(window->RenderCount(), start + 1);
    EXPECT_EQ(window->TabImage().pixel(0, 17 + 40), qRgb(0, 0, 200));
    window->SetHotIndex(2);
    EXPECT_EQ(window->RenderCount(), start + 2);
    EXPECT_EQ(window->TabImage().pixel(0, 17 + 40), qRgb(0, 200, 0));
}

TEST(TabWindow, ShowingDrawsOnlyATabNeverDrawn) {
    Fixture f(TabEdge::Bottom);
    auto drawn = f.Window(3);
    drawn->show();
    EXPECT_EQ(drawn->RenderCount(), 1);

    TfrmTab fresh(f.context);
    fresh.TabModel().TabName = QStringLiteral("Fresh");
    AddItems(fresh.TabModel(), 2, f.skin.ItemHeight);
    fresh.show();
    EXPECT_EQ(fresh.RenderCount(), 1);
    EXPECT_FALSE(fresh.TabImage().isNull());
}

TEST(TabWindow, EmptyTabWithoutAnimationOpensAndCloses) {
    Fixture f(TabEdge::Bottom, AnimMode::Off);
    auto window = f.Window(0);
    window->SetOpen(true);
    EXPECT_LT(Animate(*window), 1000);
    EXPECT_EQ(window->height(), 17); // length HeadHeight
    EXPECT_TRUE(window->Open());
    EXPECT_TRUE(window->tmrDrop().isActive()); // stays open until the pointer leaves
    window->CheckPointer(nullptr);
    EXPECT_LT(Animate(*window), 1000);
    EXPECT_FALSE(window->Open());
    EXPECT_EQ(window->height(), 16);
}

TEST(TabWindow, LeaveDetectionFollowsOwners) {
    Fixture f(TabEdge::Bottom);
    auto window = f.Window(3);
    window->winId(); // the native window a shown tab has
    window->SetOpen(true);
    Animate(*window);
    window->SetHotIndex(1);

    QWindow menu;
    menu.setTransientParent(window->windowHandle());
    QWindow submenu;
    submenu.setTransientParent(&menu);
    window->CheckPointer(&submenu); // a window the tab owns counts as the tab
    window->CheckPointer(window->windowHandle());
    EXPECT_FALSE(window->tmrAnim().isActive());
    EXPECT_EQ(window->TabModel().HotIndex, 1);

    QWindow stranger;
    window->CheckPointer(&stranger);
    EXPECT_EQ(window->TabModel().HotIndex, -1);
    EXPECT_TRUE(window->tmrAnim().isActive());
    EXPECT_EQ(window->TargetExtent(), -1);
}

TEST(TabWindow, StackingWhileAnimating) {
    Fixture f(TabEdge::Bottom);
    f.context.aot = StackingMode::Disabled;
    auto window = f.Window(1);
    window->winId(); // the native window a shown tab has
    auto onTop = [&] { return window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); };
    QWindow* native = window->windowHandle();
    EXPECT_FALSE(onTop());
    window->SetOpen(true);
    EXPECT_TRUE(onTop()); // an opening tab is raised whatever the mode
    Animate(*window);
    EXPECT_FALSE(onTop());                     // the end of the animation restores the mode
    EXPECT_EQ(window->windowHandle(), native); // switched on the same native window
    f.context.aot = StackingMode::Aggressive;
    window->ApplyStacking();
    EXPECT_TRUE(onTop());
}

TEST(TabWindow, OutlineShapeWithoutLayering) {
    Fixture f(TabEdge::Bottom);
    f.context.layeredMode = false;
    f.skin.TabShape = ShapeKind::Rounded;
    auto window = f.Window(2);
    window->SetOpen(true);
    Animate(*window);
    const QRegion shape = window->WindowShapeRegion();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_TRUE(shape.contains(QPoint(64, 0)));
    EXPECT_TRUE(shape.contains(QPoint(0, 95)));
}

TEST(TabWindow, TheItemsPartIsDrawnWhenTheTabOpensAndGivenBackAfterItClosed) {
    TabWindowFixture f;
    const QString icon = f.root + QStringLiteral("/icon.png");
    ASSERT_TRUE(Solid(16, 16, qRgb(255, 0, 0)).save(icon));
    TShortcutLink link;
    link.ShortcutFile = f.tabFolder + QStringLiteral("/a.lnk");
    link.Target = QStringLiteral("/bin/true");
    link.IconLocation = icon;
    link.Write();
    f.WriteLink(QStringLiteral("b.lnk"));
    f.window = std::make_unique<TfrmTab>(f.context);
    TfrmTab& window = *f.window;
    window.TabModel().TabName = f.tabName;
    window.TabModel().TabFolder = f.tabFolder;
    window.ReadItemsInBackground();
    window.RebuildImage();
    EXPECT_FALSE(window.ItemsDrawn());

    // Opening takes the items first, whether or not the worker is done: the tab opens all the way.
    window.SetOpen(true);
    ASSERT_EQ(window.TabModel().Items.size(), 2);
    EXPECT_EQ(window.TargetExtent(), 80);
    EXPECT_TRUE(window.ItemsDrawn());
    const TItem& withIcon = window.TabModel().Items[window.TabModel().FindItem(link.ShortcutFile)];
    EXPECT_EQ(withIcon.Icon.pixel(16, 16), qRgb(255, 0, 0));
    const int renders = window.RenderCount();
    auto openAndClose = [&] {
        f.Animate();
        window.CheckPointer(nullptr);
        f.Animate();
    };
    openAndClose();
    ASSERT_FALSE(window.Open()) << "the tab did not close when the pointer left";

    // Kept for a while after closing: opening again shows it without drawing it anew.
    EXPECT_TRUE(window.ItemsDrawn());
    EXPECT_TRUE(window.tmrFreeItems().isActive());
    EXPECT_EQ(window.tmrFreeItems().interval(), ItemsKeptClosedMs);
    window.SetOpen(true);
    EXPECT_FALSE(window.tmrFreeItems().isActive());
    EXPECT_EQ(window.RenderCount(), renders);
    openAndClose();
    ASSERT_FALSE(window.Open()) << "the tab did not close when the pointer left";

    // Then given back, icons and all; the closed tab looks as before.
    const QRegion closedShape = window.WindowShapeRegion();
    window.tmrFreeItems().start(0); // instead of waiting the whole time
    ASSERT_TRUE(WaitFor("the items part to be given back", [&] { return !window.ItemsDrawn(); }));
    EXPECT_TRUE(withIcon.Icon.isNull());
    EXPECT_EQ(window.WindowShapeRegion(), closedShape);
}

} // namespace
