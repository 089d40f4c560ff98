#include "config/position_page.h"

#include <optional>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QSet>
#include <QToolButton>

#include "common/ini_file.h"
#include "config/config_dialog.h"
#include "config/graphic_panel.h"
#include "config/page_control.h"
#include "config/spacing_text.h"
#include "fake_config_host.h"
#include "qt_app_environment.h"

namespace {

using E = TabEdge;
using A = TabAlignment;

TEST(PositionDiagram, HitTestSectorsAndTheirBoundaries) {
    // The centre of the 155 x 115 area is (77, 57).
    struct Row {
        int dx, dy;
        TabEdge edge;
        TabAlignment align;
    } rows[] = {
        {0, 0, E::Right, A::Center},         // the exact centre
        {40, 0, E::Right, A::Center},        // s = 0
        {40, 40, E::Right, A::BottomRight},  // s = 3 belongs to the right edge
        {39, 40, E::Bottom, A::BottomRight}, // just beyond
        {0, 40, E::Bottom, A::Center},       // s = 6
        {-40, 40, E::Bottom, A::TopLeft},    // s = 9
        {-40, 39, E::Left, A::BottomRight},  // just beyond 9
        {-40, 0, E::Left, A::Center},        // s = 12
        {-40, -1, E::Left, A::Center},       // s just above -12
        {-40, -40, E::Left, A::TopLeft},     // s = -9
        {-39, -40, E::Top, A::TopLeft},      // just beyond -9
        {0, -40, E::Top, A::Center},         // s = -6
        {40, -40, E::Right, A::TopLeft},     // s = -3
        {40, -39, E::Right, A::TopLeft},     {41, -40, E::Right, A::TopLeft},
        {39, -40, E::Top, A::BottomRight},
    };
    for (const Row& row : rows) {
        const PositionCode code = HitTestPosition(77 + row.dx, 57 + row.dy, DiagramWidth, DiagramHeight);
        EXPECT_EQ(code, MakePositionCode(row.edge, row.align)) << "dx " << row.dx << " dy " << row.dy;
    }
}

TEST(PositionDiagram, MarkerRectangles) {
    const auto bottomCenter =
        MarkerRects(MakePositionCode(E::Bottom, A::Center), DiagramWidth, DiagramHeight);
    EXPECT_EQ(bottomCenter[0], QRect(QPoint(52, 109), QPoint(66, 113)));
    EXPECT_EQ(bottomCenter[1].left(), 69);
    EXPECT_EQ(bottomCenter[2].left(), 86);
    EXPECT_EQ(bottomCenter[2].right(), 100);
    const auto leftTop = MarkerRects(MakePositionCode(E::Left, A::TopLeft), DiagramWidth, DiagramHeight);
    EXPECT_EQ(leftTop[0], QRect(0, 2, 5, 15));
    EXPECT_EQ(leftTop[2], QRect(0, 36, 5, 15));
    const auto rightBottom =
        MarkerRects(MakePositionCode(E::Right, A::BottomRight), DiagramWidth, DiagramHeight);
    EXPECT_EQ(rightBottom[0], QRect(149, 65, 5, 15));
    const auto topRight = MarkerRects(MakePositionCode(E::Top, A::BottomRight), DiagramWidth, DiagramHeight);
    EXPECT_EQ(topRight[0], QRect(105, 0, 15, 5));
    EXPECT_EQ(topRight[2].right(), 153);
}

TEST(SpacingText, ParsesWholeNumbersOnly) {
    struct Row {
        const char* text;
        std::optional<qint32> value;
    } rows[] = {
        {"12", 12},
        {"  -5", -5},
        {"+7", 7},
        {"$10", 16},
        {"0x10", 16},
        {"0X1f", 31},
        {"-$10", -16},
        {"", std::nullopt},
        {"15a", std::nullopt},
        {"12 ", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"-", std::nullopt},
        {"1.5", std::nullopt},
        {"2147483647", 2147483647},
        {"2147483648", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"$G", std::nullopt},
        {"\xd9\xa3", std::nullopt}, // an Arabic-Indic digit
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseSpacing(QString::fromUtf8(row.text)), row.value) << row.text;
}

// An arrow along the edge steps the alignment and goes round the corner at its end; an arrow
// across goes to the opposite edge; one off the screen keeps the place.
TEST(PositionDiagram, ArrowKeysStepAroundTheScreen) {
    using D = DiagramArrow;
    const struct {
        E edge;
        A align;
        DiagramArrow arrow;
        E toEdge;
        A toAlign;
    } rows[] = {
        {E::Bottom, A::Center, D::Left, E::Bottom, A::TopLeft},
        {E::Bottom, A::Center, D::Right, E::Bottom, A::BottomRight},
        {E::Bottom, A::TopLeft, D::Left, E::Left, A::BottomRight},
        {E::Bottom, A::BottomRight, D::Right, E::Right, A::BottomRight},
        {E::Bottom, A::Center, D::Up, E::Top, A::Center},
        {E::Bottom, A::Center, D::Down, E::Bottom, A::Center},
        {E::Top, A::TopLeft, D::Left, E::Left, A::TopLeft},
        {E::Top, A::BottomRight, D::Right, E::Right, A::TopLeft},
        {E::Top, A::TopLeft, D::Down, E::Bottom, A::TopLeft},
        {E::Top, A::Center, D::Up, E::Top, A::Center},
        {E::Left, A::Center, D::Up, E::Left, A::TopLeft},
        {E::Left, A::Center, D::Down, E::Left, A::BottomRight},
        {E::Left, A::TopLeft, D::Up, E::Top, A::TopLeft},
        {E::Left, A::BottomRight, D::Down, E::Bottom, A::TopLeft},
        {E::Left, A::Center, D::Right, E::Right, A::Center},
        {E::Left, A::Center, D::Left, E::Left, A::Center},
        {E::Right, A::TopLeft, D::Up, E::Top, A::BottomRight},
        {E::Right, A::BottomRight, D::Down, E::Bottom, A::BottomRight},
        {E::Right, A::BottomRight, D::Left, E::Left, A::BottomRight},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(StepPosition(MakePositionCode(row.edge, row.align), row.arrow),
                  MakePositionCode(row.toEdge, row.toAlign))
            << "edge " << int(row.edge) << " align " << int(row.align) << " arrow " << int(row.arrow);
    }
    // Going round, the arrows reach every place.
    QSet<PositionCode> reached;
    PositionCode code = MakePositionCode(E::Bottom, A::Center);
    for (int i = 0; i < 24; ++i) {
        reached.insert(code);
        const E edge = PositionEdge(code);
        code = StepPosition(code, edge == E::Bottom  ? D::Right
                                  : edge == E::Right ? D::Up
                                  : edge == E::Top   ? D::Left
                                                     : D::Down);
    }
    EXPECT_EQ(reached.size(), 12);
}

class PositionPageTest : public testing::Test {
protected:
    void TearDown() override { delete dialog; }

