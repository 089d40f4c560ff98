#include "common/background_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

namespace {

int OwnNice() {
    return ::getpriority(PRIO_PROCESS, id_t(::syscall(SYS_gettid)));
}

// Only the worker that asks is lowered, and only once: the thread that makes the windows (and
// every other thread) keeps its priority.
TEST(BackgroundPriority, LowersTheCallingThreadAloneAndOnce) {
    const int before = OwnNice();
    int worker = 0;
    int again = 0;
    std::thread thread([&] {
        RunAtBackgroundPriority();
        worker = OwnNice();
        RunAtBackgroundPriority();
        again = OwnNice();
    });
    thread.join();
    EXPECT_EQ(worker, std::min(19, before + 10));
    EXPECT_EQ(again, worker);
    EXPECT_EQ(OwnNice(), before);
}

} // namespace
