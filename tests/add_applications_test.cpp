#include "ui/add_applications_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolTip>

#include "core/tooltip_display.h"
#include "formats/shortcut_link.h"
#include "qstring_printer.h"
#include "qt_app_environment.h"
#include "tabs/order_file.h"
#include "tabwindow/drop_operation.h"

namespace {

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

InstalledApp App(const char* file, const char* name, const char* generic = "",
                 std::initializer_list<const char*> keywords = {}) {
    return {QString::fromUtf8(file), QString::fromUtf8(name), QString::fromUtf8(generic), Texts(keywords)};
}

void Key(QWidget* target, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
}

void Type(QWidget* target, const QString& text) {
    for (const QChar c : text)
        Key(target, c.toUpper().unicode(), QString(c));
}

QStringList Shown(const TfrmAddApplications& dialog) {
    QStringList names;
    const QAbstractItemModel* model = dialog.lbxApplications()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names << model->index(row, 0).data().toString();
    return names;
}

// Done with the keyboard alone: typing filters by name, generic name and keyword; the arrows go
// into the list, Space ticks, typing there searches on; the ticked ones come in the order they
// were ticked, and with none ticked Return takes the one under the cursor.
TEST(AddApplications, KeyboardFiltersTicksAndKeepsTheOrderOfTicking) {
    TfrmAddApplications dialog(
        {App("/a/calc.desktop", "Calculator", "Arithmetic", {"sum"}),
         App("/a/edit.desktop", "Text Editor", "Editor", {"notes", "write"}),
         App("/a/paint.desktop", "Paint", "Drawing"),
         App("/a/term.desktop", "Terminal", "Terminal Emulator", {"shell", "command"})});
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QLineEdit* search = dialog.edtSearch();
    QListView* list = dialog.lbxApplications();
    ASSERT_TRUE(search->hasFocus());
    QPushButton* add = dialog.findChild<QPushButton*>();
    EXPECT_EQ(dialog.Chosen(),
              QStringList({QStringLiteral("/a/calc.desktop")})); // the first is under the cursor

    // Which applications match is AppMatches' (tested with the listing); the list follows it.
    Type(search, QStringLiteral("te"));
    EXPECT_EQ(Shown(dialog), Texts({"Text Editor", "Terminal"}));
    Type(search, QStringLiteral("rm"));
    EXPECT_EQ(Shown(dialog), Texts({"Terminal"}));
    search->clear();
    EXPECT_EQ(Shown(dialog).size(), 4);

    // Down goes into the list; Space ticks there.
    Key(search, Qt::Key_Down);
    ASSERT_TRUE(list->hasFocus());
    Key(list, Qt::Key_Down);
    Key(list, Qt::Key_Space); // Terminal, the fourth
    Key(list, Qt::Key_Up);
    Key(list, Qt::Key_Up);
    Key(list, Qt::Key_Space); // Text Editor
    EXPECT_EQ(dialog.Chosen(),
              QStringList({QStringLiteral("/a/term.desktop"), QStringLiteral("/a/edit.desktop")}));
    // Typing in the list searches on; the ticks stay while they are filtered out.
    Type(list, QStringLiteral("pai"));
    EXPECT_TRUE(search->hasFocus());
    EXPECT_EQ(search->text(), QStringLiteral("pai"));
    Key(search, Qt::Key_Down);
    Key(list, Qt::Key_Space);
    Key(list, Qt::Key_Space); // ticked and unticked again
    Key(list, Qt::Key_Space);
    EXPECT_EQ(dialog.Chosen(),
              QStringList({QStringLiteral("/a/term.desktop"), QStringLiteral("/a/edit.desktop"),
                           QStringLiteral("/a/paint.desktop")}));
    EXPECT_TRUE(add->isEnabled());

    // Nothing found and nothing ticked: nothing to add.
    TfrmAddApplications empty({App("/a/calc.desktop", "Calculator")});
    Type(empty.edtSearch(), QStringLiteral("zzz"));
    EXPECT_TRUE(empty.Chosen().isEmpty());
    EXPECT_FALSE(empty.findChild<QPushButton*>()->isEnabled());
}

// An entry's texts are shown as written: markup in its generic name (the row's tooltip) or its
// name is never read, so "<img src=/dev/zero>" cannot make the tooltip read that file.
TEST(AddApplications, EveryTextOfAnEntryIsShownAsPlainText) {
    InstallTooltipDisplay();
    const char* generic = "<img src=\"missing.png\"><b>Viewer</b>";
    TfrmAddApplications dialog({App("/a/view.desktop", "<i>Name</i>", generic)});
    dialog.show();
    QListView* list = dialog.lbxApplications();
    const QPoint row = list->visualRect(list->model()->index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, row, list->viewport()->mapToGlobal(row));
    QCoreApplication::sendEvent(list->viewport(), &help);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(QString::fromUtf8(generic), Qt::WhiteSpacePre));
    QToolTip::hideText();
    // The dialog's own labels; the tooltip's window shows the escaped text as formatted text.
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->isWindow())
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
    }

    // A widget's own tooltip that looks like markup (from a translation, say) is escaped too.
    list->setToolTip(QStringLiteral("<b>hint</b>"));
    QHelpEvent onList(QEvent::ToolTip, QPoint(1, 1), list->mapToGlobal(QPoint(1, 1)));
    QCoreApplication::sendEvent(list, &onList);
    ASSERT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), Qt::convertFromPlainText(QStringLiteral("<b>hint</b>"), Qt::WhiteSpacePre));
    QToolTip::hideText();
}

