#include <cmath>
#include <set>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/colour.h"
#include "common/device_pixels.h"
#include "common/hsl.h"
#include "skins/parse_box.h"
#include "skins/skin.h"
#include "skins/skin_bitmap.h"
#include "skins/skin_definition.h"
#include "skins/skin_folder.h"
#include "skins/skin_list.h"
#include "skins/skin_meta.h"
#include "tabs/tab.h"

namespace {

QImage Filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A program folder in a temporary directory with skins built file by file.
class SkinFixture : public ::testing::Test {
public:
    QString appDir() const { return m_dir.path() + u'/'; }
    QString folder(const QString& skin) const { return appDir() + skin + u'/'; }

    void writeFile(const QString& skin, const QString& name, const QByteArray& bytes) {
        QDir().mkpath(folder(skin));
        QFile file(folder(skin) + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeIni(const QString& skin, const QByteArray& text) {
        writeFile(skin, QStringLiteral("skin.ini"), text);
    }
    void writePicture(const QString& skin, const QString& name, const QImage& picture) {
        QDir().mkpath(folder(skin));
        ASSERT_TRUE(picture.save(folder(skin) + name, "BMP"));
    }
    QByteArray bmpBytes(const QImage& picture) const {
        QTemporaryDir scratch;
        picture.save(scratch.path() + u"/p.bmp", "BMP");
        QFile file(scratch.path() + u"/p.bmp");
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    TSkin load(const QString& skin, Settings settings = {}, bool layered = false) {
        TSkin result;
        result.Load(skin, settings, {skin}, {appDir()}, layered);
        return result;
    }
    // The fill colour of each picture of a series, to tell which files it was made from.
    static std::vector<QRgb> Colours(const QList<QImage>& series) {
        std::vector<QRgb> colours;
        for (const QImage& picture : series)
            colours.push_back(picture.pixel(0, 0));
        return colours;
    }

    QTemporaryDir m_dir;
};

const QRgb Red = qRgb(255, 0, 0);
const QRgb Green = qRgb(0, 255, 0);
const QRgb Blue = qRgb(0, 0, 255);

} // namespace

TEST_F(SkinFixture, SeriesTakeNumberedFilesUpToTheFirstGapOrBadFile) {
    QImage huge = Filled(4, 2, Blue);
    QByteArray hugeBytes = bmpBytes(huge);
    // The header's width and height (little-endian at offsets 18 and 22) claim 100000 x 100000.
    for (int offset : {18, 22}) {
        const quint32 v = 100000;
        for (int i = 0; i < 4; ++i)
            hugeBytes[offset + i] = char((v >> (8 * i)) & 0xFF);
    }
    const QByteArray wholeBytes = bmpBytes(Filled(8, 8, Blue));
    const QByteArray truncated = wholeBytes.left(30);
    const QByteArray cutInRows = wholeBytes.left(wholeBytes.size() - 1);

    struct File {
        const char* name;
        QRgb colour;
    };
    const struct {
        const char* what;
        std::vector<File> files;
        std::vector<QRgb> expected;
        std::function<void(SkinFixture*)> extra;
    } rows[] = {
        {"bare name alone", {{"tab.bmp", Red}}, {Red}, {}},
        {"numbered wins over bare", {{"tab.bmp", Red}, {"tab1.bmp", Green}}, {Green}, {}},
        {"gap at 2", {{"tab1.bmp", Red}, {"tab3.bmp", Green}}, {Red}, {}},
        {"any letter case",
         {{"TAB1.BMP", Red}, {"Tab2.bmp", Green}, {"tab3.Bmp", Blue}},
         {Red, Green, Blue},
         {}},
        {"no pictures", {}, {}, {}},
        {"folder named tab2.bmp",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [](SkinFixture* f) { QDir().mkpath(f->folder(QStringLiteral("s")) + u"tab2.bmp"); }},
        {"zero-byte tab2.bmp",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [](SkinFixture* f) { f->writeFile(QStringLiteral("s"), QStringLiteral("tab2.bmp"), {}); }},
        {"truncated tab2.bmp",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [&](SkinFixture* f) { f->writeFile(QStringLiteral("s"), QStringLiteral("tab2.bmp"), truncated); }},
        {"tab2.bmp cut in its pixel rows",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [&](SkinFixture* f) { f->writeFile(QStringLiteral("s"), QStringLiteral("tab2.bmp"), cutInRows); }},
        {"tab2.bmp claiming 100000 x 100000",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [&](SkinFixture* f) { f->writeFile(QStringLiteral("s"), QStringLiteral("tab2.bmp"), hugeBytes); }},
        {"a PNG named tab2.bmp",
         {{"tab1.bmp", Red}, {"tab3.bmp", Green}},
         {Red},
         [](SkinFixture* f) {
             Filled(2, 2, Blue).save(f->folder(QStringLiteral("s")) + u"tab2.bmp", "PNG");
         }},
    };
    for (const auto& row : rows) {
        QDir(folder(QStringLiteral("s"))).removeRecursively();
        writeIni(QStringLiteral("s"), "[Skin]\n");
        for (const File& file : row.files)
            writePicture(QStringLiteral("s"), QLatin1StringView(file.name), Filled(4, 2, file.colour));
        if (row.extra)
            row.extra(this);
        const TSkin skin = load(QStringLiteral("s"));
        EXPECT_EQ(Colours(skin.TabBitmaps), row.expected) << row.what;
        for (const QImage& picture : skin.TabBitmaps)
            EXPECT_EQ(picture.format(), QImage::Format_RGB32) << row.what;
    }
}

TEST_F(SkinFixture, EdgeVariantsAreUsedUnrotatedAndPlainPicturesAreTurned) {
    writeIni(QStringLiteral("s"), "[Skin]\n");
    QImage plain(3, 2, QImage::Format_RGB32);
    plain.fill(Green);
    plain.setPixel(0, 0, Red); // marks the top-left corner
    writePicture(QStringLiteral("s"), QStringLiteral("lefttab1.bmp"), Filled(5, 7, Blue));
    writePicture(QStringLiteral("s"), QStringLiteral("tab2.bmp"), plain);
    writePicture(QStringLiteral("s"), QStringLiteral("item1.bmp"), plain);

    // Where the marked corner ends up, and the size, for a plain picture on each edge.
    const struct {
        TabEdge edge;
        QSize size;
        QPoint corner;
    } rows[] = {
        {TabEdge::Bottom, {3, 2}, {0, 0}},
        {TabEdge::Left, {2, 3}, {1, 0}},
        {TabEdge::Top, {3, 2}, {2, 1}},
        {TabEdge::Right, {2, 3}, {0, 2}},
    };
    for (const auto& row : rows) {
        Settings settings;
        settings.TabPos = row.edge;
        const TSkin skin = load(QStringLiteral("s"), settings);
        ASSERT_EQ(skin.ItemBitmaps.size(), 1);
        EXPECT_EQ(skin.ItemBitmaps[0].size(), row.size) << int(row.edge);
        EXPECT_EQ(skin.ItemBitmaps[0].pixel(row.corner), Red) << int(row.edge);
        if (row.edge == TabEdge::Left) {
            ASSERT_EQ(skin.TabBitmaps.size(), 2);
            EXPECT_EQ(skin.TabBitmaps[0], Filled(5, 7, Blue));
            QImage turned = plain;
            RotateBitmap(turned, 90);
            EXPECT_EQ(skin.TabBitmaps[1], turned);
        } else {
            // Without tab1.bmp or tab.bmp the other edges have no tab pictures.
            EXPECT_TRUE(skin.TabBitmaps.isEmpty()) << int(row.edge);
        }
    }

    // The bare variant name stands for picture 1 too, ahead of the plain numbered picture.
    writePicture(QStringLiteral("v"), QStringLiteral("RightTab.bmp"), Filled(5, 7, Blue));
    writePicture(QStringLiteral("v"), QStringLiteral("tab1.bmp"), plain);
    Settings right;
    right.TabPos = TabEdge::Right;
    EXPECT_EQ(load(QStringLiteral("v"), right).TabBitmaps, QList<QImage>{Filled(5, 7, Blue)});
}

TEST_F(SkinFixture, PicturesForRatioTwoComeFromTheirOwnFilesOrAreScaledSmoothly) {
    // Rounded corners keyed out, tinted blue; turned for the left edge.
    writeIni(QStringLiteral("s"), "[Skin]\nTabShape=rounded\nRoundRad=3\n");
    writePicture(QStringLiteral("s"), QStringLiteral("tab1.bmp"), Filled(12, 6, Red));
    writePicture(QStringLiteral("s"), QStringLiteral("tab1@2x.bmp"), Filled(24, 12, qRgb(128, 0, 0)));
    // A ramp from black to white with no picture for ratio 2.
    QImage ramp(8, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x)
            ramp.setPixel(x, y, qRgb(x * 36, x * 36, x * 36));
    }
    writePicture(QStringLiteral("s"), QStringLiteral("item1.bmp"), ramp);
    writePicture(QStringLiteral("s"), QStringLiteral("itemh1.bmp"), ramp);
    Settings settings;
    settings.TabPos = TabEdge::Left;
    settings.Colorize = true;
    settings.ColorizeHue = 240;
    const TSkin skin = load(QStringLiteral("s"), settings, true);
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    auto isKey = [&](QRgb pixel) { return (pixel & 0xFFFFFF) == key; };

    const SkinSeries at2 = skin.PicturesAt(2);
    ASSERT_EQ(at2.Tab.size(), 1);
    const QImage& normal = skin.TabBitmaps[0];
    const QImage& tab = at2.Tab[0];
    EXPECT_EQ(tab.size(), QSize(12, 24)); // turned like the normal picture
    EXPECT_EQ(tab.devicePixelRatio(), 2.0);
    // The @2x file gives the colours, tinted as the normal picture is; the see-through corners are
    // the normal picture's, pixel for pixel.
    QImage darkBlue = Filled(1, 1, qRgb(128, 0, 0));
    ColorizeBitmap(darkBlue, 240, NoColour);
    EXPECT_EQ(tab.pixel(6, 12), darkBlue.pixel(0, 0));
    EXPECT_NE(tab.pixel(6, 12), normal.pixel(3, 6));
    int keyPixels = 0;
    for (int y = 0; y < tab.height(); ++y) {
        for (int x = 0; x < tab.width(); ++x) {
            ASSERT_EQ(isKey(tab.pixel(x, y)), isKey(normal.pixel(x / 2, y / 2))) << x << "," << y;
            keyPixels += isKey(tab.pixel(x, y));
        }
    }
    EXPECT_GT(keyPixels, 0);

    // Without a file of its own the ramp is scaled smoothly: grey levels between the normal ones
    // appear, where doubling each pixel would only repeat them.
    const QImage& item = at2.Item[0];
    EXPECT_EQ(item.size(), QSize(8, 16));
    std::set<int> normalLevels;
    std::set<int> scaledLevels;
    for (int y = 0; y < 8; ++y)
        normalLevels.insert(qRed(skin.ItemBitmaps[0].pixel(2, y)));
    for (int y = 0; y < 16; ++y)
        scaledLevels.insert(qRed(item.pixel(4, y)));
    EXPECT_GT(scaledLevels.size(), normalLevels.size());

    // Fractional ratios cover every logical pixel; the series are made once per ratio.
    EXPECT_EQ(skin.PicturesAt(1.5).Item[0].size(), QSize(6, 12));
    EXPECT_EQ(&skin.PicturesAt(2).Tab, &at2.Tab);
    EXPECT_EQ(&skin.PicturesAt(1).Tab, &skin.TabBitmaps);
}

TEST_F(SkinFixture, WordKeysCompareLowerCasedAgainstTheirOneMeaningfulValue) {
    const struct {
        const char* line;
        std::function<bool(const TSkin&)> check;
    } rows[] = {
        {"",
         [](const TSkin& s) { return s.TabShape == ShapeKind::Rounded && s.ItemShape == ShapeKind::Rect; }},
        {"TabShape=RECT", [](const TSkin& s) { return s.TabShape == ShapeKind::Rect; }},
        {"TabShape=square", [](const TSkin& s) { return s.TabShape == ShapeKind::Rounded; }},
        {"TabShape=Index", [](const TSkin& s) { return s.TabShape == ShapeKind::Index; }},
        {"ItemShape=Rounded", [](const TSkin& s) { return s.ItemShape == ShapeKind::Rect; }},
        {"ItemShape=INDEX", [](const TSkin& s) { return s.ItemShape == ShapeKind::Index; }},
        {"UseIcon=No", [](const TSkin& s) { return !s.UseIcon && s.UseText && s.UseTitle; }},
        {"UseIcon=false", [](const TSkin& s) { return s.UseIcon; }},
        {"UseTitle=", [](const TSkin& s) { return s.UseTitle; }},
        {"NoGap=YES", [](const TSkin& s) { return s.NoGap; }},
        {"NoGap=true", [](const TSkin& s) { return !s.NoGap; }},
        {"TitleDisplay=FirstLetter", [](const TSkin& s) { return s.TitleFirstLetter; }},
        {"TitleDisplay=first letter", [](const TSkin& s) { return !s.TitleFirstLetter; }},
        {"TitleFont=",
         [](const TSkin& s) { return s.TitleFont.isEmpty() && s.TextFont == u"MS Sans Serif"; }},
        {"TabLoop=3", [](const TSkin& s) { return s.TabLoopStart == 2 && s.ItemLoopStart == 0; }},
        {"ItemLoop=0", [](const TSkin& s) { return s.ItemLoopStart == 0; }},
        {"ItemHLoop=-5", [](const TSkin& s) { return s.ItemHLoopStart == 0; }},
        {"FontColor=0x0000FF", [](const TSkin& s) { return s.FontColor == 255; }},
        {"FontColor=$FF", [](const TSkin& s) { return s.FontColor == 255; }},
        {"FontColor=red", [](const TSkin& s) { return s.FontColor == 0; }},
        {"TransColor=0xFF0000", [](const TSkin& s) { return s.TransColor == MakeColourValue(0, 0, 255); }},
        {"RoundRad=", [](const TSkin& s) { return s.RoundRad == 8; }},
    };
    for (const auto& row : rows) {
        writeIni(QStringLiteral("s"), QByteArray("[skin]\n") + row.line + '\n');
        EXPECT_TRUE(row.check(load(QStringLiteral("s")))) << row.line;
    }
}

TEST_F(SkinFixture, MissingDefinitionGivesTheDefaults) {
    QDir().mkpath(folder(QStringLiteral("s")));
    const TSkin skin = load(QStringLiteral("s"));
    EXPECT_EQ(skin.Name, u"s");
    EXPECT_EQ(skin.TabWidth, 128);
    EXPECT_EQ(skin.TabHeight, 16);
    EXPECT_EQ(skin.HeadHeight, 17);
    EXPECT_EQ(skin.ItemHeight, 40);
    EXPECT_EQ(skin.TitleFontSize, 8);
    EXPECT_EQ(skin.TitlePos, (SkinBox{0, 0, 128, 17}));
    EXPECT_EQ(skin.IconPos, (SkinBox{4, 4, 32, 32}));
    EXPECT_EQ(skin.TextPos, (SkinBox{40, 4, 80, 32}));
    EXPECT_TRUE(skin.UseIcon && skin.UseText && skin.UseTitle);
    EXPECT_FALSE(skin.NoGap || skin.TitleFirstLetter);
}

TEST(ParseBox, ReadsFromLeftToRightAndKeepsWhatItDoesNotReach) {
    const QString thousandDigits = u'(' + QString(1000, u'9') + u",2,3,4)";
    const struct {
        QString text;
        SkinBox expected;
    } rows[] = {
        {QStringLiteral("(1,2,3,4)"), {1, 2, 3, 4}},
        {QStringLiteral("  ( 4 , 4 , 32 , 32 )  "), {4, 4, 32, 32}},
        {QStringLiteral("($10, 0x20, -3, 0X4)"), {16, 32, -3, 4}},
        {QStringLiteral("(1,2,3)"), {7, 7, 7, 7}},
        {QStringLiteral("(10,20,30,)"), {10, 20, 7, 7}},
        {QStringLiteral("(1, 2, 3)"), {1, 2, 7, 7}},
        {QStringLiteral("(1,x,3,4)"), {1, 7, 7, 7}},
        {QStringLiteral("(,12,3,4)"), {7, 7, 7, 7}},
        {QStringLiteral("1, 2, 3, 4"), {7, 7, 7, 7}},
        {QStringLiteral("(1,2,3,4"), {7, 7, 7, 7}},
        {QStringLiteral("(1,2,3,4,5)"), {1, 2, 3, 7}},
        {thousandDigits, {7, 7, 7, 7}},
        {QString(), {7, 7, 7, 7}},
    };
    for (const auto& row : rows) {
        SkinBox box{7, 7, 7, 7};
        ParseBox(row.text, box);
        EXPECT_EQ(box, row.expected) << row.text.toStdString();
    }
}

TEST_F(SkinFixture, BoxesCarryUnreadNumbersFromTheKeyBefore) {
    const struct {
        const char* ini;
        SkinBox title, icon, text;
    } rows[] = {
        {"TabWidth=100\nHeadHeight=20", {0, 0, 100, 20}, {4, 4, 32, 32}, {40, 4, 80, 32}},
        {"TitlePos=(5,6,7,8)\nIconPos=(1, 2, 3)", {5, 6, 7, 8}, {1, 2, 7, 8}, {40, 4, 80, 32}},
        {"TitlePos=(1,2,3)\nIconPos=\nTextPos=(9,9,99,)", {0, 0, 0, 0}, {0, 0, 0, 0}, {9, 9, 0, 0}},
    };
    for (const auto& row : rows) {
        writeIni(QStringLiteral("s"), QByteArray("[Skin]\n") + row.ini + '\n');
        const TSkin skin = load(QStringLiteral("s"));
        EXPECT_EQ(skin.TitlePos, row.title) << row.ini;
        EXPECT_EQ(skin.IconPos, row.icon) << row.ini;
        EXPECT_EQ(skin.TextPos, row.text) << row.ini;
    }
}

TEST_F(SkinFixture, PreparesPicturesForLayeredWindows) {
    // Red pixels with a black border: black is TransColor for index shapes.
    QImage picture = Filled(6, 4, Red);
    for (int x = 0; x < 6; ++x)
        picture.setPixel(x, 0, qRgb(0, 0, 0));
    for (const char* name : {"tab1.bmp", "item1.bmp", "itemh1.bmp"})
        writePicture(QStringLiteral("s"), QLatin1StringView(name), picture);
    const QRgb key = PixelFromColour(KeyColour);
    const QRgb black = qRgb(0, 0, 0);

    const struct {
        const char* ini;
        bool layered;
        QRgb tabBorder, itemBorder, itemHBorder;
        QRgb tabInside, corner;
    } rows[] = {
        // Tinting to blue leaves black alone; only the tab pictures get the key colour.
        {"TabShape=index\nItemShape=rect\nTransColor=0", true, key, black, black, Blue, key},
        {"TabShape=index\nItemShape=index\nTransColor=0", true, key, key, key, Blue, key},
        {"TabShape=index\nTransColor=0", false, black, black, black, Blue, black},
        // A rect shape changes nothing; black is then tinted like any other pixel (and stays black).
        {"TabShape=rect\nTransColor=0", true, black, black, black, Blue, black},
        // Rounded corners key out the outer corners only.
        {"TabShape=rounded\nRoundRad=4", true, black, black, black, Blue, key},
    };
    for (const auto& row : rows) {
        writeIni(QStringLiteral("s"), QByteArray("[Skin]\n") + row.ini + '\n');
        Settings settings;
        settings.Colorize = true;
        settings.ColorizeHue = 240;
        const TSkin skin = load(QStringLiteral("s"), settings, row.layered);
        ASSERT_EQ(skin.TabBitmaps.size(), 1);
        EXPECT_EQ(skin.TabBitmaps[0].pixel(3, 0), row.tabBorder) << row.ini;
        EXPECT_EQ(skin.ItemBitmaps[0].pixel(3, 0), row.itemBorder) << row.ini;
        EXPECT_EQ(skin.ItemHBitmaps[0].pixel(3, 0), row.itemHBorder) << row.ini;
        EXPECT_EQ(skin.TabBitmaps[0].pixel(3, 2), row.tabInside) << row.ini;
        EXPECT_EQ(skin.TabBitmaps[0].pixel(0, 0), row.corner) << row.ini;
    }
}

TEST_F(SkinFixture, InversionWorksOnTintedPictures) {
    writeIni(QStringLiteral("s"), "[Skin]\nTabShape=rect\n");
    // (255, 0, 1) has hue 360, which the way back rejects: inverted first it would turn black.
    writePicture(QStringLiteral("s"), QStringLiteral("tab1.bmp"), Filled(2, 2, qRgb(255, 0, 1)));
    Settings settings;
    settings.Colorize = true;
    settings.ColorizeHue = 120;
    settings.InvertLum = true;
    const TSkin skin = load(QStringLiteral("s"), settings);
    EXPECT_EQ(skin.TabBitmaps[0].pixel(0, 0), qRgb(0, 255, 0));
}

TEST_F(SkinFixture, ReloadingReplacesEverySeries) {
    writeIni(QStringLiteral("a"), "[Skin]\nTabWidth=50\n");
    for (const char* name : {"tab1.bmp", "tab2.bmp", "tab3.bmp", "item1.bmp", "itemh1.bmp"})
        writePicture(QStringLiteral("a"), QLatin1StringView(name), Filled(4, 2, Red));
    writeIni(QStringLiteral("b"), "[Skin]\n");
    writePicture(QStringLiteral("b"), QStringLiteral("tab1.bmp"), Filled(4, 2, Green));

    const QStringList skins{QStringLiteral("a"), QStringLiteral("b")};
    TSkin skin;
    skin.Load(QStringLiteral("a"), {}, skins, {appDir()}, false);
    EXPECT_EQ(skin.TabBitmaps.size(), 3);
    skin.Load(QStringLiteral("B"), {}, skins, {appDir()}, false);
    EXPECT_EQ(skin.Name, u"B");
    EXPECT_EQ(Colours(skin.TabBitmaps), std::vector<QRgb>{Green});
    EXPECT_TRUE(skin.ItemBitmaps.isEmpty());
    EXPECT_TRUE(skin.ItemHBitmaps.isEmpty());
    EXPECT_EQ(skin.TabWidth, 128);
}

TEST_F(SkinFixture, UnknownSkinRaisesAndLeavesTheSkinAsItWas) {
    writeIni(QStringLiteral("a"), "[Skin]\nTabWidth=50\n");
    TSkin skin;
    skin.Load(QStringLiteral("a"), {}, {QStringLiteral("a")}, {appDir()}, false);
    try {
        skin.Load(QStringLiteral("gone"), {}, {QStringLiteral("a")}, {appDir()}, false);
        FAIL() << "no error raised";
    } catch (const SkinNotFound& error) {
        EXPECT_EQ(error.message(), u"Skin not found: gone");
    }
    EXPECT_EQ(skin.Name, u"a");
    EXPECT_EQ(skin.TabWidth, 50);
}

TEST_F(SkinFixture, JunkDefinitionLoadsWithDefaults) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 37 + 11) % 256));
    writeFile(QStringLiteral("s"), QStringLiteral("skin.ini"), "[Skin]\nTabWidth=" + junk + "\n" + junk);
    const TSkin skin = load(QStringLiteral("s"));
    EXPECT_EQ(skin.TabWidth, 128);
    EXPECT_EQ(skin.IconPos, (SkinBox{4, 4, 32, 32}));

    // Extreme radii are bounded by the picture.
    writePicture(QStringLiteral("s"), QStringLiteral("tab1.bmp"), Filled(8, 4, Red));
    for (const char* radius : {"2147483647", "-2147483648"}) {
        writeIni(QStringLiteral("s"), QByteArray("[Skin]\nRoundRad=") + radius + '\n');
        const TSkin rounded = load(QStringLiteral("s"), {}, true);
        ASSERT_EQ(rounded.TabBitmaps.size(), 1);
        EXPECT_EQ(rounded.TabBitmaps[0].size(), QSize(8, 4));
    }
}

