// Draws the skins shipped in the program folder: every picture, once for ratio 1 and once for
// ratio 2 ("tab1.bmp" and "tab1@2x.bmp"), skin.ini and the font files of the skins that bring
// their own. Run from the repository's root:
//     build/tools/make_skins data
// The font files are copied from the Debian package fonts-dejavu-extra.
//
// Every picture is drawn at s pixels per skin pixel (s = 1 or 2). Outlines (see-through corners,
// borders) are worked out at ratio 1 and enlarged, so that the picture for ratio 2 has exactly the
// outline of the normal one, which is the outline a tab window cuts; gradients and lines are drawn
// in the finer pixels.

#include <cstdio>
#include <functional>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "common/colour.h"
#include "skins/skin_bitmap.h"

namespace {

const QString FontDir = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString FontLicence = QStringLiteral("/usr/share/doc/fonts-dejavu-extra/copyright");

QImage Blank(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The file name of a picture for s pixels per skin pixel: "tab1.bmp" or "tab1@2x.bmp".
QString PictureName(const QString& stem, int s) {
    return stem + (s == 1 ? QString() : QStringLiteral("@%1x").arg(s)) + QStringLiteral(".bmp");
}

// A shape worked out at ratio 1 (white inside, black outside), enlarged to s pixels per pixel.
QImage Enlarged(const QImage& shape, int s) {
    return s == 1 ? shape : shape.scaled(shape.size() * s, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// Gives the pixels of `picture` inside `shape` (white, same size) their colour from `fill`, those
// within s pixels of the shape's edge the colour `rim` (a line one skin pixel wide), and leaves the
// rest as they are. Beyond the picture's bottom the shape continues when `openBelow` is set.
void FillShape(QImage& picture, const QImage& shape, const QImage& fill, QColor rim, int s, bool openBelow) {
    const auto in = [&](int x, int y) {
        if (x < 0 || x >= shape.width() || y < 0)
            return false;
        if (y >= shape.height())
            return openBelow;
        return shape.pixel(x, y) == qRgb(255, 255, 255);
    };
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (!in(x, y))
                continue;
            const bool edge = !in(x - s, y) || !in(x + s, y) || !in(x, y - s) || !in(x, y + s);
            picture.setPixel(x, y, edge ? rim.rgb() : fill.pixel(x, y));
        }
    }
}

// A vertical gradient over the rows top..bottom (inclusive) of the columns left..right.
void FillGradient(QImage& image, QRect area, QColor from, QColor to) {
    QPainter painter(&image);
    QLinearGradient gradient(0, area.top(), 0, area.bottom() + 1);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(area, gradient);
}

// A horizontal gradient, for pictures drawn lying on their side.
void FillGradientAcross(QImage& image, QRect area, QColor from, QColor to) {
    QPainter painter(&image);
    QLinearGradient gradient(area.left(), 0, area.right() + 1, 0);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(area, gradient);
}

// The aqua gloss: a light upper half with a sharp break to a deeper lower half.
void FillGloss(QImage& image, QRect area, QColor topFrom, QColor topTo, QColor lowFrom, QColor lowTo) {
    const int half = area.height() / 2;
    FillGradient(image, QRect(area.left(), area.top(), area.width(), half), topFrom, topTo);
    FillGradient(image, QRect(area.left(), area.top() + half, area.width(), area.height() - half), lowFrom,
                 lowTo);
}

// Draws a border one skin pixel wide just inside the outline that the loader cuts for rounded
// tabs, so the border follows the rounded corners pixel for pixel. The bottom side is left open
// (items follow).
void TraceRoundedBorder(QImage& image, int radius, QColor border, int s) {
    QImage shape(image.width() / s, image.height() / s, QImage::Format_RGB32);
    shape.fill(Qt::white);
    RoundCorners(shape, radius, TabEdge::Bottom);
    ReplaceColour(shape, KeyColour, 0);
    QImage outside = image;
    outside.fill(border);
    FillShape(outside, Enlarged(shape, s), image, border, s, true);
    image = outside;
}

void Save(const QImage& image, const QString& path) {
    if (!image.save(path, "BMP"))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void WriteText(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    file.write(text.toUtf8());
}

// The picture that stands for a skin in the skins list: a small open tab of the skin (head, an
// item and a highlighted item) beside its name, 120 x 31 on a white ground.
QImage Button(const QString& name, const QImage& head, const QImage& item, const QImage& hot,
              QColor nameColour, const QFont& font) {
    QImage tab = Blank(head.width(), head.height() + item.height() + hot.height(), Qt::white);
    {
        QPainter painter(&tab);
        painter.drawImage(0, 0, head);
        painter.drawImage(0, head.height(), item);
        painter.drawImage(0, head.height() + item.height(), hot);
    }
    // See-through pixels (the key colour or the skin's magenta) take the white ground.
    for (int y = 0; y < tab.height(); ++y) {
        for (int x = 0; x < tab.width(); ++x) {
            if (ColourFromPixel(tab.pixel(x, y)) == KeyColour || tab.pixel(x, y) == qRgb(255, 0, 255))
                tab.setPixel(x, y, qRgb(255, 255, 255));
        }
    }
    QImage button = Blank(120, 31, Qt::white);
    QPainter painter(&button);
    painter.drawImage(4, 1, tab.scaledToHeight(29, Qt::SmoothTransformation));
    painter.setPen(nameColour);
    painter.setFont(font);
    painter.drawText(QRect(50, 0, 68, 31), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, name);
    return button;
}

QFont ButtonFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setBold(true);
    return font;
}

// ---- Aqua: glossy blue heads with rounded outer corners, the default skin.

void MakeAqua(const QString& dir, int s) {
    const int w = 128, head = 22, item = 38, radius = 8;
    const QColor border(0x1b, 0x4f, 0x8f);
    struct Tint {
        QColor topFrom, topTo, lowFrom, lowTo;
    };
    const Tint tints[] = {
        {QColor(0xa8, 0xd6, 0xff), QColor(0x66, 0xb0, 0xf2), QColor(0x2a, 0x7c, 0xd8),
         QColor(0x45, 0x9c, 0xee)},
        {QColor(0x9e, 0xe6, 0xf0), QColor(0x52, 0xc0, 0xd6), QColor(0x17, 0x8c, 0xa8),
         QColor(0x2e, 0xaa, 0xc4)},
        {QColor(0xb8, 0xc4, 0xff), QColor(0x7c, 0x8e, 0xf0), QColor(0x3c, 0x4f, 0xc8),
         QColor(0x57, 0x6c, 0xe0)},
        {QColor(0xa6, 0xe9, 0xd5), QColor(0x5c, 0xc8, 0xa8), QColor(0x1f, 0x93, 0x72),
         QColor(0x36, 0xb0, 0x8c)},
    };
    QImage firstHead;
    for (int i = 0; i < 4; ++i) {
        QImage picture = Blank(w * s, head * s, border);
        FillGloss(picture, QRect(0, 0, w * s, (head - 1) * s), tints[i].topFrom, tints[i].topTo,
                  tints[i].lowFrom, tints[i].lowTo);
        TraceRoundedBorder(picture, radius, border, s);
        QPainter(&picture).fillRect(0, (head - 1) * s, w * s, s, border);
        Save(picture, dir + PictureName(QStringLiteral("tab%1").arg(i + 1), s));
        if (i == 0)
            firstHead = picture;
    }
    // Item rows: pale, slightly alternating, with the head's border down both sides.
    const QColor rows[][2] = {{QColor(0xff, 0xff, 0xff), QColor(0xe8, 0xf2, 0xfc)},
                              {QColor(0xf4, 0xf9, 0xff), QColor(0xdf, 0xec, 0xfa)}};
    QImage firstItem;
    for (int i = 0; i < 2; ++i) {
        QImage picture = Blank(w * s, item * s, border);
        FillGradient(picture, QRect(s, 0, (w - 2) * s, item * s), rows[i][0], rows[i][1]);
        QPainter(&picture).fillRect(s, (item - 1) * s, (w - 2) * s, s, QColor(0xc6, 0xda, 0xee));
        Save(picture, dir + PictureName(QStringLiteral("item%1").arg(i + 1), s));
        if (i == 0)
            firstItem = picture;
    }
    // The highlighted row is deep enough for white captions (WCAG contrast above 4.5:1 even at the
    // light top of the gloss).
    QImage hot = Blank(w * s, item * s, border);
    FillGloss(hot, QRect(s, 0, (w - 2) * s, (item - 1) * s), QColor(0x32, 0x72, 0xc0),
              QColor(0x24, 0x66, 0xb4), QColor(0x17, 0x4f, 0x96), QColor(0x1d, 0x5c, 0xa8));
    QPainter(&hot).fillRect(0, (item - 1) * s, w * s, s, border);
    Save(hot, dir + PictureName(QStringLiteral("itemh1"), s));
    if (s != 1)
        return;

    QImage shownHead = firstHead;
    RoundCorners(shownHead, radius, TabEdge::Bottom);
    Save(Button(QStringLiteral("Aqua"), shownHead, firstItem, hot, QColor(0x1b, 0x4f, 0x8f), ButtonFont()),
         dir + QStringLiteral("button.bmp"));

    WriteText(dir + QStringLiteral("skin.ini"),
              QStringLiteral("[Skin]\n"
                             "TabShape=Rounded\n"
                             "ItemShape=Rect\n"
                             "TabLoop=2\n"
                             "ItemLoop=1\n"
                             "ItemHLoop=1\n"
                             "TabHeight=18\n"
                             "TabWidth=128\n"
                             "HeadHeight=22\n"
                             "ItemHeight=38\n"
                             "RoundRad=8\n"
                             "TitleFont=Tahoma\n"
                             "TextFont=Tahoma\n"
                             "TitleFontSize=8\n"
                             "TextFontSize=8\n"
                             "FontColor=0x4A2A12\n"
                             "TitleFontColor=0xFFFFFF\n"
                             "SelFontColor=0xFFFFFF\n"
                             "TitlePos=(0, 1, 128, 17)\n"
                             "TitleDisplay=Normal\n"
                             "UseIcon=Yes\n"
                             "UseText=Yes\n"
                             "UseTitle=Yes\n"
                             "NoGap=No\n"
                             "IconPos=(5, 3, 32, 32)\n"
                             "TextPos=(42, 5, 82, 30)\n"
                             "\n"
                             "[Meta]\n"
                             "Author=The Kelvara developers\n"
                             "Website=example.org/kelvara/skins\n"
                             "Description=&bAqua&b is Kelvara's default skin: glossy blue heads with "
                             "&irounded&i outer corners and pale item rows.&pThe heads come in four "
                             "tints; after the first, the other three repeat.&nIt takes the "
                             "&uColorize&u setting well.\n"));
}

// ---- Ember: warm folder-like heads and card-shaped items, outlined by see-through magenta.

void MakeEmber(const QString& dir, int s) {
    const int w = 128, head = 22, item = 36;
    const QColor see(0xff, 0x00, 0xff);
    const QColor edge(0x6e, 0x26, 0x05);
    const QColor heads[][2] = {{QColor(0xff, 0xc0, 0x5a), QColor(0xe8, 0x59, 0x0c)},
                               {QColor(0xff, 0x9a, 0x6e), QColor(0xc9, 0x3a, 0x12)}};
    // A trapezoid: narrow at the outer side, full width where the cards begin.
    QImage headShape = Blank(w, head, Qt::black);
    {
        QPainter painter(&headShape);
        painter.setPen(Qt::white);
        painter.setBrush(Qt::white);
        painter.drawPolygon(
            QPolygon({QPoint(14, 0), QPoint(w - 15, 0), QPoint(w - 3, head - 1), QPoint(2, head - 1)}));
    }
    QImage firstHead;
    for (int i = 0; i < 2; ++i) {
        QImage picture = Blank(w * s, head * s, see);
        QImage fill = Blank(w * s, head * s, Qt::black);
        FillGradient(fill, QRect(0, 0, w * s, head * s), heads[i][0], heads[i][1]);
        // The rim runs round the sides and the outer end; the cards close the inner end.
        QImage shape = Enlarged(headShape, s);
        FillShape(picture, shape, fill, edge, s, true);
        Save(picture, dir + PictureName(QStringLiteral("tab%1").arg(i + 1), s));
        if (i == 0)
            firstHead = picture;
    }
    // Cards with rounded corners and a one-pixel gap above and below, on a dark backing that only
    // the outer two columns leave see-through: a pointer moving along the tab never crosses a
    // see-through pixel, which would count as leaving it and close the tab.
    QPainterPath path;
    path.addRoundedRect(QRectF(2, 1, w - 4, item - 2), 5, 5);
    QImage cardShape = Blank(w, item, Qt::black);
    QPainter(&cardShape).fillPath(path, Qt::white);
    const auto card = [&](QColor from, QColor to, QColor rim) {
        QImage picture = Blank(w * s, item * s, see);
        QPainter(&picture).fillRect(2 * s, 0, (w - 4) * s, item * s, QColor(0x14, 0x0e, 0x0b));
        QImage fill = Blank(w * s, item * s, Qt::black);
        FillGradient(fill, QRect(0, 0, w * s, item * s), from, to);
        FillShape(picture, Enlarged(cardShape, s), fill, rim, s, false);
        return picture;
    };
    const QImage plainCard =
        card(QColor(0x46, 0x3a, 0x33), QColor(0x2c, 0x23, 0x1e), QColor(0x1a, 0x12, 0x0e));
    const QImage hotCard = card(QColor(0xff, 0xb8, 0x5c), QColor(0xf0, 0x6a, 0x10), edge);
    Save(plainCard, dir + PictureName(QStringLiteral("item1"), s));
    Save(hotCard, dir + PictureName(QStringLiteral("itemh1"), s));
    if (s != 1)
        return;
    Save(Button(QStringLiteral("Ember"), firstHead, plainCard, hotCard, QColor(0xc9, 0x3a, 0x12),
                ButtonFont()),
         dir + QStringLiteral("button.bmp"));

    WriteText(dir + QStringLiteral("skin.ini"),
              QStringLiteral("[Skin]\n"
                             "TabShape=Index\n"
                             "ItemShape=Index\n"
                             "TransColor=0xFF00FF\n"
                             "TabHeight=18\n"
                             "TabWidth=128\n"
                             "HeadHeight=22\n"
                             "ItemHeight=36\n"
                             "TitleFont=Verdana\n"
                             "TextFont=Verdana\n"
                             "TitleFontSize=8\n"
                             "TextFontSize=8\n"
                             "TitleFontColor=0x08173A\n"
                             "FontColor=0xD8E6F3\n"
                             "SelFontColor=0x050F1D\n"
                             "TitlePos=(14, 1, 100, 17)\n"
                             "IconPos=(7, 2, 32, 32)\n"
                             "TextPos=(44, 4, 78, 28)\n"
                             "\n"
                             "[Meta]\n"
                             "Author=The Kelvara developers\n"
                             "Website=http://example.org/kelvara/skins\n"
                             "Description=&bEmber&b: warm folder heads over dark cards.&nThe "
                             "outlines are drawn in see-through &imagenta&i, so heads and cards keep "
                             "their shape on every edge.&pTry it with &uInvert Luminosity&u for a light "
                             "variant.\n"));
}

// ---- Slate: flat and rectangular, with its own condensed font and upright heads on the side edges.

void MakeSlate(const QString& dir, int s) {
    const int w = 120, head = 20, item = 36, accent = 3;
    const QColor top(0x40, 0x4b, 0x57), bottom(0x2f, 0x39, 0x43), teal(0x20, 0xc9, 0x97);
    // Bottom edge: the accent along the outer (top) side, lit from above.
    QImage plain = Blank(w * s, head * s, bottom);
    FillGradient(plain, QRect(0, 0, w * s, head * s), top, bottom);
    FillGradient(plain, QRect(0, 0, w * s, accent * s), teal, teal);
    Save(plain, dir + PictureName(QStringLiteral("tab1"), s));
    // Side edges: a turned copy would be lit from the side, so these are drawn upright: the light
    // still comes from above and the accent lies on the outer side.
    QImage left = Blank(head * s, w * s, bottom);
    FillGradient(left, QRect(0, 0, head * s, w * s), top, bottom);
    FillGradient(left, QRect((head - accent) * s, 0, accent * s, w * s), teal, teal);
    Save(left, dir + PictureName(QStringLiteral("lefttab1"), s));
    QImage right = Blank(head * s, w * s, bottom);
    FillGradient(right, QRect(0, 0, head * s, w * s), top, bottom);
    FillGradient(right, QRect(0, 0, accent * s, w * s), teal, teal);
    Save(right, dir + PictureName(QStringLiteral("righttab1"), s));

    QImage row = Blank(w * s, item * s, QColor(0xec, 0xef, 0xf1));
    QPainter(&row).fillRect(0, (item - 1) * s, w * s, s, QColor(0xcf, 0xd8, 0xdc));
    Save(row, dir + PictureName(QStringLiteral("item1"), s));
    // Deep enough for white captions (WCAG contrast above 4.5:1).
    QImage hot = Blank(w * s, item * s, QColor(0x0f, 0x7a, 0x5e));
    FillGradientAcross(hot, QRect(0, 0, 3 * s, item * s), teal, teal);
    Save(hot, dir + PictureName(QStringLiteral("itemh1"), s));
    if (s != 1)
        return;

    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(13);
    font.setBold(true);
    Save(Button(QStringLiteral("Slate"), plain, row, hot, bottom, font), dir + QStringLiteral("button.bmp"));

    for (const char* face : {"DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf"}) {
        const QString name = QLatin1StringView(face);
        QFile::remove(dir + name);
        if (!QFile::copy(FontDir + name, dir + name))
            std::fprintf(stderr, "cannot copy %s (install fonts-dejavu-extra)\n", qPrintable(FontDir + name));
    }
    QFile::remove(dir + QStringLiteral("DejaVu-LICENSE.txt"));
    QFile::copy(FontLicence, dir + QStringLiteral("DejaVu-LICENSE.txt"));

    WriteText(dir + QStringLiteral("skin.ini"),
              QStringLiteral("[Skin]\n"
                             "TabShape=Rect\n"
                             "ItemShape=Rect\n"
                             "TabHeight=18\n"
                             "TabWidth=120\n"
                             "HeadHeight=20\n"
                             "ItemHeight=36\n"
                             "TitleFont=DejaVu Sans Condensed\n"
                             "TextFont=DejaVu Sans Condensed\n"
                             "TitleFontSize=8\n"
                             "TextFontSize=8\n"
                             "TitleFontColor=0xF1EFEC\n"
                             "FontColor=0x383226\n"
                             "SelFontColor=0xFFFFFF\n"
                             "TitlePos=(0, 2, 120, 16)\n"
                             "IconPos=(6, 2, 32, 32)\n"
                             "TextPos=(44, 4, 72, 28)\n"
                             "NoGap=Yes\n"
                             "\n"
                             "[Meta]\n"
                             "Author=The Kelvara developers\n"
                             "Website=example.org/kelvara/skins\n"
                             "Description=&bSlate&b: flat, square and quiet, with tabs that touch."
                             "&nIt brings its own font, &iDejaVu Sans Condensed&i (free licence, see "
                             "DejaVu-LICENSE.txt).&pOn the left and right edges its heads are drawn "
                             "upright rather than turned.\n"));
}

// ---- Flint: flat and roomy for today's screens: 32-pixel icons in 44-pixel rows, 10-point text.

void MakeFlint(const QString& dir, int s) {
    const int w = 160, head = 26, item = 44, radius = 6;
    // A dark head with a lighter rim and light rows with mid-grey sides: one of the two tints stands
    // out on any wallpaper, light or dark.
    const QColor slate(0x26, 0x32, 0x38), rim(0x60, 0x7d, 0x8b), side(0x90, 0xa4, 0xae);
    QImage tab = Blank(w * s, head * s, slate);
    TraceRoundedBorder(tab, radius, rim, s);
    Save(tab, dir + PictureName(QStringLiteral("tab1"), s));
    const auto row = [&](QColor fill, QColor line) {
        QImage picture = Blank(w * s, item * s, side);
        QPainter painter(&picture);
        painter.fillRect(s, 0, (w - 2) * s, item * s, fill);
        painter.fillRect(s, (item - 1) * s, (w - 2) * s, s, line);
        return picture;
    };
    const QImage plain = row(QColor(0xf7, 0xf9, 0xfa), QColor(0xdd, 0xe3, 0xe6));
    Save(plain, dir + PictureName(QStringLiteral("item1"), s));
    Save(row(QColor(0xee, 0xf2, 0xf4), QColor(0xdd, 0xe3, 0xe6)),
         dir + PictureName(QStringLiteral("item2"), s));
    const QImage hot = row(QColor(0x15, 0x65, 0xc0), QColor(0x0d, 0x47, 0xa1));
    Save(hot, dir + PictureName(QStringLiteral("itemh1"), s));
    if (s != 1)
        return;

    QImage shownHead = tab;
    RoundCorners(shownHead, radius, TabEdge::Bottom);
    Save(Button(QStringLiteral("Flint"), shownHead, plain, hot, slate, ButtonFont()),
         dir + QStringLiteral("button.bmp"));
    WriteText(dir + QStringLiteral("skin.ini"),
              QStringLiteral("[Skin]\n"
                             "TabShape=Rounded\n"
                             "ItemShape=Rect\n"
                             "TabHeight=22\n"
                             "TabWidth=160\n"
                             "HeadHeight=26\n"
                             "ItemHeight=44\n"
                             "RoundRad=6\n"
                             "TitleFont=DejaVu Sans\n"
                             "TextFont=DejaVu Sans\n"
                             "TitleFontSize=9\n"
                             "TextFontSize=10\n"
                             "TitleFontColor=0xF1EFEC\n"
                             "FontColor=0x302A1F\n"
                             "SelFontColor=0xFFFFFF\n"
                             "TitlePos=(0, 2, 160, 20)\n"
                             "IconPos=(8, 6, 32, 32)\n"
                             "TextPos=(50, 5, 104, 34)\n"
                             "\n"
                             "[Meta]\n"
                             "Author=The Kelvara developers\n"
                             "Website=example.org/kelvara/skins\n"
                             "Description=&bFlint&b: flat and roomy, for today's screens: large icons, "
                             "10-point captions and pictures drawn for high-resolution screens too."
                             "&pA dark head over light rows, so that it reads on light and dark "
                             "wallpapers alike.\n"));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_skins DATA-FOLDER\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]) + u'/';
    const std::pair<const char*, std::function<void(const QString&, int)>> skins[] = {
        {"Aqua", MakeAqua}, {"Ember", MakeEmber}, {"Slate", MakeSlate}, {"Flint", MakeFlint}};
    for (const auto& [name, make] : skins) {
        const QString dir = data + QLatin1StringView(name) + u'/';
        QDir().mkpath(dir);
        // Ratio 2 first: the normal pictures, button and definition come last.
        make(dir, 2);
        make(dir, 1);
    }
    return 0;
}
