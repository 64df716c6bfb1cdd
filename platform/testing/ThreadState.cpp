#include "platform/testing/ThreadState.h"

#include <sys/syscall.h>

#include <fstream>
#include <string>
#include <thread>

namespace win32::testing {

namespace {

// The third field of the task's stat line; the second, the name in parentheses, may hold blanks.
char SchedulerState(const std::string& task) {
    std::ifstream in(task + "/stat");
    std::string line;
    std::getline(in, line);
    const std::size_t close = line.rfind(')');
    return close == std::string::npos || close + 2 >= line.size() ? '\0' : line[close + 2];
}

} // namespace

ThreadState HostThreadState(DWORD threadId) {
    const std::string task = "/proc/self/task/" + std::to_string(threadId);
    // The number of the call the thread is blocked in, "-1" outside any call, "running" on a processor.
    std::ifstream in(task + "/syscall");
    std::string call;
    if (!(in >> call)) {
        return ThreadState::Gone;
    }
    if (SchedulerState(task) != 'S') {
        return ThreadState::Other;
    }
    if (call == std::to_string(SYS_futex)) {
        return ThreadState::Waiting;
    }
    // SuspendThread parks a thread in sigsuspend.
    if (call == std::to_string(SYS_rt_sigsuspend)) {
        return ThreadState::Parked;
    }
    return ThreadState::Other;
}

bool WaitForThreadState(DWORD threadId, ThreadState state, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (HostThreadState(threadId) != state) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

} // namespace win32::testing