// Sizes far past any screen would overflow the sums of placement and drawing: each is kept within
// a few thousand pixels.
TEST_F(SkinFixture, SizesAndBoxesPastAnyScreenAreBounded) {
    writeIni(QStringLiteral("s"),
             "[Skin]\nTabWidth=2147483647\nHeadHeight=2147483647\nItemHeight=2147483647\n"
             "TabHeight=-2147483648\nTitleFontSize=2147483647\nRoundRad=2147483647\n"
             "TitlePos=(2147483647, -2147483648, 2147483647, 2147483647)\n");
    const TSkin huge = load(QStringLiteral("s"));
    EXPECT_EQ(huge.TabWidth, kMaxSkinLength);
    EXPECT_EQ(huge.HeadHeight, kMaxSkinLength);
    EXPECT_EQ(huge.ItemHeight, kMaxSkinLength);
    EXPECT_EQ(huge.TabHeight, 16);
    EXPECT_EQ(huge.RoundRad, kMaxSkinLength);
    EXPECT_EQ(huge.TitleFontSize, kMaxSkinFontSize);
    EXPECT_EQ(huge.TitlePos, (SkinBox{kMaxSkinLength, -kMaxSkinLength, kMaxSkinLength, kMaxSkinLength}));
    TTab tab;
    tab.Skin = &huge;
    tab.Items.resize(2);
    tab.UpdateLength();
    EXPECT_EQ(tab.ItemsLength, 2 * kMaxSkinLength);
}

