#include "platform/testing/Clock.h"

#include "platform/win32/kernel/Thread.h"

#include <thread>

namespace platform::testing {

namespace {
constexpr std::uint64_t kNanosecondsPerMillisecond = 1000000;
constexpr std::int64_t kNanosecondsPerSecond = 1000000000;
constexpr std::int64_t kRealFrequency = 10000000;
} // namespace

FakeClock::FakeClock(std::uint64_t startMilliseconds)
    : m_nanoseconds(startMilliseconds * kNanosecondsPerMillisecond), m_unixAtZero(0),
      m_driver(win32::GetCurrentThreadId()) {
    m_unixAtZero.store(win32::seam::ClockUnixNanoseconds() - static_cast<std::int64_t>(m_nanoseconds.load()));
    m_previous = win32::seam::InstallClockSource(this);
}

FakeClock::~FakeClock() {
    win32::seam::InstallClockSource(m_previous);
}

void FakeClock::Advance(std::uint32_t milliseconds) {
    m_nanoseconds.fetch_add(static_cast<std::uint64_t>(milliseconds) * kNanosecondsPerMillisecond);
}

void FakeClock::SetUnixTime(std::int64_t seconds) {
    m_unixAtZero.store(seconds * kNanosecondsPerSecond - static_cast<std::int64_t>(m_nanoseconds.load()));
}

std::uint64_t FakeClock::NowNanoseconds() {
    return m_nanoseconds.load();
}

std::int64_t FakeClock::UnixNanosecondsAtZero() {
    return m_unixAtZero.load();
}

void FakeClock::Sleep(win32::DWORD milliseconds) {
    if (win32::GetCurrentThreadId() == m_driver) {
        Advance(milliseconds);
    }
    std::this_thread::yield();
}

TimeCallOverrides::~TimeCallOverrides() {
    win32::seam::SetPerformanceFrequency(kRealFrequency);
    win32::seam::SetTimeCallFailures(false, false, false);
}

void TimeCallOverrides::SetPerformanceFrequency(std::int64_t countsPerSecond) {
    win32::seam::SetPerformanceFrequency(countsPerSecond);
}

void TimeCallOverrides::FailQueryPerformanceFrequency(bool fail) {
    m_failFrequency = fail;
    Apply();
}

void TimeCallOverrides::FailQueryPerformanceCounter(bool fail) {
    m_failCounter = fail;
    Apply();
}

void TimeCallOverrides::FailTimeBeginPeriod(bool fail) {
    m_failBeginPeriod = fail;
    Apply();
}

void TimeCallOverrides::Apply() {
    win32::seam::SetTimeCallFailures(m_failFrequency, m_failCounter, m_failBeginPeriod);
}

} // namespace platform::testing
