#include "formats/lnk_format.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/error.h"
#include "formats/byte_writer.h"
#include "formats/shortcut_link.h"
#include "lnk_test_data.h"
#include "support/file_bytes.h"

namespace {

void PutU32At(QByteArray& bytes, qsizetype offset, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

void PutU16At(QByteArray& bytes, qsizetype offset, quint16 value) {
    bytes[offset] = char(value & 0xFF);
    bytes[offset + 1] = char(value >> 8);
}

quint32 U32At(const QByteArray& bytes, qsizetype offset) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes[offset + i]);
    return value;
}

// A shortcut as a system without Unicode strings writes one: every string in the ANSI code page,
// and a LinkInfo naming a network share (CommonNetworkRelativeLink) with a path suffix.
QByteArray AnsiNetworkShortcut(const QByteArray& share, const QByteArray& suffix) {
    QByteArray bytes;
    PutU32(bytes, 0x4C);
    bytes += QByteArray::fromHex("0114020000000000C000000000000046");
    PutU32(bytes, 0x2 | 0x4 | 0x10 | 0x20); // LinkInfo, name, working folder, arguments; no IsUnicode
    bytes += QByteArray(4 + 24 + 4 + 4, '\0');
    PutU32(bytes, 1); // show command
    bytes += QByteArray(2 + 2 + 4 + 4, '\0');

    QByteArray network;
    PutU32(network, quint32(0x14 + share.size() + 1));
    PutU32(network, 0);    // flags
    PutU32(network, 0x14); // NetNameOffset
    PutU32(network, 0);    // DeviceNameOffset
    PutU32(network, 0);    // NetworkProviderType
    network += share + '\0';
    QByteArray info;
    PutU32(info, quint32(0x1C + network.size() + suffix.size() + 1));
    PutU32(info, 0x1C);
    PutU32(info, 0x2); // CommonNetworkRelativeLinkAndPathSuffix
    PutU32(info, 0);   // no volume
    PutU32(info, 0);   // no local base path
    PutU32(info, 0x1C);
    PutU32(info, quint32(0x1C + network.size()));
    bytes += info + network + suffix + '\0';

    for (const QByteArray& text :
         {QByteArray("Caf\xe9 notes"), QByteArray("\\\\server\\share\\w\xf6rk"), QByteArray("--mode \x80")}) {
        PutU16(bytes, quint16(text.size()));
        bytes += text;
    }
    PutU32(bytes, 0); // no extra data
    return bytes;
}

LnkData FullData() {
    LnkData data;
    data.target = QStringLiteral("/opt/Spiele/\u00c4rger \u65e5\u672c/run");
    data.description = QStringLiteral("Launches caf\u00e9 \u2014 now");
    data.workingDir = QStringLiteral("/home/user/\u00fcbung");
    data.arguments = QStringLiteral("--name \"a b\" \u20ac");
    data.iconLocation = QStringLiteral("/usr/share/icons/x.ico");
    data.iconIndex = 65535;
    data.showCommand = 7;
    data.hotKey = 0x0641;
    return data;
}

} // namespace

TEST(LnkFormat, ReadsTheShortcutWindowsWroteForTheFormatDocument) {
    const QByteArray bytes = ReadHexFixture(QStringLiteral("windows_example.lnk.hex"));
    ASSERT_EQ(bytes.size(), 0x1CB);
    const std::optional<LnkData> data = ParseLnk(bytes);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->target, QStringLiteral("C:\\test\\a.txt"));
    EXPECT_EQ(data->relativePath, QStringLiteral(".\\a.txt"));
    EXPECT_EQ(data->workingDir, QStringLiteral("C:\\test"));
    EXPECT_EQ(data->description, QString());
    EXPECT_EQ(data->arguments, QString());
    EXPECT_EQ(data->iconLocation, QString());
    EXPECT_EQ(data->showCommand, 1u);
    EXPECT_EQ(data->fileAttributes, 0x20u);
    EXPECT_EQ(data->hotKey, 0);
}

// A target on a network share is the share's name, joined to the path suffix by one backslash
// (none when the suffix is empty); the ANSI strings read in the Windows code page (0x80 is the
// euro sign there, not a control character).
TEST(LnkFormat, ReadsANetworkTargetAndAnsiStrings) {
    const struct {
        QByteArray suffix;
        QString target;
    } rows[] = {{"", QStringLiteral("\\\\server\\share")},
                {"dir\\a.txt", QStringLiteral("\\\\server\\share\\dir\\a.txt")}};
    for (const auto& row : rows) {
        const std::optional<LnkData> data = ParseLnk(AnsiNetworkShortcut("\\\\server\\share", row.suffix));
        ASSERT_TRUE(data) << row.suffix.constData();
        EXPECT_EQ(data->target, row.target);
        EXPECT_EQ(data->description, QStringLiteral("Caf\u00e9 notes"));
        EXPECT_EQ(data->workingDir, QStringLiteral("\\\\server\\share\\w\u00f6rk"));
        EXPECT_EQ(data->arguments, QStringLiteral("--mode \u20ac"));
    }
}