// A size of 0 or less would put the tabs one pixel high beyond the screen edge: each takes its
// default and the error report names the skin, the key and the value; other keys are unaffected.
TEST_F(SkinFixture, SizesOfZeroOrLessTakeTheirDefaultsWithAWarning) {
    const struct {
        const char* line;
        std::function<bool(const TSkin&)> check;
        const char* warning; // empty when the value is taken without a word
    } rows[] = {
        {"TabHeight=0", [](const TSkin& s) { return s.TabHeight == 16; }, "TabHeight the size 0;"},
        {"TabWidth=-5", [](const TSkin& s) { return s.TabWidth == 128 && s.TitlePos.Width == 128; },
         "TabWidth the size -5;"},
        {"HeadHeight=-1", [](const TSkin& s) { return s.HeadHeight == 17; }, "HeadHeight the size -1;"},
        {"ItemHeight=0", [](const TSkin& s) { return s.ItemHeight == 40; }, "ItemHeight the size 0;"},
        {"TitleFontSize=0", [](const TSkin& s) { return s.TitleFontSize == 8; }, "TitleFontSize the size 0;"},
        {"TextFontSize=-8", [](const TSkin& s) { return s.TextFontSize == 8; }, "TextFontSize the size -8;"},
        {"TabHeight=1", [](const TSkin& s) { return s.TabHeight == 1; }, ""},
        {"RoundRad=0", [](const TSkin& s) { return s.RoundRad == 0; }, ""},
    };
    for (const auto& row : rows) {
        writeIni(QStringLiteral("bad"), QByteArray("[Skin]\n") + row.line + '\n');
        const TSkin skin = load(QStringLiteral("bad"));
        EXPECT_TRUE(row.check(skin)) << row.line;
        if (*row.warning == 0) {
            EXPECT_TRUE(skin.Warnings.isEmpty()) << row.line;
            continue;
        }
        ASSERT_EQ(skin.Warnings.size(), 1) << row.line;
        EXPECT_TRUE(skin.Warnings[0].english().startsWith(QStringLiteral("The skin bad gives ")))
            << skin.Warnings[0].english().toStdString();
        EXPECT_TRUE(skin.Warnings[0].english().contains(QLatin1String(row.warning)))
            << skin.Warnings[0].english().toStdString();
    }
}

