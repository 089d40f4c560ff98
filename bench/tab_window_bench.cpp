// CPU time of one animation tick (move, resize, reshape and repaint of the window) and of
// RebuildImage (drawing the head of a closed tab, or a whole 40-item tab when open, and finding its
// shape), as medians of many runs. Runs on the offscreen platform unless a display is given; set
// QT_SCALE_FACTOR for another device pixel ratio.
//
//   tab_window_bench [bottom|left|top|right]

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include <QApplication>
#include <QPainter>

#include "core/application.h"
#include "skins/skin.h"
#include "tabs/tab.h"
#include "tabwindow/tab_window.h"

namespace {

double CpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

QImage Picture(int w, int h, QColor colour, bool rounded) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    if (rounded) {
        const QRgb key = PixelFromColour(KeyColour);
        for (int i = 0; i < 5; ++i)
            for (int j = 0; j < 5 - i; ++j) {
                image.setPixel(j, i, key);
                image.setPixel(w - 1 - j, i, key);
            }
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // That platform cannot shape windows and would say so at every tick.
        qputenv("QT_LOGGING_RULES", "default.warning=false");
    }
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    Settings settings;
    settings.Spacing = 12;
    settings.OpenAnim = settings.CloseAnim = AnimMode::Linear;
    const QString edge = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    settings.TabPos = edge == QLatin1String("left")    ? TabEdge::Left
                      : edge == QLatin1String("top")   ? TabEdge::Top
                      : edge == QLatin1String("right") ? TabEdge::Right
                                                       : TabEdge::Bottom;
    const bool side = settings.vertical();
    TSkin skin;
    skin.TabWidth = 128;
    skin.TabHeight = 16;
    skin.HeadHeight = 17;
    skin.ItemHeight = 40;
    auto oriented = [&](int w, int h, QColor c, bool rounded) {
        const QImage p = Picture(w, h, c, rounded);
        return side ? p.transformed(QTransform().rotate(90)) : p;
    };
    skin.TabBitmaps = {oriented(128, 17, QColor(70, 110, 190), true)};
    skin.ItemBitmaps = {oriented(128, 40, QColor(230, 230, 240), false)};
    skin.ItemHBitmaps = {oriented(128, 40, QColor(60, 90, 170), false)};
    skin.TitleFont = skin.TextFont = QStringLiteral("DejaVu Sans");
    skin.TitleFontSize = 8;
    skin.TextFontSize = 8;
    skin.UseIcon = skin.UseText = skin.UseTitle = true;
    skin.IconPos = {4, 4, 32, 32};
    skin.TextPos = {40, 4, 84, 32};
    skin.TitlePos = {0, 0, 128, 16};
    TabContext context;
    context.settings = &settings;
    context.skin = &skin;

    TfrmTab window(context);
    TTab& tab = window.TabModel();
    tab.TabName = QStringLiteral("Benchmark");
    tab.TabCount = 1;
    QImage icon(32, 32, QImage::Format_ARGB32_Premultiplied);
    icon.fill(QColor(150, 40, 40));
    for (int i = 0; i < 40; ++i) {
        TItem item;
        item.Index = i;
        item.Data.Name = QStringLiteral("Program number %1 with a caption").arg(i);
        item.Icon = icon;
        tab.Items.append(item);
    }
    tab.ItemsLength = 40 * skin.ItemHeight;
    PlaceTabs({&window}, context);
    window.show();
    QCoreApplication::processEvents();

    // A closed tab draws its head alone; an open one the whole tab.
    auto timeRebuilds = [&] {
        std::vector<double> rebuild;
        for (int run = 0; run < 60; ++run) {
            const double start = CpuMicroseconds();
            window.RebuildImage();
            rebuild.push_back(CpuMicroseconds() - start);
        }
        return rebuild;
    };
    const std::vector<double> closedRebuild = timeRebuilds();
    window.SetOpen(true);
    const std::vector<double> openRebuild = timeRebuilds();

    std::vector<double> ticks;
    int renders = 0;
    while (ticks.size() < 2000) {
        window.SetOpen(!window.Open());
        while (window.tmrAnim().isActive()) {
            const int before = window.RenderCount();
            const double start = CpuMicroseconds();
            window.tmrAnimTimer();
            QCoreApplication::processEvents(); // the repaint that the tick asked for
            ticks.push_back(CpuMicroseconds() - start);
            renders += window.RenderCount() - before;
        }
    }
    std::printf("platform %s, edge %s, 40 items, image %dx%d\n", qPrintable(QGuiApplication::platformName()),
                edge.isEmpty() ? "bottom" : argv[1], window.TabImage().width(), window.TabImage().height());
    std::printf(
        "RebuildImage, closed (the head): median %.0f us CPU; open (the whole tab): median %.0f us CPU;"
        " %zu runs each\n",
        Median(closedRebuild), Median(openRebuild), openRebuild.size());
    std::printf("animation tick (with its repaint): median %.0f us CPU over %zu ticks\n", Median(ticks),
                ticks.size());
    std::printf("tab drawings during the ticks: %d\n", renders);
    return 0;
}
