#include "platform/win32/Time.h"

#include "platform/win32/KernelRegion.h"

#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <mutex>

namespace win32 {

namespace {

constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;
constexpr std::uint64_t kNanosecondsPerCount = 100;
constexpr LONGLONG kCountsPerSecond = 10000000;
constexpr UINT kMaxPeriod = 1000000;

class HostClock final : public seam::ClockSource {
public:
    std::uint64_t NowNanoseconds() override {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
    }

    void Sleep(DWORD milliseconds) override {
        if (milliseconds == 0) {
            sched_yield();
            return;
        }
        if (milliseconds == INFINITE) {
            for (;;) {
                pause();
            }
        }
        timespec remaining{static_cast<time_t>(milliseconds / 1000),
                           static_cast<long>(milliseconds % 1000) * 1000000};
        while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
        }
    }
};

HostClock& TheHostClock() {
    static HostClock* clock = new HostClock; // usable by every static destructor
    return *clock;
}

std::atomic<seam::ClockSource*> g_installed{nullptr};

struct Periods {
    std::mutex lock;
    std::map<UINT, unsigned> begun;
};

Periods& ThePeriods() {
    static Periods* periods = new Periods;
    return *periods;
}

std::uint64_t Now() {
    return seam::CurrentClockSource().NowNanoseconds();
}

} // namespace

namespace seam {

ClockSource::~ClockSource() = default;

ClockSource* InstallClockSource(ClockSource* source) {
    return g_installed.exchange(source);
}

ClockSource& CurrentClockSource() {
    ClockSource* installed = g_installed.load();
    return installed != nullptr ? *installed : TheHostClock();
}

} // namespace seam

DWORD timeGetTime() {
    return static_cast<DWORD>(Now() / kNanosecondsPerMillisecond);
}

DWORD GetTickCount() {
    return timeGetTime();
}

MMRESULT timeBeginPeriod(UINT period) {
    if (period == 0 || period > kMaxPeriod) {
        return TIMERR_NOCANDO;
    }
    return detail::RunInKernelRegion([&] {
        Periods& periods = ThePeriods();
        std::lock_guard guard(periods.lock);
        ++periods.begun[period];
        return TIMERR_NOERROR;
    });
}

MMRESULT timeEndPeriod(UINT period) {
    return detail::RunInKernelRegion([&] {
        Periods& periods = ThePeriods();
        std::lock_guard guard(periods.lock);
        auto found = periods.begun.find(period);
        if (found == periods.begun.end()) {
            return TIMERR_NOCANDO;
        }
        if (--found->second == 0) {
            periods.begun.erase(found);
        }
        return TIMERR_NOERROR;
    });
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = kCountsPerSecond;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = static_cast<LONGLONG>(Now() / kNanosecondsPerCount);
    return TRUE;
}

} // namespace win32
