// Measures ColorizeBitmap and InvertLightness in million pixels per second on a 2048 x 2048
// picture, once with skin-like content (gradients of a few hundred colours, key-colour corners)
// and once with random colours. Prints the median of several runs and the machine's CPU.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include <QFile>
#include <QImage>
#include <QSet>

#include "common/colour.h"
#include "common/hsl.h"

namespace {

constexpr int Side = 2048;
constexpr int Runs = 7;

// Tiles of a tab-item picture: a vertical gradient, darker borders, a highlight line and corners
// in the key colour, as skin bitmaps look.
QImage SkinLikePicture() {
    QImage image(Side, Side, QImage::Format_RGB32);
    constexpr int TileWidth = 128;
    constexpr int TileHeight = 40;
    for (int y = 0; y < Side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Side; ++x) {
            const int tx = x % TileWidth;
            const int ty = y % TileHeight;
            const bool corner = (tx < 3 || tx >= TileWidth - 3) && (ty < 3 || ty >= TileHeight - 3);
            if (corner) {
                row[x] = PixelFromColour(KeyColour);
                continue;
            }
            int shade = 90 + ty * 3;
            if (tx < 2 || tx >= TileWidth - 2)
                shade -= 60;
            if (ty == 1)
                shade = 250;
            row[x] = qRgb(shade / 3, shade * 2 / 3, shade);
        }
    }
    return image;
}

QImage RandomPicture() {
    QImage image(Side, Side, QImage::Format_RGB32);
    std::mt19937 random(42);
    for (int y = 0; y < Side; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < Side; ++x)
            row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    return image;
}

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            colours.insert(row[x] & 0xFFFFFFu);
    }
    return int(colours.size());
}

double MedianMegapixelsPerSecond(const QImage& source, const std::function<void(QImage&)>& operation) {
    std::vector<double> rates;
    for (int run = 0; run < Runs; ++run) {
        QImage picture = source.copy();
        const auto start = std::chrono::steady_clock::now();
        operation(picture);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        rates.push_back(double(Side) * Side / seconds.count() / 1e6);
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

QString CpuModel() {
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown CPU");
}

} // namespace

int main() {
    std::printf("Machine: %s, %u hardware threads (one used)\n", qPrintable(CpuModel()),
                std::thread::hardware_concurrency());
    std::printf("Picture: %d x %d, median of %d runs\n\n", Side, Side, Runs);

    const struct {
        const char* name;
        QImage picture;
    } contents[] = {{"skin-like", SkinLikePicture()}, {"random", RandomPicture()}};
    const struct {
        const char* name;
        std::function<void(QImage&)> run;
    } operations[] = {
        {"ColorizeBitmap", [](QImage& p) { ColorizeBitmap(p, 200, KeyColour); }},
        {"InvertLightness", [](QImage& p) { InvertLightness(p, KeyColour); }},
    };

    std::printf("%-16s %-10s %10s %12s\n", "operation", "content", "colours", "Mpixel/s");
    for (const auto& content : contents) {
        const int colours = DistinctColours(content.picture);
        for (const auto& operation : operations) {
            std::printf("%-16s %-10s %10d %12.1f\n", operation.name, content.name, colours,
                        MedianMegapixelsPerSecond(content.picture, operation.run));
        }
    }
    return 0;
}
