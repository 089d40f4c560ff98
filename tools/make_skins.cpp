// Draws the skins shipped in the program folder: every picture, skin.ini and the font files of the
// skins that bring their own. Run from the repository's root:
//     build/tools/make_skins data
// The font files are copied from the Debian package fonts-dejavu-extra.

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

// Draws a one-pixel border just inside the outline that the loader cuts for rounded tabs, so the
// border follows the rounded corners pixel for pixel. The bottom side is left open (items follow).
void TraceRoundedBorder(QImage& image, int radius, QColor border) {
    QImage mask = Blank(image.width(), image.height(), Qt::white);
    RoundCorners(mask, radius, TabEdge::Bottom);
    const auto inside = [&](int x, int y) {
        if (x < 0 || x >= mask.width() || y < 0)
            return false;
        if (y >= mask.height())
            return true;
        return ColourFromPixel(mask.pixel(x, y)) != KeyColour;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inside(x, y))
                image.setPixel(x, y, border.rgb());
            else if (!inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1))
                image.setPixel(x, y, border.rgb());
        }
    }
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

void MakeAqua(const QString& dir) {
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
        QImage picture = Blank(w, head, border);
        FillGloss(picture, QRect(0, 0, w, head - 1), tints[i].topFrom, tints[i].topTo, tints[i].lowFrom,
                  tints[i].lowTo);
        TraceRoundedBorder(picture, radius, border);
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, head - 1, border.rgb());
        Save(picture, dir + QStringLiteral("tab%1.bmp").arg(i + 1));
        if (i == 0)
            firstHead = picture;
    }
    // Item rows: pale, slightly alternating, with the head's border down both sides.
    const QColor rows[][2] = {{QColor(0xff, 0xff, 0xff), QColor(0xe8, 0xf2, 0xfc)},
                              {QColor(0xf4, 0xf9, 0xff), QColor(0xdf, 0xec, 0xfa)}};
    QImage firstItem;
    for (int i = 0; i < 2; ++i) {
        QImage picture = Blank(w, item, border);
        FillGradient(picture, QRect(1, 0, w - 2, item), rows[i][0], rows[i][1]);
        for (int x = 1; x < w - 1; ++x)
            picture.setPixel(x, item - 1, qRgb(0xc6, 0xda, 0xee));
        Save(picture, dir + QStringLiteral("item%1.bmp").arg(i + 1));
        if (i == 0)
            firstItem = picture;
    }
    QImage hot = Blank(w, item, border);
    FillGloss(hot, QRect(1, 0, w - 2, item - 1), QColor(0x62, 0xaa, 0xec), QColor(0x3f, 0x90, 0xe0),
              QColor(0x1f, 0x6c, 0xc6), QColor(0x2c, 0x7e, 0xd6));
    for (int x = 0; x < w; ++x)
        hot.setPixel(x, item - 1, border.rgb());
    Save(hot, dir + QStringLiteral("itemh1.bmp"));

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

