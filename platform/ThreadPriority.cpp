#include "ThreadPriority.h"

#include <cstdlib>
#include <dirent.h>
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

bool LowerCurrentThreadPriority() {
    // The nice value is the thread's own on Linux, set through its thread id; it is what the
    // scheduler uses where the idle class is not available.
    const auto tid = static_cast<id_t>(syscall(SYS_gettid));
    const bool niced = setpriority(PRIO_PROCESS, tid, 19) == 0;
    sched_param param{};
    param.sched_priority = 0;
    const bool idle = pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) == 0;
    return niced || idle;
}

void RaiseIdleThreadsOfProcess() {
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr) {
        return;
    }
    while (const dirent* entry = readdir(tasks)) {
        const auto tid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (tid > 0 && sched_getscheduler(tid) == SCHED_IDLE) {
            sched_param param{};
            param.sched_priority = 0;
            sched_setscheduler(tid, SCHED_OTHER, &param);
        }
    }
    closedir(tasks);
}
