#include "common/names.h"

#include <gtest/gtest.h>

#include "common/error.h"

// Each of the twelve characters becomes "%" and two upper-case digits, and reads back from either
// letter case of the digits; every other character of the first 256 codes stays as it is.
TEST(EscapeName, EscapesExactlyTheTwelveCharacters) {
    const struct {
        char16_t character;
        const char* escape;
    } rows[] = {{u'\\', "%5C"}, {u'/', "%2F"}, {u':', "%3A"}, {u'*', "%2A"}, {u'?', "%3F"},  {u'"', "%22"},
                {u'<', "%3C"},  {u'>', "%3E"}, {u'|', "%7C"}, {u'%', "%25"}, {u'\r', "%0D"}, {u'\n', "%0A"}};
    QString escaped;
    for (const auto& row : rows) {
        const QString character(QChar(row.character));
        const QString escape = QString::fromLatin1(row.escape);
        EXPECT_EQ(EscapeName(character), escape) << row.escape;
        EXPECT_EQ(UnescapeName(escape), character) << row.escape;
        EXPECT_EQ(UnescapeName(escape.toLower()), character) << row.escape;
        escaped += QChar(row.character);
    }
    EXPECT_EQ(EscapeName(escaped).size(), 36);
    for (char16_t code = 0; code < 256; ++code) {
        const QString character(QChar{code});
        if (!escaped.contains(character)) {
            EXPECT_EQ(EscapeName(character), character) << "code " << int(code);
        }
    }
    EXPECT_EQ(EscapeName(QStringLiteral("a/b:c")), QStringLiteral("a%2Fb%3Ac"));
    EXPECT_EQ(EscapeName(QString()), QString());
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
    // The letters at both ends of the range fold; their neighbours outside it ("@" and "[" next to
    // A and Z, "`" and "{" next to a and z, which a shift by 32 would also reach) do not.
    EXPECT_EQ(FoldCase(QStringLiteral("@AZ[`az{\u00c4")), QStringLiteral("@az[`az{\u00c4"));
    EXPECT_TRUE(SameName(QStringLiteral("A"), QStringLiteral("a")));
    EXPECT_TRUE(SameName(QStringLiteral("Z"), QStringLiteral("z")));
    EXPECT_FALSE(SameName(QStringLiteral("@"), QStringLiteral("`")));
    EXPECT_FALSE(SameName(QStringLiteral("["), QStringLiteral("{")));
}
