// Times TSkin::Load of every shipped skin, and of a synthetic skin whose pictures are 1024 x 1024
// pixels, on every screen edge, with colourizing and lightness inversion on (the slowest
// preparation), and prints the median milliseconds of a load.
//     build/bench/skin_load_bench data

#include <cstdio>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include "bench_support.h"
#include "skins/skin.h"
#include "skins/skin_fonts.h"
#include "skins/skin_list.h"

namespace {

constexpr int kRounds = 15;
const QString kLargeSkin = QStringLiteral("Large1024");

void CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files))
        QFile::copy(entry.filePath(), to + u'/' + entry.fileName());
}

// The default skin with every picture enlarged to 1024 x 1024: the loader prepares pictures
// pixel by pixel, so this shows how its time grows with a skin drawn at high resolution.
void WriteLargeSkin(const QString& from, const QString& to) {
    CopyFolder(from, to);
    for (const QFileInfo& entry : QDir(to).entryInfoList({QStringLiteral("*.bmp")}, QDir::Files)) {
        const QImage picture(entry.filePath());
        picture.scaled(1024, 1024).save(entry.filePath(), "BMP");
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skin_load_bench PROGRAM-FOLDER\n");
        return 2;
    }
    const QString shipped = QString::fromLocal8Bit(argv[1]) + u'/';
    QTemporaryDir temp;
    const QString appDir = temp.path() + u'/';
    for (const QString& name : FindSkins({shipped}))
        CopyFolder(shipped + name, appDir + name);
    WriteLargeSkin(shipped + QStringLiteral("Aqua"), appDir + kLargeSkin);

    bench::PrintMachine();
    std::printf("skin      edge   median ms a load (Colorize and InvertLum on, %d loads)\n", kRounds);
    const QStringList skins = FindSkins({appDir});
    for (const QString& name : skins) {
        std::vector<double> perSkin;
        for (TabEdge edge : {TabEdge::Bottom, TabEdge::Left, TabEdge::Top, TabEdge::Right}) {
            Settings settings;
            settings.TabPos = edge;
            settings.Colorize = true;
            settings.ColorizeHue = 200;
            settings.InvertLum = true;
            TSkin skin;
            std::vector<double> times;
            for (int i = 0; i < kRounds; ++i)
                times.push_back(bench::WallMs([&] { skin.Load(name, settings, skins, {appDir}, true); }));
            const double median = bench::Median(times);
            perSkin.push_back(median);
            std::printf("%-9s %4d   %8.3f\n", qPrintable(name), int(edge), median);
        }
        std::printf("%-9s all    %8.3f\n", qPrintable(name), bench::Median(perSkin));
    }
    UnregisterSkinFonts();
    return 0;
}
