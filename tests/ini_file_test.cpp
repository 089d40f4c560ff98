#include "common/ini_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include "common/error.h"

namespace {

IniFile Parse(const char* text) {
    return IniFile::fromData(QStringLiteral("test.ini"), QByteArray(text));
}

} // namespace

TEST(ParseIniInteger, AcceptsWholeDecimalOrPrefixedHexWithin32Bits) {
    using F = IniFile::IntegerForms;
    const struct {
        const char* text;
        F forms;
        bool ok;
        qint32 value;
    } rows[] = {
        {"0x0000FF", F::DecimalOrHex, true, 255},
        {"0XfF", F::DecimalOrHex, true, 255},
        {"$FF", F::DecimalOrHex, true, 255},
        {"$FFFFFFFF", F::DecimalOrHex, true, -1}, // the bit pattern, as colour values use it
        {"$100000000", F::DecimalOrHex, false, 0},
        {"0x", F::DecimalOrHex, false, 0},
        {"$", F::DecimalOrHex, false, 0},
        {"-$5", F::DecimalOrHex, false, 0},
        {"0x1G", F::DecimalOrHex, false, 0},
        {"0x0000FF", F::Decimal, false, 0},
        {"$FF", F::Decimal, false, 0},
        {"-5", F::Decimal, true, -5},
        {"-5", F::DecimalOrHex, true, -5},
        {"+7", F::Decimal, true, 7},
        {"007", F::Decimal, true, 7},
        {" 12 ", F::Decimal, true, 12},
        {"12abc", F::Decimal, false, 0},
        {"1 2", F::Decimal, false, 0},
        {"", F::Decimal, false, 0},
        {"-", F::Decimal, false, 0},
        {"+-1", F::Decimal, false, 0},
        {"2147483647", F::Decimal, true, 2147483647},
        {"2147483648", F::Decimal, false, 0},
        {"-2147483648", F::Decimal, true, -2147483647 - 1},
        {"-2147483649", F::Decimal, false, 0},
        {"99999999999999999999999", F::Decimal, false, 0},
        {"\u0661\u0662", F::Decimal, false, 0}, // digits of another script
    };
    for (const auto& row : rows) {
        qint32 value = 12345;
        const bool ok = ParseIniInteger(QString::fromUtf8(row.text), row.forms, &value);
        EXPECT_EQ(ok, row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(value, row.value) << row.text;
        }
    }
}

