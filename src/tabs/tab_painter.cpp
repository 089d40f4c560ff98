#include "tabs/tab_painter.h"

#include <algorithm>

#include <QFont>
#include <QPainter>

#include "common/device_pixels.h"
#include "skins/skin.h"
#include "skins/skin_bitmap.h"
#include "tabs/caption_fit.h"
#include "tabs/pointer_geometry.h"
#include "tabs/tab.h"

namespace {

// Skin font sizes are points at 96 dots per inch; giving the size in pixels keeps the text the
// same size on every canvas, whatever resolution the image claims.
QFont SkinFont(const QString& family, qint32 pointSize) {
    QFont font(family);
    font.setPixelSize(std::max(1, qRound(std::max(1, pointSize) * 96.0 / 72.0)));
    return font;
}

// Pictures are placed in device pixels: a canvas drawn at a device pixel ratio has it set aside
// while `paint` runs, and the pictures are seen through RawPixels, so that each goes onto the
// canvas pixel for pixel.
template <typename Paint> void InDevicePixels(QImage& canvas, Paint&& paint) {
    const qreal ratio = canvas.devicePixelRatio();
    canvas.setDevicePixelRatio(1);
    paint();
    canvas.setDevicePixelRatio(ratio);
}

// The pixels of a picture as a picture of ratio 1, without copying them.
QImage RawPixels(const QImage& picture) {
    if (picture.devicePixelRatio() == 1)
        return picture;
    return QImage(picture.constBits(), picture.width(), picture.height(), picture.bytesPerLine(),
                  picture.format());
}

// Copies every pixel of `picture` that is not KeyColour onto the canvas at the device pixel `topLeft`.
void CopyKeyed(QImage& canvas, const QImage& picture, QPoint topLeft) {
    const QRect target = QRect(topLeft, picture.size()).intersected(canvas.rect());
    const QRgb key = PixelFromColour(KeyColour);
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(picture.constScanLine(y - topLeft.y()));
        auto* dst = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x) {
            const QRgb pixel = src[x - topLeft.x()];
            if ((pixel & 0xFFFFFF) != (key & 0xFFFFFF))
                dst[x] = pixel;
        }
    }
}

void DrawPicture(QImage& canvas, const QList<QImage>& series, qint32 position, qint32 loopStart, QPoint at) {
    if (series.isEmpty())
        return; // a series without pictures draws nothing
    const qint32 index = PickSeriesIndex(position, static_cast<qint32>(series.size()) - 1, loopStart);
    if (index < 0)
        return;
    const QPoint device = DevicePoint(at, canvas.devicePixelRatio());
    InDevicePixels(canvas, [&] {
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(device, RawPixels(series[index]));
    });
}

// An icon covers its own size in logical pixels: one read for the canvas's ratio goes on pixel for
// pixel, any other is scaled smoothly to that size.
void DrawIcon(QImage& canvas, const QImage& icon, QPoint at) {
    const qreal ratio = canvas.devicePixelRatio();
    const QPoint device = DevicePoint(at, ratio);
    const QSize size = (QSizeF(icon.size()) / icon.devicePixelRatio() * ratio).toSize();
    InDevicePixels(canvas, [&] {
        QPainter painter(&canvas);
        if (size == icon.size()) {
            painter.drawImage(device, RawPixels(icon));
        } else {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRect(device, size), RawPixels(icon));
        }
    });
}

} // namespace

qint32 PickSeriesIndex(qint32 position, qint32 last, qint32 loopStart) {
    if (last < 0)
        return -1;
    qint32 i = position;
    while (i > last) {
        if (loopStart > last)
            i = 0;
        else
            i -= last - loopStart + 1;
    }
    return i;
}

void DrawItemText(QImage& canvas, const QFont& font, ColourValue colour, bool bold, int format,
                  const QString& text, const QRect& box) {
    QFont styled = font;
    styled.setBold(bold);
    QPainter painter(&canvas);
    painter.setFont(styled);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(QColor::fromRgb(PixelFromColour(colour)));
    const bool wrapped = format & Qt::TextWordWrap;
    painter.drawText(box, format, wrapped ? FitCaption(text, styled, box.size(), &canvas) : text);
}

