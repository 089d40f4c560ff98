// Soak test of the tab set: rebuilds a set of 10 tabs (8 shortcuts each) 1000 times, as Refresh
// does, and prints the resident memory and the live heap (bytes allocated and not yet freed)
// along the way, and their growth per rebuild after the first hundred. The live heap tells a
// program that keeps more and more objects from an allocator that keeps freed memory (the
// sanitizer's quarantine, for one). Built with the sanitizers, LeakSanitizer checks at the end
// that nothing leaked.
//
//   rebuild_soak_bench PROGRAM_FOLDER [REBUILDS]
//
// PROGRAM_FOLDER is an assembled program folder (build/Kelvara): its skin Aqua and splash clip
// are used.
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KELVARA_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KELVARA_ASAN 1
#endif
#ifdef KELVARA_ASAN
// Exported by the sanitizer runtime; GCC ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include "common/program_folder.h"
#include "core/application.h"
#include "core/controller.h"
#include "formats/shortcut_link.h"
#include "platform/user_prompts.h"

namespace {

constexpr int kTabs = 10;
constexpr int kItems = 8;

// Nothing is asked during a rebuild of a set that has tabs; should it be, the answer is cancel.
class SilentPrompts : public UserPrompts {
public:
    void message(QWidget*, const QString&, const QString&) override {}
    bool question(QWidget*, const QString&, const QString&, bool) override { return false; }
    QString askText(QWidget*, const QString&, const QString&, const QString& defaultText) override {
        return defaultText;
    }
};

long ResidentKiB() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The sanitizer's allocator keeps its own count; glibc's is in mallinfo2.
long LiveHeapKiB() {
#ifdef KELVARA_ASAN
    return long(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return long(mallinfo2().uordblks / 1024);
#endif
}

bool MakeTabs(const QString& tabsDir) {
    for (int t = 0; t < kTabs; ++t) {
        const QString tab = tabsDir + QStringLiteral("/Tab %1").arg(t);
        if (!QDir().mkpath(tab))
            return false;
        for (int i = 0; i < kItems; ++i) {
            TShortcutLink link;
            link.ShortcutFile = tab + QStringLiteral("/Item %1.lnk").arg(i);
            link.Target = QStringLiteral("/usr/bin/program-%1").arg(i);
            link.Description = QStringLiteral("Launches Item %1.").arg(i);
            link.Write();
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER [REBUILDS]\n", argv[0]);
        return 2;
    }
    const int rebuilds = argc > 2 ? std::atoi(argv[2]) : 1000;
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes, also into a pipe
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareDisplayEnvironment(); // as the program does
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QTemporaryDir dir;
    const QDir program(QString::fromLocal8Bit(argv[1]));
    bool ready = MakeTabs(dir.filePath(QStringLiteral("Tabs")));
    for (const QString& name : {QStringLiteral("Aqua"), QStringLiteral("Loading.avi")})
        ready = ready && QFile::link(program.absoluteFilePath(name), dir.filePath(name));
    if (!ready) {
        std::fprintf(stderr, "cannot set up a program folder in %s\n", qPrintable(dir.path()));
        return 2;
    }

    SilentPrompts prompts;
    int windows = 0;
    {
        TfrmRunning controller(ProgramFolder(dir.filePath(QStringLiteral("Kelvara"))), {}, prompts);
        controller.Start();
        if (controller.TabWindows().size() != kTabs) {
            std::fprintf(stderr, "expected %d tab windows, got %lld\n", kTabs,
                         static_cast<long long>(controller.TabWindows().size()));
            return 1;
        }
        long residentAtHundred = 0;
        long heapAtHundred = 0;
        std::printf("%8s %14s %14s\n", "rebuilds", "resident KiB", "live heap KiB");
        for (int n = 1; n <= rebuilds; ++n) {
            controller.RebuildTabs();
            // Released windows go once control is back in the event loop.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            if (n == 100) {
                residentAtHundred = ResidentKiB();
                heapAtHundred = LiveHeapKiB();
            }
            if (n == 1 || n % 100 == 0)
                std::printf("%8d %14ld %14ld\n", n, ResidentKiB(), LiveHeapKiB());
        }
        windows = int(controller.TabWindows().size());
        if (rebuilds > 100) {
            const long resident = ResidentKiB() - residentAtHundred;
            const long heap = LiveHeapKiB() - heapAtHundred;
            std::printf(
                "growth from rebuild 100 to %d: resident %ld KiB (%.1f bytes a rebuild), live heap %ld KiB "
                "(%.1f bytes a rebuild)\n",
                rebuilds, resident, resident * 1024.0 / (rebuilds - 100), heap,
                heap * 1024.0 / (rebuilds - 100));
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::printf("%d tab windows at the end; top-level widgets left after the controller: %lld\n", windows,
                static_cast<long long>(QApplication::topLevelWidgets().size()));
    return windows == kTabs ? 0 : 1;
}
