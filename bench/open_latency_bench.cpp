// The time from the pointer entering a closed tab to the first frame of its opening on screen.
// The pointer is moved through the X server's test extension, as a mouse moves it: onto the tab,
// then on by a pixel every 2 ms. The figure includes the delivery of the motion to the program;
// the frame counts as on screen once the window has painted it with an extent beyond the closed
// one and an X round trip has followed (the server has drawn it then). Every tab that stands on
// the screen is opened twice: first while its items part is not drawn, then again at once after it
// has closed. Run it under Xvfb (QT_QPA_PLATFORM=xcb).
//     open_latency_bench FOLDER

#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>

#include "controller_support.h"
#include "core/application.h"
#include "skins/skin.h"
#include "tabwindow/tab_window.h"

// Last: Xlib defines macros that clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

// Notes the first paint of the window after an extent beyond the closed one.
class FrameWatch : public QObject {
public:
    FrameWatch(TfrmTab& window, qint32 closedExtent) : m_window(window), m_closed(closedExtent) {
        window.installEventFilter(this);
    }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_window.TabModel().OpenExtent > m_closed)
            painted = true;
        return false;
    }

private:
    TfrmTab& m_window;
    qint32 m_closed;
};

// Turns the event loop until done() holds or the time runs out.
template <typename Done> bool Await(Done&& done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct Pointer {
    Display* display;
    void moveTo(QPoint logical, qreal ratio) const {
        XTestFakeMotionEvent(display, -1, int(logical.x() * ratio), int(logical.y() * ratio), CurrentTime);
        XFlush(display);
    }
};

// Milliseconds from moving the pointer onto the closed tab to its first frame on screen; -1 when
// the tab did not open.
double OpenLatency(TfrmTab& window, const Pointer& pointer, qint32 closedExtent, qreal ratio) {
    FrameWatch watch(window, closedExtent);
    QElapsedTimer clock;
    clock.start();
    // Onto the tab, then on by a pixel every 2 ms, as a mouse reports a pointer gliding over it:
    // the arrival comes as an enter, and a program that waits for a movement within the window
    // gets the next one soon.
    QPoint at = window.geometry().center();
    pointer.moveTo(at, ratio);
    QElapsedTimer step;
    step.start();
    while (!watch.painted) {
        if (clock.elapsed() > 5000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (step.elapsed() >= 2 && at.x() < window.geometry().right()) {
            at += QPoint(1, 0);
            pointer.moveTo(at, ratio);
            step.restart();
        }
    }
    XSync(pointer.display, False);
    return clock.nsecsElapsed() / 1e6;
}

void Report(const char* what, std::vector<double> values) {
    if (values.empty()) {
        std::printf("  %s: no tab opened\n", what);
        return;
    }
    std::printf("  %s: median %.1f ms, max %.1f ms over %zu tabs\n", what, bench::Median(values),
                *std::max_element(values.begin(), values.end()), values.size());
}

} // namespace

int main(int argc, char** argv) {
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<TfrmRunning> running = bench::StartOnFolder("open_latency_bench", argc, argv);
    if (!running)
        return 1;
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) {
        std::fprintf(stderr, "open_latency_bench: needs the xcb platform (an X display)\n");
        return 1;
    }
    const Pointer pointer{x11->display()};
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    const QPoint away = screen->geometry().center();
    pointer.moveTo(away, ratio);
    // Let the start-up settle: windows mapped, shortcuts read.
    const QList<TfrmTab*> windows = running->TabWindows();
    QElapsedTimer settle;
    settle.start();
    Await([&] { return settle.elapsed() > 1000; }, 2000);

    const qint32 closed = running->TabWindows().first()->TabModel().OpenExtent;
    std::vector<double> first;
    std::vector<double> again;
    for (TfrmTab* window : windows) {
        if (!screen->geometry().contains(window->geometry()))
            continue; // beyond the screen's end: the pointer cannot reach it
        for (std::vector<double>* figures : {&first, &again}) {
            const double ms = OpenLatency(*window, pointer, closed, ratio);
            pointer.moveTo(away, ratio);
            if (ms < 0 || !Await([&] { return !window->Open(); })) {
                std::fprintf(stderr, "open_latency_bench: a tab did not open and close\n");
                return 1;
            }
            figures->push_back(ms);
        }
    }
    std::printf("%s, device pixel ratio %g: pointer entering a closed tab to its first frame on screen\n",
                qPrintable(QDir(QString::fromLocal8Bit(argv[1])).dirName()), ratio);
    Report("first opening", first);
    Report("opening again right after closing", again);
    return 0;
}
