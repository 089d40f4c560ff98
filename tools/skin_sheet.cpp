// Writes a contact sheet of skins: for every skin of a program folder and every screen edge, the
// tab, item and highlighted item series as the loader prepares them (layered mode, so the
// see-through parts show in KeyColour), and an open tab of three items put together from them.
// On the bottom and top edges the tab also gets its title and captions in the skin's fonts.
//     build/tools/skin_sheet data skins.png

#include <cstdio>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "common/colour.h"
#include "common/settings.h"
#include "skins/font_substitutions.h"
#include "skins/skin.h"
#include "skins/skin_fonts.h"
#include "skins/skin_list.h"

namespace {

const int Gap = 12;
const int ItemCount = 3;
const QColor Ground(0x90, 0x90, 0x90);
const QStringList Captions{QStringLiteral("Text Editor"), QStringLiteral("Configuration"),
                           QStringLiteral("Command Line Terminal")};

const char* EdgeName(TabEdge edge) {
    switch (edge) {
    case TabEdge::Bottom:
        return "bottom";
    case TabEdge::Left:
        return "left";
    case TabEdge::Top:
        return "top";
    case TabEdge::Right:
        return "right";
    }
    return "";
}

QColor FromColourValue(ColourValue value) {
    return QColor::fromRgb(PixelFromColour(value & 0xFFFFFF));
}

// Picks the picture of a series for a position, repeating the run from the loop start.
const QImage* Pick(const QList<QImage>& series, int position, int loopStart) {
    if (series.isEmpty())
        return nullptr;
    const int last = int(series.size()) - 1;
    while (position > last)
        position = loopStart > last ? 0 : position - (last - loopStart + 1);
    return &series[position];
}

// A stand-in icon: a rounded square in a neutral colour.
void DrawIcon(QPainter& painter, QRect box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0x50, 0x50, 0x50));
    painter.setBrush(QColor(0xe0, 0xc0, 0x60));
    painter.drawRoundedRect(QRectF(box).adjusted(2.5, 2.5, -2.5, -2.5), 5, 5);
    painter.restore();
}

QFont SkinFont(const QString& face, int points, bool bold) {
    QFont font(face);
    font.setPointSize(points > 0 ? points : 8);
    font.setBold(bold);
    return font;
}

// An open tab of ItemCount items with item 1 highlighted, laid out for the edge.
QImage OpenTab(const TSkin& skin, TabEdge edge) {
    const int w = skin.TabWidth, hh = skin.HeadHeight, ih = skin.ItemHeight, length = ItemCount * ih;
    const bool vertical = edge == TabEdge::Left || edge == TabEdge::Right;
    QImage tab(vertical ? QSize(hh + length, w) : QSize(w, hh + length), QImage::Format_RGB32);
    tab.fill(Ground);
    QPainter painter(&tab);
    QPoint headAt(0, 0);
    if (edge == TabEdge::Top)
        headAt = QPoint(0, length);
    else if (edge == TabEdge::Left)
        headAt = QPoint(length, 0);
    if (const QImage* head = Pick(skin.TabBitmaps, 0, skin.TabLoopStart))
        painter.drawImage(headAt, *head);
    for (int i = 0; i < ItemCount; ++i) {
        QPoint origin;
        switch (edge) {
        case TabEdge::Bottom:
            origin = QPoint(0, hh + i * ih);
            break;
        case TabEdge::Top:
            origin = QPoint(0, length - (i + 1) * ih);
            break;
        case TabEdge::Left:
            origin = QPoint(length - (i + 1) * ih, 0);
            break;
        case TabEdge::Right:
            origin = QPoint(hh + i * ih, 0);
            break;
        }
        const bool hot = i == 1;
        const QImage* picture = hot ? Pick(skin.ItemHBitmaps, i, skin.ItemHLoopStart)
                                    : Pick(skin.ItemBitmaps, i, skin.ItemLoopStart);
        if (picture)
            painter.drawImage(origin, *picture);
        if (vertical)
            continue;
        if (skin.UseIcon)
            DrawIcon(painter, QRect(origin + QPoint(skin.IconPos.Left, skin.IconPos.Top),
                                    QSize(skin.IconPos.Width, skin.IconPos.Height)));
        if (skin.UseText) {
            painter.setFont(SkinFont(skin.TextFont, skin.TextFontSize, false));
            painter.setPen(FromColourValue(hot ? skin.SelFontColor : skin.FontColor));
            painter.drawText(QRect(origin + QPoint(skin.TextPos.Left, skin.TextPos.Top),
                                   QSize(skin.TextPos.Width, skin.TextPos.Height)),
                             Qt::TextWordWrap, Captions[i]);
        }
    }
    if (!vertical && skin.UseTitle) {
        const QRect title =
            edge == TabEdge::Bottom
                ? QRect(skin.TitlePos.Left, skin.TitlePos.Top, skin.TitlePos.Width, skin.TitlePos.Height)
                : QRect(0, length + hh - skin.TabHeight, w, skin.TabHeight);
        painter.setFont(SkinFont(skin.TitleFont, skin.TitleFontSize, true));
        painter.setPen(FromColourValue(skin.TitleFontColor));
        painter.drawText(title, Qt::AlignCenter | Qt::TextSingleLine,
                         skin.TitleFirstLetter ? QStringLiteral("G") : QStringLiteral("Games"));
    }
    return tab;
}

