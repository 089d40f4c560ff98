#include "common/names.h"

#include <gtest/gtest.h>

#include "common/error.h"

TEST(EscapeName, EscapesExactlyTheTwelveCharacters) {
    EXPECT_EQ(EscapeName(QStringLiteral("a/b:c")), QStringLiteral("a%2Fb%3Ac"));
    EXPECT_EQ(EscapeName(QStringLiteral("?")), QStringLiteral("%3F"));
    EXPECT_EQ(EscapeName(QStringLiteral("\r\n")), QStringLiteral("%0D%0A"));
    EXPECT_EQ(EscapeName(QStringLiteral("\\*\"<>|%")), QStringLiteral("%5C%2A%22%3C%3E%7C%25"));
    EXPECT_EQ(EscapeName(QString()), QString());
    EXPECT_EQ(EscapeName(QStringLiteral("plain name.lnk")), QStringLiteral("plain name.lnk"));
}

TEST(EscapeName, RoundTripsEveryCharacterCodeAndMultiByteText) {
    for (int code = 0; code < 256; ++code) {
        const QString text = QStringLiteral("x") + QChar(char16_t(code)) + QStringLiteral("y");
        EXPECT_EQ(UnescapeName(EscapeName(text)), text) << "code " << code;
    }
    const QString unicode = QStringLiteral("Spiele: \u00e4\u00f6\u00fc / \u65e5\u672c / \U0001F600?");
    EXPECT_EQ(UnescapeName(EscapeName(unicode)), unicode);
}

TEST(UnescapeName, DecodesEitherLetterCaseAndDropsCutShortEscapes) {
    EXPECT_EQ(UnescapeName(QStringLiteral("x%3Ay")), QStringLiteral("x:y"));
    EXPECT_EQ(UnescapeName(QStringLiteral("x%3ay")), QStringLiteral("x:y"));
    EXPECT_EQ(UnescapeName(QStringLiteral("ab%4")), QStringLiteral("ab"));
    EXPECT_EQ(UnescapeName(QStringLiteral("ab%")), QStringLiteral("ab"));
}

TEST(UnescapeName, MalformedEscapeRaisesTheIntegerConversionError) {
    const struct {
        const char* input;
        const char* message;
    } rows[] = {
        {"a%zzb", "'$zz' is not a valid integer value"},
        {"a%4Gb", "'$4G' is not a valid integer value"},
        {"%%41", "'$%4' is not a valid integer value"}, // a "%" in a digit position is a digit
    };
    for (const auto& row : rows) {
        try {
            UnescapeName(QString::fromLatin1(row.input));
            ADD_FAILURE() << row.input << " did not raise";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(row.message)) << row.input;
        }
    }
}

TEST(SameName, FoldsOnlyAToZ) {
    EXPECT_TRUE(SameName(QStringLiteral("A.LNK"), QStringLiteral("a.lnk")));
    EXPECT_FALSE(SameName(QStringLiteral("\u00c4.lnk"), QStringLiteral("\u00e4.lnk")));
    EXPECT_FALSE(SameName(QStringLiteral("ab"), QStringLiteral("abc")));
}
