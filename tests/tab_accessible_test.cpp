#include "tabwindow/tab_accessible.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCoreApplication>
#include <QKeyEvent>

#include "qstring_printer.h"
#include "support/file_bytes.h"
#include "tab_window_fixture.h"

namespace {

// A tab of two items as a screen reader sees it: a list named after the tab, an item per shortcut
// with its caption, description and a press action; the keyboard's highlight is the focus, and
// pressing an item launches it. Reading the folder again leaves no item behind that is gone.
TEST(TabAccessible, TheTabIsAListOfItemsAndTheHighlightIsTheFocus) {
    InstallTabAccessibility();
    TabWindowFixture f(QStringLiteral("Office"));
    const QString marker = f.root + QStringLiteral("/pressed");
    const QString script = f.root + QStringLiteral("/press.sh");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho pressed > \"" + marker.toUtf8() + ".tmp\"\nmv \"" + marker.toUtf8() +
               ".tmp\" \"" + marker.toUtf8() + "\"\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    TShortcutLink link;
    link.ShortcutFile = f.tabFolder + QStringLiteral("/Letters.lnk");
    link.Target = script;
    link.Description = QStringLiteral("Writes letters.");
    link.Write();
    const QString sheets = f.WriteLink(QStringLiteral("Sheets.lnk"));
    TfrmTab& window = f.Open();

    QAccessibleInterface* tab = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->role(), QAccessible::List);
    EXPECT_EQ(tab->text(QAccessible::Name), QStringLiteral("Office"));
    ASSERT_EQ(tab->childCount(), 2);
    QAccessibleInterface* letters = tab->child(0);
    ASSERT_NE(letters, nullptr);
    EXPECT_EQ(letters->role(), QAccessible::ListItem);
    EXPECT_EQ(letters->text(QAccessible::Name), QStringLiteral("Letters"));
    EXPECT_EQ(letters->text(QAccessible::Description), QStringLiteral("Writes letters."));
    EXPECT_EQ(letters->parent(), tab);
    EXPECT_EQ(tab->indexOfChild(letters), 0);
    EXPECT_EQ(tab->child(0), letters); // the same object every time
    EXPECT_EQ(tab->child(1)->text(QAccessible::Name), QStringLiteral("Sheets"));
    EXPECT_EQ(tab->childAt(letters->rect().center().x(), letters->rect().center().y()), letters);
    EXPECT_EQ(letters->rect().size(), window.ItemGeometry(0).size());
    EXPECT_EQ(tab->focusChild(), nullptr); // opened by the pointer: no keyboard focus

    // The highlight moved by the keys is the focus. (That each move is announced needs a screen
    // reader listening, which the real-window test over AT-SPI has.)
    window.OpenFromKeyboard(0, 0);
    EXPECT_EQ(tab->focusChild(), letters);
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &down);
    EXPECT_EQ(tab->focusChild(), tab->child(1));
    EXPECT_TRUE(tab->child(1)->state().focused);
    EXPECT_FALSE(letters->state().focused);

    // Pressing an item launches it, as a click does.
    QAccessibleActionInterface* actions = letters->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_EQ(actions->actionNames(), QStringList({QAccessibleActionInterface::pressAction()}));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(WaitForRenamedFile(marker), QByteArray("pressed\n"));

    QFile::remove(sheets);
    window.ReloadTab();
    EXPECT_EQ(tab->childCount(), 1);
    EXPECT_EQ(tab->child(1), nullptr);
}

} // namespace