TEST(LnkFormat, HostileOrTruncatedFilesAreRejected) {
    const QByteArray good = ReadHexFixture(QStringLiteral("windows_example.lnk.hex"));
    ASSERT_TRUE(ParseLnk(good));
    constexpr qsizetype linkInfo = 0x10B; // after the header and the 0xBD-byte ID list
    const struct {
        const char* what;
        std::function<void(QByteArray&)> mutate;
    } rows[] = {
        {"header size", [](QByteArray& b) { PutU32At(b, 0, 0x4D); }},
        {"class id", [](QByteArray& b) { b[0x13] = 0x47; }},
        {"ID list past the end", [](QByteArray& b) { PutU16At(b, 0x4C, 0xFFFF); }},
        {"LinkInfo of 2 GB", [](QByteArray& b) { PutU32At(b, linkInfo, 0x7FFFFFFF); }},
        {"LinkInfo size 0xFFFFFFFF", [](QByteArray& b) { PutU32At(b, linkInfo, 0xFFFFFFFF); }},
        {"LinkInfo smaller than its header", [](QByteArray& b) { PutU32At(b, linkInfo, 0x10); }},
        {"LinkInfo header past the block", [](QByteArray& b) { PutU32At(b, linkInfo + 4, 0x3D); }},
        {"LinkInfo header size between forms", [](QByteArray& b) { PutU32At(b, linkInfo + 4, 0x20); }},
        {"base path offset at the block end", [](QByteArray& b) { PutU32At(b, linkInfo + 0x10, 0x3C); }},
        {"base path offset 0xFFFFFFFF", [](QByteArray& b) { PutU32At(b, linkInfo + 0x10, 0xFFFFFFFF); }},
        {"suffix offset outside", [](QByteArray& b) { PutU32At(b, linkInfo + 0x18, 0x1000); }},
        {"base path without its NUL",
         [](QByteArray& b) {
             b[0x145] = 'x';
             b[0x146] = 'y';
         }},
        {"string count 65535", [](QByteArray& b) { PutU16At(b, 0x147, 0xFFFF); }},
        {"string past the end", [](QByteArray& b) { PutU16At(b, 0x157, 0x00FF); }},
        {"cut in the header", [](QByteArray& b) { b.truncate(0x4B); }},
        {"cut after the header", [](QByteArray& b) { b.truncate(0x4C); }},
        {"cut in the ID list", [](QByteArray& b) { b.truncate(0x60); }},
        {"cut in LinkInfo", [](QByteArray& b) { b.truncate(linkInfo + 0x20); }},
        {"cut in a string count", [](QByteArray& b) { b.truncate(0x158); }},
        {"cut in a string", [](QByteArray& b) { b.truncate(0x165); }},
        {"larger than a shortcut can be", [](QByteArray& b) { b.append(QByteArray(kMaxLnkFileSize, '\0')); }},
    };
    QTemporaryDir dir;
    for (const auto& row : rows) {
        QByteArray bytes = good;
        row.mutate(bytes);
        EXPECT_FALSE(ParseLnk(bytes)) << row.what;

        TShortcutLink link;
        link.ShortcutFile = dir.filePath(QStringLiteral("bad.lnk"));
        QFile file(link.ShortcutFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        try {
            link.Read();
            ADD_FAILURE() << row.what << ": no error";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Unable to open link file")) << row.what;
        }
    }
    // The extra data blocks after the strings are not needed: a file cut there still reads.
    EXPECT_TRUE(ParseLnk(good.first(0x167)));
}

TEST(LnkFormat, EveryCutBeforeTheEndOfOurOwnFileIsRejected) {
    const std::optional<QByteArray> bytes = SerializeLnk(FullData());
    ASSERT_TRUE(bytes);
    // Only the four-byte terminal block may be missing.
    for (qsizetype size = 0; size < bytes->size() - 4; ++size)
        EXPECT_FALSE(ParseLnk(bytes->first(size))) << "cut at " << size;
    EXPECT_TRUE(ParseLnk(bytes->first(bytes->size() - 4)));
}

TEST(LnkFormat, WrittenFileIsAValidShortcutWithAnAnsiAndAUnicodePath) {
    LnkData data;
    data.target = QStringLiteral("/usr/bin/caf\u00e9");
    const std::optional<QByteArray> bytes = SerializeLnk(data);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(U32At(*bytes, 0), 0x4Cu);
    EXPECT_EQ(U32At(*bytes, 0x14), 0x82u); // HasLinkInfo | IsUnicode, nothing else
    EXPECT_EQ(U32At(*bytes, 0x3C), 1u);    // SW_SHOWNORMAL
    // Readers that know only the ANSI path find it in the system code page.
    EXPECT_TRUE(bytes->contains(QByteArrayLiteral("/usr/bin/caf\xe9\0")));
    EXPECT_EQ(ParseLnk(*bytes)->target, data.target);

    LnkData tooLong;
    tooLong.arguments = QString(0x10000, QLatin1Char('a'));
    EXPECT_FALSE(SerializeLnk(tooLong));
}

TEST(ShortcutLink, RoundTripsEveryFieldAndForgetsTheShortcutReadBefore) {
    QTemporaryDir dir;
    const LnkData full = FullData();
    const struct {
        TShowCmd cmd;
        quint32 stored;
    } shows[] = {{scShowNormal, 9}, {scShowMaximized, 3}, {scShowMinimized, 7}};
    for (const auto& show : shows) {
        TShortcutLink writer;
        writer.ShortcutFile = dir.filePath(QStringLiteral("\u00e4 item.lnk"));
        writer.Target = full.target;
        writer.Arguments = full.arguments;
        writer.WorkingDir = full.workingDir;
        writer.Description = full.description;
        writer.IconLocation = full.iconLocation;
        writer.IconNumber = 65535;
        writer.ShowCmd = show.cmd;
        writer.SetHotKey(QStringLiteral("q"));
        writer.Write();

        QFile file(writer.ShortcutFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(U32At(bytes, 0x3C), show.stored);
        EXPECT_EQ(quint8(bytes[0x40]), 'Q');
        EXPECT_EQ(quint8(bytes[0x41]), 0x06); // Ctrl+Alt

        TShortcutLink reader;
        reader.ShortcutFile = writer.ShortcutFile;
        reader.Read();
        EXPECT_EQ(reader.Target, full.target);
        EXPECT_EQ(reader.Arguments, full.arguments);
        EXPECT_EQ(reader.WorkingDir, full.workingDir);
        EXPECT_EQ(reader.Description, full.description);
        EXPECT_EQ(reader.IconLocation, full.iconLocation);
        EXPECT_EQ(reader.IconNumber, 65535);
        EXPECT_EQ(reader.ShowCmd, show.cmd);
        EXPECT_EQ(reader.HotKey(), QLatin1Char('Q'));

        // The format's own normal value (1), and any other but 3 and 7, read as normal too.
        if (show.cmd == scShowNormal) {
            for (const quint32 stored : {0u, 1u, 2u, 10u}) {
                QByteArray other = bytes;
                PutU32At(other, 0x3C, stored);
                WriteBytes(writer.ShortcutFile, other);
                reader.ShowCmd = scShowMaximized;
                reader.Read();
                EXPECT_EQ(reader.ShowCmd, scShowNormal) << stored;
            }
        }

        TShortcutLink bare;
        bare.ShortcutFile = dir.filePath(QStringLiteral("bare.lnk"));
        bare.Write();
        reader.ShortcutFile = bare.ShortcutFile;
        reader.Read();
        EXPECT_EQ(reader.Target, QString());
        EXPECT_EQ(reader.Arguments, QString());
        EXPECT_EQ(reader.Description, QString());
        EXPECT_EQ(reader.IconNumber, 0);
        EXPECT_EQ(reader.ShowCmd, scShowNormal);
        EXPECT_EQ(reader.HotKey(), QLatin1Char(' '));
    }
}

TEST(ShortcutLink, HotKeyRulesAndWriteAndReadErrors) {
    TShortcutLink link;
    const struct {
        QString input;
        QChar key;
    } keys[] = {{QString(), QLatin1Char(' ')},
                {QStringLiteral("a"), QLatin1Char('A')},
                {QStringLiteral("\x01"), QLatin1Char(' ')},
                {QStringLiteral("7x"), QLatin1Char('7')}};
    for (const auto& row : keys) {
        link.SetHotKey(row.input);
        EXPECT_EQ(link.HotKey(), row.key) << row.input.toStdString();
    }

    QTemporaryDir dir;
    link.ShortcutFile = dir.filePath(QStringLiteral("missing folder/x.lnk"));
    try {
        link.Write();
        ADD_FAILURE() << "no error";
    } catch (const EShortcutError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Unable to create .lnk file"));
    }
    link.Target = QStringLiteral("/kept");
    EXPECT_THROW(link.Read(), Error);
    EXPECT_EQ(link.Target, QStringLiteral("/kept")); // a failed read changes nothing
}
