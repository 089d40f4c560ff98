#pragma once

#include <QByteArray>

// Little-endian writes for the binary formats the program writes (shortcuts, icons, clips).
inline void PutU16(QByteArray& out, quint16 value) {
    out += char(value & 0xFF);
    out += char(value >> 8);
}

inline void PutU32(QByteArray& out, quint32 value) {
    PutU16(out, quint16(value & 0xFFFF));
    PutU16(out, quint16(value >> 16));
}
