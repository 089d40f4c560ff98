#pragma once

#include <QByteArrayView>

// Little-endian reads over a byte range. Callers check remaining() before each read; a read past
// the end yields zeros and takes nothing, so a missed check can never read outside the range.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype size() const { return m_bytes.size(); }
    qsizetype remaining() const { return m_bytes.size() - m_pos; }

    quint16 u16() {
        if (remaining() < 2)
            return skipRest(), 0;
        const quint16 value = quint16(byte(0) | (byte(1) << 8));
        m_pos += 2;
        return value;
    }

    quint32 u32() {
        if (remaining() < 4)
            return skipRest(), 0;
        const quint32 value =
            quint32(byte(0)) | (quint32(byte(1)) << 8) | (quint32(byte(2)) << 16) | (quint32(byte(3)) << 24);
        m_pos += 4;
        return value;
    }

    // The next n bytes without taking them (fewer at the end).
    QByteArrayView peek(qsizetype n) const { return m_bytes.sliced(m_pos, qMin(n, remaining())); }

    // Takes the next n bytes (fewer at the end).
    QByteArrayView take(qsizetype n) {
        const QByteArrayView part = peek(n);
        m_pos += part.size();
        return part;
    }

    void skip(qsizetype n) { m_pos += qMin(qMax<qsizetype>(n, 0), remaining()); }

private:
    quint32 byte(qsizetype i) const { return quint8(m_bytes[m_pos + i]); }
    void skipRest() { m_pos = m_bytes.size(); }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};
