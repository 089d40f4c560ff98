// Writes the tab set of a benchmark program folder: TABS tab folders under FOLDER/Tabs with ITEMS
// shortcut files each, real order files that list the items in an order of their own (not the
// file system's), and eight small icon pictures under FOLDER/Icons that the shortcuts take their
// icons from, so that a start decodes and draws icons as it does for real tabs.
//     make_bench_folder FOLDER TABS ITEMS
// The rest of the program folder (executable, skins, splash clip) is copied by the caller.

#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "common/error.h"
#include "common/names.h"
#include "formats/order_list_format.h"
#include "formats/shortcut_link.h"
#include "tabs/order_file.h"

namespace {

constexpr int kIcons = 8;

void WriteIcons(const QString& folder) {
    QDir().mkpath(folder);
    for (int i = 0; i < kIcons; ++i) {
        QImage icon(48, 48, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor::fromHsv(i * 360 / kIcons, 200, 220));
        painter.drawEllipse(4, 4, 40, 40);
        painter.end();
        icon.save(QStringLiteral("%1/icon%2.png").arg(folder).arg(i));
    }
}

void WriteTab(const QString& tabsDir, int tab, int items, const QString& iconDir) {
    const QString name = EscapeName(QStringLiteral("Tab %1: tools").arg(tab + 1, 2, 10, QLatin1Char('0')));
    const QString folder = tabsDir + u'/' + name;
    QDir().mkpath(folder);
    QStringList order;
    for (int i = 0; i < items; ++i) {
        const QString itemName = QStringLiteral("Program %1.lnk").arg(i + 1, 2, 10, QLatin1Char('0'));
        TShortcutLink link;
        link.ShortcutFile = folder + u'/' + itemName;
        link.Target = QStringLiteral("/usr/bin/program-%1-%2").arg(tab + 1).arg(i + 1);
        link.Arguments = QStringLiteral("--window %1").arg(i);
        link.WorkingDir = QDir::homePath();
        link.Description = QStringLiteral("Launches Program %1.").arg(i + 1);
        link.IconLocation = QStringLiteral("%1/icon%2.png").arg(iconDir).arg((tab + i) % kIcons);
        link.Write();
        // Newest first: the stored order is the reverse of the names' order.
        order.prepend(itemName);
    }
    // Written once, as moving each new item to the front would leave it: sets of many items are
    // made in seconds rather than minutes.
    QFile orderFile(folder + QStringLiteral("/order.lst"));
    if (!orderFile.open(QIODevice::WriteOnly) || orderFile.write(SerializeOrderLines(order)) < 0)
        throw Error(QStringLiteral("Unable to write ") + orderFile.fileName());
    orderFile.close();
    SetOrderPosition(tabsDir, name, tab);
}

} // namespace

int main(int argc, char** argv) {
    // Icons are drawn into images only: no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_bench_folder FOLDER TABS ITEMS\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int tabs = std::atoi(argv[2]);
    const int items = std::atoi(argv[3]);
    if (tabs < 1 || items < 0) {
        std::fprintf(stderr, "make_bench_folder: TABS must be at least 1 and ITEMS at least 0\n");
        return 2;
    }
    try {
        const QString iconDir = folder + QStringLiteral("/Icons");
        WriteIcons(iconDir);
        for (int tab = 0; tab < tabs; ++tab)
            WriteTab(folder + QStringLiteral("/Tabs"), tab, items, iconDir);
    } catch (const Error& e) {
        std::fprintf(stderr, "make_bench_folder: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
