#include "formats/update_response.h"

#include <QStringDecoder>

#include "common/names.h"

namespace {

QString DecodeBody(QByteArrayView body) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(body);
    if (utf8.hasError())
        return QString::fromLatin1(body);
    return text;
}

} // namespace

QStringList SplitResponseLines(QByteArrayView body) {
    const QString text = DecodeBody(body);
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            // CR LF is one break; LF CR is two.
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

UserText UpdateMessageIntro() {
    return UserText("Update.ServerMessage",
                    "When checking for updates, the server responded with the following message:");
}

UpdateResponse ParseUpdateResponse(QByteArrayView body) {
    UpdateResponse response;
    const QStringList lines = SplitResponseLines(body);
    if (lines.isEmpty())
        return response;
    const QString word = FoldCase(lines.first());
    if (word == QLatin1String("message")) {
        response.kind = UpdateResponse::Kind::Message;
        QList<UserText> shown{UpdateMessageIntro()};
        for (qsizetype i = 1; i < lines.size(); ++i)
            shown.append(UserText::plain(lines.at(i)));
        response.message = UserText::lines(shown);
    } else if (word == QLatin1String("update") && lines.size() >= 2) {
        response.kind = UpdateResponse::Kind::Update;
        response.address = lines.at(1);
    }
    return response;
}
