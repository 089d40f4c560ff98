// Times RebuildTabs (the "Refresh" command) on whole program folders, the time until every tab's
// shortcuts are read, and the longest time in which the event loop did not turn meanwhile (the
// user interface is frozen for that long); and checks that refreshing does not make the process
// grow: resident memory and the number of windows before and after 200 refreshes. Run it under
// Xvfb (QT_QPA_PLATFORM=xcb) for real windows, or on the offscreen platform. Each FOLDER is a
// program folder as scripts/bench/in_process.sh generates it; --refreshes N changes the 200.
//     refresh_bench [--refreshes N] FOLDER...

#include <algorithm>
#include <cstdio>
#include <ctime>
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
#include "tabwindow/tab_window.h"

namespace {

constexpr int kTimedRuns = 15;
constexpr int kWarmUpRefreshes = 20;

// What the event loop does after a handler returns: pending paints and X requests are carried out,
// and the released windows are destroyed, one per turn of the loop.
void ReturnToEventLoop(const TfrmRunning& controller) {
    auto tabWindows = [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::count_if(windows.cbegin(), windows.cend(),
                             [](QWidget* w) { return qobject_cast<TfrmTab*>(w) != nullptr; });
    };
    do {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    } while (tabWindows() > controller.TabWindows().size());
}

// The longest stretch in which the event loop did not turn: in wall time, and in the main
// thread's CPU time (on a loaded machine the wall time also holds the time the thread waited for
// a core).
struct Stall {
    double wallMs = 0;
    double cpuMs = 0;
};

qint64 ThreadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Runs body and measures its longest stall: a timer of interval 0 fires at every turn of the
// event loop, in the rebuild's own turns of the loop too.
template <typename F> Stall LongestStall(F&& body) {
    QElapsedTimer clock;
    qint64 lastWall = 0;
    qint64 lastCpu = ThreadCpuNs();
    Stall longest;
    auto turned = [&] {
        const qint64 wall = clock.nsecsElapsed();
        const qint64 cpu = ThreadCpuNs();
        longest.wallMs = std::max(longest.wallMs, (wall - lastWall) / 1e6);
        longest.cpuMs = std::max(longest.cpuMs, (cpu - lastCpu) / 1e6);
        lastWall = wall;
        lastCpu = cpu;
    };
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, turned);
    clock.start();
    turn.start();
    body();
    turned();
    return longest;
}

// Turns the event loop until every tab window has its shortcuts, which a rebuild leaves to worker
// threads.
void AwaitItems(const TfrmRunning& controller) {
    const QList<TfrmTab*>& windows = controller.TabWindows();
    while (!std::all_of(windows.cbegin(), windows.cend(), [](TfrmTab* w) { return w->ItemsReadFinished(); }))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the windows take them
}

void RunFolder(const QString& folder, int memoryRefreshes) {
    const ProgramFolder programFolder(QDir(folder).absoluteFilePath(QStringLiteral("Kelvara")));
    TfrmRunning controller(programFolder, {}, DefaultUserPrompts());
    controller.Start();
    ReturnToEventLoop(controller);
    const qsizetype tabs = controller.TabWindows().size();

    std::vector<double> rebuild;
    std::vector<double> read;
    std::vector<double> cleanup;
    std::vector<double> stallWall;
    std::vector<double> stallCpu;
    for (int i = 0; i < kTimedRuns; ++i) {
        const Stall stall = LongestStall([&] {
            QElapsedTimer clock;
            clock.start();
            controller.RebuildTabs();
            rebuild.push_back(clock.nsecsElapsed() / 1e6);
            AwaitItems(controller);
            read.push_back(clock.nsecsElapsed() / 1e6);
            cleanup.push_back(bench::WallMs([&] { ReturnToEventLoop(controller); }));
        });
        stallWall.push_back(stall.wallMs);
        stallCpu.push_back(stall.cpuMs);
    }

    for (int i = 0; i < kWarmUpRefreshes; ++i) {
        controller.RebuildTabs();
        ReturnToEventLoop(controller);
    }
    const long rssBefore = bench::StatusKiB("VmRSS");
    const qsizetype widgetsBefore = QApplication::allWidgets().size();
    for (int i = 0; i < memoryRefreshes; ++i) {
        controller.RebuildTabs();
        ReturnToEventLoop(controller);
    }
    const long rssAfter = bench::StatusKiB("VmRSS");
    const qsizetype widgetsAfter = QApplication::allWidgets().size();

    std::printf("%s: %lld tab windows\n", qPrintable(QDir(folder).dirName()), static_cast<long long>(tabs));
    std::printf("  RebuildTabs, until the tabs show and can be used: median %.1f ms (min %.1f, max %.1f)"
                " over %d runs; then destroying the released windows: %.1f ms\n",
                bench::Median(rebuild), *std::min_element(rebuild.begin(), rebuild.end()),
                *std::max_element(rebuild.begin(), rebuild.end()), kTimedRuns, bench::Median(cleanup));
    std::printf(
        "  until every tab's shortcuts are read (on worker threads): median %.1f ms (min %.1f, max %.1f)\n",
        bench::Median(read), *std::min_element(read.begin(), read.end()),
        *std::max_element(read.begin(), read.end()));
    std::printf(
        "  longest time without a turn of the event loop, from the rebuild to the old windows destroyed:"
        " median %.1f ms, max %.1f ms (main thread's CPU time: median %.1f ms, max %.1f ms)\n",
        bench::Median(stallWall), *std::max_element(stallWall.begin(), stallWall.end()),
        bench::Median(stallCpu), *std::max_element(stallCpu.begin(), stallCpu.end()));
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
