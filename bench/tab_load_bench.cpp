// Measures how long reading a tab takes: the ordered listing of its folder, parsing shortcut
// files, and a whole LoadItems, for a tab of 200 shortcuts with an order file.
#include <chrono>
#include <cstdio>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "formats/lnk_format.h"
#include "formats/shortcut_link.h"
#include "tabs/order_file.h"
#include "tabs/tab.h"

namespace {

template <typename F> double MicrosecondsPerRun(int runs, F&& body) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        body();
    const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / runs;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    constexpr int kItems = 200;
    QTemporaryDir dir;
    QByteArray order;
    for (int i = 0; i < kItems; ++i) {
        TShortcutLink link;
        const QString name = QStringLiteral("Item %1.lnk").arg(i);
        link.ShortcutFile = dir.filePath(name);
        link.Target = QStringLiteral("/usr/bin/program-%1").arg(i);
        link.Arguments = QStringLiteral("--option value");
        link.Description = QStringLiteral("Launches Item %1.").arg(i);
        link.Write();
        order += name.toUpper().toUtf8() + "\r\n";
    }
    QFile orderFile(dir.filePath(QStringLiteral("order.lst")));
    orderFile.open(QIODevice::WriteOnly);
    orderFile.write(order);
    orderFile.close();

    QFile sample(dir.filePath(QStringLiteral("Item 0.lnk")));
    sample.open(QIODevice::ReadOnly);
    const QByteArray bytes = sample.readAll();

    const double parse = MicrosecondsPerRun(20000, [&] { ParseLnk(bytes); });
    const double listing =
        MicrosecondsPerRun(50, [&] { OrderedListing(dir.path(), QStringLiteral("*.lnk"), true, false); });
    TTab tab;
    tab.TabFolder = dir.path();
    const double load = MicrosecondsPerRun(20, [&] { tab.LoadItems(); });

    std::printf("ParseLnk, one %lld-byte shortcut: %.2f us\n", static_cast<long long>(bytes.size()), parse);
    std::printf("OrderedListing, %d shortcuts with an order file: %.0f us\n", kItems, listing);
    std::printf("LoadItems, %d shortcuts without icons: %.0f us (%.1f us an item)\n", kItems, load,
                load / kItems);
    return 0;
}
