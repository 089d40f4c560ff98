// Times RebuildTabs (the "Refresh" command) on whole program folders, the longest time in which
// the event loop did not turn meanwhile (the user interface is frozen for that long), and checks
// that refreshing does not make the process grow: resident memory and the number of windows
// before and after 200 refreshes. Run it under Xvfb (QT_QPA_PLATFORM=xcb) for real windows, or on the
// offscreen platform. Each FOLDER is a program folder as scripts/bench/in_process.sh generates it;
// --refreshes N changes the 200.
//     refresh_bench [--refreshes N] FOLDER...

#include <cstdio>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>

#include "bench_support.h"
#include "common/program_folder.h"
#include "core/application.h"
#include "core/controller.h"
#include "platform/user_prompts.h"

namespace {

constexpr int kTimedRuns = 15;
constexpr int kWarmUpRefreshes = 20;

// What the event loop does after a handler returns: released windows are destroyed, pending
// paints and X requests are carried out.
void ReturnToEventLoop() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Runs body and returns the longest stretch in milliseconds in which the event loop did not turn:
// a timer of interval 0 fires at every turn, in the rebuild's own turns of the loop too.
template <typename F> double LongestStallMs(F&& body) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    clock.start();
    turn.start();
    body();
    longest = std::max(longest, clock.nsecsElapsed() - last);
    return longest / 1e6;
}

void RunFolder(const QString& folder, int memoryRefreshes) {
    const ProgramFolder programFolder(QDir(folder).absoluteFilePath(QStringLiteral("Kelvara")));
    TfrmRunning controller(programFolder, {}, DefaultUserPrompts());
    controller.Start();
    ReturnToEventLoop();
    const qsizetype tabs = controller.TabWindows().size();

    std::vector<double> rebuild;
    std::vector<double> cleanup;
    std::vector<double> stall;
    for (int i = 0; i < kTimedRuns; ++i) {
        stall.push_back(LongestStallMs([&] {
            rebuild.push_back(bench::WallMs([&] { controller.RebuildTabs(); }));
            cleanup.push_back(bench::WallMs(ReturnToEventLoop));
        }));
    }

    for (int i = 0; i < kWarmUpRefreshes; ++i) {
        controller.RebuildTabs();
        ReturnToEventLoop();
    }
    const long rssBefore = bench::StatusKiB("VmRSS");
    const qsizetype widgetsBefore = QApplication::allWidgets().size();
    for (int i = 0; i < memoryRefreshes; ++i) {
        controller.RebuildTabs();
        ReturnToEventLoop();
    }
    const long rssAfter = bench::StatusKiB("VmRSS");
    const qsizetype widgetsAfter = QApplication::allWidgets().size();

    std::printf("%s: %lld tab windows\n", qPrintable(QDir(folder).dirName()), static_cast<long long>(tabs));
    std::printf("  RebuildTabs: median %.1f ms (min %.1f, max %.1f) over %d runs;"
                " then destroying the released windows: %.1f ms\n",
                bench::Median(rebuild), *std::min_element(rebuild.begin(), rebuild.end()),
                *std::max_element(rebuild.begin(), rebuild.end()), kTimedRuns, bench::Median(cleanup));
    std::printf(
        "  longest time without a turn of the event loop, rebuild and destroying together: median %.1f ms,"
        " max %.1f ms\n",
        bench::Median(stall), *std::max_element(stall.begin(), stall.end()));
    std::printf("  resident memory after %d refreshes %.1f MiB, after %d more %.1f MiB (%+ld KiB);"
                " widgets %lld -> %lld\n",
                kWarmUpRefreshes, rssBefore / 1024.0, memoryRefreshes, rssAfter / 1024.0,
                rssAfter - rssBefore, static_cast<long long>(widgetsBefore),
                static_cast<long long>(widgetsAfter));
}

} // namespace

int main(int argc, char** argv) {
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList folders = QCoreApplication::arguments().mid(1);
    int refreshes = 200;
    if (folders.size() >= 2 && folders.first() == QLatin1String("--refreshes")) {
        refreshes = folders.at(1).toInt();
        folders = folders.mid(2);
    }
    if (folders.isEmpty() || refreshes < 1) {
        std::fprintf(stderr, "usage: refresh_bench [--refreshes N] FOLDER...\n");
        return 2;
    }
    bench::PrintMachine();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    for (const QString& folder : folders)
        RunFolder(folder, refreshes);
    return 0;
}