TEST(IniFile, ReadsNamesWithoutRegardToCaseAndDropsBlanksAroundValues) {
    const IniFile file = Parse("stray=outside any section\r\n"
                               "; comment=not a key\r\n"
                               "[ Skin ]\r\n"
                               "  TabWidth =  0x80  \r\n"
                               "Empty=\r\n"
                               "no separator here\r\n"
                               "TABWIDTH=99\r\n"
                               "[other]\r\n"
                               "Hue=-5\r\n"
                               "[SKIN]\r\n"
                               "Later=hidden by the first section\r\n");
    EXPECT_EQ(file.readString(QStringLiteral("skin"), QStringLiteral("tabwidth"), QStringLiteral("d")),
              QStringLiteral("0x80"));
    EXPECT_EQ(file.readInteger(QStringLiteral("Skin"), QStringLiteral("TabWidth"), 7,
                               IniFile::IntegerForms::DecimalOrHex),
              128);
    EXPECT_EQ(file.readInteger(QStringLiteral("Skin"), QStringLiteral("TabWidth"), 7), 7);
    // Present but empty is empty text, not the default; as an integer it is the default.
    EXPECT_EQ(file.readString(QStringLiteral("Skin"), QStringLiteral("Empty"), QStringLiteral("d")),
              QString());
    EXPECT_EQ(file.readInteger(QStringLiteral("Skin"), QStringLiteral("Empty"), 3), 3);
    EXPECT_EQ(file.readInteger(QStringLiteral("Other"), QStringLiteral("hue"), 0), -5);
    EXPECT_FALSE(file.hasKey(QStringLiteral("Skin"), QStringLiteral("Later")));
    EXPECT_FALSE(file.hasKey(QStringLiteral("Skin"), QStringLiteral("; comment")));
    EXPECT_FALSE(file.hasKey(QStringLiteral("Skin"), QStringLiteral("no separator here")));
    EXPECT_EQ(file.readString(QStringLiteral("Missing"), QStringLiteral("Key"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(file.sectionNames(), QStringList({QStringLiteral("Skin"), QStringLiteral("other")}));
    EXPECT_EQ(file.keyNames(QStringLiteral("skin")),
              QStringList({QStringLiteral("TabWidth"), QStringLiteral("Empty")}));
}

TEST(IniFile, WritesInPlaceAppendsToSectionAndFileAndKeepsEverythingElse) {
    IniFile file = Parse("; written by hand\r\n"
                         "[Skin]\r\n"
                         "  tabwidth = 80\r\n"
                         "; about the font\r\n"
                         "Font=Sans\r\n"
                         "\r\n"
                         "[Meta]\r\n"
                         "Author=someone\r\n");
    file.writeString(QStringLiteral("SKIN"), QStringLiteral("TabWidth"), QStringLiteral("96"));
    file.writeString(QStringLiteral("Skin"), QStringLiteral("RoundRad"), QStringLiteral("4"));
    file.writeString(QStringLiteral("Extra"), QStringLiteral("Key"), QStringLiteral("value"));
    file.writeString(QStringLiteral("extra"), QStringLiteral("Second"), QStringLiteral(""));
    EXPECT_EQ(file.serialize(), QByteArray("; written by hand\r\n"
                                           "[Skin]\r\n"
                                           "tabwidth=96\r\n"
                                           "; about the font\r\n"
                                           "Font=Sans\r\n"
                                           "RoundRad=4\r\n"
                                           "\r\n"
                                           "[Meta]\r\n"
                                           "Author=someone\r\n"
                                           "\r\n"
                                           "[Extra]\r\n"
                                           "Key=value\r\n"
                                           "Second=\r\n"));
    EXPECT_EQ(file.readString(QStringLiteral("skin"), QStringLiteral("roundrad"), QString()),
              QStringLiteral("4"));
}

TEST(IniFile, RefusesNamesAndValuesThatWouldChangeTheFileStructure) {
    IniFile file = Parse("[A]\nk=v\n");
    const QByteArray before = file.serialize();
    const QString rows[][3] = {
        {QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v\n[B]")},
        {QStringLiteral("A"), QStringLiteral("k=x"), QStringLiteral("v")},
        {QStringLiteral("A"), QStringLiteral(";k"), QStringLiteral("v")},
        {QStringLiteral("A]"), QStringLiteral("k"), QStringLiteral("v")},
        {QStringLiteral(" "), QStringLiteral("k"), QStringLiteral("v")},
        {QStringLiteral("A"), QString(), QStringLiteral("v")},
        {QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v\rw")},
    };
    for (const auto& row : rows) {
        try {
            file.writeString(row[0], row[1], row[2]);
            ADD_FAILURE() << "accepted " << row[0].toStdString() << "/" << row[1].toStdString();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Unable to write to test.ini"));
        }
    }
    EXPECT_EQ(file.serialize(), before);
}

TEST(IniFile, ReadsWindows1252WhenNotUtf8AndWritesUtf8) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[Meta]\nName=Caf\xE9 \x80 \x81\n");
    }
    IniFile legacy(path);
    EXPECT_EQ(legacy.readString(QStringLiteral("Meta"), QStringLiteral("Name"), QString()),
              QStringLiteral("Caf\u00e9 \u20ac \u0081"));
    legacy.save();
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), QByteArray("[Meta]\nName=Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81\n"));

    // Leading byte-order marks, even a repeated one, are not part of the first line.
    const IniFile utf8 =
        IniFile::fromData(path, QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF[Meta]\nName=Caf\xC3\xA9\n"));
    EXPECT_EQ(utf8.readString(QStringLiteral("Meta"), QStringLiteral("Name"), QString()),
              QStringLiteral("Caf\u00e9"));
    EXPECT_EQ(utf8.serialize(), QByteArray("[Meta]\nName=Caf\xC3\xA9\n"));
}

TEST(IniFile, ReadingNeverCreatesTheFileAndMissingFileIsEmpty) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none.ini"));
    const IniFile file(path);
    EXPECT_TRUE(file.sectionNames().isEmpty());
    EXPECT_EQ(file.readInteger(QStringLiteral("A"), QStringLiteral("B"), 42), 42);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(IniFile, ReadsOnlyTheFirstMegabyteOfAHugeFileInWholeLines) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.ini"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("[A]\nFirst=1\n");
        const QByteArray filler = QByteArray("x=") + QByteArray(1000, 'y') + '\n';
        while (out.size() < IniFile::MaxFileSize - 5)
            out.write(filler);
        out.write("Cut=1234567890\n[B]\nLast=1\n");
        out.write(QByteArray(3 * IniFile::MaxFileSize, 'z')); // one endless line
    }
    const IniFile file(path);
    EXPECT_EQ(file.readInteger(QStringLiteral("A"), QStringLiteral("First"), 0), 1);
    EXPECT_FALSE(file.hasKey(QStringLiteral("A"), QStringLiteral("Cut"))); // not read cut short
    EXPECT_FALSE(file.hasKey(QStringLiteral("B"), QStringLiteral("Last")));
}

TEST(IniFile, SaveFailureRaisesTheMessage) {
    QTemporaryDir dir;
    const QString underFile = dir.filePath(QStringLiteral("plain/settings.ini"));
    {
        QFile plain(dir.filePath(QStringLiteral("plain")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    }
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString& path : {underFile, folder}) {
        IniFile file(path);
        file.writeString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
        try {
            file.save();
            ADD_FAILURE() << "saved to " << path.toStdString();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Unable to write to ") + path);
        }
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
}