// A skin of many small files must not decode to gigabytes: a series ends after 256 pictures or
// 64 MiB of decoded pictures for the whole skin, and the error report names the skin.
TEST_F(SkinFixture, PictureSeriesAreCappedByCountAndDecodedSize) {
    for (int n = 1; n <= 260; ++n)
        writePicture(QStringLiteral("many"), QStringLiteral("item%1.bmp").arg(n), Filled(2, 2, Green));
    const TSkin many = load(QStringLiteral("many"));
    EXPECT_EQ(many.ItemBitmaps.size(), 256);
    ASSERT_EQ(many.Warnings.size(), 1);
    EXPECT_TRUE(many.Warnings[0].english().startsWith(QStringLiteral("The skin many has more pictures")))
        << many.Warnings[0].english().toStdString();

    // 1024 x 1024 pictures of a few hundred bytes each: run-length coded, ending at once.
    QByteArray rle = "BM" + QByteArray(12, '\0') + QByteArray(40, '\0') + QByteArray(256 * 4, '\0') +
                     QByteArray("\0\1", 2);
    const auto put32 = [&](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            rle[at + i] = char(value >> (8 * i));
    };
    put32(2, quint32(rle.size()));
    put32(10, 14 + 40 + 256 * 4);
    put32(14, 40);
    put32(18, 1024);
    put32(22, 1024);
    put32(26, 1 | (8 << 16)); // one plane, 8 bits a pixel
    put32(30, 1);             // run-length coded, 8 bits
    put32(34, 2);
    for (int n = 1; n <= 20; ++n)
        writeFile(QStringLiteral("big"), QStringLiteral("tab%1.bmp").arg(n), rle);
    const TSkin big = load(QStringLiteral("big"));
    ASSERT_FALSE(big.TabBitmaps.isEmpty());
    EXPECT_EQ(big.TabBitmaps.size(), 16);
    EXPECT_EQ(big.Warnings.size(), 1);
}

