#include "formats/avi_reader.h"

#include <functional>
#include <optional>

#include "common/error.h"
#include "formats/chunk_reader.h"
#include "formats/dib_frame.h"

namespace {

[[noreturn]] void Fail(const QString& what) {
    throw Error(QStringLiteral("Bad AVI file: ") + what);
}

QString Name(QByteArrayView fourCc) {
    return QString::fromLatin1(fourCc.toByteArray());
}

// Calls `visit` with the id and the content of every chunk in `data`, a sequence of RIFF chunks
// each padded to an even length. A chunk whose size goes past the end of `data` is an error.
void ForEachChunk(QByteArrayView data, const std::function<void(QByteArrayView, QByteArrayView)>& visit) {
    ChunkReader in(data);
    while (!in.atEnd()) {
        const QByteArrayView id = in.fourCc();
        const quint32 size = in.u32();
        if (!in.ok())
            Fail(QStringLiteral("a chunk header is cut short"));
        if (size > quint64(in.remaining()))
            Fail(QStringLiteral("the chunk '%1' is cut short").arg(Name(id)));
        const QByteArrayView content = in.bytes(size);
        visit(id, content);
        if (size % 2 != 0 && in.remaining() > 0)
            in.skip(1);
    }
}

// The list type and content of a "LIST" chunk.
std::pair<QByteArrayView, QByteArrayView> ListParts(QByteArrayView content) {
    if (content.size() < 4)
        Fail(QStringLiteral("a list has no type"));
    return {content.first(4), content.sliced(4)};
}

struct VideoStream {
    int number = 0;
    quint32 scale = 0;
    quint32 rate = 0;
    DibFormat format;
};

struct Headers {
    quint32 microSecondsPerFrame = 0;
    bool haveMainHeader = false;
    std::optional<VideoStream> video;
};

Headers ReadHeaderList(QByteArrayView content, const AviLimits& limits) {
    Headers headers;
    int streamNumber = 0;
    ForEachChunk(content, [&](QByteArrayView id, QByteArrayView chunk) {
        if (id == "avih") {
            ChunkReader in(chunk);
            headers.microSecondsPerFrame = in.u32();
            if (!in.ok())
                Fail(QStringLiteral("the main header is cut short"));
            headers.haveMainHeader = true;
            return;
        }
        if (id != "LIST" || ListParts(chunk).first != "strl")
            return;
        const int number = streamNumber++;
        if (headers.video)
            return;
        std::optional<VideoStream> stream;
        bool isVideo = false;
        ForEachChunk(ListParts(chunk).second, [&](QByteArrayView streamId, QByteArrayView streamChunk) {
            if (streamId == "strh") {
                ChunkReader in(streamChunk);
                isVideo = in.fourCc() == "vids";
                in.skip(16); // handler, flags, priority, language, initial frames
                VideoStream video;
                video.number = number;
                video.scale = in.u32();
                video.rate = in.u32();
                if (!in.ok())
                    Fail(QStringLiteral("a stream header is cut short"));
                stream = video;
            } else if (streamId == "strf" && stream && isVideo) {
                stream->format = ReadDibFormat(streamChunk, limits.maxSide);
                headers.video = stream;
            }
        });
    });
    return headers;
}

// True when `id` names a frame of stream `number`: two decimal digits, then "db" or "dc".
bool IsFrameChunk(QByteArrayView id, int number) {
    if (number > 99)
        return false;
    const char tens = char('0' + number / 10);
    const char ones = char('0' + number % 10);
    return id[0] == tens && id[1] == ones && (id.sliced(2) == "db" || id.sliced(2) == "dc");
}

} // namespace

AviClip ReadAvi(QByteArrayView data, const AviLimits& limits) {
    ChunkReader in(data);
    const QByteArrayView riff = in.fourCc();
    const quint32 riffSize = in.u32();
    const QByteArrayView form = in.fourCc();
    if (!in.ok() || riff != "RIFF" || form != "AVI ")
        Fail(QStringLiteral("it is not a RIFF AVI file"));
    if (riffSize < 4 || riffSize - 4 > quint64(in.remaining()))
        Fail(QStringLiteral("the file is cut short"));

    Headers headers;
    std::optional<QByteArrayView> movi;
    ForEachChunk(in.bytes(riffSize - 4), [&](QByteArrayView id, QByteArrayView chunk) {
        if (id != "LIST")
            return;
        const auto [type, content] = ListParts(chunk);
        if (type == "hdrl" && !headers.haveMainHeader)
            headers = ReadHeaderList(content, limits);
        else if (type == "movi" && !movi)
            movi = content;
    });
    if (!headers.haveMainHeader)
        Fail(QStringLiteral("the main header is missing"));
    if (!headers.video)
        Fail(QStringLiteral("there is no video stream"));
    if (!movi)
        Fail(QStringLiteral("the frame list is missing"));

    const VideoStream& video = *headers.video;
    AviClip clip;
    clip.frameSize = QSize(video.format.width, video.format.height);
    const qint64 frameBytes = qint64(clip.frameSize.width()) * clip.frameSize.height() * 4;
    qint64 decodedBytes = 0;
    const auto addFrame = [&](QByteArrayView chunk) {
        if (clip.frames.size() >= limits.maxFrames)
            Fail(QStringLiteral("it has too many frames"));
        decodedBytes += frameBytes;
        if (decodedBytes > limits.maxDecodedBytes)
            Fail(QStringLiteral("its frames are too large"));
        const QImage previous = clip.frames.isEmpty() ? QImage() : clip.frames.last();
        // An empty frame chunk repeats the frame before it.
        if (chunk.isEmpty() && !previous.isNull())
            clip.frames.append(previous);
        else
            clip.frames.append(DecodeDibFrame(video.format, chunk, previous));
    };
    ForEachChunk(*movi, [&](QByteArrayView id, QByteArrayView chunk) {
        if (IsFrameChunk(id, video.number)) {
            addFrame(chunk);
        } else if (id == "LIST" && ListParts(chunk).first == "rec ") {
            ForEachChunk(ListParts(chunk).second, [&](QByteArrayView recId, QByteArrayView recChunk) {
                if (IsFrameChunk(recId, video.number))
                    addFrame(recChunk);
            });
        }
    });
    if (clip.frames.isEmpty())
        Fail(QStringLiteral("it holds no frames"));

    if (headers.microSecondsPerFrame > 0)
        clip.framePeriodUs = headers.microSecondsPerFrame;
    else if (video.rate > 0 && video.scale > 0)
        clip.framePeriodUs = qMax<qint64>(1, qint64(video.scale) * 1000000 / video.rate);
    else
        clip.framePeriodUs = 100000;
    return clip;
}
