#pragma once

#include <cstdint>

#include <QByteArrayView>

// Reads little-endian fields from a byte range. Every read first checks that enough bytes remain;
// a read past the end sets the failed flag and gives zero, so a parser can read a group of fields
// and test ok() once.
class ChunkReader {
public:
    explicit ChunkReader(QByteArrayView data) : m_data(data) {}

    qsizetype remaining() const { return m_data.size() - m_pos; }
    qsizetype position() const { return m_pos; }
    bool ok() const { return !m_failed; }
    bool atEnd() const { return m_pos >= m_data.size(); }

    quint8 u8() { return quint8(take(1) ? quint8(m_data[m_pos - 1]) : 0); }
    quint16 u16() {
        if (!take(2))
            return 0;
        return quint16(byteAt(m_pos - 2) | byteAt(m_pos - 1) << 8);
    }
    quint32 u32() {
        if (!take(4))
            return 0;
        return quint32(byteAt(m_pos - 4)) | quint32(byteAt(m_pos - 3)) << 8 |
               quint32(byteAt(m_pos - 2)) << 16 | quint32(byteAt(m_pos - 1)) << 24;
    }
    qint32 i32() { return qint32(u32()); }
    // Four bytes as a RIFF four-character code.
    QByteArrayView fourCc() { return bytes(4); }
    // The next n bytes; an empty view (and the failed flag) when fewer remain.
    QByteArrayView bytes(qsizetype n) {
        if (!take(n))
            return {};
        return m_data.sliced(m_pos - n, n);
    }
    bool skip(qsizetype n) { return take(n); }

private:
    quint32 byteAt(qsizetype i) const { return quint8(m_data[i]); }
    bool take(qsizetype n) {
        if (m_failed || n < 0 || n > remaining()) {
            m_failed = true;
            return false;
        }
        m_pos += n;
        return true;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    bool m_failed = false;
};