// The pixel cap counts the rows of a picture whichever way they are stored: a negative height in
// the header stands for rows stored from the top down, not for a smaller picture.
TEST_F(SkinFixture, APictureOverThePixelCapIsRefusedWhicheverWayItsRowsRun) {
    const struct {
        int width;
        int height; // as the header stores it
        bool read;
    } rows[] = {
        {4, 4, true}, {4, -4, true}, {5, 4, false}, {5, -4, false}, {4, -5, false}, {1, -17, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
        QImage picture = Filled(row.width, std::abs(row.height), Blue);
        picture.setPixel(0, 0, Red); // the first row in the picture
        QByteArray bytes = bmpBytes(picture);
        if (row.height < 0) {
            // Rows stored top-down: the height (at offset 22) turns negative and the rows, which
            // start where offset 10 says, each padded to four bytes, come in the other order.
            const auto le = [&](int at, int size) {
                quint32 value = 0;
                for (int i = size - 1; i >= 0; --i)
                    value = (value << 8) | quint8(bytes[at + i]);
                return value;
            };
            const qsizetype start = le(10, 4);
            const qsizetype stride = (qsizetype(row.width) * le(28, 2) + 31) / 32 * 4;
            QByteArray flipped = bytes.left(start);
            for (int y = std::abs(row.height) - 1; y >= 0; --y)
                flipped += bytes.mid(start + y * stride, stride);
            bytes = flipped;
            for (int i = 0; i < 4; ++i)
                bytes[22 + i] = char(quint32(row.height) >> (8 * i));
        }
        writeFile(QStringLiteral("cap"), QStringLiteral("p.bmp"), bytes);
        // A cap of 16 pixels: 4 x 4 fits, 5 x 4 and 4 x 5 do not.
        const std::optional<QImage> read =
            SkinFolder(folder(QStringLiteral("cap"))).readPicture(QStringLiteral("p.bmp"), 16);
        ASSERT_EQ(read.has_value(), row.read);
        if (read) {
            EXPECT_EQ(read->size(), QSize(row.width, std::abs(row.height)));
            EXPECT_EQ(read->pixel(0, 0), Red);
        }
    }
}

TEST_F(SkinFixture, FindSkinsListsFoldersHoldingADefinition) {
    writeIni(QStringLiteral("Blue"), "");
    writeFile(QStringLiteral("Other"), QStringLiteral("Skin.INI"), "");
    QDir().mkpath(folder(QStringLiteral("NoDefinition")));
    writeIni(QStringLiteral(".hidden"), "");
    QDir().mkpath(folder(QStringLiteral("FolderNamedIni")) + u"skin.ini");
    QFile(appDir() + u"skin.ini").open(QIODevice::WriteOnly); // a file is never a skin
    QFile(appDir() + u"Plain").open(QIODevice::WriteOnly);

    QStringList expected;
    for (const QString& name : QDir(appDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        if (name == u"Blue" || name == u"Other")
            expected.append(name);
    }
    EXPECT_EQ(FindSkins({appDir()}), expected);
    EXPECT_EQ(expected.size(), 2);
}

TEST_F(SkinFixture, TheUsersSkinsComeFirstAndHideShippedOnesOfTheSameName) {
    writeIni(QStringLiteral("user/aqua"), "[Skin]\nTabWidth=77\n");
    QDir().mkpath(folder(QStringLiteral("user/Ember"))); // no definition: hides nothing
    writeIni(QStringLiteral("shipped/Aqua"), "[Skin]\nTabWidth=128\n");
    writeIni(QStringLiteral("shipped/Ember"), "");
    const QStringList roots = {folder(QStringLiteral("user")), folder(QStringLiteral("shipped"))};

    const QStringList skins = FindSkins(roots);
    EXPECT_EQ(skins, QStringList({QStringLiteral("aqua"), QStringLiteral("Ember")}));
    EXPECT_EQ(FindSkinFolder(roots, QStringLiteral("Aqua")), folder(QStringLiteral("user/aqua")));
    EXPECT_EQ(FindSkinFolder(roots, QStringLiteral("ember")), folder(QStringLiteral("shipped/Ember")));
    EXPECT_EQ(FindSkinFolder(roots, QStringLiteral("Gone")), folder(QStringLiteral("user/Gone")));

    TSkin skin;
    skin.Load(QStringLiteral("Aqua"), {}, skins, roots, false);
    EXPECT_EQ(skin.TabWidth, 77);
}

TEST_F(SkinFixture, MetaKeysAreReadOnlyWhenPresent) {
    writeIni(QStringLiteral("s"), "[Skin]\n[meta]\nauthor=Someone\nWebsite=\n");
    const SkinMeta meta = ReadSkinMeta(folder(QStringLiteral("s")));
    EXPECT_EQ(meta.Author, QStringLiteral("Someone"));
    EXPECT_EQ(meta.Website, QString());
    EXPECT_FALSE(meta.Description.has_value());
    EXPECT_FALSE(ReadSkinMeta(folder(QStringLiteral("missing"))).Author.has_value());

    const struct {
        const char* value;
        const char* address;
    } rows[] = {
        {"host/page", "http://host/page"},
        {"HTTP://Host.example", "HTTP://Host.example"},
        {"http://", "http://http://"},
        {"http://x", "http://x"},
        {"https://secure.example", "https://secure.example"},
        {"HTTPS://Secure.example", "HTTPS://Secure.example"},
        {"https://", "http://https://"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WebsiteAddress(QLatin1StringView(row.value)), QLatin1StringView(row.address)) << row.value;
}

// The contrast ratio of two colours as the Web Content Accessibility Guidelines define it, from
// 1 (the same) to 21 (black on white).
double ContrastRatio(QRgb a, QRgb b) {
    auto luminance = [](QRgb c) {
        auto linear = [](int channel) {
            const double v = channel / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(ShippedSkins, ItemTextStandsOutFromItsBackgroundByAtLeastFourAndAHalfToOne) {
    const QString data = QStringLiteral(KELVARA_SOURCE_DIR "/data/");
    const QStringList skins = FindSkins({data});
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    for (const QString& name : skins) {
        TSkin skin;
        skin.Load(name, Settings{}, skins, {data}, true);
        // The least contrast between the text colour and any visible pixel of the caption box, in
        // the pictures drawn at ratio 1 and at ratio 2.
        auto worst = [&](const QList<QImage>& pictures, ColourValue text) {
            double least = 21;
            for (const QImage& picture : pictures) {
                const qreal ratio = picture.devicePixelRatio();
                const SkinBox& box = skin.TextPos;
                const QRect area = QRect(DevicePoint(QPoint(box.Left, box.Top), ratio),
                                         DeviceSize(QSize(box.Width, box.Height), ratio))
                                       .intersected(picture.rect());
                for (int y = area.top(); y <= area.bottom(); ++y) {
                    for (int x = area.left(); x <= area.right(); ++x) {
                        const QRgb pixel = picture.pixel(x, y);
                        if ((pixel & 0xFFFFFF) != key)
                            least = std::min(least, ContrastRatio(pixel, PixelFromColour(text)));
                    }
                }
            }
            return least;
        };
        for (qreal ratio : {1.0, 2.0}) {
            const SkinSeries series = skin.PicturesAt(ratio);
            EXPECT_GE(worst(series.Item, skin.FontColor), 4.5) << name.toStdString() << " at " << ratio;
            EXPECT_GE(worst(series.ItemH, skin.SelFontColor), 4.5) << name.toStdString() << " at " << ratio;
        }
    }
}

TEST(ShippedSkins, AreCompleteAndSizedAsTheLayoutAssumes) {
    const QString data = QStringLiteral(KELVARA_SOURCE_DIR "/data/");
    const QStringList skins = FindSkins({data});
    EXPECT_TRUE(skins.contains(u"Aqua"));
    EXPECT_GE(skins.size(), 4);
    for (const QString& name : skins) {
        for (TabEdge edge : {TabEdge::Bottom, TabEdge::Left}) {
            Settings settings;
            settings.TabPos = edge;
            TSkin skin;
            skin.Load(name, settings, skins, {data}, true);
            const bool turned = edge == TabEdge::Left;
            const QSize head =
                turned ? QSize(skin.HeadHeight, skin.TabWidth) : QSize(skin.TabWidth, skin.HeadHeight);
            const QSize row =
                turned ? QSize(skin.ItemHeight, skin.TabWidth) : QSize(skin.TabWidth, skin.ItemHeight);
            ASSERT_FALSE(skin.TabBitmaps.isEmpty() || skin.ItemBitmaps.isEmpty() ||
                         skin.ItemHBitmaps.isEmpty())
                << name.toStdString();
            for (const QImage& picture : skin.TabBitmaps)
                EXPECT_EQ(picture.size(), head) << name.toStdString();
            for (const QList<QImage>* series : {&skin.ItemBitmaps, &skin.ItemHBitmaps}) {
                for (const QImage& picture : *series)
                    EXPECT_EQ(picture.size(), row) << name.toStdString();
            }
            // Every picture has its picture for ratio 2, of twice the size each way.
            const QList<QImage>* normal[] = {&skin.TabBitmaps, &skin.ItemBitmaps, &skin.ItemHBitmaps};
            const QList<QImage>* doubled[] = {&skin.TabBitmaps2x, &skin.ItemBitmaps2x, &skin.ItemHBitmaps2x};
            for (int series = 0; series < 3; ++series) {
                for (qsizetype i = 0; i < normal[series]->size(); ++i)
                    EXPECT_EQ(doubled[series]->at(i).size(), normal[series]->at(i).size() * 2)
                        << name.toStdString();
            }
            EXPECT_LE(skin.TabHeight, skin.HeadHeight) << name.toStdString();
        }
        EXPECT_EQ(QImage(data + name + u"/button.bmp").height(), 31) << name.toStdString();
        const SkinMeta meta = ReadSkinMeta(data + name + u'/');
        EXPECT_TRUE(meta.Author && meta.Website && meta.Description) << name.toStdString();
    }
}
