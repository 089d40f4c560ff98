#include "formats/xsettings_format.h"

#include <cstdint>

namespace {

enum SettingType : uint8_t { Integer = 0, String = 1, Colour = 2 };

class Reader {
public:
    Reader(QByteArrayView data, bool bigEndian) : m_data(data), m_bigEndian(bigEndian) {}

    bool skip(qint64 count) {
        if (count < 0 || count > m_data.size() - m_pos)
            return false;
        m_pos += count;
        return true;
    }

    std::optional<uint32_t> card(int bytes) {
        if (bytes > m_data.size() - m_pos)
            return std::nullopt;
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const uint32_t byte = uint8_t(m_data[m_pos + (m_bigEndian ? i : bytes - 1 - i)]);
            value = (value << 8) | byte;
        }
        m_pos += bytes;
        return value;
    }

    // count bytes, then the padding to a multiple of four.
    std::optional<QByteArrayView> padded(uint32_t count) {
        const qint64 size = (qint64(count) + 3) / 4 * 4;
        if (size > m_data.size() - m_pos)
            return std::nullopt;
        const QByteArrayView bytes = m_data.sliced(m_pos, count);
        m_pos += size;
        return bytes;
    }

private:
    QByteArrayView m_data;
    bool m_bigEndian;
    qint64 m_pos = 0;
};

} // namespace

std::optional<QString> XSettingsString(QByteArrayView data, QByteArrayView name) {
    if (data.isEmpty())
        return std::nullopt;
    Reader reader(data, data[0] != 0);
    if (!reader.skip(4) || !reader.card(4))
        return std::nullopt;
    const std::optional<uint32_t> count = reader.card(4);
    if (!count)
        return std::nullopt;
    // Every setting takes at least twelve bytes, so a count the data cannot hold ends the loop
    // as soon as the data does.
    for (uint32_t i = 0; i < *count; ++i) {
        const std::optional<uint32_t> type = reader.card(1);
        const bool header = type && reader.skip(1);
        const std::optional<uint32_t> nameLength = header ? reader.card(2) : std::nullopt;
        const std::optional<QByteArrayView> settingName =
            nameLength ? reader.padded(*nameLength) : std::nullopt;
        if (!settingName || !reader.card(4))
            return std::nullopt;
        switch (*type) {
        case Integer:
            if (!reader.skip(4))
                return std::nullopt;
            break;
        case String: {
            const std::optional<uint32_t> length = reader.card(4);
            const std::optional<QByteArrayView> value = length ? reader.padded(*length) : std::nullopt;
            if (!value)
                return std::nullopt;
            if (*settingName == name)
                return QString::fromUtf8(*value);
            break;
        }
        case Colour:
            if (!reader.skip(8))
                return std::nullopt;
            break;
        default:
            // An unknown type has an unknown length: nothing after it can be read.
            return std::nullopt;
        }
    }
    return std::nullopt;
}