    void open() {
        dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        dialog->findChild<PageControl*>()->setCurrentIndex(3);
        page = dialog->findChild<PositionPage*>();
        diagram = dialog->findChild<TGraphicPanel*>(QStringLiteral("gpPosition"));
        host.calls.clear();
    }
    void moveMouse(QWidget* target, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
    }
    void clickDiagram(QPoint at) {
        moveMouse(diagram, at);
        QMouseEvent press(QEvent::MouseButtonPress, at, diagram->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, diagram->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(diagram, &release);
    }
    QToolButton* screenButton(int n) {
        return dialog->findChild<QToolButton*>(QStringLiteral("sbScreen%1").arg(n));
    }

    FakeConfigHost host;
    TfrmConfig* dialog = nullptr;
    PositionPage* page = nullptr;
    TGraphicPanel* diagram = nullptr;
};

TEST_F(PositionPageTest, DiagramClickPlacesOrRebuildsByEdge) {
    host.stored().settings.TabPos = E::Bottom;
    host.stored().settings.TabAlign = A::Center;
    open();

    // Bottom/TopLeft keeps the edge: the tabs are only placed again.
    clickDiagram(QPoint(77 - 40, 57 + 41));
    EXPECT_EQ(host.stored().settings.TabAlign, A::TopLeft);
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("save"), QStringLiteral("placeTabs")}));

    host.calls.clear();
    clickDiagram(QPoint(77, 10));
    EXPECT_EQ(host.stored().settings.TabPos, E::Top);
    EXPECT_EQ(host.stored().settings.TabAlign, A::Center);
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("save"), QStringLiteral("reloadSkin"),
                                       QStringLiteral("rebuildTabs")}));
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("Position"), QStringLiteral("TabPos"), {}),
        QStringLiteral("Top"));
}

