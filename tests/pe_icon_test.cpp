#include "formats/pe_icon.h"

#include <gtest/gtest.h>

#include <QImage>

#include "pe_test_data.h"

namespace {

using namespace pe_test;

QRgb CentreOf(const std::optional<QByteArray>& ico) {
    if (!ico)
        return 0;
    const QImage image = QImage::fromData(*ico, "ICO");
    return image.isNull() ? 1 : image.pixel(image.width() / 2, image.height() / 2);
}

} // namespace

TEST(PeIcon, IconNumbersCountGroupsAndTheImageNearest32PixelsIsTaken) {
    const QByteArray program = SampleProgram();
    EXPECT_EQ(CentreOf(ExtractPeIconGroup(program, 0)), qRgb(0, 255, 0));
    EXPECT_EQ(QImage::fromData(*ExtractPeIconGroup(program, 0), "ICO").size(), QSize(32, 32));
    EXPECT_EQ(CentreOf(ExtractPeIconGroup(program, 1)), qRgb(0, 0, 255));
    EXPECT_FALSE(ExtractPeIconGroup(program, 2));
    EXPECT_FALSE(ExtractPeIconGroup(program, -1));
    EXPECT_FALSE(ExtractPeIconGroup("MZ not a program", 0));
}

TEST(PeIcon, DamagedProgramsGiveNoIcon) {
    const QByteArray good = SampleProgram();
    const struct {
        const char* what;
        qsizetype at;
        quint32 value;
    } rows[] = {
        {"PE header offset past the end", 0x3C, 0xFFFFFFF0},
        {"optional header size 0xFFFF", 0x40 + 20, 0x0102FFFF},
        {"section count 0xFFFF", 0x40 + 6, 0x0000FFFF},
        {"resource size past the section", 0x40 + 24 + 96 + 20, 0x7FFFFFFF},
        {"section data past the end", 0x40 + 24 + 0xE0 + 20, 0xFFFFFF00},
        {"root directory with 65535 entries", kSectionOffset + 12, 0xFFFFFFFF},
        {"type directory offset outside", kSectionOffset + 16 + 4, 0x8FFFFFFF},
    };
    for (const auto& row : rows) {
        QByteArray bytes = good;
        SetU32(bytes, row.at, row.value);
        EXPECT_FALSE(ExtractPeIconGroup(bytes, 0)) << row.what;
    }
    for (qsizetype size = 0; size < good.size(); size += 7)
        ExtractPeIconGroup(good.first(size), 0); // must not read outside what it is given
}
