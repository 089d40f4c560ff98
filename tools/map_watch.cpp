// Starts a program and watches the X server from outside it: prints the wall time from the start
// to the moment the program has a given number of top-level windows mapped, the processor time its
// main thread had by then, its resident memory,
// and how often its threads woke up while it sat idle afterwards. Used by the start-up benchmark.
//     map_watch [--windows N] [--skip-first K] [--skip-role ROLE] [--settle MS] [--idle S]
//               [--timeout S] -- COMMAND...
// --skip-first K leaves out the first K windows the program maps (a splash shown before the
// windows that count); --skip-role ROLE leaves out every window whose WM_WINDOW_ROLE is ROLE (a
// splash that may come at any time, or not at all). The program's stdout is discarded. One line of key=value
// pairs goes to stdout; times are in milliseconds, memory in KiB. Exits 1 when the windows did not appear in
// time.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int windows = 1;
    int skipFirst = 0;
    std::string skipRole;
    int settleMs = 500;
    double idleSeconds = 0;
    double timeoutSeconds = 20;
    std::vector<char*> command;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            options.command.assign(argv + i + 1, argv + argc);
            options.command.push_back(nullptr);
            return options.command.size() > 1;
        }
        if (i + 1 >= argc)
            return false;
        const char* value = argv[++i];
        if (arg == "--windows")
            options.windows = std::atoi(value);
        else if (arg == "--skip-first")
            options.skipFirst = std::atoi(value);
        else if (arg == "--skip-role")
            options.skipRole = value;
        else if (arg == "--settle")
            options.settleMs = std::atoi(value);
        else if (arg == "--idle")
            options.idleSeconds = std::atof(value);
        else if (arg == "--timeout")
            options.timeoutSeconds = std::atof(value);
        else
            return false;
    }
    return false;
}

// The _NET_WM_PID of a window, or 0 when it has none (or is gone already).
long WindowPid(Display* display, Window window, Atom pidAtom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = *reinterpret_cast<long*>(data);
        XFree(data);
    }
    return pid;
}

// A field of /proc/PID/status (or of a task's status) in its own unit; -1 when missing.
long StatusField(const std::string& statusFile, const std::string& field) {
    std::ifstream in(statusFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::atol(line.c_str() + field.size() + 1);
    }
    return -1;
}

// Processor time the process's main thread has had so far, in milliseconds (from the scheduler's
// own account, in nanoseconds); -1 when it cannot be read. Taken when the windows are mapped, it
// is the part of the start that a busy machine does not inflate.
double MainThreadCpuMs(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/schedstat");
    long long ns = -1;
    in >> ns;
    return in ? double(ns) / 1e6 : -1;
}

// The WM_WINDOW_ROLE of a window; empty when it has none.
std::string WindowRole(Display* display, Window window, Atom roleAtom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string role;
    if (XGetWindowProperty(display, window, roleAtom, 0, 256, False, XA_STRING, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        if (type == XA_STRING && format == 8)
            role.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    return role;
}

struct Switches {
    long all = 0;  // every thread of the process
    long main = 0; // the thread that runs the event loop
};

// Context switches a thread made on its own (it went to sleep: a wake-up follows each one).
Switches VoluntarySwitches(pid_t pid) {
    Switches result;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(taskDir.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            const long n = StatusField(taskDir + "/" + entry->d_name + "/status", "voluntary_ctxt_switches");
            if (n > 0)
                result.all += n;
            if (std::atol(entry->d_name) == pid)
                result.main = n;
        }
        closedir(dir);
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(
            stderr,
            "usage: map_watch [--windows N] [--skip-first K] [--skip-role ROLE] [--settle MS] [--idle S] "
            "[--timeout S] -- COMMAND...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "map_watch: cannot open the X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    const Atom roleAtom = XInternAtom(display, "WM_WINDOW_ROLE", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        // The program's own output must not mix with the figures on stdout.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(options.command[0], options.command.data());
        std::perror("map_watch: exec");
        _exit(127);
    }

    std::set<Window> seen;    // windows of the program mapped so far
    std::set<Window> skipped; // the first skipFirst of them and those of skipRole: they never count
    std::set<Window> mapped;  // counted windows mapped now
    double mappedMs = -1;
    double mappedCpuMs = -1;
    const int fd = ConnectionNumber(display);
    while (mappedMs < 0) {
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        if (elapsed > options.timeoutSeconds)
            break;
        if (XPending(display) == 0) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 50);
            if (XPending(display) == 0)
                continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root) {
            const Window window = event.xmap.window;
            if (WindowPid(display, window, pidAtom) != child)
                continue;
            if (seen.insert(window).second &&
                (int(seen.size()) <= options.skipFirst ||
                 (!options.skipRole.empty() && WindowRole(display, window, roleAtom) == options.skipRole)))
                skipped.insert(window);
            if (skipped.count(window) != 0)
                continue;
            mapped.insert(window);
            if (int(mapped.size()) >= options.windows) {
                mappedMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                mappedCpuMs = MainThreadCpuMs(child);
            }
        } else if (event.type == UnmapNotify && event.xunmap.event == root) {
            mapped.erase(event.xunmap.window);
        }
    }

    int status = 0;
    if (mappedMs >= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
        const std::string statusFile = "/proc/" + std::to_string(child) + "/status";
        double wakeups = -1;
        double mainWakeups = -1;
        if (options.idleSeconds > 0) {
            const Switches before = VoluntarySwitches(child);
            std::this_thread::sleep_for(std::chrono::duration<double>(options.idleSeconds));
            const Switches after = VoluntarySwitches(child);
            wakeups = double(after.all - before.all) / options.idleSeconds;
            mainWakeups = double(after.main - before.main) / options.idleSeconds;
        }
        std::printf("mapped_ms=%.1f main_cpu_ms=%.1f hwm_kb=%ld rss_kb=%ld", mappedMs, mappedCpuMs,
                    StatusField(statusFile, "VmHWM"), StatusField(statusFile, "VmRSS"));
        if (options.idleSeconds > 0)
            std::printf(" wakeups_per_s=%.2f main_wakeups_per_s=%.2f", wakeups, mainWakeups);
        std::printf("\n");
    } else {
        std::fprintf(stderr, "map_watch: %d window(s) not mapped within %.0f s\n", options.windows,
                     options.timeoutSeconds);
        status = 1;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return status;
}