// One row of the sheet: the open tab, then every picture of the three series.
QImage EdgeRow(const TSkin& skin, TabEdge edge) {
    const QImage tab = OpenTab(skin, edge);
    QList<const QImage*> pictures;
    for (const QList<QImage>* series : {&skin.TabBitmaps, &skin.ItemBitmaps, &skin.ItemHBitmaps}) {
        for (const QImage& picture : *series)
            pictures.append(&picture);
    }
    int width = 70 + tab.width(), height = tab.height();
    for (const QImage* picture : pictures) {
        width += Gap + picture->width();
        height = std::max(height, picture->height());
    }
    QImage row(width + Gap, height + Gap, QImage::Format_RGB32);
    row.fill(Ground);
    QPainter painter(&row);
    painter.setPen(Qt::black);
    painter.setFont(SkinFont(QStringLiteral("DejaVu Sans"), 9, false));
    painter.drawText(QRect(4, 0, 62, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     QLatin1StringView(EdgeName(edge)));
    int x = 70;
    painter.drawImage(x, 0, tab);
    x += tab.width() + Gap;
    for (const QImage* picture : pictures) {
        painter.drawImage(x, 0, *picture);
        x += picture->width() + Gap;
    }
    return row;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skin_sheet PROGRAM-FOLDER OUT.png\n");
        return 2;
    }
    InstallFontSubstitutions();
    const QString appDir = QString::fromLocal8Bit(argv[1]) + u'/';
    const QStringList skins = FindSkins({appDir});
    QList<QImage> blocks;
    for (const QString& name : skins) {
        QList<QImage> rows;
        int width = 0, height = 24;
        for (TabEdge edge : {TabEdge::Bottom, TabEdge::Top, TabEdge::Left, TabEdge::Right}) {
            Settings settings;
            settings.TabPos = edge;
            TSkin skin;
            skin.Load(name, settings, skins, {appDir}, true);
            rows.append(EdgeRow(skin, edge));
            width = std::max(width, int(rows.last().width()));
            height += int(rows.last().height());
        }
        QImage block(width, height, QImage::Format_RGB32);
        block.fill(Ground);
        QPainter painter(&block);
        painter.setFont(SkinFont(QStringLiteral("DejaVu Sans"), 11, true));
        painter.drawText(QRect(4, 0, width, 22), Qt::AlignLeft | Qt::AlignVCenter, name);
        int y = 24;
        for (const QImage& row : rows) {
            painter.drawImage(0, y, row);
            y += row.height();
        }
        blocks.append(block);
    }
    int width = 1, height = 1;
    for (const QImage& block : blocks) {
        width = std::max(width, int(block.width()));
        height += block.height() + Gap;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Ground.darker(115));
    QPainter painter(&sheet);
    int y = 0;
    for (const QImage& block : blocks) {
        painter.drawImage(0, y, block);
        y += block.height() + Gap;
    }
    painter.end();
    UnregisterSkinFonts();
    if (!sheet.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
