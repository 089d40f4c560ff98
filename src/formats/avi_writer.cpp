#include "formats/avi_writer.h"

#include <QHash>

#include "common/error.h"

namespace {

void PutU16(QByteArray& out, quint32 v) {
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}
void PutU32(QByteArray& out, quint32 v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

QByteArray Chunk(const char* id, const QByteArray& content) {
    QByteArray out(id, 4);
    PutU32(out, quint32(content.size()));
    out += content;
    if (content.size() % 2 != 0)
        out.append('\0');
    return out;
}

QByteArray List(const char* type, const QByteArray& content) {
    return Chunk("LIST", QByteArray(type, 4) + content);
}

QList<QRgb> MakePalette(const QList<QImage>& frames) {
    QList<QRgb> palette;
    QHash<QRgb, int> seen;
    for (const QImage& frame : frames) {
        const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                if (seen.contains(row[x]))
                    continue;
                if (palette.size() == 256)
                    throw Error(QStringLiteral("An 8-bit clip cannot have more than 256 colours"));
                seen.insert(row[x], int(palette.size()));
                palette.append(row[x] | 0xFF000000u);
            }
        }
    }
    return palette;
}

// The colour-table indices of one stored row.
QByteArray IndexRow(const QRgb* row, int width, const QHash<QRgb, int>& index) {
    QByteArray out;
    for (int x = 0; x < width; ++x) {
        const auto found = index.constFind(row[x] | 0xFF000000u);
        if (found == index.constEnd())
            throw Error(QStringLiteral("A colour of the clip is not in its colour table"));
        out.append(char(found.value()));
    }
    return out;
}

// Codes one row as runs of equal indices, each at most 255 long.
QByteArray Rle8Row(const QByteArray& indices) {
    QByteArray out;
    for (qsizetype x = 0; x < indices.size();) {
        qsizetype run = 1;
        while (x + run < indices.size() && run < 255 && indices[x + run] == indices[x])
            ++run;
        out.append(char(run));
        out.append(indices[x]);
        x += run;
    }
    return out;
}

QByteArray FrameData(const QImage& frame, const AviWriteOptions& options, const QHash<QRgb, int>& index) {
    const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
    const int height = rgb.height();
    const int stride = (rgb.width() * options.bitCount + 31) / 32 * 4;
    QByteArray out;
    for (int i = 0; i < height; ++i) {
        const int y = options.topDown ? i : height - 1 - i;
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        QByteArray bytes;
        if (options.bitCount == 8) {
            bytes = IndexRow(row, rgb.width(), index);
        } else {
            for (int x = 0; x < rgb.width(); ++x) {
                const QRgb p = row[x];
                if (options.bitCount == 16) {
                    PutU16(bytes, (qRed(p) >> 3) << 10 | (qGreen(p) >> 3) << 5 | qBlue(p) >> 3);
                } else {
                    bytes.append(char(qBlue(p)));
                    bytes.append(char(qGreen(p)));
                    bytes.append(char(qRed(p)));
                    if (options.bitCount == 32)
                        bytes.append('\0');
                }
            }
        }
        if (options.rle8) {
            out += Rle8Row(bytes);
            out.append('\0').append('\0'); // end of line
        } else {
            out += bytes.leftJustified(stride, '\0');
        }
    }
    if (options.rle8) {
        out.append('\0').append('\1'); // end of bitmap
    }
    return out;
}

} // namespace

QByteArray WriteAvi(const QList<QImage>& frames, const AviWriteOptions& options) {
    if (frames.isEmpty())
        throw Error(QStringLiteral("A clip needs at least one frame"));
    const QSize size = frames.first().size();
    for (const QImage& frame : frames) {
        if (frame.size() != size)
            throw Error(QStringLiteral("The frames of a clip must have one size"));
    }
    const bool indexed = options.bitCount == 8;
    const QList<QRgb> palette = indexed && options.palette.isEmpty() ? MakePalette(frames) : options.palette;
    QHash<QRgb, int> index;
    for (int i = 0; i < palette.size(); ++i) {
        if (!index.contains(palette[i] | 0xFF000000u))
            index.insert(palette[i] | 0xFF000000u, i);
    }

    const char* frameId = options.rle8 ? "00dc" : "00db";
    QByteArray movi;
    QByteArray idx1;
    quint32 largest = 0;
    for (const QImage& frame : frames) {
        const QByteArray data = FrameData(frame, options, index);
        largest = qMax(largest, quint32(data.size()));
        idx1 += QByteArray(frameId, 4);
        PutU32(idx1, 0x10); // key frame
        PutU32(idx1, quint32(4 + movi.size()));
        PutU32(idx1, quint32(data.size()));
        QByteArray chunk = Chunk(frameId, data);
        movi += options.recLists ? List("rec ", chunk) : chunk;
    }

    const quint32 period = quint32(options.framePeriodUs);
    QByteArray avih;
    for (quint32 v : {period, 0u, 0u, 0x10u, quint32(frames.size()), 0u, 1u, largest, quint32(size.width()),
                      quint32(size.height()), 0u, 0u, 0u, 0u})
        PutU32(avih, v);

    QByteArray strh("vids", 4);
    strh += options.rle8 ? QByteArray("mrle", 4) : QByteArray(4, '\0');
    for (quint32 v : {0u, 0u, 0u, period, 1000000u, 0u, quint32(frames.size()), largest, 0xFFFFFFFFu, 0u})
        PutU32(strh, v);
    for (int v : {0, 0, size.width(), size.height()})
        PutU16(strh, quint32(v));

    QByteArray strf;
    PutU32(strf, 40);
    PutU32(strf, quint32(size.width()));
    PutU32(strf, quint32(options.topDown ? -size.height() : size.height()));
    PutU16(strf, 1);
    PutU16(strf, quint32(options.bitCount));
    PutU32(strf, options.rle8 ? 1 : 0);
    for (quint32 v : {0u, 0u, 0u, quint32(indexed ? palette.size() : 0), 0u})
        PutU32(strf, v);
    if (indexed) {
        for (QRgb c : palette) {
            strf.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
        }
    }

    const QByteArray hdrl =
        List("hdrl", Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf)));
    return Chunk("RIFF", QByteArray("AVI ", 4) + hdrl + List("movi", movi) + Chunk("idx1", idx1));
}
