// A clock for tests: while a FakeClock exists, timeGetTime, GetTickCount and the performance counter read it
// instead of the host's clock, and move only when the test advances it.
//
// Sleep on the thread that made the clock advances it by the time asked and returns at once: that thread
// drives time, so its waits for a moment to come end as they would in real time. Sleep on any other thread
// yields and returns at once without touching the clock, so a task polling in a loop cannot move the test's
// time. Sleep with INFINITE still never returns. Timeouts of waits on kernel objects stay on the real clock.
//
// Make the clock before the code under test starts threads that read it, and stop them before it is
// destroyed.
#pragma once

#include "platform/win32/Time.h"

#include <atomic>
#include <cstdint>

namespace platform::testing {

class FakeClock final : public win32::seam::ClockSource {
public:
    explicit FakeClock(std::uint64_t startMilliseconds = 0);
    // Puts back the clock that was installed before.
    ~FakeClock() override;
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void Advance(std::uint32_t milliseconds);

    std::uint64_t NowNanoseconds() override;
    void Sleep(win32::DWORD milliseconds) override;

private:
    std::atomic<std::uint64_t> m_nanoseconds;
    const win32::DWORD m_driver;
    win32::seam::ClockSource* m_previous;
};

} // namespace platform::testing
