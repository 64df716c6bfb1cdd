#include "platform/testing/Clock.h"

#include "platform/win32/Thread.h"

#include <chrono>
#include <thread>

namespace platform::testing {

namespace {
constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;
}

FakeClock::FakeClock(std::uint64_t startMilliseconds)
    : m_nanoseconds(startMilliseconds * kNanosecondsPerMillisecond), m_driver(win32::GetCurrentThreadId()),
      m_previous(win32::seam::InstallClockSource(this)) {}

FakeClock::~FakeClock() {
    win32::seam::InstallClockSource(m_previous);
}

void FakeClock::Advance(std::uint32_t milliseconds) {
    m_nanoseconds.fetch_add(static_cast<std::uint64_t>(milliseconds) * kNanosecondsPerMillisecond);
}

std::uint64_t FakeClock::NowNanoseconds() {
    return m_nanoseconds.load();
}

void FakeClock::Sleep(win32::DWORD milliseconds) {
    if (milliseconds == win32::INFINITE) {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::hours(1));
        }
    }
    if (win32::GetCurrentThreadId() == m_driver) {
        Advance(milliseconds);
    }
    std::this_thread::yield();
}

} // namespace platform::testing
