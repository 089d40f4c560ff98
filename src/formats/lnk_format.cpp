#include "formats/lnk_format.h"

#include <array>

#include "common/windows1252.h"
#include "formats/byte_reader.h"
#include "formats/byte_writer.h"

namespace {

constexpr quint32 kHeaderSize = 0x4C;
constexpr std::array<quint8, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                               0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlag : quint32 {
    HasLinkTargetIDList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

enum LinkInfoFlag : quint32 {
    VolumeIDAndLocalBasePath = 0x1,
    CommonNetworkRelativeLinkAndPathSuffix = 0x2,
};

constexpr quint32 kLinkInfoMinHeader = 0x1C;
constexpr quint32 kLinkInfoUnicodeHeader = 0x24;

// A NUL-terminated single-byte string starting at offset within block; nothing when the offset
// lies outside the block or no NUL follows.
std::optional<QString> AnsiStringAt(QByteArrayView block, quint32 offset) {
    if (offset >= quint32(block.size()))
        return std::nullopt;
    const QByteArrayView rest = block.sliced(offset);
    const qsizetype end = rest.indexOf('\0');
    if (end < 0)
        return std::nullopt;
    return DecodeWindows1252(rest.first(end));
}

// A NUL-terminated UTF-16LE string starting at offset within block.
std::optional<QString> UnicodeStringAt(QByteArrayView block, quint32 offset) {
    if (offset >= quint32(block.size()))
        return std::nullopt;
    ByteReader reader(block.sliced(offset));
    QString text;
    while (reader.remaining() >= 2) {
        const quint16 unit = reader.u16();
        if (unit == 0)
            return text;
        text += QChar(char16_t(unit));
    }
    return std::nullopt;
}

// The CommonNetworkRelativeLink structure gives a share name such as \\server\share.
std::optional<QString> NetNameAt(QByteArrayView block, quint32 offset) {
    if (offset >= quint32(block.size()))
        return std::nullopt;
    ByteReader reader(block.sliced(offset));
    if (reader.remaining() < 0x14)
        return std::nullopt;
    const quint32 size = reader.u32();
    if (size < 0x14 || size > reader.size())
        return std::nullopt;
    const QByteArrayView link = block.sliced(offset, size);
    reader.skip(4); // flags
    const quint32 netNameOffset = reader.u32();
    return AnsiStringAt(link, netNameOffset);
}

std::optional<QString> ParseLinkInfo(QByteArrayView block) {
    ByteReader reader(block);
    reader.skip(4); // LinkInfoSize, checked by the caller
    const quint32 headerSize = reader.u32();
    if (headerSize < kLinkInfoMinHeader || headerSize > quint32(block.size()) ||
        (headerSize > kLinkInfoMinHeader && headerSize < kLinkInfoUnicodeHeader))
        return std::nullopt;
    const quint32 flags = reader.u32();
    reader.skip(4); // VolumeIDOffset: the volume is not needed to name the target
    const quint32 basePathOffset = reader.u32();
    const quint32 networkOffset = reader.u32();
    const quint32 suffixOffset = reader.u32();
    quint32 basePathOffsetUnicode = 0;
    quint32 suffixOffsetUnicode = 0;
    if (headerSize >= kLinkInfoUnicodeHeader) {
        basePathOffsetUnicode = reader.u32();
        suffixOffsetUnicode = reader.u32();
    }

    std::optional<QString> suffix;
    if (suffixOffsetUnicode != 0)
        suffix = UnicodeStringAt(block, suffixOffsetUnicode);
    else
        suffix = AnsiStringAt(block, suffixOffset);
    if (!suffix)
        return std::nullopt;

    if (flags & VolumeIDAndLocalBasePath) {
        std::optional<QString> base;
        if (basePathOffsetUnicode != 0)
            base = UnicodeStringAt(block, basePathOffsetUnicode);
        else
            base = AnsiStringAt(block, basePathOffset);
        if (!base)
            return std::nullopt;
        return *base + *suffix;
    }
    if (flags & CommonNetworkRelativeLinkAndPathSuffix) {
        const std::optional<QString> net = NetNameAt(block, networkOffset);
        if (!net)
            return std::nullopt;
        if (suffix->isEmpty())
            return *net;
        return *net + QLatin1Char('\\') + *suffix;
    }
    return QString();
}

std::optional<QString> ReadCountedString(ByteReader& reader, bool unicode) {
    if (reader.remaining() < 2)
        return std::nullopt;
    const quint16 count = reader.u16();
    const qsizetype bytes = unicode ? qsizetype(count) * 2 : count;
    if (reader.remaining() < bytes)
        return std::nullopt;
    const QByteArrayView raw = reader.take(bytes);
    if (!unicode)
        return DecodeWindows1252(raw);
    QString text(count, Qt::Uninitialized);
    ByteReader units(raw);
    for (quint16 i = 0; i < count; ++i)
        text[i] = QChar(char16_t(units.u16()));
    return text;
}

void PutUtf16(QByteArray& out, const QString& text) {
    for (const QChar ch : text)
        PutU16(out, ch.unicode());
}

QByteArray LinkInfoBlock(const QString& target) {
    // VolumeID: size 0x11, drive type DRIVE_FIXED (3), serial 0, label offset 0x10, empty label.
    QByteArray volume;
    PutU32(volume, 0x11);
    PutU32(volume, 3);
    PutU32(volume, 0);
    PutU32(volume, 0x10);
    volume += '\0';

    const QByteArray basePath = EncodeWindows1252(target) + '\0';
    const quint32 volumeOffset = kLinkInfoUnicodeHeader;
    const quint32 basePathOffset = volumeOffset + quint32(volume.size());
    const quint32 suffixOffset = basePathOffset + quint32(basePath.size());
    const quint32 basePathOffsetUnicode = suffixOffset + 1;
    const quint32 suffixOffsetUnicode = basePathOffsetUnicode + quint32(target.size() + 1) * 2;
    const quint32 size = suffixOffsetUnicode + 2;

    QByteArray block;
    PutU32(block, size);
    PutU32(block, kLinkInfoUnicodeHeader);
    PutU32(block, VolumeIDAndLocalBasePath);
    PutU32(block, volumeOffset);
    PutU32(block, basePathOffset);
    PutU32(block, 0); // no network link
    PutU32(block, suffixOffset);
    PutU32(block, basePathOffsetUnicode);
    PutU32(block, suffixOffsetUnicode);
    block += volume;
    block += basePath;
    block += '\0'; // empty common path suffix
    PutUtf16(block, target);
    PutU16(block, 0);
    PutU16(block, 0); // empty Unicode common path suffix
    return block;
}

} // namespace

std::optional<LnkData> ParseLnk(QByteArrayView bytes) {
    if (bytes.size() > kMaxLnkFileSize)
        return std::nullopt;
    ByteReader reader(bytes);
    if (reader.remaining() < kHeaderSize || reader.u32() != kHeaderSize)
        return std::nullopt;
    const QByteArrayView clsid = reader.take(16);
    for (size_t i = 0; i < kLinkClsid.size(); ++i) {
        if (quint8(clsid[qsizetype(i)]) != kLinkClsid[i])
            return std::nullopt;
    }
    LnkData data;
    const quint32 flags = reader.u32();
    data.fileAttributes = reader.u32();
    reader.skip(8 * 3); // creation, access and write times
    reader.skip(4);     // FileSize
    data.iconIndex = qint32(reader.u32());
    data.showCommand = reader.u32();
    data.hotKey = reader.u16();
    reader.skip(10); // reserved

    if (flags & HasLinkTargetIDList) {
        if (reader.remaining() < 2)
            return std::nullopt;
        const quint16 idListSize = reader.u16();
        if (reader.remaining() < idListSize)
            return std::nullopt;
        reader.skip(idListSize);
    }

    if (flags & HasLinkInfo) {
        if (reader.remaining() < kLinkInfoMinHeader)
            return std::nullopt;
        const quint32 size = ByteReader(reader.peek(4)).u32();
        if (size < kLinkInfoMinHeader || size > reader.remaining())
            return std::nullopt;
        const std::optional<QString> target = ParseLinkInfo(reader.take(size));
        if (!target)
            return std::nullopt;
        data.target = *target;
    }

    const bool unicode = flags & IsUnicode;
    const std::pair<LinkFlag, QString*> strings[] = {
        {HasName, &data.description},          {HasRelativePath, &data.relativePath},
        {HasWorkingDir, &data.workingDir},     {HasArguments, &data.arguments},
        {HasIconLocation, &data.iconLocation},
    };
    for (const auto& [flag, field] : strings) {
        if (!(flags & flag))
            continue;
        std::optional<QString> text = ReadCountedString(reader, unicode);
        if (!text)
            return std::nullopt;
        *field = std::move(*text);
    }
    // Extra data blocks (console settings, tracker data, property stores) are not needed.
    return data;
}

std::optional<QByteArray> SerializeLnk(const LnkData& data) {
    const std::pair<LinkFlag, const QString*> strings[] = {
        {HasName, &data.description},          {HasRelativePath, &data.relativePath},
        {HasWorkingDir, &data.workingDir},     {HasArguments, &data.arguments},
        {HasIconLocation, &data.iconLocation},
    };
    quint32 flags = IsUnicode;
    if (!data.target.isEmpty())
        flags |= HasLinkInfo;
    for (const auto& [flag, field] : strings) {
        if (field->size() > 0xFFFF)
            return std::nullopt;
        if (!field->isEmpty())
            flags |= flag;
    }

    QByteArray out;
    PutU32(out, kHeaderSize);
    for (const quint8 byte : kLinkClsid)
        out += char(byte);
    PutU32(out, flags);
    PutU32(out, data.fileAttributes);
    out += QByteArray(8 * 3 + 4, '\0'); // times and file size are not known
    PutU32(out, quint32(data.iconIndex));
    PutU32(out, data.showCommand);
    PutU16(out, data.hotKey);
    out += QByteArray(10, '\0');

    if (flags & HasLinkInfo)
        out += LinkInfoBlock(data.target);
    for (const auto& [flag, field] : strings) {
        if (!(flags & flag))
            continue;
        PutU16(out, quint16(field->size()));
        PutUtf16(out, *field);
    }
    PutU32(out, 0); // terminal block: no extra data
    return out;
}
