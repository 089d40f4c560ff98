#include "platform/file_operation.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include "platform/recycle_bin.h"
#include "platform/rename_without_replacing.h"

namespace {

class FileOperationTest : public ::testing::Test {
protected:
    void TearDown() override { SetRenameFault({}); }
    void SetUp() override {
        op.AskUser = [this](const QString& caption, const QString& text) {
            questions.append(caption + QLatin1Char('|') + text);
            return answer;
        };
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path(name)).absolutePath());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray read(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    // Every entry below the temporary folder, hidden ones included, relative to it.
    QStringList tree(const QString& skip = QString()) const {
        QStringList entries;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString entry = QDir(m_dir.path()).relativeFilePath(it.next());
            if (skip.isEmpty() || !entry.startsWith(skip))
                entries.append(entry);
        }
        entries.sort();
        return entries;
    }

    bool run(TAMHFileOp::TOperation operation, const QStringList& from, const QStringList& to) {
        op.Operation = operation;
        op.FilesFrom.clear();
        for (const QString& name : from)
            op.FilesFrom.append(path(name));
        op.FilesTo.clear();
        for (const QString& name : to)
            op.FilesTo.append(path(name));
        return op.execute();
    }

    TAMHFileOp op;
    bool answer = true;
    QStringList questions;

private:
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(FileOperationTest, CopyAndMoveAskBeforeReplacing) {
    write(QStringLiteral("src.txt"), "new");
    write(QStringLiteral("dst/src.txt"), "old");

    answer = false;
    EXPECT_FALSE(run(TAMHFileOp::foCopy, {QStringLiteral("src.txt")}, {QStringLiteral("dst/src.txt")}));
    EXPECT_EQ(read(QStringLiteral("dst/src.txt")), "old");
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions.front(),
              QStringLiteral("Kelvara 2.0|This folder already contains a file named 'src.txt'."
                             "\n\nWould you like to replace the existing file?"));

    answer = true;
    // A destination that is an existing folder receives the source under its own name.
    EXPECT_TRUE(run(TAMHFileOp::foMove, {QStringLiteral("src.txt")}, {QStringLiteral("dst")}));
    EXPECT_EQ(read(QStringLiteral("dst/src.txt")), "new");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("src.txt"))));
    EXPECT_EQ(questions.size(), 2);
    EXPECT_EQ(tree(), QStringList({QStringLiteral("dst"), QStringLiteral("dst/src.txt")}));

    questions.clear();
    EXPECT_TRUE(run(TAMHFileOp::foCopy, {QStringLiteral("dst/src.txt")}, {QStringLiteral("copy.txt")}));
    EXPECT_EQ(read(QStringLiteral("copy.txt")), "new");
    EXPECT_TRUE(questions.isEmpty()); // nothing replaced, nothing asked
}

TEST_F(FileOperationTest, FoldersAreCopiedAndMovedWithEverythingInThem) {
    write(QStringLiteral("tree/a.txt"), "a");
    write(QStringLiteral("tree/sub/.hidden"), "h");
    write(QStringLiteral("tree/sub/deeper/b.txt"), "b");
    EXPECT_TRUE(run(TAMHFileOp::foCopy, {QStringLiteral("tree")}, {QStringLiteral("copy")}));
    EXPECT_EQ(read(QStringLiteral("copy/sub/.hidden")), "h");
    EXPECT_EQ(read(QStringLiteral("copy/sub/deeper/b.txt")), "b");
    EXPECT_EQ(read(QStringLiteral("tree/a.txt")), "a");

    EXPECT_TRUE(run(TAMHFileOp::foMove, {QStringLiteral("copy")}, {QStringLiteral("moved")}));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("copy"))));
    EXPECT_EQ(read(QStringLiteral("moved/a.txt")), "a");
}

