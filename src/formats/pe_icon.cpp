#include "formats/pe_icon.h"

#include <cstdlib>

#include <QList>

#include "formats/byte_reader.h"
#include "formats/byte_writer.h"

namespace {

constexpr quint32 kResourceIcon = 3;
constexpr quint32 kResourceGroupIcon = 14;
constexpr quint32 kSubdirectoryBit = 0x80000000;
constexpr int kMaxSections = 96;
constexpr int kMaxGroupEntries = 64;

// A view of n bytes at offset, or nothing when they are not all inside bytes.
std::optional<QByteArrayView> Slice(QByteArrayView bytes, quint64 offset, quint64 n) {
    if (offset > quint64(bytes.size()) || n > quint64(bytes.size()) - offset)
        return std::nullopt;
    return bytes.sliced(qsizetype(offset), qsizetype(n));
}

struct Section {
    quint32 virtualAddress;
    quint32 virtualSize;
    quint32 rawSize;
    quint32 rawOffset;
};

class PeFile {
public:
    explicit PeFile(QByteArrayView bytes) : m_bytes(bytes) {}

    bool parseHeaders();
    // The bytes of the resource (type, number) where number counts entries of that type in order,
    // or, when byId, the resource whose id is number.
    std::optional<QByteArrayView> resource(quint32 type, quint32 number, bool byId) const;

private:
    std::optional<QByteArrayView> atRva(quint32 rva, quint32 size) const;
    // The entries of the resource directory at offset within the resource section: (name, data).
    std::optional<QList<std::pair<quint32, quint32>>> directory(quint32 offset) const;

    QByteArrayView m_bytes;
    QList<Section> m_sections;
    QByteArrayView m_resources;
    quint32 m_resourceRva = 0;
};

bool PeFile::parseHeaders() {
    const auto dos = Slice(m_bytes, 0, 0x40);
    if (!dos || dos->first(2) != QByteArrayView("MZ"))
        return false;
    ByteReader dosReader(dos->sliced(0x3C));
    const quint32 peOffset = dosReader.u32();
    const auto coff = Slice(m_bytes, peOffset, 24);
    if (!coff || coff->first(4) != QByteArrayView("PE\0\0", 4))
        return false;
    ByteReader reader(coff->sliced(4));
    reader.skip(2); // machine
    const quint16 sectionCount = reader.u16();
    reader.skip(12); // time stamp, symbol table, symbol count
    const quint16 optionalSize = reader.u16();
    if (sectionCount > kMaxSections)
        return false;

    const auto optional = Slice(m_bytes, quint64(peOffset) + 24, optionalSize);
    if (!optional || optional->size() < 2)
        return false;
    const quint16 magic = ByteReader(*optional).u16();
    const qsizetype directoriesAt = magic == 0x20B ? 112 : magic == 0x10B ? 96 : -1;
    // The resource table is the third data directory: RVA and size.
    if (directoriesAt < 0 || optional->size() < directoriesAt + 3 * 8)
        return false;
    ByteReader countReader(optional->sliced(directoriesAt - 4));
    if (countReader.u32() < 3)
        return false;
    ByteReader resourceEntry(optional->sliced(directoriesAt + 2 * 8));
    m_resourceRva = resourceEntry.u32();
    const quint32 resourceSize = resourceEntry.u32();

    const auto table = Slice(m_bytes, quint64(peOffset) + 24 + optionalSize, quint64(sectionCount) * 40);
    if (!table)
        return false;
    ByteReader sections(*table);
    for (int i = 0; i < sectionCount; ++i) {
        sections.skip(8); // name
        Section section;
        section.virtualSize = sections.u32();
        section.virtualAddress = sections.u32();
        section.rawSize = sections.u32();
        section.rawOffset = sections.u32();
        sections.skip(16);
        m_sections.append(section);
    }
    const auto resources = atRva(m_resourceRva, resourceSize);
    if (!resources)
        return false;
    m_resources = *resources;
    return true;
}

std::optional<QByteArrayView> PeFile::atRva(quint32 rva, quint32 size) const {
    for (const Section& section : m_sections) {
        if (rva < section.virtualAddress)
            continue;
        const quint64 within = quint64(rva) - section.virtualAddress;
        if (within + size > section.rawSize)
            continue;
        return Slice(m_bytes, quint64(section.rawOffset) + within, size);
    }
    return std::nullopt;
}

std::optional<QList<std::pair<quint32, quint32>>> PeFile::directory(quint32 offset) const {
    const auto header = Slice(m_resources, offset, 16);
    if (!header)
        return std::nullopt;
    ByteReader reader(header->sliced(12));
    const quint32 count = quint32(reader.u16()) + reader.u16();
    const auto entries = Slice(m_resources, quint64(offset) + 16, quint64(count) * 8);
    if (!entries)
        return std::nullopt;
    QList<std::pair<quint32, quint32>> list;
    ByteReader entryReader(*entries);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 name = entryReader.u32();
        const quint32 data = entryReader.u32();
        list.append({name, data});
    }
    return list;
}

