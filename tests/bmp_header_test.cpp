#include <limits>

#include <QByteArray>

#include <gtest/gtest.h>

#include "formats/bmp_header.h"

namespace {

void Put(QByteArray& data, int offset, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        data[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// The headers of a 5 x 3 picture at 24 bits per pixel, rows from offset 54.
QByteArray Minimal() {
    QByteArray data(54, '\0');
    data[0] = 'B';
    data[1] = 'M';
    Put(data, 10, 54, 4);
    Put(data, 14, 40, 4);
    Put(data, 18, 5, 4);
    Put(data, 22, 3, 4);
    Put(data, 26, 1, 2);
    Put(data, 28, 24, 2);
    return data;
}

} // namespace

TEST(ReadBmpHeader, RejectsBrokenHeadersAndSizesTheRows) {
    const auto mutate = [](auto change) {
        QByteArray data = Minimal();
        change(data);
        return data;
    };
    const struct {
        const char* what;
        QByteArray data;
        bool valid;
        std::optional<qint64> required;
    } rows[] = {
        // 5 pixels of 3 bytes: rows of 16 bytes, the last may stop after 15.
        {"minimal", Minimal(), true, 54 + 16 * 2 + 15},
        {"bad magic", mutate([](QByteArray& d) { d[1] = 'X'; }), false, {}},
        {"cut in the info header", Minimal().left(30), false, {}},
        {"unknown info header size", mutate([](QByteArray& d) { Put(d, 14, 20, 4); }), false, {}},
        {"bit count 7", mutate([](QByteArray& d) { Put(d, 28, 7, 2); }), false, {}},
        {"width 0", mutate([](QByteArray& d) { Put(d, 18, 0, 4); }), false, {}},
        {"negative width", mutate([](QByteArray& d) { Put(d, 18, 0xFFFFFFFB, 4); }), false, {}},
        {"height 0", mutate([](QByteArray& d) { Put(d, 22, 0, 4); }), false, {}},
        {"top-down", mutate([](QByteArray& d) { Put(d, 22, 0xFFFFFFFD, 4); }), true, 54 + 16 * 2 + 15},
        {"4 bits per pixel", mutate([](QByteArray& d) { Put(d, 28, 4, 2); }), true, 54 + 4 * 2 + 3},
        {"run-length", mutate([](QByteArray& d) { Put(d, 30, 1, 4); }), true, std::nullopt},
        {"core header", mutate([](QByteArray& d) {
             Put(d, 14, 12, 4);
             Put(d, 18, 5, 2);
             Put(d, 20, 3, 2);
             Put(d, 22, 1, 2);
             Put(d, 24, 8, 2);
         }),
         true, 54 + 8 * 2 + 5},
        {"huge claim", mutate([](QByteArray& d) {
             Put(d, 18, 100000, 4);
             Put(d, 22, 100000, 4);
         }),
         true, 54 + qint64(300000) * 99999 + 300000},
        {"widest and tallest", mutate([](QByteArray& d) {
             Put(d, 18, 0x7FFFFFFF, 4);
             Put(d, 22, 0x80000001, 4);
             Put(d, 28, 32, 2);
         }),
         true, std::numeric_limits<qint64>::max()},
    };
    for (const auto& row : rows) {
        const std::optional<BmpHeader> header = ReadBmpHeader(row.data);
        ASSERT_EQ(header.has_value(), row.valid) << row.what;
        if (header) {
            EXPECT_EQ(header->requiredFileSize(), row.required) << row.what;
        }
    }
}
