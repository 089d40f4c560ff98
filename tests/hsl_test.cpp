#include "common/hsl.h"

#include <random>

#include <gtest/gtest.h>

void PrintTo(const Hsl& c, std::ostream* os) {
    *os << "hsl(" << c.hue << ", " << c.saturation << ", " << c.lightness << ")";
}
void PrintTo(const Rgb& c, std::ostream* os) {
    *os << "rgb(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

namespace {

// A picture from a list of 0xAARRGGBB pixels, row by row.
QImage Picture(int width, std::initializer_list<QRgb> pixels, QImage::Format format = QImage::Format_ARGB32) {
    const int height = int(pixels.size()) / width;
    QImage image(width, height, format);
    int i = 0;
    for (const QRgb pixel : pixels) {
        image.setPixel(i % width, i / width, pixel);
        ++i;
    }
    return image;
}

std::vector<QRgb> Pixels(const QImage& image) {
    std::vector<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y));
    return pixels;
}

QRgb Bits(const Rgb& c, QRgb alphaFrom) {
    return qRgba(c.red, c.green, c.blue, qAlpha(alphaFrom));
}

} // namespace

TEST(Hsl, RgbToHslValues) {
    const struct {
        Rgb in;
        Hsl out;
    } rows[] = {
        {{255, 0, 0}, {0, 100, 50}},   {{128, 128, 128}, {0, 0, 50}},  {{10, 20, 30}, {210, 50, 8}},
        {{255, 0, 1}, {360, 100, 50}}, {{255, 255, 255}, {0, 0, 100}}, {{0, 0, 0}, {0, 0, 0}},
        {{0, 0, 254}, {240, 100, 50}}, {{0, 255, 0}, {120, 100, 50}},  {{200, 150, 100}, {30, 48, 59}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(RgbToHsl(row.in.red, row.in.green, row.in.blue), row.out)
            << row.in.red << "," << row.in.green << "," << row.in.blue;
    }
}

TEST(Hsl, HslToRgbValuesAndOutOfRangeGivesBlack) {
    const struct {
        Hsl in;
        Rgb out;
    } rows[] = {
        {{0, 100, 50}, {255, 0, 0}},
        {{2, 100, 50}, {255, 8, 0}},
        {{6, 100, 50}, {255, 26, 0}},
        {{30, 100, 50}, {255, 128, 0}},
        {{210, 50, 8}, {10, 20, 31}},
        {{240, 100, 50}, {0, 0, 255}},
        {{359, 100, 50}, {255, 0, 4}},
        {{90, 0, 50}, {128, 128, 128}},
        {{0, 100, 100}, {255, 255, 255}},
        {{0, 100, 0}, {0, 0, 0}},
        {{150, 60, 75}, {153, 230, 192}},
        {{-1, 100, 50}, {0, 0, 0}},
        {{360, 100, 50}, {0, 0, 0}},
        {{0, 101, 50}, {0, 0, 0}},
        {{0, -1, 50}, {0, 0, 0}},
        {{0, 100, 101}, {0, 0, 0}},
        {{0, 100, -1}, {0, 0, 0}},
        // Halves where rounding half up would differ, at each step: the saturation step gives
        // 74.5 for green, the lightening step 140.5, the darkening step 6.5.
        {{5, 50, 50}, {192, 74, 64}},
        {{6, 100, 75}, {255, 140, 128}},
        {{3, 100, 25}, {128, 6, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HslToRgb(row.in.hue, row.in.saturation, row.in.lightness), row.out)
            << row.in.hue << "," << row.in.saturation << "," << row.in.lightness;
    }
}

TEST(ColorizeBitmap, TintsEveryPixelButTheExemptOneAndKeepsAlpha) {
    const QRgb exempt = PixelFromColour(KeyColour);
    QImage image = Picture(3, {qRgba(255, 0, 0, 0x80), qRgb(128, 128, 128), exempt, //
                               qRgb(255, 0, 1), qRgb(255, 255, 255), qRgba(0, 0, 0, 0)});
    ColorizeBitmap(image, 240, KeyColour);
    EXPECT_EQ(image, Picture(3, {qRgba(0, 0, 255, 0x80), qRgb(128, 128, 128), exempt, //
                                 qRgb(0, 0, 255), qRgb(255, 255, 255), qRgba(0, 0, 0, 0)}));

    // With NoColour nothing is exempt: the key colour is tinted like any other.
    QImage all = Picture(2, {exempt, qRgb(255, 0, 0)});
    ColorizeBitmap(all, 120, NoColour);
    EXPECT_EQ(all, Picture(2, {qRgb(0, 255, 0), qRgb(0, 255, 0)}));
}

TEST(ColorizeBitmap, HueOutsideTheWheelTurnsPixelsBlack) {
    for (const int hue : {-1, 360, 1000}) {
        QImage image = Picture(3, {qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 254)});
        ColorizeBitmap(image, hue, KeyColour);
        EXPECT_EQ(image, Picture(3, {qRgb(0, 0, 0), qRgb(0, 0, 0), qRgb(0, 0, 254)})) << hue;
    }
}

TEST(InvertLightness, SwapsLightAndDarkKeepingHue) {
    QImage image = Picture(3, {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(10, 20, 30), //
                               qRgb(255, 0, 1), qRgba(128, 128, 128, 7), qRgb(0, 0, 254)});
    InvertLightness(image, KeyColour);
    // (10, 20, 30) is (210, 50, 8), inverted (210, 50, 92): the wheel gives (0, 128, 255), the
    // saturation step (64, 128, 192), the lightening by 0.84 (224.44, 234.68, 244.92). (255, 0, 1)
    // comes out of the conversion with hue 360, which is red again rather than black.
    EXPECT_EQ(image, Picture(3, {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(224, 235, 245), //
                                 qRgb(255, 0, 0), qRgba(128, 128, 128, 7), qRgb(0, 0, 254)}));
}

TEST(ColorizeBitmap, FastPathMatchesThePerPixelFormulasOnRandomPictures) {
    std::mt19937 random(20261208);
    // Random colours overflow the remembered colours; a small palette repeats them.
    std::vector<QRgb> palette(300);
    for (QRgb& c : palette)
        c = random();
    QImage image(211, 157, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, y % 2 ? QRgb(random()) : palette[random() % palette.size()]);
    // A few pixels worked out by hand for hue 17, whose wheel colour is (255, 72, 0): for
    // (200, 150, 100), that is (30, 48, 59), the saturation step gives (188.96, 101.12, 66.56)
    // and the lightening by 0.18 (200.88, 128.72, 100.84); for (10, 20, 30), that is (210, 50, 8),
    // (191.5, 100, 64) and then the darkening by 0.84 (30.72, 16, 10.24).
    const struct {
        QRgb before;
        QRgb after;
    } byHand[] = {{qRgba(200, 150, 100, 0x40), qRgba(201, 129, 101, 0x40)},
                  {qRgb(255, 0, 0), qRgb(255, 72, 0)},
                  {qRgb(10, 20, 30), qRgb(31, 16, 10)},
                  {qRgb(128, 128, 128), qRgb(128, 128, 128)}};
    for (int x = 0; x < int(std::size(byHand)); ++x)
        image.setPixel(x, 0, byHand[x].before);
    const QRgb exemptPixel = palette[5];
    const ColourValue exempt = ColourFromPixel(exemptPixel);
    const std::vector<QRgb> before = Pixels(image);
    QImage byHandTinted = image.copy();
    ColorizeBitmap(byHandTinted, 17, exempt);
    for (int x = 0; x < int(std::size(byHand)); ++x)
        EXPECT_EQ(byHandTinted.pixel(x, 0), byHand[x].after) << "pixel " << x;

    for (const int hue : {0, 17, 200, 359, 360}) {
        QImage tinted = image.copy();
        ColorizeBitmap(tinted, hue, exempt);
        const std::vector<QRgb> after = Pixels(tinted);
        for (size_t i = 0; i < before.size(); ++i) {
            const QRgb p = before[i];
            const Hsl hsl = RgbToHsl(qRed(p), qGreen(p), qBlue(p));
            const QRgb expected = (p & 0xFFFFFF) == (exemptPixel & 0xFFFFFF)
                                      ? p
                                      : Bits(HslToRgb(hue, hsl.saturation, hsl.lightness), p);
            ASSERT_EQ(after[i], expected) << "hue " << hue << " pixel " << i;
        }
    }

    QImage inverted = image.copy();
    InvertLightness(inverted, exempt);
    const std::vector<QRgb> after = Pixels(inverted);
    for (size_t i = 0; i < before.size(); ++i) {
        const QRgb p = before[i];
        const Hsl hsl = RgbToHsl(qRed(p), qGreen(p), qBlue(p));
        const QRgb expected = (p & 0xFFFFFF) == (exemptPixel & 0xFFFFFF)
                                  ? p
                                  : Bits(HslToRgb(hsl.hue % 360, hsl.saturation, 100 - hsl.lightness), p);
        ASSERT_EQ(after[i], expected) << "pixel " << i;
    }
}

TEST(ColorizeBitmap, WidensPicturesOfOtherFormats) {
    QImage image = Picture(2, {qRgb(255, 0, 0), qRgb(0, 0, 254)}, QImage::Format_RGB888);
    ColorizeBitmap(image, 240, KeyColour);
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(Pixels(image), (std::vector<QRgb>{qRgb(0, 0, 255), qRgb(0, 0, 254)}));
}
