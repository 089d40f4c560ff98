#include <QImage>

#include <gtest/gtest.h>

#include "common/colour.h"
#include "skins/skin_bitmap.h"

namespace {

// A picture whose every pixel differs from the others and from KeyColour.
QImage Pattern(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(10 + x, 20 + y, 30));
    }
    return image;
}

// The pattern with KeyColour wherever the mask row holds ".".
QImage Keyed(int w, int h, const std::vector<const char*>& mask) {
    QImage image = Pattern(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (mask[y][x] == '.')
                image.setPixel(x, y, PixelFromColour(KeyColour));
        }
    }
    return image;
}

QImage FromRows(const std::vector<std::vector<QRgb>>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, rows[y][x]);
    }
    return image;
}

} // namespace

TEST(RotateBitmap, TurnsClockwiseByEachAngle) {
    const QRgb a = qRgb(1, 0, 0), b = qRgb(2, 0, 0), c = qRgb(3, 0, 0);
    const QRgb d = qRgb(4, 0, 0), e = qRgb(5, 0, 0), f = qRgb(6, 0, 0);
    const QImage source = FromRows({{a, b, c}, {d, e, f}});
    const struct {
        int angle;
        QImage expected;
    } rows[] = {
        {90, FromRows({{d, a}, {e, b}, {f, c}})},
        {180, FromRows({{f, e, d}, {c, b, a}})},
        {270, FromRows({{c, f}, {b, e}, {a, d}})},
    };
    for (const auto& row : rows) {
        QImage picture = source;
        RotateBitmap(picture, row.angle);
        EXPECT_EQ(picture, row.expected) << "angle " << row.angle;
    }
}

TEST(RotateBitmap, WidensOtherFormats) {
    QImage picture(3, 2, QImage::Format_RGB888);
    picture.fill(qRgb(9, 8, 7));
    RotateBitmap(picture, 90);
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.size(), QSize(2, 3));
    EXPECT_EQ(picture.pixel(1, 2), qRgb(9, 8, 7));
}

TEST(RoundCorners, KeysTheTwoOuterCornersOfEachEdge) {
    // Radius 4: the ellipses cut three pixels at each rounded corner; the corners face away
    // from the screen edge.
    const struct {
        TabEdge edge;
        int w, h;
        std::vector<const char*> mask;
    } rows[] = {
        {TabEdge::Bottom,
         10,
         6,
         {"..######..", ".########.", "##########", "##########", "##########", "##########"}},
        {TabEdge::Top,
         10,
         6,
         {"##########", "##########", "##########", "##########", ".########.", "..######.."}},
        {TabEdge::Left,
         6,
         10,
         {"####..", "#####.", "######", "######", "######", "######", "######", "######", "#####.",
          "####.."}},
        {TabEdge::Right,
         6,
         10,
         {"..####", ".#####", "######", "######", "######", "######", "######", "######", ".#####",
          "..####"}},
    };
    for (const auto& row : rows) {
        QImage picture = Pattern(row.w, row.h);
        RoundCorners(picture, 4, row.edge);
        EXPECT_EQ(picture, Keyed(row.w, row.h, row.mask)) << "edge " << int(row.edge);
    }
}

TEST(EllipticRegion, IsSymmetricInItsBox) {
    // A 16-pixel box as RoundRad 8 uses: the shape must mirror onto itself both ways.
    const QRegion region = EllipticRegion(0, 0, 16, 16);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            EXPECT_EQ(region.contains(QPoint(x, y)), region.contains(QPoint(14 - x, y))) << x << "," << y;
            EXPECT_EQ(region.contains(QPoint(x, y)), region.contains(QPoint(x, 14 - y))) << x << "," << y;
        }
    }
    EXPECT_TRUE(region.contains(QPoint(7, 0)));
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_FALSE(region.contains(QPoint(15, 7)));
}

TEST(ReplaceColour, ReplacesExactMatchesAndClearsTheirFourthByte) {
    QImage picture = FromRows({{qRgb(0, 0, 0), qRgb(0, 0, 1)}, {qRgb(1, 0, 0), qRgb(0, 0, 0)}});
    ReplaceColour(picture, 0, KeyColour);
    const QRgb key = PixelFromColour(KeyColour, 0);
    const QRgb* row0 = reinterpret_cast<const QRgb*>(picture.constScanLine(0));
    const QRgb* row1 = reinterpret_cast<const QRgb*>(picture.constScanLine(1));
    EXPECT_EQ(row0[0], key);
    EXPECT_EQ(row0[1], qRgb(0, 0, 1));
    EXPECT_EQ(row1[0], qRgb(1, 0, 0));
    EXPECT_EQ(row1[1], key);

    QImage same = Pattern(3, 3);
    ReplaceColour(same, ColourFromPixel(same.pixel(1, 1)), ColourFromPixel(same.pixel(1, 1)));
    EXPECT_EQ(same, Pattern(3, 3));
}
