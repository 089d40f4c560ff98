#include "common/background_priority.h"

#include <algorithm>
#include <cerrno>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void RunAtBackgroundPriority() {
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
    // On Linux a nice value belongs to a thread: this one alone is lowered. Failing to lower it
    // only leaves the thread as it was.
    const auto thread = id_t(::syscall(SYS_gettid));
    errno = 0;
    const int own = ::getpriority(PRIO_PROCESS, thread);
    if (errno == 0)
        (void)::setpriority(PRIO_PROCESS, thread, std::min(19, own + 10));
}
