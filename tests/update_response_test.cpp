#include <gtest/gtest.h>

#include "formats/update_response.h"

using namespace Qt::StringLiterals;

namespace {

const QString Intro = UpdateMessageIntro().english();

TEST(UpdateResponseTest, SplitsLinesAtCrLfOrBoth) {
    struct Row {
        QByteArray body;
        QStringList lines;
    };
    const Row rows[] = {
        {"", {}},
        {"one", {u"one"_s}},
        {"one\n", {u"one"_s}},
        {"a\r\nb\rc\nd", {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
        {"a\n\rb", {u"a"_s, u""_s, u"b"_s}}, // LF CR is two breaks
        {"a\r\n\r\nb\r\n", {u"a"_s, u""_s, u"b"_s}},
        {"\n", {u""_s}},
        {"caf\xc3\xa9", {u"caf\u00e9"_s}}, // UTF-8
        {"caf\xe9", {u"caf\u00e9"_s}},     // not UTF-8: read as Latin-1
    };
    for (const Row& row : rows)
        EXPECT_EQ(SplitResponseLines(row.body), row.lines) << row.body.toStdString();
}

TEST(UpdateResponseTest, FirstLineDecides) {
    using Kind = UpdateResponse::Kind;
    struct Row {
        QByteArray body;
        Kind kind;
        QString messageOrAddress;
    };
    const Row rows[] = {
        {"message\r\nline 2\r\nline 3\r\n", Kind::Message, Intro + u"\nline 2\nline 3"_s},
        {"message\n\nline 3", Kind::Message, Intro + u"\n\nline 3"_s},
        {"Message\nx", Kind::Message, Intro + u"\nx"_s},
        {"MESSAGE", Kind::Message, Intro},
        {" message\nx", Kind::Nothing, {}},
        {"message:\nx", Kind::Nothing, {}},
        {"message \nx", Kind::Nothing, {}},
        {"update", Kind::Nothing, {}},
        {"UPDATE\nhttp://h/files/Kelvara-setup.exe\nignored", Kind::Update,
         u"http://h/files/Kelvara-setup.exe"_s},
        {"update\n\nignored", Kind::Update, u""_s},
        {"<html>error</html>\nmessage", Kind::Nothing, {}},
        {"", Kind::Nothing, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body.toStdString());
        const UpdateResponse response = ParseUpdateResponse(row.body);
        EXPECT_EQ(response.kind, row.kind);
        EXPECT_EQ(row.kind == Kind::Update ? response.address : response.message.english(),
                  row.messageOrAddress);
    }
}

} // namespace
