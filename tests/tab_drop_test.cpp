#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "common/error.h"
#include "qstring_printer.h"
#include "tab_window_fixture.h"

namespace {

struct DragAnswer {
    bool moveAccepted = false;
    bool dropAccepted = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

const Qt::DropActions Offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

QMimeData* FileList(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Drags the files over the window to pos and, when drop is set, drops them there.
DragAnswer Drag(TfrmTab& window, const QStringList& paths, QPoint pos, bool ctrl = false, bool drop = true) {
    std::unique_ptr<QMimeData> data(FileList(paths));
    const Qt::KeyboardModifiers keys = ctrl ? Qt::ControlModifier : Qt::NoModifier;
    DragAnswer answer;
    QDragEnterEvent enter(pos, Offered, data.get(), Qt::LeftButton, keys);
    QCoreApplication::sendEvent(&window, &enter);
    QDragMoveEvent move(pos, Offered, data.get(), Qt::LeftButton, keys);
    QCoreApplication::sendEvent(&window, &move);
    answer.moveAccepted = move.isAccepted();
    if (drop) {
        QDropEvent dropEvent(QPointF(pos), Offered, data.get(), Qt::LeftButton, keys);
        QCoreApplication::sendEvent(&window, &dropEvent);
        answer.dropAccepted = dropEvent.isAccepted();
        answer.dropAction = dropEvent.dropAction();
    }
    return answer;
}

// The point over boundary k of a bottom-edge tab with head 17 and items 40 high.
QPoint Boundary(int k) {
    return QPoint(60, 17 + 40 * k);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

TEST(TabDrop, ReorderWithinTheTab) {
    const struct {
        int boundary;
        const char* order;
    } rows[] = {
        {1, "a b c d"}, // its own boundary i
        {2, "a b c d"}, // i + 1
        {3, "a c b d"}, // i + 2: one place away from the head
        {0, "b a c d"}, {4, "a c d b"},
    };
    for (const auto& row : rows) {
        TabWindowFixture f;
        for (const char* name : {"a.lnk", "b.lnk", "c.lnk", "d.lnk"})
            f.WriteLink(QString::fromUtf8(name));
        f.WriteOrder(f.tabFolder, Names("a.lnk b.lnk c.lnk d.lnk"));
        TfrmTab& window = f.Open();
        const DragAnswer answer =
            Drag(window, {f.tabFolder + QStringLiteral("/b.lnk")}, Boundary(row.boundary));
        EXPECT_TRUE(answer.dropAccepted);
        // The tab moved the file itself: the source must not delete it.
        EXPECT_EQ(answer.dropAction, Qt::CopyAction);
        EXPECT_EQ(f.Captions(), Names(row.order)) << "boundary " << row.boundary;
        QStringList lines;
        for (const QString& name : Names(row.order))
            lines.append(name + QStringLiteral(".lnk"));
        EXPECT_EQ(f.ReadOrder(f.tabFolder), lines) << "boundary " << row.boundary;
        EXPECT_TRUE(QFileInfo::exists(f.tabFolder + QStringLiteral("/b.lnk")));
        EXPECT_EQ(f.host.rebuilds, 0);
    }
}

TEST(TabDrop, ShortcutMovedInOrCopiedWithCtrl) {
    for (const bool ctrl : {false, true}) {
        TabWindowFixture f;
        f.WriteLink(QStringLiteral("a.lnk"));
        f.WriteLink(QStringLiteral("b.lnk"));
        f.WriteOrder(f.tabFolder, Names("a.lnk b.lnk"));
        const QString desktop = f.root + QStringLiteral("/Desktop");
        QDir().mkpath(desktop);
        const QString source =
            f.WriteLink(QStringLiteral("Editor.lnk"), QStringLiteral("/usr/bin/editor"), desktop);
        TfrmTab& window = f.Open();
        const qint32 extentBefore = window.TabModel().OpenExtent;

        const DragAnswer answer = Drag(window, {source}, Boundary(1), ctrl);
        EXPECT_TRUE(answer.dropAccepted);
        EXPECT_EQ(answer.dropAction, Qt::CopyAction);
        EXPECT_EQ(QFileInfo::exists(source), ctrl) << "ctrl " << ctrl;
        EXPECT_EQ(f.Captions(), Names("a Editor b"));
        EXPECT_EQ(window.TabModel().Items.at(1).Data.Target, QStringLiteral("/usr/bin/editor"));
        // The tab grows linearly to show the new item, staying open.
        EXPECT_TRUE(window.tmrAnim().isActive());
        EXPECT_EQ(window.TargetExtent(), 3 * 40);
        window.tmrAnimTimer();
        EXPECT_EQ(window.TabModel().OpenExtent, extentBefore + 12);
        f.Animate();
        EXPECT_EQ(window.TabModel().OpenExtent, 120);
        EXPECT_TRUE(window.Open());
    }
}

TEST(TabDrop, ProgramGetsANewShortcutAndTheTabSetIsRebuilt) {
    TabWindowFixture f;
    f.WriteLink(QStringLiteral("a.lnk"));
    const QString bin = f.root + QStringLiteral("/bin");
    QDir().mkpath(bin);
    QFile script(bin + QStringLiteral("/run.sh"));
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    TfrmTab& window = f.Open();

    const DragAnswer answer = Drag(window, {script.fileName()}, Boundary(0));
    EXPECT_TRUE(answer.moveAccepted);
    EXPECT_EQ(answer.dropAction, Qt::LinkAction);
    EXPECT_EQ(f.host.rebuilds, 1);
    TShortcutLink link;
    link.ShortcutFile = f.tabFolder + QStringLiteral("/run.lnk");
    link.Read();
    EXPECT_EQ(link.Target, script.fileName());
    EXPECT_EQ(link.Arguments, QString());
    EXPECT_EQ(link.WorkingDir, bin + QLatin1Char('/'));
    EXPECT_EQ(link.Description, QStringLiteral("Launches run.sh."));
    EXPECT_EQ(link.ShowCmd, scShowNormal);
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("run.lnk a.lnk"));
}

// Only a file that reads as a shortcut moves in as one: a folder or another file that merely has
// the name of one stays where it is and gets a shortcut like any other path.
TEST(TabDrop, AFolderOrFileNamedLikeAShortcutIsLinked) {
    TabWindowFixture f;
    const QString folder = f.root + QStringLiteral("/Pictures/holiday.lnk");
    QDir().mkpath(folder);
    const QString notes = f.root + QStringLiteral("/notes.lnk");
    QFile file(notes);
    file.open(QIODevice::WriteOnly);
    file.write("plain text, not a shortcut");
    file.close();
    TfrmTab& window = f.Open();

    for (const QString& dropped : {folder, notes}) {
        SCOPED_TRACE(dropped.toStdString());
        const DragAnswer answer = Drag(window, {dropped}, Boundary(0));
        EXPECT_EQ(answer.dropAction, Qt::LinkAction);
        EXPECT_TRUE(QFileInfo::exists(dropped));
        TShortcutLink link;
        link.ShortcutFile = f.tabFolder + QLatin1Char('/') + QFileInfo(dropped).fileName();
        link.Read();
        EXPECT_EQ(link.Target, dropped);
    }
    EXPECT_EQ(FileBytes(notes), QByteArray("plain text, not a shortcut"));
}

TEST(TabDrop, NewShortcutNamesAndPlacesAmongOtherFiles) {
    TabWindowFixture f;
    for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
        f.WriteLink(QString::fromUtf8(name));
    QFile notes(f.tabFolder + QStringLiteral("/notes.txt"));
    notes.open(QIODevice::WriteOnly);
    notes.close();
    f.WriteOrder(f.tabFolder, Names("a.lnk notes.txt b.lnk c.lnk"));
    const QString archive = f.root + QStringLiteral("/archive.tar.gz");
    QFile(archive).open(QIODevice::WriteOnly);
    TfrmTab& window = f.Open();

    // Boundary 2 lies between b and c, but counts among all lines of the order file.
    Drag(window, {archive}, Boundary(2));
    EXPECT_TRUE(QFileInfo::exists(f.tabFolder + QStringLiteral("/archive.tar.lnk")));
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("a.lnk notes.txt archive.tar.lnk b.lnk c.lnk"));
    window.ReloadTab();
    EXPECT_EQ(f.Captions(), Names("a archive.tar b c"));
}

TEST(TabDrop, TwoShortcutsAreMovedInTogether) {
    TabWindowFixture f;
    f.WriteLink(QStringLiteral("a.lnk"));
    const QString x = f.WriteLink(QStringLiteral("x.lnk"), QStringLiteral("/bin/true"), f.root);
    const QString y = f.WriteLink(QStringLiteral("y.lnk"), QStringLiteral("/bin/true"), f.root);
    TfrmTab& window = f.Open();
    const DragAnswer answer = Drag(window, {y, x}, Boundary(1));
    EXPECT_TRUE(answer.moveAccepted);
    EXPECT_TRUE(answer.dropAccepted);
    EXPECT_EQ(answer.dropAction, Qt::CopyAction);
    EXPECT_FALSE(QFileInfo::exists(x));
    EXPECT_FALSE(QFileInfo::exists(y));
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("a.lnk y.lnk x.lnk"));
    EXPECT_EQ(f.Captions(), Names("a y x"));
    EXPECT_EQ(f.host.rebuilds, 0);
}

TEST(TabDrop, ReplacingAShortcutIsAskedFirst) {
    for (const bool yes : {false, true}) {
        TabWindowFixture f;
        const QString old = f.WriteLink(QStringLiteral("notes.lnk"), QStringLiteral("/old/target"));
        f.WriteLink(QStringLiteral("z.lnk"));
        f.WriteOrder(f.tabFolder, Names("notes.lnk z.lnk"));
        const QByteArray before = FileBytes(old);
        const QString notes = f.root + QStringLiteral("/notes.txt");
        QFile(notes).open(QIODevice::WriteOnly);
        f.host.answer = yes;
        TfrmTab& window = f.Open();

        Drag(window, {notes}, Boundary(2));
        ASSERT_EQ(f.host.questions.size(), 1);
        EXPECT_TRUE(f.host.questions.front().contains(QStringLiteral("notes.lnk")));
        EXPECT_EQ(FileBytes(old) == before, !yes);
        EXPECT_EQ(f.ReadOrder(f.tabFolder), yes ? Names("z.lnk notes.lnk") : Names("notes.lnk z.lnk"));
        EXPECT_EQ(f.host.rebuilds, yes ? 1 : 0);
    }
}

TEST(TabDrop, PathsWithSemicolonsMoveWhole) {
    TabWindowFixture f(QStringLiteral("Work;Play"));
    const QString from = f.root + QStringLiteral("/in;box");
    QDir().mkpath(from);
    const QString source = f.WriteLink(QStringLiteral("a;b.lnk"), QStringLiteral("/bin/true"), from);
    // Decoys that a split list would name.
    QDir().mkpath(f.root + QStringLiteral("/in"));
    TfrmTab& window = f.Open();

    const DragAnswer answer = Drag(window, {source}, Boundary(0));
    EXPECT_TRUE(answer.dropAccepted);
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_TRUE(QFileInfo::exists(f.tabFolder + QStringLiteral("/a;b.lnk")));
    EXPECT_EQ(f.Captions(), Names("a;b"));
    EXPECT_EQ(QDir(f.root + QStringLiteral("/in")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
}

TEST(TabDrop, OverTheHeadInsertsFirstWithoutAMarker) {
    TabWindowFixture f;
    f.skin.HeadHeight = 30;
    f.WriteLink(QStringLiteral("a.lnk"));
    f.WriteOrder(f.tabFolder, Names("a.lnk"));
    const QString other = f.WriteLink(QStringLiteral("new.lnk"), QStringLiteral("/bin/true"), f.root);
    TfrmTab& window = f.Open();
    const QImage plain = window.grab().toImage();
    Drag(window, {other}, QPoint(60, 5), false, false);
    EXPECT_EQ(window.TabModel().DropIndex, -1);
    EXPECT_EQ(window.grab().toImage(), plain);
    const std::unique_ptr<QMimeData> data(FileList({other}));
    QDropEvent drop(QPointF(60, 5), Offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("new.lnk a.lnk"));
}

TEST(TabDrop, MarkerInvertsTwoRowsAtTheBoundaryAndGoesWhenTheDragLeaves) {
    TabWindowFixture f;
    for (const char* name : {"a.lnk", "b.lnk"})
        f.WriteLink(QString::fromUtf8(name));
    const QString other = f.WriteLink(QStringLiteral("new.lnk"), QStringLiteral("/bin/true"), f.root);
    TfrmTab& window = f.Open();
    const QImage plain = window.grab().toImage();
    for (const int boundary : {1, 0, 2}) {
        // A point a little off the boundary still marks it.
        Drag(window, {other}, Boundary(boundary) + QPoint(0, 7), false, false);
        ASSERT_EQ(window.TabModel().DropIndex, boundary);
        const QImage marked = window.grab().toImage();
        const int line = 17 + 40 * boundary;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb expected =
                    (y == line - 1 || y == line) ? plain.pixel(x, y) ^ 0xFFFFFF : plain.pixel(x, y);
                ASSERT_EQ(marked.pixel(x, y) & 0xFFFFFF, expected & 0xFFFFFF)
                    << "boundary " << boundary << " at " << x << "," << y;
            }
        }
    }
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&window, &leave);
    EXPECT_EQ(window.TabModel().DropIndex, -1);
    EXPECT_EQ(window.grab().toImage(), plain);
}

