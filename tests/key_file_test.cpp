#include "formats/key_file.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "qstring_printer.h"

TEST(KeyFile, GroupsKeysCommentsAndEscapes) {
    const QByteArray data = "key=before any group\r\n"
                            "# a comment\n"
                            "[Desktop Entry]\r\n"
                            "Name = My Editor \n"
                            "Name[de]=Mein Editor\n"
                            "Comment=line\\none\\ttab\\sspace\\\\back \\$kept\n"
                            "Name=second value ignored\n"
                            "no equals sign\n"
                            "=no key\n"
                            "[Default Applications]\n"
                            "text/plain=a.desktop;;b.desktop;\n"
                            "[broken\n"
                            "Exec=still in Default Applications\n";
    const KeyFile file = KeyFile::parse(data);
    const QString entry = QStringLiteral("Desktop Entry");
    EXPECT_EQ(file.value(entry, QStringLiteral("Name")), QStringLiteral("My Editor"));
    EXPECT_EQ(file.value(entry, QStringLiteral("Name[de]")), QStringLiteral("Mein Editor"));
    EXPECT_EQ(file.value(entry, QStringLiteral("Comment")),
              QStringLiteral("line\none\ttab space\\back \\$kept"));
    EXPECT_FALSE(file.contains(entry, QStringLiteral("key")));
    EXPECT_FALSE(file.contains(entry, QStringLiteral("name"))); // keys are case-sensitive
    EXPECT_EQ(file.keys(entry), (QStringList{QStringLiteral("Name"), QStringLiteral("Name[de]"),
                                             QStringLiteral("Comment"), QStringLiteral("Name")}));
    const QString defaults = QStringLiteral("Default Applications");
    EXPECT_EQ(DesktopListValue(file.value(defaults, QStringLiteral("text/plain"))),
              (QStringList{QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}));
    EXPECT_EQ(file.value(defaults, QStringLiteral("Exec")), QStringLiteral("still in Default Applications"));
}

TEST(KeyFile, RefusesOversizedInput) {
    const QByteArray big(KeyFile::MaxSize + 1, 'a');
    EXPECT_THROW(KeyFile::parse(big), Error);
    EXPECT_NO_THROW(KeyFile::parse(QByteArray(KeyFile::MaxSize, '[')));
    EXPECT_TRUE(KeyFile::parse(QByteArray("\xff\xfe[\x00]=\n", 7)).entries().isEmpty());
}
