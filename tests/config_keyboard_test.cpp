#include <vector>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabBar>
#include <QTest>

#include "common/ini_file.h"
#include "config/config_dialog.h"
#include "config/graphic_panel.h"
#include "config/page_control.h"
#include "fake_config_host.h"
#include "qstring_printer.h"
#include "qt_app_environment.h"

namespace {

enum Page { General, Skins, Animation, Position, Appearance, About };

// The named control a focused widget belongs to (an edit field's inner line, for one).
QString ControlName(const QWidget* widget) {
    while (widget &&
           (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))))
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString();
}

class ConfigKeyboard : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        savedConfigHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
        host.monitors = 2;
        dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog)) << "the settings dialog never became active";
        pages = dialog->findChild<PageControl*>();
    }
    void TearDown() override {
        delete dialog;
        qputenv("XDG_CONFIG_HOME", savedConfigHome);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dialog;
        QTest::keyClick(target, key, modifiers);
    }
    QString focused() const { return ControlName(QApplication::focusWidget()); }

    QTemporaryDir configHome;
    QByteArray savedConfigHome;
    FakeConfigHost host;
    TfrmConfig* dialog = nullptr;
    PageControl* pages = nullptr;
};

} // namespace

// Ctrl+Tab goes from page to page; on each, Tab goes from the row of page names down the page as
// its controls stand and round to the page names again.
TEST_F(ConfigKeyboard, TabWalksEveryPageInScreenOrderAndCtrlTabTurnsThePages) {
    // A group of radio buttons (or of monitor buttons) is one stop: the arrow keys move within it.
    // Apply is off until something changes.
    const std::vector<std::vector<const char*>> expected = {
        {"cbxTranslation", "cbkStartup", "chkUpdate", "rbAOTDisabled", "edtShortcutKey", "lblDonation"},
        {"lbxSkins", "lblWebsite", "btnApplySkin"},
        {"rbOOff", "rbCOff", "chkClickOpen"},
        {"gpPosition", "sbScreen1", "edtSpacing"},
        {"chkAlpha", "chkColorize", "chkInvertLum"},
        {},
    };
    dialog->findChild<QTabBar*>()->setFocus(Qt::TabFocusReason);
    for (int page = General; page <= About; ++page) {
        SCOPED_TRACE(page);
        ASSERT_EQ(pages->currentIndex(), page);
        ASSERT_EQ(focused(), QStringLiteral("tabs"));
        QStringList walked;
        for (int step = 0; step < 20; ++step) {
            press(Qt::Key_Tab);
            if (focused() == QLatin1String("tabs"))
                break;
            // Skip the controls that are there but switched off or hidden on this page.
            walked << focused();
        }
        walked.removeAll(QStringLiteral("lblWebsite")); // shown only for a skin with a website
        QStringList wanted;
        for (const char* name : expected[page])
            wanted << QString::fromLatin1(name);
        wanted.removeAll(QStringLiteral("lblWebsite"));
        EXPECT_EQ(walked, wanted);
        press(Qt::Key_Tab, Qt::ControlModifier);
    }
    EXPECT_EQ(pages->currentIndex(), General) << "Ctrl+Tab goes round";
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), About);
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(pages->currentIndex(), General);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages->currentIndex(), About);
}

// Alt and the access key of a caption takes the focus to its control; the arrow keys then move
// the row on the position diagram, which shows that it has the focus.
TEST_F(ConfigKeyboard, TheArrowKeysMoveTheTabsOnThePositionDiagram) {
    host.stored().settings.TabPos = TabEdge::Bottom;
    host.stored().settings.TabAlign = TabAlignment::Center;
    pages->setCurrentIndex(Position);
    auto* diagram = dialog->findChild<TGraphicPanel*>(QStringLiteral("gpPosition"));
    const QImage unfocused = diagram->grab().toImage();
    press(Qt::Key_P, Qt::AltModifier); // "&Position:"
    ASSERT_EQ(focused(), QStringLiteral("gpPosition"));
    EXPECT_NE(diagram->grab().toImage(), unfocused) << "no focus mark on the diagram";

    const struct {
        Qt::Key key;
        TabEdge edge;
        TabAlignment align;
        const char* calls;
    } rows[] = {
        {Qt::Key_Up, TabEdge::Top, TabAlignment::Center, "save reloadSkin rebuildTabs"},
        {Qt::Key_Left, TabEdge::Top, TabAlignment::TopLeft, "save placeTabs"},
        {Qt::Key_Left, TabEdge::Left, TabAlignment::TopLeft, "save reloadSkin rebuildTabs"},
        {Qt::Key_Left, TabEdge::Left, TabAlignment::TopLeft, ""}, // off the screen: nothing
        {Qt::Key_Right, TabEdge::Right, TabAlignment::TopLeft, "save reloadSkin rebuildTabs"},
        {Qt::Key_Down, TabEdge::Right, TabAlignment::Center, "save placeTabs"},
    };
    for (const auto& row : rows) {
        host.calls.clear();
        press(row.key);
        EXPECT_EQ(host.stored().settings.TabPos, row.edge) << row.calls;
        EXPECT_EQ(host.stored().settings.TabAlign, row.align) << row.calls;
        EXPECT_EQ(host.calls.join(u' '), QString::fromLatin1(row.calls));
        EXPECT_EQ(focused(), QStringLiteral("gpPosition")) << "the arrow keys left the diagram";
    }
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("Position"), QStringLiteral("TabPos"), {}),
        QStringLiteral("Right"));
}

// Each access key reaches its control; the links open with Return; Escape closes the dialog as
// its close button does.
TEST_F(ConfigKeyboard, AccessKeysLinksAndEscape) {
    const struct {
        Page page;
        Qt::Key key;
        const char* control;
    } rows[] = {
        {General, Qt::Key_L, "cbxTranslation"},   {General, Qt::Key_T, "rbAOTNormal"},
        {General, Qt::Key_K, "edtShortcutKey"},   {Animation, Qt::Key_O, "rbOAccelerated"},
        {Animation, Qt::Key_L, "rbCAccelerated"}, {Position, Qt::Key_M, "sbScreen1"},
        {Position, Qt::Key_S, "edtSpacing"},      {Appearance, Qt::Key_T, "chkAlpha"},
    };
    for (const auto& row : rows) {
        pages->setCurrentIndex(row.page);
        press(row.key, Qt::AltModifier);
        EXPECT_EQ(focused(), QString::fromLatin1(row.control)) << "Alt+" << char(row.key);
    }

    pages->setCurrentIndex(General);
    dialog->findChild<QWidget*>(QStringLiteral("lblDonation"))->setFocus(Qt::TabFocusReason);
    host.calls.clear();
    press(Qt::Key_Return);
    ASSERT_EQ(host.calls.size(), 1);
    EXPECT_TRUE(host.calls.first().startsWith(QLatin1String("openUrl https://")))
        << host.calls.first().toStdString();

    pages->setCurrentIndex(Appearance);
    press(Qt::Key_T, Qt::AltModifier);
    host.calls.clear();
    press(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(host.calls.contains(QStringLiteral("configClosed")));
}
