// Times TSkin::Load of every shipped skin on every screen edge, with colourizing and lightness
// inversion on (the slowest preparation), and prints milliseconds per load.
//     build/bench/skin_load_bench data

#include <cstdio>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "skins/skin.h"
#include "skins/skin_fonts.h"
#include "skins/skin_list.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_load_bench PROGRAM-FOLDER\n");
        return 2;
    }
    const QString appDir = QString::fromLocal8Bit(argv[1]) + u'/';
    const QStringList skins = FindSkins(appDir);
    const int rounds = 20;
    for (const QString& name : skins) {
        for (TabEdge edge : {TabEdge::Bottom, TabEdge::Left, TabEdge::Top, TabEdge::Right}) {
            Settings settings;
            settings.TabPos = edge;
            settings.Colorize = true;
            settings.ColorizeHue = 200;
            settings.InvertLum = true;
            TSkin skin;
            QElapsedTimer timer;
            timer.start();
            for (int i = 0; i < rounds; ++i)
                skin.Load(name, settings, skins, appDir, true);
            const double ms = double(timer.nsecsElapsed()) / 1e6 / rounds;
            std::printf("%-8s edge %d  %7.3f ms per load\n", qPrintable(name), int(edge), ms);
        }
    }
    UnregisterSkinFonts();
    return 0;
}