TEST_F(PositionPageTest, HoverOutlineFollowsThePointerUntilAnotherControlIsMovedOver) {
    open();
    EXPECT_FALSE(page->hoverShown());
    const QImage plain = diagram->grab().toImage();
    moveMouse(diagram, QPoint(150, 57));
    EXPECT_TRUE(page->hoverShown());
    EXPECT_EQ(page->hoverCode(), MakePositionCode(E::Right, A::Center));
    // The outline is drawn over the right edge's middle marker and nowhere else.
    const QImage hovered = diagram->grab().toImage();
    const auto marker = MarkerRects(page->hoverCode(), DiagramWidth, DiagramHeight);
    QRect changed;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) != hovered.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
        }
    }
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_TRUE((marker[0] | marker[2]).contains(changed));

    moveMouse(dialog->findChild<QLineEdit*>(QStringLiteral("edtSpacing")), QPoint(3, 3));
    EXPECT_FALSE(page->hoverShown());
    EXPECT_EQ(diagram->grab().toImage(), plain);
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(PositionPageTest, SpacingTypedDigitByDigit) {
    host.stored().settings.Spacing = 12;
    open();
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edtSpacing"));
    EXPECT_EQ(edit->text(), QStringLiteral("12"));
    edit->clear();
    edit->insert(QStringLiteral("1"));
    EXPECT_EQ(host.stored().settings.Spacing, 1);
    edit->insert(QStringLiteral("5"));
    EXPECT_EQ(host.stored().settings.Spacing, 15);
    edit->insert(QStringLiteral("x"));
    EXPECT_EQ(host.stored().settings.Spacing, 15);
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("Position"), QStringLiteral("Spacing"), {}),
        QStringLiteral("15"));
    edit->setText(QStringLiteral("-5"));
    EXPECT_EQ(host.stored().settings.Spacing, -5);
    edit->setText(QStringLiteral("$10"));
    EXPECT_EQ(host.stored().settings.Spacing, 16);
    // Values past any screen are kept within what placement can use without overflow.
    // The field then shows the value saved.
    edit->setText(QStringLiteral("2147483647"));
    EXPECT_EQ(host.stored().settings.Spacing, kMaxSpacing);
    EXPECT_EQ(edit->text(), QString::number(kMaxSpacing));
    edit->setText(QStringLiteral("-2147483648"));
    EXPECT_EQ(host.stored().settings.Spacing, kMinSpacing);
    EXPECT_EQ(edit->text(), QString::number(kMinSpacing));
    EXPECT_TRUE(host.pending().rebuild);
    EXPECT_FALSE(host.calls.contains(QStringLiteral("rebuildTabs")));
}

TEST_F(PositionPageTest, MonitorButtonsForThePresentMonitors) {
    host.monitors = 1;
    host.stored().settings.Screen = 1;
    open();
    EXPECT_TRUE(screenButton(1)->isVisible());
    EXPECT_TRUE(screenButton(1)->isChecked());
    for (int n = 2; n <= 8; ++n)
        EXPECT_FALSE(screenButton(n)->isVisible()) << n;
    delete dialog;

    host.monitors = 3;
    host.stored().settings.Screen = 2;
    open();
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(screenButton(n)->isVisible(), n <= 3) << n;
    EXPECT_TRUE(screenButton(2)->isChecked());
    EXPECT_TRUE(host.calls.isEmpty());
    screenButton(3)->click();
    EXPECT_EQ(host.stored().settings.Screen, 3);
    EXPECT_FALSE(screenButton(2)->isChecked());
    EXPECT_EQ(host.calls, QStringList({QStringLiteral("save"), QStringLiteral("placeTabs")}));
    delete dialog;

    // A Screen value outside 1..8 presses no button.
    host.stored().settings.Screen = 0;
    open();
    for (int n = 1; n <= 8; ++n)
        EXPECT_FALSE(screenButton(n)->isChecked()) << n;
}

} // namespace