// A folder never goes onto itself or into its own tree, whichever way the destination is named
// (a new name inside, an existing folder inside, one that already holds a folder of the same name,
// a link to the folder): refused without a question, nothing changes. A sibling whose name begins
// with the folder's name is not inside it.
TEST_F(FileOperationTest, AFolderIntoItsOwnTreeIsRefusedAndChangesNothing) {
    write(QStringLiteral("tree/a.txt"), "a");
    write(QStringLiteral("tree/sub/b.txt"), "b");
    write(QStringLiteral("tree/sub/tree/c.txt"), "c");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("tree")), path(QStringLiteral("alias"))));
    const QStringList before = tree();
    for (const TAMHFileOp::TOperation operation : {TAMHFileOp::foCopy, TAMHFileOp::foMove}) {
        for (const char* destination : {"tree", "tree/sub", "tree/sub/inner", "alias/sub/inner"}) {
            EXPECT_FALSE(run(operation, {QStringLiteral("tree")}, {QString::fromLatin1(destination)}))
                << operation << " to " << destination;
            EXPECT_EQ(tree(), before) << operation << " to " << destination;
        }
    }
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(run(TAMHFileOp::foCopy, {QStringLiteral("tree")}, {QStringLiteral("tree2")}));
    EXPECT_EQ(read(QStringLiteral("tree2/sub/b.txt")), "b");
}

// Replacing sets the old entry aside, puts the new one in its place, and only then removes the
// old one. When putting the new one in place fails, the old one comes back whole, a moved source
// goes back, and nothing is left beside them.
TEST_F(FileOperationTest, AReplacementThatFailsHalfWayPutsTheOldEntryBack) {
    const struct {
        TAMHFileOp::TOperation operation;
        const char* source;
    } rows[] = {
        {TAMHFileOp::foCopy, "src.txt"}, {TAMHFileOp::foMove, "src.txt"}, {TAMHFileOp::foCopy, "srcdir"}};
    write(QStringLiteral("src.txt"), "new");
    write(QStringLiteral("srcdir/inside.txt"), "inside");
    write(QStringLiteral("dst.txt"), "old");
    const QStringList before = tree();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        // The first rename onto the destination's name fails; the one that puts the old entry
        // back does not.
        int ontoDestination = 0;
        SetRenameFault([&](const QString&, const QString& to) {
            return to == path(QStringLiteral("dst.txt")) && ++ontoDestination == 1;
        });
        EXPECT_FALSE(run(row.operation, {QString::fromLatin1(row.source)}, {QStringLiteral("dst.txt")}));
        SetRenameFault({});
        EXPECT_EQ(read(QStringLiteral("dst.txt")), "old");
        EXPECT_EQ(tree(), before);
    }
}

// A list of sources goes on past one that fails, and the operation as a whole reports the
// failure: for one destination folder, for pairs of source and destination, and for renames.
TEST_F(FileOperationTest, AListGoesOnPastAFailingItem) {
    write(QStringLiteral("a.txt"), "a");
    write(QStringLiteral("c.txt"), "c");
    EXPECT_FALSE(run(TAMHFileOp::foCopy,
                     {QStringLiteral("missing.txt"), QStringLiteral("a.txt"), QStringLiteral("c.txt")},
                     {QStringLiteral("all")}));
    EXPECT_EQ(read(QStringLiteral("all/a.txt")), "a");
    EXPECT_EQ(read(QStringLiteral("all/c.txt")), "c");
    EXPECT_FALSE(run(TAMHFileOp::foMove, {QStringLiteral("missing.txt"), QStringLiteral("a.txt")},
                     {QStringLiteral("x.txt"), QStringLiteral("moved.txt")}));
    EXPECT_EQ(read(QStringLiteral("moved.txt")), "a");
    EXPECT_FALSE(run(TAMHFileOp::foRename, {QStringLiteral("missing.txt"), QStringLiteral("c.txt")},
                     {QStringLiteral("y.txt"), QStringLiteral("renamed.txt")}));
    EXPECT_EQ(read(QStringLiteral("renamed.txt")), "c");
}

