#include "platform/win32/kernel/WaitableObject.h"

#include "platform/win32/KernelRegion.h"
#include "platform/win32/kernel/Synchronization.h"

#include <time.h>

#include <cstdint>

namespace win32::detail {

namespace {

constexpr long kNanosecondsPerSecond = 1000000000;
constexpr long kPollNanoseconds = 2000000;

timespec MonotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

timespec AddNanoseconds(timespec t, std::int64_t nanoseconds) {
    t.tv_sec += static_cast<time_t>(nanoseconds / kNanosecondsPerSecond);
    t.tv_nsec += static_cast<long>(nanoseconds % kNanosecondsPerSecond);
    if (t.tv_nsec >= kNanosecondsPerSecond) {
        t.tv_sec += 1;
        t.tv_nsec -= kNanosecondsPerSecond;
    }
    return t;
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

} // namespace

WaitableObject::WaitableObject() {
    pthread_mutex_init(&m_lock, nullptr);
    pthread_condattr_t attributes;
    pthread_condattr_init(&attributes);
    pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
    pthread_cond_init(&m_changed, &attributes);
    pthread_condattr_destroy(&attributes);
}

WaitableObject::~WaitableObject() {
    pthread_cond_destroy(&m_changed);
    pthread_mutex_destroy(&m_lock);
}

WaitableObject::StateLock::StateLock(WaitableObject& object) : m_object(object) {
    pthread_mutex_lock(&m_object.m_lock);
}

WaitableObject::StateLock::~StateLock() {
    pthread_mutex_unlock(&m_object.m_lock);
}

void WaitableObject::AnnounceChangeLocked() {
    pthread_cond_broadcast(&m_changed);
}

void WaitableObject::WakeAll() {
    RunInKernelRegion([&] {
        StateLock lock(*this);
        AnnounceChangeLocked();
    });
}

DWORD WaitableObject::Wait(DWORD milliseconds) {
    return RunInKernelRegion([&] {
        BeginTerminableWait(this);
        DWORD result;
        {
            StateLock lock(*this);
            result = WaitLocked(milliseconds);
        }
        EndTerminableWait();
        return result;
    });
}

DWORD WaitableObject::WaitLocked(DWORD milliseconds) {
    const bool forever = milliseconds == INFINITE;
    const timespec deadline =
        AddNanoseconds(MonotonicNow(), static_cast<std::int64_t>(forever ? 0 : milliseconds) * 1000000);
    for (;;) {
        const Acquisition attempt = TryAcquireLocked();
        if (attempt == Acquisition::Acquired) {
            return WAIT_OBJECT_0;
        }
        if (attempt == Acquisition::Abandoned) {
            return WAIT_ABANDONED;
        }
        if (milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        if (TerminationRequested()) {
            return WAIT_FAILED;
        }
        const bool poll = attempt == Acquisition::NotYetPoll;
        if (forever && !poll) {
            pthread_cond_wait(&m_changed, &m_lock);
            continue;
        }
        const timespec now = MonotonicNow();
        if (!forever && !Before(now, deadline)) {
            return WAIT_TIMEOUT;
        }
        timespec until = deadline;
        const timespec nextPoll = AddNanoseconds(now, kPollNanoseconds);
        if (poll && (forever || Before(nextPoll, until))) {
            until = nextPoll;
        }
        pthread_cond_timedwait(&m_changed, &m_lock, &until);
    }
}

} // namespace win32::detail