void DrawRotatedText(QImage& canvas, const QFont& font, ColourValue colour, bool bold, int angle, int format,
                     const QString& text, const QRect& box) {
    if (box.width() <= 0 || box.height() <= 0)
        return;
    const qreal ratio = canvas.devicePixelRatio();
    QImage upright(DeviceSize(QSize(box.height(), box.width()), ratio), QImage::Format_RGB32);
    upright.setDevicePixelRatio(ratio);
    upright.fill(PixelFromColour(KeyColour));
    // Smoothed glyph edges would mix the key colour into the text and leave a blue fringe once
    // the key pixels are dropped, so the turned text is drawn with hard edges.
    QFont hard = font;
    hard.setStyleStrategy(QFont::NoAntialias);
    DrawItemText(upright, hard, colour, bold, format, text, QRect(0, 0, box.height(), box.width()));
    RotateBitmap(upright, angle);
    CopyKeyed(canvas, upright, DevicePoint(box.topLeft(), ratio));
}

namespace {

// The tab with its items, or its head alone laid out as for a tab without items.
void PaintTabParts(const TTab& tab, QImage& canvas, const Settings& settings, bool withItems) {
    if (tab.Skin == nullptr)
        return;
    const TSkin& skin = *tab.Skin;
    const SkinSeries pictures = skin.PicturesAt(canvas.devicePixelRatio());
    const qint32 W = skin.TabWidth;
    const qint32 TH = skin.TabHeight;
    const qint32 HH = skin.HeadHeight;
    const qint32 IH = skin.ItemHeight;
    const qint32 L = withItems ? tab.ItemsLength : 0;
    const TabEdge edge = settings.TabPos;
    const QFont titleFont = SkinFont(skin.TitleFont, skin.TitleFontSize);
    const QFont textFont = SkinFont(skin.TextFont, skin.TextFontSize);

    const qint32 headPosition =
        (edge == TabEdge::Top || edge == TabEdge::Right) ? tab.TabCount - 1 - tab.TabIndex : tab.TabIndex;
    QPoint headAt(0, 0);
    if (edge == TabEdge::Top)
        headAt = QPoint(0, L);
    else if (edge == TabEdge::Left)
        headAt = QPoint(L, 0);
    DrawPicture(canvas, pictures.Tab, headPosition, skin.TabLoopStart, headAt);

    auto drawTitle = [&] {
        if (!skin.UseTitle || tab.TabName.isEmpty())
            return;
        const QString title = skin.TitleFirstLetter ? tab.TabName.left(1) : tab.TabName;
        const SkinBox& t = skin.TitlePos;
        switch (edge) {
        case TabEdge::Bottom:
            DrawItemText(canvas, titleFont, skin.TitleFontColor, true, TitleFormat, title,
                         QRect(t.Left, t.Top, t.Width, t.Height));
            break;
        case TabEdge::Top:
            DrawItemText(canvas, titleFont, skin.TitleFontColor, true, TitleFormat, title,
                         QRect(0, L + HH - TH, W, TH));
            break;
        case TabEdge::Left:
            DrawRotatedText(canvas, titleFont, skin.TitleFontColor, true, 90, TitleFormat, title,
                            QRect(L + HH - TH, 0, TH, W));
            break;
        case TabEdge::Right:
            DrawRotatedText(canvas, titleFont, skin.TitleFontColor, true, 270, TitleFormat, title,
                            QRect(t.Top, t.Left, t.Height, t.Width));
            break;
        }
    };

    auto drawItems = [&] {
        if (!withItems)
            return;
        const SkinBox& ic = skin.IconPos;
        const SkinBox& tx = skin.TextPos;
        // Only the rows shown are drawn: the picture's size follows the screen, not the items.
        const qint32 first = tab.FirstShown;
        const qint32 end = first + tab.ShownCount();
        for (qint32 i = first; i < end; ++i) {
            const TItem& item = tab.Items[i];
            const bool hot = i == tab.HotIndex;
            const qint32 row = i - first;
            QPoint origin;
            switch (edge) {
            case TabEdge::Bottom:
                origin = QPoint(0, HH + row * IH);
                break;
            case TabEdge::Top:
                origin = QPoint(0, L - (row + 1) * IH);
                break;
            case TabEdge::Left:
                origin = QPoint(L - (row + 1) * IH, 0);
                break;
            case TabEdge::Right:
                origin = QPoint(HH + row * IH, 0);
                break;
            }
            const int x = origin.x();
            const int y = origin.y();
            if (hot)
                DrawPicture(canvas, pictures.ItemH, i, skin.ItemHLoopStart, origin);
            else
                DrawPicture(canvas, pictures.Item, i, skin.ItemLoopStart, origin);

            const bool sideways = edge == TabEdge::Left || edge == TabEdge::Right;
            if (skin.UseIcon && !item.Icon.isNull()) {
                const QPoint iconAt = sideways ? QPoint(x + IH - ic.Top - ic.Width, y + ic.Left)
                                               : QPoint(x + ic.Left, y + ic.Top);
                DrawIcon(canvas, item.Icon, iconAt);
            }
            if (skin.UseText) {
                const ColourValue colour = hot ? skin.SelFontColor : skin.FontColor;
                if (sideways) {
                    const QRect box(x + IH - tx.Top - tx.Height, y + tx.Left, tx.Height, tx.Width);
                    DrawRotatedText(canvas, textFont, colour, false, edge == TabEdge::Left ? 90 : 270,
                                    CaptionFormat, item.Data.Name, box);
                } else {
                    const QRect box(x + tx.Left, y + tx.Top, tx.Width, tx.Height);
                    DrawItemText(canvas, textFont, colour, false, CaptionFormat, item.Data.Name, box);
                }
            }
        }
    };

    // A scrolled tab marks the ends past which more items lie, in the captions' colour, which
    // stands out from the rows.
    auto drawMoreMarkers = [&] {
        if (!withItems)
            return;
        const TabGeometry geometry{edge, HH, IH, tab.ShownCount(), tab.FirstShown};
        const bool more[] = {tab.FirstShown > 0, tab.FirstShown + tab.ShownCount() < tab.Items.size()};
        const qint32 endItem[] = {tab.FirstShown, tab.FirstShown + tab.ShownCount() - 1};
        const QRect caption =
            skin.UseText ? QRect(skin.TextPos.Left, skin.TextPos.Top, skin.TextPos.Width, skin.TextPos.Height)
                         : QRect();
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (int farEnd = 0; farEnd < 2; ++farEnd) {
            if (!more[farEnd])
                continue;
            const ColourValue colour = endItem[farEnd] == tab.HotIndex ? skin.SelFontColor : skin.FontColor;
            painter.setBrush(QColor::fromRgb(PixelFromColour(colour)));
            painter.drawPolygon(MoreMarker(geometry, W, farEnd == 1, caption));
        }
    };

    // On the left edge the title goes last; on every other edge it follows the head.
    if (edge == TabEdge::Left) {
        drawItems();
        drawTitle();
    } else {
        drawTitle();
        drawItems();
    }
    drawMoreMarkers();
}

} // namespace

