#include "platform/win32/kernel/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>

namespace win32 {

namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGHUP, SIGINT};

// What the handler touches: lock-free atomics and a write to a pipe, nothing else.
static_assert(std::atomic<bool>::is_always_lock_free);
std::atomic<bool> g_signalled{false};
std::atomic<bool> g_requestPending{false};
int g_pipe[2] = {-1, -1};

std::atomic<bool> g_caught{false};
std::thread::id g_catchingThread;

void OnTerminationSignal(int signal) {
    const int savedErrno = errno;
    if (g_signalled.exchange(true)) {
        // The second signal: the program ends as the signal ends a program that does not catch it.
        struct sigaction defaultAction {};
        defaultAction.sa_handler = SIG_DFL;
        sigemptyset(&defaultAction.sa_mask);
        ::sigaction(signal, &defaultAction, nullptr);
        ::raise(signal);
    } else {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
        // After the write: whoever sees the request finds the byte to take with it.
        g_requestPending.store(true);
    }
    errno = savedErrno;
}

} // namespace

bool CatchTerminationSignals() {
    static std::mutex once;
    const std::lock_guard guard(once);
    if (g_caught.load()) {
        return true;
    }
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    g_catchingThread = std::this_thread::get_id();
    g_caught.store(true);
    for (const int signal : kTerminationSignals) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = OnTerminationSignal;
        sigemptyset(&action.sa_mask);
        // Interrupted reads and writes of files go on; a wait that polls wakes, to take the request.
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
    return true;
}

bool TakesTerminationSignals() {
    return g_caught.load() && std::this_thread::get_id() == g_catchingThread;
}

int TerminationSignalDescriptor() {
    return g_caught.load() ? g_pipe[0] : -1;
}

bool TakeTerminationRequest() {
    if (!g_requestPending.exchange(false)) {
        return false;
    }
    char bytes[16];
    while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
    return true;
}

} // namespace win32