std::optional<QByteArrayView> PeFile::resource(quint32 type, quint32 number, bool byId) const {
    const auto types = directory(0);
    if (!types)
        return std::nullopt;
    for (const auto& [typeName, typeData] : *types) {
        if (typeName != type || !(typeData & kSubdirectoryBit))
            continue;
        const auto names = directory(typeData & ~kSubdirectoryBit);
        if (!names)
            return std::nullopt;
        for (qsizetype i = 0; i < names->size(); ++i) {
            const auto& [name, nameData] = names->at(i);
            if (byId ? name != number : quint32(i) != number)
                continue;
            if (!(nameData & kSubdirectoryBit))
                return std::nullopt;
            // The first language of the resource.
            const auto languages = directory(nameData & ~kSubdirectoryBit);
            if (!languages || languages->isEmpty() || (languages->front().second & kSubdirectoryBit))
                return std::nullopt;
            const auto entry = Slice(m_resources, languages->front().second, 16);
            if (!entry)
                return std::nullopt;
            ByteReader reader(*entry);
            const quint32 rva = reader.u32();
            const quint32 size = reader.u32();
            return atRva(rva, size);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

std::optional<QByteArray> ExtractPeIconGroup(QByteArrayView file, int index) {
    if (index < 0)
        return std::nullopt;
    PeFile pe(file);
    if (!pe.parseHeaders())
        return std::nullopt;
    const auto group = pe.resource(kResourceGroupIcon, quint32(index), false);
    if (!group || group->size() < 6)
        return std::nullopt;
    ByteReader reader(*group);
    reader.skip(4); // reserved, type
    const quint16 count = reader.u16();
    if (count == 0 || count > kMaxGroupEntries || reader.remaining() < qsizetype(count) * 14)
        return std::nullopt;

    // The image nearest 32 x 32 (a stored 0 means 256), the most colours among equals.
    QByteArrayView bestEntry;
    int bestScore = -1;
    for (int i = 0; i < count; ++i) {
        const QByteArrayView entry = reader.take(14);
        const int width = quint8(entry[0]) == 0 ? 256 : quint8(entry[0]);
        const int bits = ByteReader(entry.sliced(6)).u16();
        const int score = 100000 - std::abs(width - 32) * 100 + qMin(bits, 64);
        if (score > bestScore) {
            bestScore = score;
            bestEntry = entry;
        }
    }
    const quint16 imageId = ByteReader(bestEntry.sliced(12)).u16();
    const auto image = pe.resource(kResourceIcon, imageId, true);
    if (!image || image->isEmpty())
        return std::nullopt;

    QByteArray ico;
    PutU16(ico, 0);
    PutU16(ico, 1);
    PutU16(ico, 1);
    ico += bestEntry.first(8).toByteArray(); // width, height, colours, reserved, planes, bit count
    PutU32(ico, quint32(image->size()));
    PutU32(ico, 6 + 16);
    ico += image->toByteArray();
    return ico;
}
