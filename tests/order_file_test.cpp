#include "tabs/order_file.h"

#include <string>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include "common/error.h"
#include "formats/order_list_format.h"
#include "tabs/name_mask.h"

namespace {

class OrderFileTest : public ::testing::Test {
protected:
    QString folder() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    void touch(const QString& name) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    void writeOrder(const QByteArray& bytes) {
        QFile file(m_dir.filePath(QStringLiteral("order.lst")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    QByteArray readOrder() const {
        QFile file(m_dir.filePath(QStringLiteral("order.lst")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList names(const QList<OrderedName>& listing) const {
        QStringList out;
        for (const OrderedName& entry : listing)
            out.append(entry.name);
        return out;
    }

private:
    QTemporaryDir m_dir;
};

QStringList Lines(const char* text) {
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}

} // namespace

TEST(NameMask, MatchesAsTheWindowsFileSearchDoes) {
    const struct {
        const char* name;
        const char* mask;
        bool matches;
    } rows[] = {
        {"Tab One", "*.*", true}, // no dot needed
        {"a.lnk", "*.lnk", true},      {"A.LNK", "*.lnk", true},
        {"a.lnk.txt", "*.lnk", false}, {"a.lnkx", "*.lnk", false},
        {".lnk", "*.lnk", true},       {"ab.lnk", "a?.lnk", true},
        {"a.lnk", "a?.lnk", false},    {"xyz", "x*y*z", true},
        {"xyzy", "x*y", true},         {"\u00c4.lnk", "\u00e4.lnk", false}, // only A to Z fold
    };
    for (const auto& row : rows) {
        EXPECT_EQ(MatchesMask(QString::fromUtf8(row.name), QString::fromUtf8(row.mask)), row.matches)
            << row.name << " ~ " << row.mask;
    }
}

TEST(OrderListFormat, SplitsLinesAndDecodesEachAsUtf8OrWindows1252) {
    const struct {
        QByteArray bytes;
        QStringList lines;
    } rows[] = {
        {QByteArray(), {}},
        {QByteArray("a\r\nb\r\n"), Lines("a|b")},
        {QByteArray("a\nb\rc"), Lines("a|b|c")}, // LF, CR and a last line without a line end
        {QByteArray("a\r\n\r\nb"), Lines("a||b")},
        {QByteArray("caf\xc3\xa9\r\ncaf\xe9\x80\r\n"), Lines("caf\u00e9|caf\u00e9\u20ac")},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ParseOrderLines(row.bytes), row.lines) << row.bytes.toStdString();

    const QStringList written = Lines("caf\u00e9|\u65e5.lnk");
    EXPECT_EQ(SerializeOrderLines(written), QByteArray("caf\xc3\xa9\r\n\xe6\x97\xa5.lnk\r\n"));
    EXPECT_EQ(ParseOrderLines(SerializeOrderLines(written)), written);
}

TEST(OrderListFormat, OversizedInputIsReadWithinItsLimits) {
    // One huge line without a line end: only the first megabyte is looked at.
    const QStringList huge = ParseOrderLines(QByteArray(8 * 1024 * 1024, 'x'));
    ASSERT_EQ(huge.size(), 1);
    EXPECT_EQ(huge.front().size(), kMaxOrderFileSize);

    // Within the size every line is read: an order is never cut at some count of lines.
    QByteArray many;
    for (int i = 0; i < 10000; ++i)
        many += "n\n";
    EXPECT_EQ(ParseOrderLines(many).size(), 10000);
}

TEST_F(OrderFileTest, ListingFollowsTheOrderFileInItsLetterCaseAndDropsStaleLines) {
    touch(QStringLiteral("a.lnk"));
    touch(QStringLiteral("b.lnk"));
    touch(QStringLiteral("c.lnk"));
    touch(QStringLiteral("notes.txt"));
    writeOrder("b.lnk\r\ngone.lnk\r\nA.LNK\r\nnotes.txt\r\n");

    const QList<OrderedName> listing = OrderedListing(folder(), QStringLiteral("*.lnk"), true, false);
    const QList<OrderedName> expected = {{QStringLiteral("b.lnk"), QStringLiteral("b.lnk")},
                                         {QStringLiteral("A.LNK"), QStringLiteral("a.lnk")},
                                         {QStringLiteral("c.lnk"), QStringLiteral("c.lnk")}};
    EXPECT_EQ(listing, expected);
    // The line for the deleted shortcut is gone; lines for other existing files stay.
    EXPECT_EQ(readOrder(), QByteArray("b.lnk\r\nA.LNK\r\nnotes.txt\r\n"));
}

TEST_F(OrderFileTest, NamesListedTwiceAndHiddenEntriesAndFoldersOnly) {
    touch(QStringLiteral("x.lnk"));
    touch(QStringLiteral(".hidden.lnk"));
    touch(QStringLiteral("y.lnk"));
    writeOrder("y.lnk\r\nx.lnk\r\nX.lnk\r\n");
    // A name listed twice comes twice, both times opening the same file.
    const QList<OrderedName> listing = OrderedListing(folder(), QStringLiteral("*.lnk"), true, false);
    EXPECT_EQ(names(listing), Lines("y.lnk|x.lnk|X.lnk|.hidden.lnk"));
    EXPECT_EQ(listing[2].entryName, QStringLiteral("x.lnk"));
    // A name matching two masks is listed twice.
    EXPECT_EQ(ListEntries(folder(), QStringLiteral("x*;*.lnk"), true, false).count(QStringLiteral("x.lnk")),
              2);

    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("Tab B")));
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("Tab A")));
    writeOrder("tab a\r\n");
    EXPECT_EQ(names(OrderedListing(folder(), QStringLiteral("*.*"), false, true)), Lines("tab a|Tab B"));
}

TEST_F(OrderFileTest, WithoutAnOrderFileTheListingIsTheFolderAndNoFileIsMade) {
    touch(QStringLiteral("one.lnk"));
    touch(QStringLiteral("two.lnk"));
    QStringList listed = names(OrderedListing(folder(), QStringLiteral("*.lnk"), true, false));
    listed.sort();
    EXPECT_EQ(listed, Lines("one.lnk|two.lnk"));
    EXPECT_FALSE(QFile::exists(QDir(folder()).filePath(QStringLiteral("order.lst"))));
}

TEST_F(OrderFileTest, SetOrderPositionMovesTheNameToTheInsertionPoint) {
    for (const char* name : {"a", "b", "x", "c"})
        touch(QString::fromLatin1(name));
    const struct {
        const char* before;
        const char* name;
        int position;
        const char* after;
    } rows[] = {
        {"a|b", "c", 5, "a|b|c"},      // past the end appends
        {"a|x|b", "x", 1, "a|x|b"},    // the old x at 1 is not below the position
        {"a|x|b", "x", 3, "a|b|x"},    // ... but at 3 it is
        {"a|b|c", "x", -4, "x|a|b|c"}, // below 0 counts as 0
        {"X|a|x|b", "x", 3, "a|x|b"},  // every line of the name goes, in any letter case
        {"a|b|c", "C", 0, "C|a|b"},    // the new spelling is kept
    };
    for (const auto& row : rows) {
        writeOrder(SerializeOrderLines(Lines(row.before)));
        SetOrderPosition(folder(), QString::fromLatin1(row.name), row.position);
        EXPECT_EQ(ParseOrderLines(readOrder()), Lines(row.after))
            << row.before << " " << row.name << " @" << row.position;
    }
}

TEST_F(OrderFileTest, SetOrderPositionCreatesTheOrderFileFromTheFolder) {
    touch(QStringLiteral("p.lnk"));
    touch(QStringLiteral("q.lnk"));
    // A name with a line break cannot be a line: it is left out, not split into two.
    touch(QStringLiteral("two\nlines.lnk"));
    SetOrderPosition(folder(), QStringLiteral("q.lnk"), 0);
    const QStringList lines = ParseOrderLines(readOrder());
    EXPECT_EQ(lines, Lines("q.lnk|p.lnk"));

    EXPECT_THROW(SetOrderPosition(folder(), QStringLiteral("two\nlines"), 0), Error);
}

TEST_F(OrderFileTest, JunkInTheOrderFileIsHarmless) {
    touch(QStringLiteral("a.lnk"));
    QByteArray junk(2 * 1024 * 1024, '\xff');
    junk.replace(1000, 7, QByteArray("\na.lnk\n"));
    writeOrder(junk);
    EXPECT_EQ(names(OrderedListing(folder(), QStringLiteral("*.lnk"), true, false)), Lines("a.lnk"));
    // Read only in part, it is not written back: the rest might be someone's order.
    EXPECT_EQ(readOrder(), junk);
}

TEST_F(OrderFileTest, WithoutAnOrderFileNamesComeAlphabeticallyWhateverTheirCase) {
    for (const char* name : {"_notes.lnk", "zed.lnk", "b.lnk", "Apps.lnk", "apps.lnk", "C.lnk"})
        touch(QString::fromLatin1(name));
    // As the Windows file system lists a folder: upper-cased code units, so "_" comes after the
    // letters; names that differ only in case in a fixed order.
    const QStringList sorted = Lines("Apps.lnk|apps.lnk|b.lnk|C.lnk|zed.lnk|_notes.lnk");
    EXPECT_EQ(ListEntries(folder(), QStringLiteral("*.lnk"), true, false), sorted);
    EXPECT_EQ(names(OrderedListing(folder(), QStringLiteral("*.lnk"), true, false)), sorted);
    // A stored order still wins; a new name takes its alphabetical place among the unlisted.
    writeOrder("zed.lnk\r\nb.lnk\r\n");
    touch(QStringLiteral("ant.lnk"));
    EXPECT_EQ(names(OrderedListing(folder(), QStringLiteral("*.lnk"), true, false)),
              Lines("zed.lnk|b.lnk|ant.lnk|Apps.lnk|apps.lnk|C.lnk|_notes.lnk"));
}

TEST_F(OrderFileTest, ALongOrderIsKeptWholeAndATidyOneIsNotRewritten) {
    touch(QStringLiteral("a.lnk"));
    touch(QStringLiteral("b.lnk"));
    QByteArray order;
    for (int i = 0; i < 5000; ++i)
        order += "a.lnk\r\n";
    order += "b.lnk\n"; // a line end of another system: the names are what counts
    writeOrder(order);
    const QDateTime written = QFileInfo(file(QStringLiteral("order.lst"))).lastModified();
    OrderedListing(folder(), QStringLiteral("*.lnk"), true, false);
    EXPECT_EQ(readOrder(), order);
    EXPECT_EQ(QFileInfo(file(QStringLiteral("order.lst"))).lastModified(), written);

    SetOrderPosition(folder(), QStringLiteral("b.lnk"), 0);
    const QStringList lines = ParseOrderLines(readOrder());
    ASSERT_EQ(lines.size(), 5001);
    EXPECT_EQ(lines.front(), QStringLiteral("b.lnk"));
    EXPECT_EQ(lines.count(QStringLiteral("a.lnk")), 5000);
}

// An order file of exactly the size limit (1 MiB) is read whole: a start cleans its stale lines
// and a move writes it. One byte more is read only in part: neither a start nor a move writes it,
// and the move says why.
TEST_F(OrderFileTest, AnOrderFileOfTheSizeLimitIsReadWholeAndOneByteMoreOnlyInPart) {
    touch(QStringLiteral("a.lnk"));
    touch(QStringLiteral("b.lnk"));
    const qsizetype limit = 1024 * 1024;
    // A megabyte is too much to print: its size and first bytes tell the files here apart.
    const auto summary = [](const QByteArray& bytes) {
        return std::to_string(bytes.size()) + " bytes: " + bytes.left(14).toStdString();
    };
    for (const qsizetype size : {limit, limit + 1}) {
        SCOPED_TRACE(size);
        // Two names, then one stale line that fills the file to its size, line break included.
        QByteArray order = "b.lnk\r\na.lnk\r\n";
        order += QByteArray(size - order.size() - 2, 'x') + "\r\n";
        ASSERT_EQ(order.size(), size);
        writeOrder(order);
        EXPECT_EQ(names(OrderedListing(folder(), QStringLiteral("*.lnk"), true, false)),
                  Lines("b.lnk|a.lnk"));
        if (size == limit) {
            EXPECT_EQ(summary(readOrder()), summary("b.lnk\r\na.lnk\r\n"));
            SetOrderPosition(folder(), QStringLiteral("a.lnk"), 0);
            EXPECT_EQ(summary(readOrder()), summary("a.lnk\r\nb.lnk\r\n"));
        } else {
            EXPECT_EQ(summary(readOrder()), summary(order));
            try {
                SetOrderPosition(folder(), QStringLiteral("a.lnk"), 0);
                ADD_FAILURE() << "the move reported success";
            } catch (const Error& e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("larger than 1048576 bytes")))
                    << e.message().toStdString();
            }
            EXPECT_EQ(summary(readOrder()), summary(order));
        }
    }
}
