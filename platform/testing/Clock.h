// A clock for tests: while a FakeClock exists, timeGetTime, GetTickCount, the performance counter and the C
// runtime's time() read it instead of the host's clock, and move only when the test advances it.
//
// Sleep on the thread that made the clock advances it by the time asked and returns at once: that thread
// drives time, so its waits for a moment to come end as they would in real time. Sleep on any other thread
// yields and returns at once without touching the clock, so a task polling in a loop cannot move the test's
// time. Sleep with INFINITE still never returns. Timeouts of waits on kernel objects stay on the real clock.
//
// Make the clock before the code under test starts threads that read it. Threads still running when it is
// destroyed go on with the clock it replaced.
//
// TimeCallOverrides changes what the time calls answer while it exists: another performance-counter frequency
// (0 for a machine without a counter) and failing calls.
#pragma once

#include "platform/win32/kernel/Time.h"

#include <atomic>
#include <cstdint>

namespace platform::testing {

class FakeClock final : public win32::seam::ClockSource {
public:
    // The calendar (time()) goes on from where the clock installed before left it.
    explicit FakeClock(std::uint64_t startMilliseconds = 0);
    // Puts back the clock that was installed before.
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Advance(std::uint32_t milliseconds);
    // time() reads this number of seconds now, and moves on with the clock.
    void SetUnixTime(std::int64_t seconds);

    std::uint64_t NowNanoseconds() override;
    void Sleep(win32::DWORD milliseconds) override;
    std::int64_t UnixNanosecondsAtZero() override;

private:
    std::atomic<std::uint64_t> m_nanoseconds;
    std::atomic<std::int64_t> m_unixAtZero;
    const win32::DWORD m_driver;
    win32::seam::ClockSource* m_previous = nullptr;
};

class TimeCallOverrides final {
public:
    TimeCallOverrides() = default;
    // The time calls answer as a real machine's again.
    ~TimeCallOverrides();
    TimeCallOverrides(const TimeCallOverrides&) = delete;
    TimeCallOverrides& operator=(const TimeCallOverrides&) = delete;

    void SetPerformanceFrequency(std::int64_t countsPerSecond);
    void FailQueryPerformanceFrequency(bool fail = true);
    void FailQueryPerformanceCounter(bool fail = true);
    void FailTimeBeginPeriod(bool fail = true);

private:
    void Apply();

    bool m_failFrequency = false;
    bool m_failCounter = false;
    bool m_failBeginPeriod = false;
};

} // namespace platform::testing