// Three files dropped at once come in at the marker, in the order given, with one order file:
// a shortcut of the tab moves there, another is moved in, a program gets a new shortcut.
TEST(TabDrop, SeveralFilesInOneDropComeInOrderAtTheMarker) {
    TabWindowFixture f;
    for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
        f.WriteLink(QString::fromUtf8(name));
    f.WriteOrder(f.tabFolder, Names("a.lnk b.lnk c.lnk"));
    const QString outside = f.WriteLink(QStringLiteral("x.lnk"), QStringLiteral("/bin/true"), f.root);
    TfrmTab& window = f.Open();
    const DragAnswer answer = Drag(
        window, {QStringLiteral("/bin/sh"), outside, f.tabFolder + QStringLiteral("/c.lnk")}, Boundary(1));
    EXPECT_TRUE(answer.moveAccepted);
    EXPECT_TRUE(answer.dropAccepted);
    EXPECT_EQ(answer.dropAction, Qt::LinkAction);
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("a.lnk sh.lnk x.lnk c.lnk b.lnk"));
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_EQ(f.host.rebuilds, 1); // a new shortcut rebuilds the set, as for one file
    window.ReloadTab();
    EXPECT_EQ(f.Captions(), Names("a sh x c b"));
}

// What cannot be added is named in one message; the rest still comes in, in its order.
TEST(TabDrop, AFileThatCannotBeAddedIsNamedAndTheRestComesIn) {
    TabWindowFixture f;
    f.WriteLink(QStringLiteral("a.lnk"));
    // Its shortcut's name would be longer than a file name can be.
    const QString longName = f.root + QLatin1Char('/') + QString(253, QLatin1Char('n'));
    {
        QFile file(longName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TfrmTab& window = f.Open();
    try {
        Drag(window, {QStringLiteral("/bin/sh"), longName, QStringLiteral("/bin/true")}, Boundary(0));
        ADD_FAILURE() << "the file that could not be added was not named";
    } catch (const Error& e) {
        const QStringList lines = e.message().split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << e.message().toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("Not everything dropped could be added to the tab \"Tools\":"));
        EXPECT_TRUE(lines[1].startsWith(longName + QStringLiteral(": "))) << lines[1].toStdString();
    }
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("sh.lnk true.lnk a.lnk"));
    EXPECT_EQ(f.Captions(), Names("sh true a"));
}

