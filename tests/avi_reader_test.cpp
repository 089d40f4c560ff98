#include "formats/avi_reader.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "formats/avi_writer.h"
#include "formats/dib_frame.h"

namespace {

// A frame whose pixels all differ from their neighbours, drawn from `colours` so that the
// 8-bit and 16-bit formats can hold it exactly.
QImage PatternFrame(QSize size, int seed, const QList<QRgb>& colours) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, colours[(x * 7 + y * 3 + seed) % colours.size()]);
    }
    return image;
}

QList<QRgb> Colours(int bitCount) {
    if (bitCount == 16) // values that survive the 5-bit channels
        return {qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(132, 66, 33), qRgb(255, 255, 255)};
    QList<QRgb> colours;
    for (int i = 0; i < 40; ++i)
        colours.append(qRgb(i * 6, 255 - i * 5, (i * 37) % 256));
    return colours;
}

void ExpectSameFrames(const AviClip& clip, const QList<QImage>& frames) {
    ASSERT_EQ(clip.frames.size(), frames.size());
    for (qsizetype i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(clip.frames[i].format(), QImage::Format_RGB32);
        EXPECT_EQ(clip.frames[i], frames[i]) << "frame " << i;
    }
}

QString ErrorOf(QByteArrayView data, const AviLimits& limits = {}) {
    try {
        ReadAvi(data, limits);
    } catch (const Error& e) {
        return e.message();
    }
    return QStringLiteral("no error");
}

