#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>

#include "core/tooltip_display.h"
#include "qt_app_environment.h"

namespace {

// How long the shown tooltip stays up: the intervals of its window's timers, one of which hides it
// (Qt's own choice is 10 s).
QList<qint64> TooltipTimers() {
    QList<qint64> intervals;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() != QLatin1String("qtooltip_label") || !window->isVisible())
            continue;
        for (const QAbstractEventDispatcher::TimerInfo& timer :
             QAbstractEventDispatcher::instance()->registeredTimers(window))
            intervals << timer.interval;
    }
    return intervals;
}

} // namespace

// A dialog's controls and a list's rows keep their tooltip up for the whole display time, not Qt's
// 10 s, and show it as plain text: text that looks like markup is escaped.
TEST(TooltipDisplay, WidgetsAndRowsShowTheirTooltipAsPlainTextForTheDisplayTime) {
    InstallTooltipDisplay();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new QCheckBox(QStringLiteral("Start with the session"));
    box->setToolTip(QStringLiteral("Places an entry in the session's start-up list."));
    auto* label = new QLabel(QStringLiteral("Author"));
    label->setToolTip(QStringLiteral("<b>by</b> <img src=\"/dev/zero\">"));
    auto* list = new QListWidget;
    list->setToolTip(QStringLiteral("List of the skins."));
    list->addItem(QStringLiteral("Plain row"));
    list->addItem(QStringLiteral("Row with a hint"));
    list->item(1)->setToolTip(QStringLiteral("<i>generic</i> name"));
    for (QWidget* widget :
         {static_cast<QWidget*>(box), static_cast<QWidget*>(label), static_cast<QWidget*>(list)})
        layout->addWidget(widget);
    // Activating a window hides every tooltip: the window is active before the first one shows.
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window)) << "the window never became active";

    const auto rowCentre = [&](int row) { return list->visualItemRect(list->item(row)).center(); };
    const struct {
        const char* what;
        QWidget* target;
        QPoint at;
        QString shown;
    } cases[] = {
        {"check box", box, {2, 2}, box->toolTip()},
        {"markup in a label",
         label,
         {2, 2},
         Qt::convertFromPlainText(QStringLiteral("<b>by</b> <img src=\"/dev/zero\">"), Qt::WhiteSpacePre)},
        {"row with a hint", list->viewport(), rowCentre(1),
         Qt::convertFromPlainText(QStringLiteral("<i>generic</i> name"), Qt::WhiteSpacePre)},
        {"row without one shows the list's", list->viewport(), rowCentre(0), list->toolTip()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, c.at, c.target->mapToGlobal(c.at));
        QCoreApplication::sendEvent(c.target, &help);
        ASSERT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), c.shown);
        // Qt keeps a timer of 20 s or more to whole seconds.
        EXPECT_THAT(TooltipTimers(), testing::Contains(testing::AllOf(testing::Ge(TooltipDisplayMs - 500),
                                                                      testing::Le(TooltipDisplayMs + 500))));
    }
}