void PaintTab(const TTab& tab, QImage& canvas, const Settings& settings) {
    PaintTabParts(tab, canvas, settings, true);
}

void PaintTabHead(const TTab& tab, QImage& canvas, const Settings& settings) {
    PaintTabParts(tab, canvas, settings, false);
}

bool CaptionShortened(const TTab& tab, int index) {
    if (tab.Skin == nullptr || !tab.Skin->UseText || index < 0 || index >= tab.Items.size())
        return false;
    const TSkin& skin = *tab.Skin;
    const QString& name = tab.Items[index].Data.Name;
    // Measured as DrawItemText lays it out; a text turned on its side has the same upright box.
    QImage device(1, 1, QImage::Format_RGB32);
    const QSize box(skin.TextPos.Width, skin.TextPos.Height);
    return FitCaption(name, SkinFont(skin.TextFont, skin.TextFontSize), box, &device) != name;
}

QRegion OutlineRegion(const TTab& tab) {
    return OutlineRegion(tab, tab.ItemsLength);
}

QRegion OutlineRegion(const TTab& tab, qint32 itemsLength) {
    if (tab.Skin == nullptr)
        return {};
    const TSkin& skin = *tab.Skin;
    const qint32 W = skin.TabWidth;
    const qint32 length = skin.TabHeight + itemsLength;
    if (skin.TabShape != ShapeKind::Rounded || skin.RoundRad <= 0)
        return QRegion(0, 0, W, length);
    const qint32 r = skin.RoundRad;
    QRegion outline = EllipticRegion(0, 0, 2 * r, 2 * r);
    outline += EllipticRegion(W + 1 - 2 * r, 0, W + 1, 2 * r);
    outline += QRegion(r, 0, W - 2 * r, r);
    outline += QRegion(0, r, W, length - r);
    return outline;
}
