#include "tabs/tab_shape.h"

#include <vector>

#include <QTransform>

#include "common/colour.h"
#include "tabs/tab_painter.h"

QRegion OpaqueRegion(const QImage& image) {
    const QImage pixels = image.format() == QImage::Format_RGB32 ||
                                  image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    // Runs of visible pixels per row; rows with the same runs as the row above widen that band
    // instead of adding rectangles, which keeps the region small for the usual straight sides.
    std::vector<QRect> rects;
    std::vector<QRect> previous;
    std::vector<QRect> row;
    auto flush = [&] { rects.insert(rects.end(), previous.begin(), previous.end()); };
    for (int y = 0; y < pixels.height(); ++y) {
        row.clear();
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        const int w = pixels.width();
        while (x < w) {
            while (x < w && (line[x] & 0xFFFFFF) == key)
                ++x;
            const int start = x;
            while (x < w && (line[x] & 0xFFFFFF) != key)
                ++x;
            if (x > start)
                row.emplace_back(start, y, x - start, 1);
        }
        bool same = row.size() == previous.size() && !previous.empty() &&
                    previous.front().bottom() == y - 1;
        for (size_t i = 0; same && i < row.size(); ++i)
            same = row[i].left() == previous[i].left() && row[i].width() == previous[i].width();
        if (same) {
            for (QRect& band : previous)
                band.setBottom(y);
        } else {
            flush();
            previous = row;
        }
    }
    flush();
    QRegion region;
    if (!rects.empty())
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

QRegion EdgeOutlineRegion(const TTab& tab, TabEdge edge, const QSize& imageSize) {
    const QRegion outline = OutlineRegion(tab);
    QTransform turn;
    switch (edge) {
    case TabEdge::Bottom:
        return outline;
    case TabEdge::Top: // mirrored: rounded corners at the bottom
        turn = QTransform(1, 0, 0, -1, 0, imageSize.height());
        break;
    case TabEdge::Right: // x and y swapped: rounded corners on the left
        turn = QTransform(0, 1, 1, 0, 0, 0);
        break;
    case TabEdge::Left: // swapped and mirrored: rounded corners on the right
        turn = QTransform(0, 1, -1, 0, imageSize.width(), 0);
        break;
    }
    return turn.map(outline);
}

QRegion WindowShape(const QRegion& imageShape, QPoint offset, const QSize& windowSize) {
    return imageShape.translated(offset).intersected(QRect(QPoint(0, 0), windowSize));
}
