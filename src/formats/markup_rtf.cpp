#include "formats/markup_rtf.h"

QString MarkupToRtf(const QString& markup) {
    QString rtf = QStringLiteral(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 MS Sans "
        "Serif;}{\\f1\\fnil Arial;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 ");
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool escape = false;
    for (const QChar c : markup) {
        if (escape) {
            escape = false;
            switch (c.toLower().unicode()) {
            case u'&':
                rtf += u'&';
                break;
            case u'b':
                rtf += !bold    ? QStringLiteral("\\f1 \\b ")
                       : italic ? QStringLiteral("\\b0 ")
                                : QStringLiteral("\\b0 \\f0 ");
                bold = !bold;
                break;
            case u'i':
                rtf += !italic ? QStringLiteral("\\f1 \\i ")
                       : bold  ? QStringLiteral("\\i0 ")
                               : QStringLiteral("\\i0 \\f0 ");
                italic = !italic;
                break;
            case u'u':
                rtf += underline ? QStringLiteral("\\ulnone ") : QStringLiteral("\\ul ");
                underline = !underline;
                break;
            case u'n':
                rtf += QStringLiteral("\r\n\\par ");
                break;
            case u'p':
                rtf += QStringLiteral("\r\n\\par \\par ");
                break;
            default:
                break;
            }
        } else if (c == u'\r') {
            rtf += QStringLiteral("\r\n\\par ");
        } else if (c == u'\\') {
            rtf += QStringLiteral("\\f0\\\\");
        } else if (c == u'&') {
            escape = true;
        } else {
            rtf += c;
        }
    }
    rtf += QStringLiteral(" }");
    return rtf;
}
