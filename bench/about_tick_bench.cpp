// Cost of one tick of the About page's flowing background (it runs every 10 ms while the page
// shows), and of the skins preview drawn for each selection in the skins list.
//
//   QT_QPA_PLATFORM=offscreen about_tick_bench [PROGRAM_DIR]
// PROGRAM_DIR holds the skin Aqua; without it only the tick is measured.

#include <cstdio>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>

#include "config/about_background.h"
#include "config/skin_preview.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);

    AboutBackground background;
    background.rebuild(QSize(393, 285));
    constexpr int ticks = 20000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < ticks; ++i)
        background.tick();
    std::printf("about tick (393 x 285)     %8.2f us per tick\n", double(clock.nsecsElapsed()) / 1e3 / ticks);

    if (argc > 1) {
        const QString appDir = QString::fromLocal8Bit(argv[1]) + u'/';
        SkinPreview preview;
        constexpr int rounds = 200;
        QImage box(253, 129, QImage::Format_RGB32);
        clock.restart();
        for (int i = 0; i < rounds; ++i) {
            preview.load(QStringLiteral("Aqua"), {QStringLiteral("Aqua")}, {appDir}, true);
            QPainter painter(&box);
            preview.paint(painter, box.size(), QColor(240, 240, 240));
        }
        std::printf("skin preview load + paint  %8.2f ms per selection\n",
                    double(clock.nsecsElapsed()) / 1e6 / rounds);
    }
    return 0;
}
