#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "qstring_printer.h"
#include "support/file_bytes.h"
#include "tab_window_fixture.h"

namespace {

void Press(TfrmTab& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString()) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(&window, &event);
}

// A tab of three items, A, B and C in this order (those not written before start nothing), opened
// from the keyboard.
TfrmTab& OpenThree(TabWindowFixture& f, TabEdge edge) {
    f.settings.TabPos = edge;
    for (const char* name : {"A.lnk", "B.lnk", "C.lnk"}) {
        if (!QFile::exists(f.tabFolder + QLatin1Char('/') + QLatin1String(name)))
            f.WriteLink(QString::fromLatin1(name));
    }
    TfrmTab& window = f.Build();
    window.OpenFromKeyboard(0, 0);
    f.Animate();
    return window;
}

// On every edge the arrow pointing away from the head moves the highlight to the next item, which
// is drawn that way (on the top edge the first item is drawn lowest, on the bottom edge highest),
// and stops at the last; the opposite arrow comes back. Home and End go to the first and the last.
TEST(TabKeys, ArrowsMoveTheHighlightAsTheItemsAreDrawn) {
    const struct {
        TabEdge edge;
        Qt::Key away, back;
        bool awayGrows; // the coordinate along the items grows in the direction of `away`
    } rows[] = {{TabEdge::Bottom, Qt::Key_Down, Qt::Key_Up, true},
                {TabEdge::Top, Qt::Key_Up, Qt::Key_Down, false},
                {TabEdge::Right, Qt::Key_Right, Qt::Key_Left, true},
                {TabEdge::Left, Qt::Key_Left, Qt::Key_Right, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.edge));
        TabWindowFixture f;
        TfrmTab& window = OpenThree(f, row.edge);
        ASSERT_TRUE(window.KeyboardOpen());
        EXPECT_EQ(window.TabModel().HotIndex, 0);
        const bool vertical = row.edge == TabEdge::Left || row.edge == TabEdge::Right;
        const auto place = [&] {
            const QRect r = window.ItemGeometry(window.TabModel().HotIndex);
            return vertical ? r.x() : r.y();
        };
        Press(window, Qt::Key_End);
        EXPECT_EQ(window.TabModel().HotIndex, 2);
        Press(window, Qt::Key_Home);
        EXPECT_EQ(window.TabModel().HotIndex, 0);
        int before = place();
        for (int step = 1; step <= 2; ++step) {
            Press(window, row.away);
            EXPECT_EQ(window.TabModel().HotIndex, step);
            EXPECT_EQ(place() > before, row.awayGrows) << "step " << step;
            before = place();
        }
        Press(window, row.away);
        EXPECT_EQ(window.TabModel().HotIndex, 2);
        Press(window, row.back);
        EXPECT_EQ(window.TabModel().HotIndex, 1);
    }
}

// A letter finds the next item its caption starts with, letter case aside; the same letter again
// goes on to the next one, whether or not it came soon enough to make a word with the first.
TEST(TabKeys, TypedLettersFindTheNextItem) {
    TabWindowFixture f;
    for (const char* name : {"Calc.lnk", "Edit.lnk", "Camera.lnk"})
        f.WriteLink(QString::fromLatin1(name));
    f.WriteOrder(f.tabFolder, Names("Calc.lnk Edit.lnk Camera.lnk"));
    TfrmTab& window = f.Build();
    window.OpenFromKeyboard(0, 0);
    Press(window, Qt::Key_C, Qt::NoModifier, QStringLiteral("c"));
    EXPECT_EQ(window.TabModel().HotIndex, 2);
    Press(window, Qt::Key_C, Qt::NoModifier, QStringLiteral("C"));
    EXPECT_EQ(window.TabModel().HotIndex, 0);
    // A letter with Ctrl is no typing.
    Press(window, Qt::Key_E, Qt::ControlModifier, QStringLiteral("e"));
    EXPECT_EQ(window.TabModel().HotIndex, 0);
}

// Return launches the highlighted item as a click does and closes the tab; Escape closes it
// without launching anything; the menu key offers the highlighted item where it is drawn.
TEST(TabKeys, ReturnLaunchesEscapeClosesMenuKeyOffersTheItem) {
    TabWindowFixture f;
    const QString marker = f.WriteRecordingLink(QStringLiteral("B.lnk"), QStringLiteral("second"));
    TfrmTab& window = OpenThree(f, TabEdge::Bottom);

    Press(window, Qt::Key_Escape);
    EXPECT_FALSE(window.KeyboardOpen());
    f.Animate();
    EXPECT_FALSE(window.Open());
    EXPECT_EQ(window.TabModel().HotIndex, -1);

    window.OpenFromKeyboard(0, 0);
    f.Animate();
    Press(window, Qt::Key_Down);
    Press(window, Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_EQ(f.host.popups.size(), 1);
    EXPECT_EQ(f.host.popups.front().Data.Name, QStringLiteral("B"));
    EXPECT_EQ(f.host.popupPos, window.mapToGlobal(window.ItemGeometry(1).center()));
    Press(window, Qt::Key_Menu);
    EXPECT_EQ(f.host.popups.size(), 2);

    Press(window, Qt::Key_Return);
    EXPECT_EQ(WaitForRenamedFile(marker), QByteArray("second\n"));
    EXPECT_FALSE(window.KeyboardOpen());
    f.Animate();
    EXPECT_FALSE(window.Open());
}

// A tab opened from the keyboard stays open while the pointer is elsewhere; once the pointer has
// come onto it, leaving closes it as usual.
TEST(TabKeys, KeyboardTabStaysUntilThePointerHasComeAndGone) {
    TabWindowFixture f;
    TfrmTab& window = OpenThree(f, TabEdge::Bottom);
    window.CheckPointer(nullptr);
    EXPECT_TRUE(window.KeyboardOpen());
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), window.mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(&window, &enter);
    window.CheckPointer(nullptr);
    EXPECT_FALSE(window.KeyboardOpen());
    // Opened again while it slides back, it turns round.
    ASSERT_TRUE(window.tmrAnim().isActive());
    window.tmrAnimTimer();
    window.OpenFromKeyboard(0, 0);
    f.Animate();
    EXPECT_TRUE(window.KeyboardOpen());
    EXPECT_EQ(window.TabModel().OpenExtent, window.TabModel().ItemsLength);
}

} // namespace
