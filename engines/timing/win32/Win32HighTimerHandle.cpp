#include "engines/timing/win32/Win32HighTimerHandle.h"

#include "platform/win32/kernel/Time.h"

#include <limits>

namespace Vemo {

namespace {

constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;

} // namespace

Win32HighTimerHandle::Win32HighTimerHandle(ResourceEngine* engine)
    : Win32TimerHandle(engine, 1, std::numeric_limits<std::uint64_t>::max()) {
    win32::LARGE_INTEGER frequency{};
    if (win32::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
        m_frequency = static_cast<std::uint64_t>(frequency.QuadPart);
    }
}

Win32HighTimerHandle::~Win32HighTimerHandle() = default;

std::uint64_t Win32HighTimerHandle::ReadClock() {
    win32::LARGE_INTEGER count{};
    if (m_frequency == 0 || !win32::QueryPerformanceCounter(&count)) {
        return m_lastReading;
    }
    // Whole seconds and the rest apart: the count times a million would leave 64 bits after about 21 days
    // at ten million counts a second.
    const auto counts = static_cast<std::uint64_t>(count.QuadPart);
    m_lastReading = counts / m_frequency * kMicrosecondsPerSecond +
                    counts % m_frequency * kMicrosecondsPerSecond / m_frequency;
    return m_lastReading;
}

std::uint64_t Win32HighTimerHandle::Since(std::uint64_t start, std::uint64_t now) const {
    return now - start;
}

std::uint32_t Win32HighTimerHandle::ToInterface(std::uint64_t native) {
    if (Conversion().Resolution(TimeScale()) == 1) {
        return static_cast<std::uint32_t>(native);
    }
    return Win32TimerHandle::ToInterface(native);
}

} // namespace Vemo
