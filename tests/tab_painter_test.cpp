#include <gtest/gtest.h>

#include <QPainter>

#include "common/device_pixels.h"
#include "skins/skin_bitmap.h"
#include "tab_test_skin.h"
#include "common/ini_file.h"
#include "skins/skin_definition.h"
#include "tabs/tab_painter.h"
#include "tabs/tab_shape.h"
#include "support/app_environment.h"

namespace {

// The application ends before the process does, so its font caches are freed.
AppEnvironment* const Environment = RegisterAppEnvironment();

const QRgb Key = PixelFromColour(KeyColour);
const QRgb Head[] = {qRgb(200, 0, 0), qRgb(201, 0, 0), qRgb(202, 0, 0), qRgb(203, 0, 0)};
const QRgb ItemC = qRgb(0, 200, 0);
const QRgb HotC = qRgb(0, 0, 200);

// A narrow tab (2 pixels thick) with the default lengths and no texts, so that whole images can
// be written down as bands of colour.
struct Fixture {
    TSkin skin;
    TTab tab;
    Settings settings;

    Fixture(TabEdge edge, int items, int thickness = 2) {
        EnsureApp();
        skin = PlainSkin(thickness);
        const bool side = edge == TabEdge::Left || edge == TabEdge::Right;
        skin.TabBitmaps.clear();
        for (QRgb c : Head)
            skin.TabBitmaps.append(side ? Solid(17, thickness, c) : Solid(thickness, 17, c));
        skin.ItemBitmaps = {side ? Solid(40, thickness, ItemC) : Solid(thickness, 40, ItemC)};
        skin.ItemHBitmaps = {side ? Solid(40, thickness, HotC) : Solid(thickness, 40, HotC)};
        tab.Skin = &skin;
        tab.TabName = QStringLiteral("Games");
        AddItems(tab, items, skin.ItemHeight);
        settings.TabPos = edge;
    }

