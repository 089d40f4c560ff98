// CPU time of one animation tick of a tab window: the tick itself (extent, geometry, shape) and
// the repaint it causes, with the events it posts carried out as the event loop would. Opens and
// closes the first tab of a program folder many times and also counts how often the tab was
// drawn into its image by the ticks (an animation must only move and copy the image: 0).
// Run it under Xvfb (QT_QPA_PLATFORM=xcb) for a real window.
//     animation_bench FOLDER

#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>

#include "controller_support.h"
#include "core/application.h"
#include "tabwindow/tab_window.h"

namespace {

constexpr int kCycles = 20;

// Ticks the window's animation by hand until it ends; returns the CPU time of every tick.
std::vector<double> Animate(TfrmTab& window) {
    // The timers would tick on their own while events are processed; the bench ticks instead.
    window.tmrAnim().stop();
    window.tmrDrop().stop();
    std::vector<double> ticks;
    bool ended = false;
    while (!ended) {
        const qint32 before = window.TabModel().OpenExtent;
        ticks.push_back(bench::ThreadCpuMs([&] {
            window.tmrAnimTimer();
            QCoreApplication::processEvents();
        }));
        // The end is the tick that does not move (it stops the timer).
        ended = window.TabModel().OpenExtent == before;
        window.tmrAnim().stop();
        window.tmrDrop().stop();
    }
    return ticks;
}

} // namespace

int main(int argc, char** argv) {
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<TfrmRunning> running = bench::StartOnFolder("animation_bench", argc, argv);
    if (!running)
        return 1;
    TfrmRunning& controller = *running;
    TfrmTab& window = *controller.TabWindows().first();
    // Opening draws the items part when it is not drawn yet; the ticks themselves must not draw.
    int rendersDuringTicks = 0;
    std::vector<double> opening;
    std::vector<double> closing;
    for (int i = 0; i < kCycles; ++i) {
        window.SetOpen(true);
        int renders = window.RenderCount();
        const std::vector<double> open = Animate(window);
        rendersDuringTicks += window.RenderCount() - renders;
        opening.insert(opening.end(), open.begin(), open.end());
        window.SetOpen(false);
        renders = window.RenderCount();
        const std::vector<double> close = Animate(window);
        rendersDuringTicks += window.RenderCount() - renders;
        closing.insert(closing.end(), close.begin(), close.end());
    }
    std::vector<double> all = opening;
    all.insert(all.end(), closing.begin(), closing.end());
    std::printf("%d items, %d openings and closings, %zu ticks (%zu opening, %zu closing)\n",
                int(window.TabModel().Items.size()), kCycles, all.size(), opening.size(), closing.size());
    std::printf("  CPU time a tick with its repaint: median %.3f ms (opening %.3f, closing %.3f; max %.3f)\n",
                bench::Median(all), bench::Median(opening), bench::Median(closing),
                *std::max_element(all.begin(), all.end()));
    std::printf("  tab drawn into its image during the animation ticks: %d times\n", rendersDuringTicks);
    return 0;
}
