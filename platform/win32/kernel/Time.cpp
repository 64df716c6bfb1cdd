#include "platform/win32/kernel/Time.h"

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
constexpr std::uint64_t kNanosecondsPerSecond = 1000000000;
constexpr LONGLONG kCountsPerSecond = 10000000;
constexpr UINT kMaxPeriod = 1000000;

std::atomic<LONGLONG> g_frequency{kCountsPerSecond};
std::atomic<bool> g_failFrequency{false};
std::atomic<bool> g_failCounter{false};
std::atomic<bool> g_failBeginPeriod{false};

std::int64_t ReadNanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class HostClock final : public seam::ClockSource {
public:
    std::uint64_t NowNanoseconds() override {
        return static_cast<std::uint64_t>(ReadNanoseconds(CLOCK_MONOTONIC));
    }

    void Sleep(DWORD milliseconds) override {
        if (milliseconds == 0) {
            sched_yield();
            return;
        }
        timespec remaining{static_cast<::time_t>(milliseconds / 1000),
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
// Calls in progress on an installed clock. A reader counts itself before it looks at which clock is
// installed, so a clock replaced after that look is not let go until the reader is done with it.
std::atomic<unsigned> g_readers{0};

// Runs use on the installed clock, or on the host clock, which lives for the whole process and so is used
// without being counted (its sleeps may be long).
template <typename Use>
auto OnClock(Use use) {
    // Without an installed clock nothing is counted: a clock installed meanwhile is only missed by this call.
    if (g_installed.load() == nullptr) {
        return use(TheHostClock());
    }
    g_readers.fetch_add(1);
    seam::ClockSource* installed = g_installed.load();
    if (installed == nullptr) {
        g_readers.fetch_sub(1);
        return use(TheHostClock());
    }
    struct Done {
        ~Done() { g_readers.fetch_sub(1); }
    } done;
    return use(*installed);
}

struct Periods {
    std::mutex lock;
    std::map<UINT, unsigned> begun;
};

Periods& ThePeriods() {
    static Periods* periods = new Periods;
    return *periods;
}

std::uint64_t Now() {
    return seam::ClockNanoseconds();
}

} // namespace

namespace seam {

ClockSource::~ClockSource() = default;

std::int64_t ClockSource::UnixNanosecondsAtZero() {
    static const std::int64_t offset = ReadNanoseconds(CLOCK_REALTIME) - ReadNanoseconds(CLOCK_MONOTONIC);
    return offset;
}

ClockSource* InstallClockSource(ClockSource* source) {
    ClockSource* replaced = g_installed.exchange(source);
    if (replaced != nullptr) {
        // Calls on an installed clock are short (its sleeps only move it or yield), so this ends soon.
        while (g_readers.load() != 0) {
            sched_yield();
        }
    }
    return replaced;
}

bool HostClockInstalled() {
    return g_installed.load() == nullptr;
}

std::uint64_t ClockNanoseconds() {
    return OnClock([](ClockSource& clock) { return clock.NowNanoseconds(); });
}

std::int64_t ClockUnixNanoseconds() {
    return OnClock([](ClockSource& clock) {
        return clock.UnixNanosecondsAtZero() + static_cast<std::int64_t>(clock.NowNanoseconds());
    });
}

void SleepOnClock(DWORD milliseconds) {
    if (milliseconds == INFINITE) {
        for (;;) {
            pause();
        }
    }
    OnClock([milliseconds](ClockSource& clock) { clock.Sleep(milliseconds); });
}

void SetPerformanceFrequency(LONGLONG countsPerSecond) {
    g_frequency.store(countsPerSecond);
}

void SetTimeCallFailures(bool frequency, bool counter, bool beginPeriod) {
    g_failFrequency.store(frequency);
    g_failCounter.store(counter);
    g_failBeginPeriod.store(beginPeriod);
}

} // namespace seam

DWORD timeGetTime() {
    return static_cast<DWORD>(Now() / kNanosecondsPerMillisecond);
}

DWORD GetTickCount() {
    return timeGetTime();
}

MMRESULT timeBeginPeriod(UINT period) {
    if (period == 0 || period > kMaxPeriod || g_failBeginPeriod.load()) {
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
    if (g_failFrequency.load()) {
        return FALSE;
    }
    frequency->QuadPart = g_frequency.load();
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    const LONGLONG frequency = g_frequency.load();
    if (g_failCounter.load() || frequency <= 0) {
        return FALSE;
    }
    // Whole seconds and the rest apart, so that no product leaves 64 bits for any frequency below 18 GHz.
    const std::uint64_t now = Now();
    const auto perSecond = static_cast<std::uint64_t>(frequency);
    count->QuadPart = static_cast<LONGLONG>(now / kNanosecondsPerSecond * perSecond +
                                            now % kNanosecondsPerSecond * perSecond / kNanosecondsPerSecond);
    return TRUE;
}

time_t time(time_t* destination) {
    const std::int64_t unixNanoseconds = seam::ClockUnixNanoseconds();
    // Seconds round towards the past, also before 1970.
    std::int64_t seconds = unixNanoseconds / static_cast<std::int64_t>(kNanosecondsPerSecond);
    if (unixNanoseconds % static_cast<std::int64_t>(kNanosecondsPerSecond) < 0) {
        --seconds;
    }
    if (destination != nullptr) {
        *destination = seconds;
    }
    return seconds;
}

} // namespace win32
