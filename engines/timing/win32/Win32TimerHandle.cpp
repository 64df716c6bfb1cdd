#include "engines/timing/win32/Win32TimerHandle.h"

namespace Vemo {

Win32TimerHandle::Win32TimerHandle(ResourceEngine* engine, std::uint32_t nativeMicroseconds,
                                   std::uint64_t longestPeriod)
    : TimerHandle(engine), m_conversion(nativeMicroseconds), m_longestPeriod(longestPeriod) {}

Win32TimerHandle::~Win32TimerHandle() = default;

void Win32TimerHandle::Update() {
    if (!m_running || m_period == 0) {
        return;
    }
    const std::uint64_t now = ReadClock();
    const std::uint64_t elapsed = Since(m_start, now);
    if (elapsed < m_period) {
        return;
    }
    m_start = now - elapsed % m_period;
    // Last: the ticks may destroy this handle.
    TickTimers(TimeScaleConversion::TickCount(elapsed / m_period));
}

bool Win32TimerHandle::Start() {
    if (!m_running) {
        m_start = ReadClock();
        m_running = true;
    }
    return true;
}

bool Win32TimerHandle::Stop() {
    m_running = false;
    return true;
}

bool Win32TimerHandle::Restart() {
    if (m_running) {
        m_start = ReadClock();
    }
    return true;
}

std::uint32_t Win32TimerHandle::Resolution() {
    return m_conversion.Resolution(TimeScale());
}

std::uint32_t Win32TimerHandle::Elapsed() {
    return m_running ? ToInterface(Since(m_start, ReadClock())) : 0;
}

bool Win32TimerHandle::SetPeriod(std::uint32_t period) {
    std::uint64_t native = m_conversion.FromScale(period, TimeScale());
    // A period finer than the clock still ticks, once a unit; only a period of 0 means never.
    if (native == 0 && period != 0) {
        native = 1;
    }
    m_period = native < m_longestPeriod ? native : m_longestPeriod;
    return true;
}

std::uint32_t Win32TimerHandle::Period() {
    return ToInterface(m_period);
}

std::uint32_t Win32TimerHandle::ToInterface(std::uint64_t native) {
    return TimeScaleConversion::Saturate(m_conversion.ToScale(native, TimeScale()));
}

} // namespace Vemo