// Entries that an earlier run, killed half way, left beside a destination under the names the
// work uses (".NAME.partial", ".NAME.replaced") neither stop the next copy or move nor get into
// it, and stay as they were.
TEST_F(FileOperationTest, LeftoversOfAnEarlierCrashNeitherBlockNorCorrupt) {
    write(QStringLiteral("src.txt"), "new");
    write(QStringLiteral("dst.txt"), "old");
    write(QStringLiteral(".dst.txt.partial"), "half");
    write(QStringLiteral(".dst.txt.replaced/inside"), "set aside");
    write(QStringLiteral(".fresh.txt.partial/inside"), "half");
    EXPECT_TRUE(run(TAMHFileOp::foCopy, {QStringLiteral("src.txt")}, {QStringLiteral("dst.txt")}));
    EXPECT_EQ(read(QStringLiteral("dst.txt")), "new");
    EXPECT_TRUE(run(TAMHFileOp::foMove, {QStringLiteral("src.txt")}, {QStringLiteral("fresh.txt")}));
    EXPECT_EQ(read(QStringLiteral("fresh.txt")), "new");
    EXPECT_EQ(read(QStringLiteral(".dst.txt.partial")), "half");
    EXPECT_EQ(read(QStringLiteral(".dst.txt.replaced/inside")), "set aside");
    EXPECT_EQ(read(QStringLiteral(".fresh.txt.partial/inside")), "half");
    EXPECT_EQ(tree(),
              QStringList({QStringLiteral(".dst.txt.partial"), QStringLiteral(".dst.txt.replaced"),
                           QStringLiteral(".dst.txt.replaced/inside"), QStringLiteral(".fresh.txt.partial"),
                           QStringLiteral(".fresh.txt.partial/inside"), QStringLiteral("dst.txt"),
                           QStringLiteral("fresh.txt")}));
}

TEST_F(FileOperationTest, AFolderOntoAFolderMergesAfterAsking) {
    write(QStringLiteral("dst/tree/only-old.txt"), "old");
    write(QStringLiteral("dst/tree/same.txt"), "old");
    write(QStringLiteral("tree/same.txt"), "new");
    write(QStringLiteral("tree/sub/new.txt"), "new");

    answer = false;
    EXPECT_FALSE(run(TAMHFileOp::foMove, {QStringLiteral("tree")}, {QStringLiteral("dst")}));
    EXPECT_EQ(read(QStringLiteral("dst/tree/same.txt")), "old");
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions.front().contains(QStringLiteral("already contains a folder named 'tree'")));

    answer = true;
    EXPECT_TRUE(run(TAMHFileOp::foMove, {QStringLiteral("tree")}, {QStringLiteral("dst")}));
    EXPECT_EQ(questions.size(), 3); // the folder, then same.txt
    EXPECT_EQ(read(QStringLiteral("dst/tree/only-old.txt")), "old");
    EXPECT_EQ(read(QStringLiteral("dst/tree/same.txt")), "new");
    EXPECT_EQ(read(QStringLiteral("dst/tree/sub/new.txt")), "new");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("tree"))));
}

TEST_F(FileOperationTest, ACopyThatFailsPartWayLeavesNoPartialTarget) {
    write(QStringLiteral("src/a.txt"), "a");
    write(QStringLiteral("src/z.txt"), "z");
    // A named pipe cannot be copied, wherever it comes in the folder.
    ASSERT_EQ(mkfifo(QFile::encodeName(path(QStringLiteral("src/pipe"))).constData(), 0600), 0);
    const QStringList before = tree();
    EXPECT_FALSE(run(TAMHFileOp::foCopy, {QStringLiteral("src")}, {QStringLiteral("out/copy")}));
    QStringList after = tree();
    after.removeAll(QStringLiteral("out")); // the destination's parent folder may have been made
    EXPECT_EQ(after, before);

    // Replacing: the old destination survives a failed copy.
    write(QStringLiteral("target.txt"), "keep");
    EXPECT_FALSE(run(TAMHFileOp::foCopy, {QStringLiteral("src")}, {QStringLiteral("target.txt")}));
    EXPECT_EQ(questions.size(), 1);
    EXPECT_EQ(read(QStringLiteral("target.txt")), "keep");
    after = tree();
    after.removeAll(QStringLiteral("out"));
    after.removeAll(QStringLiteral("target.txt"));
    EXPECT_EQ(after, before);
}