    QImage Canvas() const {
        const bool side = settings.vertical();
        const int length = skin.HeadHeight + tab.ItemsLength;
        QImage canvas = side ? QImage(length, skin.TabWidth, QImage::Format_RGB32)
                             : QImage(skin.TabWidth, length, QImage::Format_RGB32);
        canvas.fill(Key);
        return canvas;
    }
    QImage Paint() const {
        QImage canvas = Canvas();
        PaintTab(tab, canvas, settings);
        return canvas;
    }
};

// Fills the band [from, from + size) along the tab's length with a colour.
void Band(QImage& image, bool side, int from, int size, QRgb colour) {
    QPainter p(&image);
    if (side)
        p.fillRect(QRect(from, 0, size, image.height()), QColor::fromRgb(colour));
    else
        p.fillRect(QRect(0, from, image.width(), size), QColor::fromRgb(colour));
}

TEST(TabPainter, SeriesPictureForEachPosition) {
    // Five pictures: with ItemLoop 3 (start index 2) the run 3..5 repeats; with ItemLoop 9 every
    // later position uses the first picture.
    const std::vector<qint32> loop3 = {0, 1, 2, 3, 4, 2, 3, 4, 2, 3};
    const std::vector<qint32> loop9 = {0, 1, 2, 3, 4, 0, 0, 0, 0, 0};
    for (qint32 i = 0; i < 10; ++i) {
        EXPECT_EQ(PickSeriesIndex(i, 4, 2), loop3[i]) << "loop 3, position " << i;
        EXPECT_EQ(PickSeriesIndex(i, 4, 8), loop9[i]) << "loop 9, position " << i;
    }
    EXPECT_EQ(PickSeriesIndex(7, 0, 0), 0);   // one picture repeats
    EXPECT_EQ(PickSeriesIndex(3, -1, 0), -1); // no picture at all, and no endless loop
    EXPECT_EQ(PickSeriesIndex(3, -1, 5), -1);
}

TEST(TabPainter, LayoutPerEdge) {
    // Three items of 40 pixels behind a head of 17: where the head and each item land.
    struct Row {
        TabEdge edge;
        int head;
        int items[3];
    };
    const Row rows[] = {
        {TabEdge::Bottom, 0, {17, 57, 97}},
        {TabEdge::Top, 120, {80, 40, 0}},
        {TabEdge::Left, 120, {80, 40, 0}},
        {TabEdge::Right, 0, {17, 57, 97}},
    };
    for (const Row& r : rows) {
        Fixture f(r.edge, 3);
        f.tab.TabIndex = 0;
        f.tab.TabCount = 1;
        f.tab.HotIndex = 1;
        QImage expected = f.Canvas();
        const bool side = f.settings.vertical();
        Band(expected, side, r.head, 17, Head[0]);
        for (int i = 0; i < 3; ++i)
            Band(expected, side, r.items[i], 40, i == 1 ? HotC : ItemC);
        EXPECT_EQ(f.Paint(), expected) << "edge " << int(r.edge);
    }
}

TEST(TabPainter, HeadPictureCountsFromTheFarEndOnTopAndRight) {
    struct Row {
        TabEdge edge;
        int picture;
    };
    for (const Row& r :
         {Row{TabEdge::Bottom, 0}, Row{TabEdge::Left, 0}, Row{TabEdge::Top, 3}, Row{TabEdge::Right, 3}}) {
        Fixture f(r.edge, 0);
        f.tab.TabIndex = 0;
        f.tab.TabCount = 4;
        QImage expected = f.Canvas();
        expected.fill(Head[r.picture]);
        EXPECT_EQ(f.Paint(), expected) << "edge " << int(r.edge);
    }
}

TEST(TabPainter, IconsAndEmptySeries) {
    // Left edge: the icon of the item at x lands at x + 4, 4 (IconPos 4, 4, 32, 32).
    Fixture f(TabEdge::Left, 1, 40);
    f.skin.UseIcon = true;
    const QRgb iconC = qRgb(9, 9, 9);
    f.tab.Items[0].Icon = Solid(32, 32, iconC);
    f.skin.ItemBitmaps.clear(); // a series without pictures draws nothing
    QImage expected = f.Canvas();
    Band(expected, true, 40, 17, Head[0]);
    QPainter(&expected).fillRect(QRect(4, 4, 32, 32), QColor::fromRgb(iconC));
    EXPECT_EQ(f.Paint(), expected);

    f.skin.UseIcon = false;
    expected = f.Canvas();
    Band(expected, true, 40, 17, Head[0]);
    EXPECT_EQ(f.Paint(), expected);
}

TEST(TabPainter, TitleAndCaptions) {
    Fixture f(TabEdge::Bottom, 2, 128);
    f.skin.TitleFontSize = f.skin.TextFontSize = 14;
    const QImage bare = f.Paint();

    f.skin.UseTitle = true;
    const QImage titled = f.Paint();
    EXPECT_NE(titled, bare);
    // Only the first letter: the same picture as a tab named by that letter alone.
    f.skin.TitleFirstLetter = true;
    const QImage letter = f.Paint();
    EXPECT_NE(letter, titled);
    f.skin.TitleFirstLetter = false;
    f.tab.TabName = QStringLiteral("G");
    EXPECT_EQ(f.Paint(), letter);
    f.skin.UseTitle = false;

    // Captions: the hot row in SelFontColor, the others in FontColor.
    f.skin.UseText = true;
    f.tab.HotIndex = 1;
    const QImage captions = f.Paint();
    auto countColour = [&](int row, ColourValue colour) {
        int count = 0;
        const QRect box(40, 17 + row * 40 + 4, 80, 32);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                count += captions.pixel(x, y) == PixelFromColour(colour);
        return count;
    };
    EXPECT_GT(countColour(0, f.skin.FontColor), 0);
    EXPECT_EQ(countColour(0, f.skin.SelFontColor), 0);
    EXPECT_GT(countColour(1, f.skin.SelFontColor), 0);
    EXPECT_EQ(countColour(1, f.skin.FontColor), 0);
}

TEST(TabPainter, RotatedTextIsTheUprightTextTurned) {
    EnsureApp();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    const QRgb background = qRgb(10, 20, 30);
    const ColourValue ink = MakeColourValue(250, 250, 250);
    const QRect box(3, 2, 14, 40); // 14 wide, 40 high: upright text 40 x 14
    QImage upright(40, 14, QImage::Format_RGB32);
    upright.fill(Key);
    DrawItemText(upright, font, ink, false, TitleFormat, QStringLiteral("Ab"), upright.rect());

    for (int angle : {90, 270}) {
        QImage canvas(20, 45, QImage::Format_RGB32);
        canvas.fill(background);
        DrawRotatedText(canvas, font, ink, false, angle, TitleFormat, QStringLiteral("Ab"), box);
        // Quarter turns clockwise (90) and counter-clockwise (270), key pixels left out.
        QImage expected(20, 45, QImage::Format_RGB32);
        expected.fill(background);
        for (int y = 0; y < 14; ++y)
            for (int x = 0; x < 40; ++x) {
                const QRgb p = upright.pixel(x, y);
                if (p == Key)
                    continue;
                const QPoint to = angle == 90 ? QPoint(13 - y, x) : QPoint(y, 39 - x);
                expected.setPixel(box.topLeft() + to, p);
            }
        EXPECT_EQ(canvas, expected) << "angle " << angle;
        EXPECT_NE(canvas.pixel(0, 0), Key);
    }
}

// Boxes of a skin far out of its tab, drawn on the right edge where the text is turned: read
// through the skin definition, they are bounded, and the tab is drawn without overflow.
TEST(TabPainter, BoxesFarOutOfTheTabAreDrawnSafely) {
    Fixture f(TabEdge::Right, 2, 128);
    ReadSkinDefinition(IniFile::fromData(QStringLiteral("skin.ini"),
                                         "[Skin]\nTitlePos=(2147483647, 2147483647, 2147483647, 2147483647)\n"
                                         "TextPos=(-2147483648, 0, 2147483647, 2147483647)\n"
                                         "IconPos=(2147483647, -2147483648, 32, 32)\n"),
                       f.skin);
    f.tab.UpdateLength();
    const QImage image = f.Paint();
    EXPECT_EQ(image.pixel(17 + 20, 64), ItemC);
    EXPECT_EQ(image.pixel(17 + 60, 64), ItemC);
}

TEST(TabPainter, OutlineRegion) {
    Fixture f(TabEdge::Bottom, 2, 20);
    f.skin.TabShape = ShapeKind::Rect;
    EXPECT_EQ(OutlineRegion(f.tab), QRegion(0, 0, 20, 16 + 80));

    f.skin.TabShape = ShapeKind::Rounded;
    f.skin.RoundRad = 4;
    const QRegion rounded = OutlineRegion(f.tab);
    EXPECT_EQ(rounded.boundingRect(), QRect(0, 0, 20, 96));
    EXPECT_FALSE(rounded.contains(QPoint(0, 0))); // top corners cut off
    EXPECT_FALSE(rounded.contains(QPoint(19, 0)));
    EXPECT_TRUE(rounded.contains(QPoint(4, 0)));
    EXPECT_TRUE(rounded.contains(QPoint(0, 95))); // bottom corners square
    EXPECT_TRUE(rounded.contains(QPoint(19, 95)));
    EXPECT_EQ(rounded.intersected(QRect(0, 4, 20, 92)), QRegion(0, 4, 20, 92));

    // Turned for the top edge the rounded end follows the head to the bottom of the image.
    const QRegion top = EdgeOutlineRegion(f.tab, TabEdge::Top, QSize(20, 97));
    EXPECT_TRUE(top.contains(QPoint(0, 1)));
    EXPECT_FALSE(top.contains(QPoint(0, 96)));
    const QRegion left = EdgeOutlineRegion(f.tab, TabEdge::Left, QSize(97, 20));
    EXPECT_FALSE(left.contains(QPoint(96, 0)));
    EXPECT_TRUE(left.contains(QPoint(1, 0)));
}

TEST(TabPainter, AtAHigherRatioEverythingIsDrawnInDevicePixelsWithinTheSameOutline) {
    Fixture f(TabEdge::Left, 2, 128);
    RoundCorners(f.skin.TabBitmaps[0], 6, TabEdge::Left);
    f.skin.UseIcon = f.skin.UseText = f.skin.UseTitle = true;
    // An icon read for ratio 2 whose columns alternate: detail only device pixels can show.
    QImage icon(64, 64, QImage::Format_ARGB32_Premultiplied);
    for (int x = 0; x < 64; ++x)
        QPainter(&icon).fillRect(x, 0, 1, 64, x % 2 ? Qt::white : Qt::black);
    icon.setDevicePixelRatio(2);
    f.tab.Items[0].Icon = icon;
    const QImage normal = f.Paint();
    const QRegion outline = OpaqueRegion(normal);
    const QRgb key = Key & 0xFFFFFF;
    auto paintAt = [&](qreal ratio) {
        QImage canvas(DeviceSize(normal.size(), ratio), QImage::Format_RGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Key);
        PaintTab(f.tab, canvas, f.settings);
        return canvas;
    };

    // Ratio 2: the window's outline (logical pixels) is that of ratio 1, and it holds every device
    // pixel that is not the key colour and none that is: no key colour shows inside the tab.
    const QImage sharp = paintAt(2);
    EXPECT_EQ(OpaqueRegion(sharp), outline);
    for (int y = 0; y < sharp.height(); ++y) {
        for (int x = 0; x < sharp.width(); ++x) {
            ASSERT_EQ((sharp.pixel(x, y) & 0xFFFFFF) != key, outline.contains(QPoint(x / 2, y / 2)))
                << x << "," << y;
        }
    }
    // Text and icon have detail below a logical pixel: 2 x 2 blocks that are not one flat colour.
    auto unevenBlocks = [&](QRect logical) {
        int uneven = 0;
        for (int y = logical.top(); y <= logical.bottom(); ++y) {
            for (int x = logical.left(); x <= logical.right(); ++x) {
                const QRgb c = sharp.pixel(2 * x, 2 * y);
                uneven += sharp.pixel(2 * x + 1, 2 * y) != c || sharp.pixel(2 * x, 2 * y + 1) != c ||
                          sharp.pixel(2 * x + 1, 2 * y + 1) != c;
            }
        }
        return uneven;
    };
    // Left edge, item 0 at x 40: icon at (40 + 40 - 4 - 32, 4), caption box turned beside it.
    EXPECT_EQ(unevenBlocks(QRect(44, 4, 32, 32)), 32 * 32);
    EXPECT_GT(unevenBlocks(QRect(40, 40, 40, 80)), 0);
    EXPECT_GT(unevenBlocks(QRect(80, 0, 17, 128)), 0); // the title

    // Fractional ratios: the pictures meet without a see-through seam between them.
    for (qreal ratio : {1.25, 1.5}) {
        const QImage canvas = paintAt(ratio);
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                const QPoint logical(LogicalPosition(x, ratio), LogicalPosition(y, ratio));
                if (outline.contains(logical) && logical.y() >= 6 && logical.y() < 122) {
                    ASSERT_NE(canvas.pixel(x, y) & 0xFFFFFF, key) << ratio << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST(TabPainter, OpaqueRegionLeavesOutKeyPixels) {
    // . = key, # = visible
    const char* rows[] = {"#..#", "####", "####", ".##."};
    QImage image(4, 4, QImage::Format_RGB32);
    QRegion expected;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool visible = rows[y][x] == '#';
            image.setPixel(x, y, visible ? qRgb(0, 0, 253) : Key);
            if (visible)
                expected += QRect(x, y, 1, 1);
        }
    EXPECT_EQ(OpaqueRegion(image), expected);
    image.fill(Key);
    EXPECT_TRUE(OpaqueRegion(image).isEmpty());
}

TEST(TabPainter, KeyPixelsNextToVisibleOnesTakeTheirColour) {
    // A row of five key pixels between two colours: up to two pixels from a colour take it, the
    // one in the middle stays see-through.
    const QRgb left = qRgb(10, 20, 30);
    const QRgb right = qRgb(200, 100, 0);
    QImage image(7, 1, QImage::Format_RGB32);
    image.fill(Key);
    image.setPixel(0, 0, left);
    image.setPixel(6, 0, right);
    const QImage filled = KeyFilledFromNeighbours(image);
    const QRgb expected[] = {left, left, left, Key, right, right, right};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(filled.pixel(x, 0), expected[x]) << x;
}

} // namespace
