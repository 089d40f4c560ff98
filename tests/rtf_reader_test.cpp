#include "formats/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextDocument>

#include "formats/markup_rtf.h"

namespace {

// One run of text with its style, written short: "B" bold, "I" italic, "U" underline.
struct Run {
    QString text;
    QString style;
    bool operator==(const Run&) const = default;
};

void PrintTo(const Run& run, std::ostream* out) {
    *out << '"' << run.text.toStdString() << "\" " << run.style.toStdString();
}

using Paragraphs = std::vector<std::vector<Run>>;

Paragraphs Read(const QString& rtf) {
    QTextDocument document;
    ReadRtf(rtf, document);
    Paragraphs paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        std::vector<Run> runs;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            QString style;
            if (format.fontWeight() == QFont::Bold)
                style += u'B';
            if (format.fontItalic())
                style += u'I';
            if (format.fontUnderline())
                style += u'U';
            runs.push_back({it.fragment().text(), style});
        }
        paragraphs.push_back(runs);
    }
    return paragraphs;
}

Run R(const char16_t* text, const char* style = "") {
    return {QString::fromUtf16(text), QString::fromLatin1(style)};
}

} // namespace

TEST(ReadRtf, MarkupComesOutAsItMeant) {
    const struct {
        const char16_t* markup;
        Paragraphs expected;
    } rows[] = {
        {u"&bBold&b plain", {{R(u"Bold", "B"), R(u" plain ")}}},
        {u"x&uU&iUI&uI&i", {{R(u"x"), R(u"U", "U"), R(u"UI", "IU"), R(u"I", "I"), R(u" ")}}},
        {u"&b&iboth&b&i", {{R(u"both", "BI"), R(u" ")}}},
        {u"a&nb", {{R(u"a")}, {R(u"b ")}}},
        {u"a&pb", {{R(u"a")}, {}, {R(u"b ")}}},
        {u"a\rb\nc", {{R(u"a")}, {R(u"bc ")}}},
        {u"a&&b&xc\\d {e}", {{R(u"a&bc\\d e ")}}},
        {u"caf\u00e9 \u65e5", {{R(u"caf\u00e9 \u65e5 ")}}},
    };
    for (const auto& row : rows) {
        const QString markup = QString::fromUtf16(row.markup);
        EXPECT_EQ(Read(MarkupToRtf(markup)), row.expected) << markup.toStdString();
    }
}

TEST(ReadRtf, FontTableAndSizeSetTheCharacterFormat) {
    QTextDocument document;
    ReadRtf(MarkupToRtf(QStringLiteral("plain&bbold")), document);
    const QTextBlock block = document.begin();
    auto it = block.begin();
    EXPECT_EQ(it.fragment().charFormat().fontFamilies().toStringList(),
              QStringList{QStringLiteral("MS Sans Serif")});
    EXPECT_EQ(it.fragment().charFormat().fontPointSize(), 8.0);
    ++it;
    EXPECT_EQ(it.fragment().charFormat().fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
}

TEST(ReadRtf, EscapesDestinationsAndHostileInput) {
    const struct {
        QString rtf;
        Paragraphs expected;
    } rows[] = {
        {QStringLiteral("{\\rtf1{\\*\\generator "
                        "Hidden;}{\\colortbl;\\red0;}\\'e9\\'80\\u8364?\\{x\\}\\foo123 y\\par z}"),
         {{R(u"\u00e9\u20ac\u20ac{x}y")}, {R(u"z")}}},
        {QStringLiteral("\\b-5 on\\b0  off\\ul1 u\\ul0 n"),
         {{R(u"on", "B"), R(u" off"), R(u"u", "U"), R(u"n")}}},
        {QStringLiteral("{\\b in}out"), {{R(u"in", "B"), R(u"out")}}},
        {QStringLiteral("}}}a{{b"), {{R(u"ab")}}},
        {QStringLiteral("a\\'4"), {{R(u"a")}}},
        {QStringLiteral("a\\'zzb\\"), {{R(u"azzb")}}},
        {QStringLiteral("\\fs99999999999999999999999 big\\f-99999999999 x\\uc99999\\u-1 y"),
         {{R(u"bigx\uffff")}}},
        {QString(100000, u'{') + QStringLiteral("\\b deep") + QString(100000, u'}') + QStringLiteral("x"),
         {{R(u"deep", "B"), R(u"x")}}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Read(row.rtf), row.expected) << row.rtf.left(80).toStdString();
}