void MakeEmber(const QString& dir) {
    const int w = 128, head = 22, item = 36;
    const QColor see(0xff, 0x00, 0xff);
    const QColor edge(0x6e, 0x26, 0x05);
    const QColor heads[][2] = {{QColor(0xff, 0xc0, 0x5a), QColor(0xe8, 0x59, 0x0c)},
                               {QColor(0xff, 0x9a, 0x6e), QColor(0xc9, 0x3a, 0x12)}};
    QImage firstHead;
    for (int i = 0; i < 2; ++i) {
        // A trapezoid: narrow at the outer side, full width where the cards begin.
        const QPolygon shape(
            {QPoint(14, 0), QPoint(w - 15, 0), QPoint(w - 3, head - 1), QPoint(2, head - 1)});
        QImage picture = Blank(w, head, see);
        QImage fill = Blank(w, head, Qt::black);
        FillGradient(fill, QRect(0, 0, w, head), heads[i][0], heads[i][1]);
        QImage mask = Blank(w, head, Qt::black);
        {
            QPainter painter(&mask);
            painter.setPen(Qt::white);
            painter.setBrush(Qt::white);
            painter.drawPolygon(shape);
        }
        for (int y = 0; y < head; ++y) {
            for (int x = 0; x < w; ++x) {
                if (mask.pixel(x, y) != qRgb(255, 255, 255))
                    continue;
                const bool rim = x == 0 || mask.pixel(x - 1, y) != qRgb(255, 255, 255) || x == w - 1 ||
                                 mask.pixel(x + 1, y) != qRgb(255, 255, 255) || y == 0;
                picture.setPixel(x, y, rim ? edge.rgb() : fill.pixel(x, y));
            }
        }
        Save(picture, dir + QStringLiteral("tab%1.bmp").arg(i + 1));
        if (i == 0)
            firstHead = picture;
    }
    // Cards with rounded corners and a one-pixel gap above and below.
    const auto card = [&](QColor from, QColor to, QColor rim) {
        QImage picture = Blank(w, item, see);
        QImage fill = Blank(w, item, Qt::black);
        FillGradient(fill, QRect(0, 0, w, item), from, to);
        QPainterPath path;
        path.addRoundedRect(QRectF(2, 1, w - 4, item - 2), 5, 5);
        QImage mask = Blank(w, item, Qt::black);
        {
            QPainter painter(&mask);
            painter.fillPath(path, Qt::white);
        }
        const auto in = [&](int x, int y) {
            return x >= 0 && x < w && y >= 0 && y < item && mask.pixel(x, y) == qRgb(255, 255, 255);
        };
        for (int y = 0; y < item; ++y) {
            for (int x = 0; x < w; ++x) {
                if (!in(x, y))
                    continue;
                const bool border = !in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1);
                picture.setPixel(x, y, border ? rim.rgb() : fill.pixel(x, y));
            }
        }
        return picture;
    };
    const QImage plainCard =
        card(QColor(0x46, 0x3a, 0x33), QColor(0x2c, 0x23, 0x1e), QColor(0x1a, 0x12, 0x0e));
    const QImage hotCard = card(QColor(0xff, 0xb8, 0x5c), QColor(0xf0, 0x6a, 0x10), edge);
    Save(plainCard, dir + QStringLiteral("item1.bmp"));
    Save(hotCard, dir + QStringLiteral("itemh1.bmp"));
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

void MakeSlate(const QString& dir) {
    const int w = 120, head = 20, item = 36, accent = 3;
    const QColor top(0x40, 0x4b, 0x57), bottom(0x2f, 0x39, 0x43), teal(0x20, 0xc9, 0x97);
    // Bottom edge: the accent along the outer (top) side, lit from above.
    QImage plain = Blank(w, head, bottom);
    FillGradient(plain, QRect(0, 0, w, head), top, bottom);
    FillGradient(plain, QRect(0, 0, w, accent), teal, teal);
    Save(plain, dir + QStringLiteral("tab1.bmp"));
    // Side edges: a turned copy would be lit from the side, so these are drawn upright: the light
    // still comes from above and the accent lies on the outer side.
    QImage left = Blank(head, w, bottom);
    FillGradient(left, QRect(0, 0, head, w), top, bottom);
    FillGradient(left, QRect(head - accent, 0, accent, w), teal, teal);
    Save(left, dir + QStringLiteral("lefttab1.bmp"));
    QImage right = Blank(head, w, bottom);
    FillGradient(right, QRect(0, 0, head, w), top, bottom);
    FillGradient(right, QRect(0, 0, accent, w), teal, teal);
    Save(right, dir + QStringLiteral("righttab1.bmp"));

    QImage row = Blank(w, item, QColor(0xec, 0xef, 0xf1));
    for (int x = 0; x < w; ++x)
        row.setPixel(x, item - 1, qRgb(0xcf, 0xd8, 0xdc));
    Save(row, dir + QStringLiteral("item1.bmp"));
    QImage hot = Blank(w, item, QColor(0x12, 0x8c, 0x6c));
    FillGradientAcross(hot, QRect(0, 0, 3, item), teal, teal);
    Save(hot, dir + QStringLiteral("itemh1.bmp"));

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
    const std::pair<const char*, std::function<void(const QString&)>> skins[] = {
        {"Aqua", MakeAqua}, {"Ember", MakeEmber}, {"Slate", MakeSlate}};
    for (const auto& [name, make] : skins) {
        const QString dir = data + QLatin1StringView(name) + u'/';
        QDir().mkpath(dir);
        make(dir);
    }
    return 0;
}