void PutU32At(QByteArray& data, qsizetype at, quint32 v) {
    for (int i = 0; i < 4; ++i)
        data[at + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

TEST(ReadAvi, ReadsBackEveryStoredFormatPixelExact) {
    const struct {
        int bitCount;
        bool rle8;
        bool topDown;
        bool recLists;
        QSize size;
    } rows[] = {
        {24, false, false, false, {3, 2}},     {24, false, true, false, {5, 3}},
        {32, false, false, false, {1, 1}},     {32, false, true, true, {7, 4}},
        {8, false, false, false, {5, 3}},      {8, false, true, false, {2, 9}},
        {16, false, false, false, {3, 3}},     {16, false, true, false, {6, 1}},
        {8, true, false, false, {300, 3}},     {8, true, false, true, {142, 107}},
        {24, false, false, false, {142, 107}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.bitCount << " bpp rle " << row.rle8 << " top-down " << row.topDown << " "
                     << row.size.width() << "x" << row.size.height());
        const QList<QImage> frames = {PatternFrame(row.size, 0, Colours(row.bitCount)),
                                      PatternFrame(row.size, 5, Colours(row.bitCount)),
                                      PatternFrame(row.size, 11, Colours(row.bitCount))};
        AviWriteOptions options;
        options.bitCount = row.bitCount;
        options.rle8 = row.rle8;
        options.topDown = row.topDown;
        options.recLists = row.recLists;
        options.framePeriodUs = 66666;
        const AviClip clip = ReadAvi(WriteAvi(frames, options));
        EXPECT_EQ(clip.frameSize, row.size);
        EXPECT_EQ(clip.framePeriodUs, 66666);
        ExpectSameFrames(clip, frames);
    }
}

namespace {

DibFormat Rle8Format() {
    DibFormat format;
    format.width = 4;
    format.height = 3;
    format.bitCount = 8;
    format.compression = DibFormat::Rle8;
    format.colourTable = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    return format;
}

} // namespace

TEST(DecodeDibFrame, Rle8EscapesDrawWhereTheyShouldAndKeepThePreviousFrameElsewhere) {
    QImage previous(4, 3, QImage::Format_RGB32);
    previous.fill(qRgb(9, 9, 9));
    const QByteArray data("\x01\x01"                 // bottom row: one of colour 1
                          "\x00\x03\x01\x02\x03\x00" // absolute run: colours 1, 2, 3 and a pad
                          "\x00\x00"                 // end of line
                          "\x00\x02\x01\x01"         // delta: right 1, up 1 (to the top row)
                          "\x00\x03\x03\x01\x02"     // absolute run of three ...
                          "\x00"                     // ... padded to an even length
                          "\x00\x01"                 // end of bitmap
                          "\x05\x02",                // never read: it would run past the row
                          24);
    QImage expected = previous.copy();
    expected.setPixel(0, 2, qRgb(255, 0, 0));
    expected.setPixel(1, 2, qRgb(255, 0, 0));
    expected.setPixel(2, 2, qRgb(0, 255, 0));
    expected.setPixel(3, 2, qRgb(0, 0, 255));
    expected.setPixel(1, 0, qRgb(0, 0, 255));
    expected.setPixel(2, 0, qRgb(255, 0, 0));
    expected.setPixel(3, 0, qRgb(0, 255, 0));
    EXPECT_EQ(DecodeDibFrame(Rle8Format(), data, previous), expected);
    // The first frame of a clip starts from colour 0.
    const QImage first = DecodeDibFrame(Rle8Format(), QByteArray("\x00\x01", 2), QImage());
    EXPECT_EQ(first.pixel(2, 1), qRgb(0, 0, 0));
}

TEST(DecodeDibFrame, RejectsRunsAndMovesOutsideThePicture) {
    const struct {
        QByteArray data;
        const char* message;
    } rows[] = {
        {QByteArray("\x05\x01", 2), "AVI frame: RLE run past the end of a row"},
        {QByteArray("\x03\x01\x02\x01", 4), "AVI frame: RLE run past the end of a row"},
        {QByteArray("\x00\x05\x01\x01\x01\x01\x01\x00", 8), "AVI frame: RLE run past the end of a row"},
        {QByteArray("\x00\x03\x01", 3), "AVI frame: RLE run cut short"},
        {QByteArray("\x00\x02\x05\x00", 4), "AVI frame: RLE delta past the end of the picture"},
        {QByteArray("\x00\x02\x00\x04", 4), "AVI frame: RLE delta past the end of the picture"},
        {QByteArray("\x00\x02\x01", 3), "AVI frame: RLE delta cut short"},
        {QByteArray("\x00\x00\x00\x00\x00\x00\x01\x01", 8),
         "AVI frame: RLE data past the end of the picture"},
    };
    for (const auto& row : rows) {
        try {
            DecodeDibFrame(Rle8Format(), row.data, QImage());
            ADD_FAILURE() << "no error for " << row.data.toHex().constData();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QLatin1StringView(row.message)) << row.data.toHex().constData();
        }
    }
}

TEST(ReadAvi, EveryCutShortFileIsAnError) {
    AviWriteOptions rle;
    rle.bitCount = 8;
    rle.rle8 = true;
    const QList<QImage> frames = {PatternFrame({3, 2}, 0, Colours(8)), PatternFrame({3, 2}, 1, Colours(8))};
    for (const QByteArray& file : {WriteAvi(frames), WriteAvi(frames, rle)}) {
        ASSERT_EQ(ReadAvi(file).frames.size(), 2);
        for (qsizetype length = 0; length < file.size(); ++length)
            EXPECT_NE(ErrorOf(file.first(length)), QStringLiteral("no error")) << "cut at " << length;
    }
}

TEST(ReadAvi, HostileHeadersGiveClearErrors) {
    const QList<QImage> frames = {PatternFrame({3, 2}, 0, Colours(24))};
    const QByteArray good = WriteAvi(frames);
    const qsizetype strf = good.indexOf("strf") + 8;
    const auto changed = [&](qsizetype at, quint32 v) {
        QByteArray data = good;
        PutU32At(data, at, v);
        return data;
    };
    const struct {
        QByteArray data;
        const char* message;
    } rows[] = {
        {QByteArray("RIFX") + good.sliced(4), "Bad AVI file: it is not a RIFF AVI file"},
        {changed(8, 0x20495641 + 1), "Bad AVI file: it is not a RIFF AVI file"},
        {changed(4, 0xFFFFFFFF), "Bad AVI file: the file is cut short"},
        {changed(good.indexOf("LIST") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk 'LIST' is cut short"},
        {changed(good.indexOf("avih") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk 'avih' is cut short"},
        {changed(good.indexOf("strh") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk 'strh' is cut short"},
        {changed(good.indexOf("strf") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk 'strf' is cut short"},
        {changed(good.indexOf("00db") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk '00db' is cut short"},
        {changed(good.indexOf("idx1") + 4, 0xFFFFFFFF), "Bad AVI file: the chunk 'idx1' is cut short"},
        {changed(good.indexOf("00db") + 4, 0), "AVI frame data is too short"},
        {changed(good.indexOf("strh") + 8, 0x73647561), "Bad AVI file: there is no video stream"},
        {changed(good.indexOf("movi"), 0x69766f6e), "Bad AVI file: the frame list is missing"},
        {changed(strf + 4, 100000), "Bad AVI frame format: the frame is too large"},
        {changed(strf + 8, 100000), "Bad AVI frame format: the frame is too large"},
        {changed(strf + 4, 0), "Bad AVI frame format: the frame is empty"},
        {changed(strf + 8, 0x80000000), "Bad AVI frame format: the frame is empty"},
        {changed(strf + 0, 12), "Bad AVI frame format: the bitmap header is cut short"},
        {changed(strf + 0, 0xFFFFFFFF), "Bad AVI frame format: the bitmap header is longer than its chunk"},
        {changed(strf + 14, 4), "Bad AVI frame format: the bit count is not supported"},
        {changed(strf + 16, 2), "Bad AVI frame format: the compression is not supported"},
        {changed(strf + 14, 24 | (1u << 16)), "Bad AVI frame format: RLE8 needs 8 bits per pixel"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ErrorOf(row.data), QLatin1StringView(row.message));
}

TEST(ReadAvi, LimitsBoundFramesAndDecodedBytes) {
    const QList<QImage> frames(5, PatternFrame({10, 10}, 0, Colours(24)));
    const QByteArray file = WriteAvi(frames);
    AviLimits fewFrames;
    fewFrames.maxFrames = 4;
    EXPECT_EQ(ErrorOf(file, fewFrames), QStringLiteral("Bad AVI file: it has too many frames"));
    AviLimits fewBytes;
    fewBytes.maxDecodedBytes = 4 * 400 + 399;
    EXPECT_EQ(ErrorOf(file, fewBytes), QStringLiteral("Bad AVI file: its frames are too large"));
    fewBytes.maxDecodedBytes = 5 * 400;
    EXPECT_EQ(ReadAvi(file, fewBytes).frames.size(), 5);
}
