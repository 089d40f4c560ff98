#include "skins/skin_bitmap.h"

#include <algorithm>
#include <cmath>

#include <QRect>
#include <QRegion>

namespace {

void WidenToRgb32(QImage& bitmap) {
    if (bitmap.format() != QImage::Format_RGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_RGB32);
}

// A rectangle given as left, top, right, bottom with right and bottom exclusive.
QRect Box(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

QRegion RoundedOutline(int w, int h, int r, TabEdge edge) {
    switch (edge) {
    case TabEdge::Bottom:
        return EllipticRegion(0, 0, 2 * r, 2 * r)
            .united(EllipticRegion(w + 1 - 2 * r, 0, w + 1, 2 * r))
            .united(Box(r, 0, w - r, r))
            .united(Box(0, r, w, h));
    case TabEdge::Top:
        return EllipticRegion(0, h + 1 - 2 * r, 2 * r, h + 1)
            .united(EllipticRegion(w + 1 - 2 * r, h + 1 - 2 * r, w + 1, h + 1))
            .united(Box(r, h + 1 - r, w - r, h + 1))
            .united(Box(0, 0, w, h + 1 - r));
    case TabEdge::Left:
        return EllipticRegion(w + 1 - 2 * r, 0, w + 1, 2 * r)
            .united(EllipticRegion(w + 1 - 2 * r, h + 1 - 2 * r, w + 1, h + 1))
            .united(Box(w + 1 - r, r, w + 1, h - r))
            .united(Box(0, 0, w + 1 - r, h));
    case TabEdge::Right:
        return EllipticRegion(0, 0, 2 * r, 2 * r)
            .united(EllipticRegion(0, h + 1 - 2 * r, 2 * r, h + 1))
            .united(Box(0, r, r, h - r))
            .united(Box(r, 0, w, h));
    }
    return {};
}

} // namespace

QRegion EllipticRegion(int left, int top, int right, int bottom) {
    // The ellipse fills the box less its right column and bottom row, in continuous coordinates;
    // a pixel belongs to it when its centre does.
    const double cx = (left + right - 1) / 2.0;
    const double cy = (top + bottom - 1) / 2.0;
    const double rx = (right - 1 - left) / 2.0;
    const double ry = (bottom - 1 - top) / 2.0;
    QRegion region;
    if (rx <= 0 || ry <= 0)
        return region;
    for (int y = top; y < bottom - 1; ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        const double reach = 1.0 - dy * dy;
        if (reach < 0)
            continue;
        const double half = rx * std::sqrt(reach);
        // Pixels x with |x + 0.5 - cx| <= half.
        const int first = int(std::ceil(cx - half - 0.5));
        const int last = int(std::floor(cx + half - 0.5));
        if (first <= last)
            region += QRect(first, y, last - first + 1, 1);
    }
    return region;
}

void RotateBitmap(QImage& bitmap, int angle) {
    if (angle != 90 && angle != 180 && angle != 270)
        return;
    WidenToRgb32(bitmap);
    const int w = bitmap.width();
    const int h = bitmap.height();
    QImage result = angle == 180 ? QImage(w, h, QImage::Format_RGB32) : QImage(h, w, QImage::Format_RGB32);
    if (result.isNull() && w > 0 && h > 0)
        return;
    for (int y = 0; y < h; ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(bitmap.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            int toX = 0;
            int toY = 0;
            if (angle == 90) {
                toX = h - 1 - y;
                toY = x;
            } else if (angle == 180) {
                toX = w - 1 - x;
                toY = h - 1 - y;
            } else {
                toX = y;
                toY = w - 1 - x;
            }
            reinterpret_cast<QRgb*>(result.scanLine(toY))[toX] = source[x];
        }
    }
    bitmap = std::move(result);
}

void RoundCorners(QImage& bitmap, int r, TabEdge edge) {
    WidenToRgb32(bitmap);
    const int w = bitmap.width();
    const int h = bitmap.height();
    if (w <= 0 || h <= 0)
        return;
    // skin.ini may give any radius; beyond the picture's size it only flattens the curve, and
    // bounding it keeps the arithmetic and the work small.
    r = std::clamp(r, 0, std::max(w, h));
    // Mark the pixels inside the outline, then key out the rest.
    QImage inside(w, h, QImage::Format_Grayscale8);
    inside.fill(0);
    const QRegion outline = RoundedOutline(w, h, r, edge).intersected(QRect(0, 0, w, h));
    for (const QRect& rect : outline) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            uchar* row = inside.scanLine(y);
            for (int x = rect.left(); x <= rect.right(); ++x)
                row[x] = 1;
        }
    }
    const QRgb key = PixelFromColour(KeyColour);
    for (int y = 0; y < h; ++y) {
        const uchar* mark = inside.constScanLine(y);
        QRgb* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (!mark[x])
                row[x] = key;
        }
    }
}

void ReplaceColour(QImage& bitmap, ColourValue from, ColourValue to) {
    if (from == to)
        return;
    WidenToRgb32(bitmap);
    const QRgb replacement = PixelFromColour(to, 0);
    for (int y = 0; y < bitmap.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < bitmap.width(); ++x) {
            if (ColourFromPixel(row[x]) == from)
                row[x] = replacement;
        }
    }
}