TEST_F(FileOperationTest, RenameAndListsOfPaths) {
    write(QStringLiteral("a;b.txt"), "semicolon");
    write(QStringLiteral("c.txt"), "c");
    EXPECT_EQ(TAMHFileOp::SplitFileList(QStringLiteral("x;y;;z")),
              QStringList({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));

    // A one-element list keeps a path that contains ";".
    EXPECT_TRUE(run(TAMHFileOp::foRename, {QStringLiteral("a;b.txt")}, {QStringLiteral("renamed.txt")}));
    EXPECT_EQ(read(QStringLiteral("renamed.txt")), "semicolon");
    // Renaming never replaces.
    EXPECT_FALSE(run(TAMHFileOp::foRename, {QStringLiteral("renamed.txt")}, {QStringLiteral("c.txt")}));
    EXPECT_EQ(read(QStringLiteral("c.txt")), "c");

    // Several sources and one destination: a folder for all of them, made when missing.
    op.Operation = TAMHFileOp::foCopy;
    op.FilesFrom = TAMHFileOp::SplitFileList(path(QStringLiteral("renamed.txt")) + QLatin1Char(';') +
                                             path(QStringLiteral("c.txt")));
    op.FilesTo = {path(QStringLiteral("all"))};
    EXPECT_TRUE(op.execute());
    EXPECT_EQ(read(QStringLiteral("all/c.txt")), "c");
    EXPECT_EQ(read(QStringLiteral("all/renamed.txt")), "semicolon");

    EXPECT_FALSE(run(TAMHFileOp::foCopy, {QStringLiteral("missing.txt")}, {QStringLiteral("x.txt")}));
}

TEST_F(FileOperationTest, DeleteMovesToTheTrashAfterAsking) {
    // The trash lives in the data folder of a home of this test's own.
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", QFile::encodeName(path(QStringLiteral("home"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("home/data"))));
    write(QStringLiteral("tab/item.lnk"), "link");
    write(QStringLiteral("tab/other.lnk"), "other");
    write(QStringLiteral("folder/inside.txt"), "i");
    const QStringList before = tree();

    answer = false;
    EXPECT_FALSE(DeleteToRecycleBin(path(QStringLiteral("tab/item.lnk")), op.AskUser));
    EXPECT_EQ(tree(), before);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions.front(),
              QStringLiteral("Confirm File Delete|Are you sure you want to move 'item.lnk' to the Trash?"));

    answer = true;
    EXPECT_TRUE(run(TAMHFileOp::foDelete, {QStringLiteral("tab/item.lnk"), QStringLiteral("folder")}, {}));
    EXPECT_FALSE(DeleteToRecycleBin(path(QStringLiteral("tab/missing.lnk")), op.AskUser));

    const QString trash = QStringLiteral("home/data/Trash");
    EXPECT_EQ(read(trash + QStringLiteral("/files/item.lnk")), "link");
    EXPECT_EQ(read(trash + QStringLiteral("/files/folder/inside.txt")), "i");
    EXPECT_TRUE(read(trash + QStringLiteral("/info/item.lnk.trashinfo")).contains("Path="));
    EXPECT_TRUE(QFile::exists(path(trash + QStringLiteral("/info/folder.trashinfo"))));
    QStringList expected = before;
    expected.removeAll(QStringLiteral("tab/item.lnk"));
    expected.removeAll(QStringLiteral("folder"));
    expected.removeAll(QStringLiteral("folder/inside.txt"));
    EXPECT_EQ(tree(QStringLiteral("home")), expected);

    qputenv("HOME", oldHome);
    if (oldData.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldData);
}
