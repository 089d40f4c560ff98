#pragma once

// Helpers shared by the benchmark commands: medians, CPU time, resident memory and a line that
// names the machine and its load, so that every printed figure says where it was measured.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Milliseconds of wall time that body takes.
template <typename F> double WallMs(F&& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Milliseconds of CPU time the calling thread spends in body.
template <typename F> double ThreadCpuMs(F&& body) {
    timespec a{};
    timespec b{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
    body();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
    return double(b.tv_sec - a.tv_sec) * 1e3 + double(b.tv_nsec - a.tv_nsec) / 1e6;
}

// A field of /proc/self/status in KiB (VmRSS, VmHWM); -1 when the system does not give it.
inline long StatusKiB(const std::string& field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

inline std::string FirstLine(const char* file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// "machine: <CPU model>, <n> cores; load average: <1 5 15 min>".
inline void PrintMachine() {
    std::ifstream cpu("/proc/cpuinfo");
    std::string line;
    std::string model = "unknown CPU";
    while (std::getline(cpu, line)) {
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    }
    const std::string load = FirstLine("/proc/loadavg");
    std::printf("machine: %s, %u cores; load average (1, 5, 15 min): %s\n", model.c_str(),
                std::thread::hardware_concurrency(),
                load.substr(0, load.find(' ', load.find(' ', load.find(' ') + 1) + 1)).c_str());
}

} // namespace bench