// An order file that cannot be written: the reorder is reported, and the tab shows the order on
// disk, not the one that was not saved.
TEST(TabDrop, AReorderThatCannotBeSavedShowsTheStoredOrder) {
    TabWindowFixture f;
    for (const char* name : {"a.lnk", "b.lnk", "c.lnk"})
        f.WriteLink(QString::fromUtf8(name));
    // A linked order file is never written through.
    const QString elsewhere = f.root + QStringLiteral("/kept-order.lst");
    {
        QFile file(elsewhere);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("a.lnk\r\nb.lnk\r\nc.lnk\r\n");
    }
    ASSERT_TRUE(QFile::link(elsewhere, f.tabFolder + QStringLiteral("/order.lst")));
    TfrmTab& window = f.Open();
    EXPECT_THROW(Drag(window, {f.tabFolder + QStringLiteral("/a.lnk")}, Boundary(3)), Error);
    EXPECT_EQ(f.Captions(), Names("a b c"));
    EXPECT_EQ(FileBytes(elsewhere), QByteArray("a.lnk\r\nb.lnk\r\nc.lnk\r\n"));
}

// A desktop entry that is an item of the tab moves within it, like its shortcuts; no shortcut to
// it is made.
TEST(TabDrop, ADesktopEntryOfTheTabMovesLikeItsShortcuts) {
    TabWindowFixture f;
    f.WriteLink(QStringLiteral("a.lnk"));
    const QString entry = f.tabFolder + QStringLiteral("/b.desktop");
    {
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Bee\nExec=true\n");
    }
    f.WriteOrder(f.tabFolder, Names("a.lnk b.desktop"));
    TfrmTab& window = f.Open();
    ASSERT_EQ(f.Captions(), Names("a Bee"));
    const DragAnswer answer = Drag(window, {entry}, Boundary(0));
    EXPECT_TRUE(answer.dropAccepted);
    EXPECT_EQ(f.Captions(), Names("Bee a"));
    EXPECT_EQ(f.ReadOrder(f.tabFolder), Names("b.desktop a.lnk"));
    EXPECT_EQ(QDir(f.tabFolder).entryList(QDir::Files), Names("a.lnk b.desktop order.lst"));
    EXPECT_EQ(f.host.rebuilds, 0);
}
