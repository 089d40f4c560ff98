#include "tabs/tab_shape.h"

#include <vector>

#include <QTransform>

#include "common/colour.h"
#include "common/device_pixels.h"
#include "skins/skin.h"
#include "tabs/tab.h"
#include "tabs/tab_painter.h"

namespace {

// Which logical pixels of each row show something: at a device pixel ratio, a logical pixel shows
// when any device pixel whose centre lies in it is not KeyColour.
std::vector<std::vector<char>> VisibleRows(const QImage& pixels) {
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    const qreal ratio = pixels.devicePixelRatio();
    const int width = pixels.width() > 0 ? LogicalPosition(pixels.width() - 1, ratio) + 1 : 0;
    const int height = pixels.height() > 0 ? LogicalPosition(pixels.height() - 1, ratio) + 1 : 0;
    std::vector<std::vector<char>> rows(height, std::vector<char>(width, 0));
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        std::vector<char>& row = rows[LogicalPosition(y, ratio)];
        for (int x = 0; x < pixels.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != key)
                row[LogicalPosition(x, ratio)] = 1;
        }
    }
    return rows;
}

} // namespace

QRegion OpaqueRegion(const QImage& image) {
    const QImage pixels = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    // Runs of visible pixels per row; rows with the same runs as the row above widen that band
    // instead of adding rectangles, which keeps the region small for the usual straight sides.
    std::vector<QRect> rects;
    std::vector<QRect> previous;
    std::vector<QRect> row;
    auto flush = [&] { rects.insert(rects.end(), previous.begin(), previous.end()); };
    const std::vector<std::vector<char>> visible = VisibleRows(pixels);
    for (int y = 0; y < int(visible.size()); ++y) {
        row.clear();
        const std::vector<char>& line = visible[y];
        int x = 0;
        const int w = int(line.size());
        while (x < w) {
            while (x < w && !line[x])
                ++x;
            const int start = x;
            while (x < w && line[x])
                ++x;
            if (x > start)
                row.emplace_back(start, y, x - start, 1);
        }
        bool same = row.size() == previous.size() && !previous.empty() && previous.front().bottom() == y - 1;
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
    if (tab.Skin == nullptr)
        return {};
    const bool sideways = edge == TabEdge::Left || edge == TabEdge::Right;
    const qint32 itemsLength = (sideways ? imageSize.width() : imageSize.height()) - tab.Skin->HeadHeight;
    const QRegion outline = OutlineRegion(tab, itemsLength);
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
