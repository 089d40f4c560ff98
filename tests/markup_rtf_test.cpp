#include "formats/markup_rtf.h"

#include <gtest/gtest.h>

namespace {

const QString Header =
    QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 MS "
                   "Sans Serif;}{\\f1\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ");

} // namespace

TEST(MarkupToRtf, EmptyMarkupIsTheHeaderAndTheEnd) {
    EXPECT_EQ(MarkupToRtf(QString()), Header + QStringLiteral(" }"));
}

TEST(MarkupToRtf, EveryEscapeAndStateGivesItsControlWords) {
    const struct {
        const char16_t* markup;
        const char16_t* body; // the output after the header
    } rows[] = {
        {u"&bBold&b plain", u"\\f1 \\b Bold\\b0 \\f0  plain }"},
        {u"&b&ix&b&i", u"\\f1 \\b \\f1 \\i x\\b0 \\i0 \\f0  }"}, // bold ends inside italic: Arial stays
        {u"&i&bx&i&b", u"\\f1 \\i \\f1 \\b x\\i0 \\b0 \\f0  }"},
        {u"&ix&i", u"\\f1 \\i x\\i0 \\f0  }"},
        {u"&ux&u", u"\\ul x\\ulnone  }"},
        {u"&Bx&B&Uy&U&Iz&I", u"\\f1 \\b x\\b0 \\f0 \\ul y\\ulnone \\f1 \\i z\\i0 \\f0  }"},
        {u"a&nb", u"a\r\n\\par b }"},
        {u"a&pb", u"a\r\n\\par \\par b }"},
        {u"a&Nb&Pc", u"a\r\n\\par b\r\n\\par \\par c }"},
        {u"a&&b", u"a&b }"},
        {u"a&xb", u"ab }"},
        {u"a&", u"a }"},
        {u"&&&", u"& }"},
        {u"a\rb", u"a\r\n\\par b }"},
        {u"a\\b", u"a\\f0\\\\b }"},
        {u"{x}\n\u00e9\u65e5", u"{x}\n\u00e9\u65e5 }"}, // braces, line feeds and non-ASCII pass unchanged
    };
    for (const auto& row : rows) {
        const QString markup = QString::fromUtf16(row.markup);
        EXPECT_EQ(MarkupToRtf(markup), Header + QString::fromUtf16(row.body)) << markup.toStdString();
    }
}
