#include "core/startup_trace.h"

#include <ctime>

#include <QElapsedTimer>
#include <QEvent>
#include <QLoggingCategory>
#include <QWindow>

namespace {

Q_LOGGING_CATEGORY(lcStartup, "kelvara.startup", QtWarningMsg)

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

} // namespace

void StartupStep(const char* step) {
    if (!lcStartup().isDebugEnabled())
        return;
    // Started at the first mark, which main() makes first.
    static QElapsedTimer sinceMain;
    if (!sinceMain.isValid())
        sinceMain.start();
    qCDebug(lcStartup, "%s cpu=%.2f wall=%.2f", step, ThreadCpuMs(), double(sinceMain.nsecsElapsed()) / 1e6);
}

void StartupStepOnExpose(QWindow* window, const char* step) {
    if (!lcStartup().isDebugEnabled() || window == nullptr)
        return;
    struct ExposeMark : QObject {
        const char* step;
        explicit ExposeMark(QWindow* window, const char* s) : QObject(window), step(s) {
            window->installEventFilter(this);
        }
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Expose) {
                StartupStep(step);
                deleteLater();
            }
            return false;
        }
    };
    new ExposeMark(window, step);
}
