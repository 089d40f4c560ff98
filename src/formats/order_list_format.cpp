#include "formats/order_list_format.h"

#include "common/windows1252.h"

QStringList ParseOrderLines(QByteArrayView bytes) {
    if (bytes.size() > kMaxOrderFileSize)
        bytes = bytes.first(kMaxOrderFileSize);
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(DecodeUtf8OrWindows1252(bytes.sliced(start, end - start)));
        if (end < bytes.size() && bytes[end] == '\r') {
            ++end;
            if (end < bytes.size() && bytes[end] == '\n')
                ++end;
        } else if (end < bytes.size()) {
            ++end; // a line feed
        }
        start = end;
    }
    return lines;
}

QByteArray SerializeOrderLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += line.toUtf8();
        out += "\r\n";
    }
    return out;
}
