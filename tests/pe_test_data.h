#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QList>

#include "formats/byte_writer.h"

// Builds small Windows programs holding icon resources, for the tests of the icon reader.
namespace pe_test {

using ::PutU16;
using ::PutU32;

inline void SetU32(QByteArray& out, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = char((value >> (8 * i)) & 0xFF);
}

struct Resource {
    quint32 type;
    quint32 id;
    QByteArray data;
};

constexpr quint32 kSectionRva = 0x1000;
constexpr quint32 kSectionOffset = 0x200;

// A 32-bit Windows program whose only section holds the resources, each in one language.
inline QByteArray BuildProgram(const QList<Resource>& resources) {
    QList<quint32> types;
    for (const Resource& r : resources) {
        if (!types.contains(r.type))
            types.append(r.type);
    }
    // Layout of the section: the root, one directory per type, one language directory per
    // resource, the data entries, then the data.
    const quint32 root = 0;
    quint32 at = 16 + 8 * quint32(types.size());
    QList<quint32> typeDirs;
    for (quint32 type : types) {
        typeDirs.append(at);
        at += 16 + 8 * quint32(std::count_if(resources.begin(), resources.end(),
                                             [&](const Resource& r) { return r.type == type; }));
    }
    const quint32 languageDirs = at;
    const quint32 dataEntries = languageDirs + 24 * quint32(resources.size());
    quint32 dataAt = dataEntries + 16 * quint32(resources.size());

    QByteArray section;
    const auto directoryHeader = [&](quint16 count) {
        section += QByteArray(12, '\0');
        PutU16(section, 0);
        PutU16(section, count);
    };
    Q_ASSERT(root == 0);
    directoryHeader(quint16(types.size()));
    for (qsizetype t = 0; t < types.size(); ++t) {
        PutU32(section, types[t]);
        PutU32(section, 0x80000000 | typeDirs[t]);
    }
    for (quint32 type : types) {
        QList<qsizetype> members;
        for (qsizetype i = 0; i < resources.size(); ++i) {
            if (resources[i].type == type)
                members.append(i);
        }
        directoryHeader(quint16(members.size()));
        for (qsizetype i : members) {
            PutU32(section, resources[i].id);
            PutU32(section, 0x80000000 | (languageDirs + 24 * quint32(i)));
        }
    }
    for (qsizetype i = 0; i < resources.size(); ++i) {
        directoryHeader(1);
        PutU32(section, 0x409);
        PutU32(section, dataEntries + 16 * quint32(i));
    }
    QByteArray data;
    for (const Resource& r : resources) {
        PutU32(section, kSectionRva + dataAt + quint32(data.size()));
        PutU32(section, quint32(r.data.size()));
        PutU32(section, 0);
        PutU32(section, 0);
        data += r.data;
    }
    Q_ASSERT(quint32(section.size()) == dataAt);
    section += data;

    QByteArray file(0x40, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    SetU32(file, 0x3C, 0x40);
    file += QByteArray("PE\0\0", 4);
    PutU16(file, 0x14C); // i386
    PutU16(file, 1);     // one section
    file += QByteArray(12, '\0');
    PutU16(file, 0xE0); // optional header size
    PutU16(file, 0x102);
    QByteArray optional(0xE0, '\0');
    optional[0] = 0x0B;
    optional[1] = 0x01;
    SetU32(optional, 92, 16);               // data directories
    SetU32(optional, 96 + 16, kSectionRva); // resources
    SetU32(optional, 96 + 20, quint32(section.size()));
    file += optional;
    file += QByteArray(".rsrc\0\0\0", 8);
    PutU32(file, quint32(section.size()));
    PutU32(file, kSectionRva);
    PutU32(file, quint32(section.size()));
    PutU32(file, kSectionOffset);
    file += QByteArray(16, '\0');
    file += QByteArray(kSectionOffset - file.size(), '\0');
    file += section;
    return file;
}

// An icon image as stored in a program: the bytes of a one-image .ico after its headers, and the
// first 12 bytes of its directory entry.
inline std::pair<QByteArray, QByteArray> IconImage(int size, QRgb colour) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "ico").write(image);
    const QByteArray ico = buffer.data();
    return {ico.sliced(22), ico.sliced(6, 12)};
}

inline QByteArray Group(const QList<std::pair<QByteArray, quint16>>& entries) {
    QByteArray group;
    PutU16(group, 0);
    PutU16(group, 1);
    PutU16(group, quint16(entries.size()));
    for (const auto& [entry, id] : entries) {
        group += entry;
        PutU16(group, id);
    }
    return group;
}

inline QByteArray SampleProgram() {
    const auto [red16, red16Entry] = IconImage(16, qRgb(255, 0, 0));
    const auto [green32, green32Entry] = IconImage(32, qRgb(0, 255, 0));
    const auto [blue48, blue48Entry] = IconImage(48, qRgb(0, 0, 255));
    return BuildProgram({
        {3, 1, red16},
        {3, 2, green32},
        {3, 3, blue48},
        {14, 100, Group({{red16Entry, 1}, {green32Entry, 2}})},
        {14, 200, Group({{blue48Entry, 3}})},
    });
}

} // namespace pe_test