// The chosen entries become shortcuts after the last item, in the order chosen, named and drawn
// as a drop of each entry would make them; a name already taken is asked about, and No keeps the
// old shortcut.
TEST(AddApplications, EntriesAreAppendedInOrderAsDropsWouldMakeThem) {
    QTemporaryDir dir;
    const QString tab = dir.filePath(QStringLiteral("Tabs/Tools"));
    const QString entries = dir.filePath(QStringLiteral("applications"));
    QDir().mkpath(tab);
    QDir().mkpath(entries);
    for (const char* name : {"Zoo", "Alpha", "Keep"}) {
        QFile entry(entries + QLatin1Char('/') + QString::fromLatin1(name).toLower() +
                    QStringLiteral(".desktop"));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write(QByteArray("[Desktop Entry]\nType=Application\nExec=true\nName=") + name + "\n");
    }
    TShortcutLink existing;
    existing.ShortcutFile = tab + QStringLiteral("/Keep.lnk");
    existing.Target = QStringLiteral("/bin/true");
    existing.Write();

    QStringList questions;
    QStringList failures;
    AppendDesktopEntries(
        tab,
        {entries + QStringLiteral("/zoo.desktop"), entries + QStringLiteral("/alpha.desktop"),
         entries + QStringLiteral("/keep.desktop")},
        [&](const QString&, const QString& text) {
            questions << text;
            return false;
        },
        [&](const QString& message) { failures << message; });

    QStringList order;
    for (const OrderedName& name : OrderedListing(tab, QStringLiteral("*.lnk"), true, false))
        order << name.name;
    EXPECT_EQ(order, Texts({"Keep.lnk", "Zoo.lnk", "Alpha.lnk"}));
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.front().contains(QStringLiteral("'Keep.lnk'")));
    EXPECT_TRUE(failures.isEmpty());
    TShortcutLink zoo;
    zoo.ShortcutFile = tab + QStringLiteral("/Zoo.lnk");
    zoo.Read();
    EXPECT_EQ(zoo.Target, entries + QStringLiteral("/zoo.desktop"));
    EXPECT_EQ(zoo.IconLocation, zoo.Target);
    EXPECT_TRUE(zoo.WorkingDir.isEmpty());
    TShortcutLink keep;
    keep.ShortcutFile = existing.ShortcutFile;
    keep.Read();
    EXPECT_EQ(keep.Target, QStringLiteral("/bin/true"));
}

} // namespace
