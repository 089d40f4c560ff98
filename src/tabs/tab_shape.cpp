#include "tabs/tab_shape.h"

#include <vector>

#include <QTransform>

#include "common/colour.h"
#include "common/device_pixels.h"
#include "skins/skin.h"
#include "tabs/tab.h"
#include "tabs/tab_painter.h"

namespace {

// Which logical pixels show something, row by row: at a device pixel ratio, a logical pixel shows
// when any device pixel whose centre lies in it is not KeyColour.
struct Visible {
    int width = 0;
    int height = 0;
    std::vector<char> pixels;
    const char* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
};

Visible VisiblePixels(const QImage& image) {
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    const qreal ratio = image.devicePixelRatio();
    const int width = image.width();
    const int height = image.height();
    // The logical column of each device column, worked out once.
    std::vector<int> column(size_t(width), 0);
    for (int x = 0; x < width; ++x)
        column[size_t(x)] = LogicalPosition(x, ratio);
    Visible visible;
    visible.width = width > 0 ? column.back() + 1 : 0;
    visible.height = height > 0 ? LogicalPosition(height - 1, ratio) + 1 : 0;
    visible.pixels.assign(size_t(visible.width) * size_t(visible.height), 0);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* row = visible.pixels.data() + size_t(LogicalPosition(y, ratio)) * size_t(visible.width);
        for (int x = 0; x < width; ++x) {
            if ((line[x] & 0xFFFFFF) != key)
                row[column[size_t(x)]] = 1;
        }
    }
    return visible;
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
    const Visible visible = VisiblePixels(pixels);
    for (int y = 0; y < visible.height; ++y) {
        row.clear();
        const char* line = visible.row(y);
        int x = 0;
        const int w = visible.width;
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

QImage KeyFilledFromNeighbours(const QImage& image) {
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    QImage filled = source;
    const QRgb key = PixelFromColour(KeyColour) & 0xFFFFFF;
    auto visible = [&](int x, int y, QRgb& colour) {
        if (x < 0 || y < 0 || x >= source.width() || y >= source.height())
            return false;
        colour = source.pixel(x, y);
        return (colour & 0xFFFFFF) != key;
    };
    for (int y = 0; y < source.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(filled.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != key)
                continue;
            QRgb colour = 0;
            for (int d = 1; d <= 2; ++d) {
                if (visible(x - d, y, colour) || visible(x + d, y, colour) || visible(x, y - d, colour) ||
                    visible(x, y + d, colour)) {
                    out[x] = colour;
                    break;
                }
            }
        }
    }
    return filled;
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
