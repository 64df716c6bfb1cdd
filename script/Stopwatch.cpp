#include "script/Stopwatch.h"

#include "platform/win32/kernel/Time.h"

namespace {

std::uint64_t g_frequency = 0;

std::uint64_t Count() {
    win32::LARGE_INTEGER count{};
    win32::QueryPerformanceCounter(&count);
    return static_cast<std::uint64_t>(count.QuadPart);
}

} // namespace

Stopwatch::Stopwatch() {
    win32::LARGE_INTEGER frequency{};
    win32::QueryPerformanceFrequency(&frequency);
    g_frequency = static_cast<std::uint64_t>(frequency.QuadPart);
    m_start = Count();
}

std::uint64_t Stopwatch::ElapsedMicroseconds() const {
    if (g_frequency == 0) {
        return 0;
    }
    constexpr std::uint64_t kMicrosecondsPerSecond = 1000000;
    const std::uint64_t elapsed = Count() - m_start;
    return elapsed / g_frequency * kMicrosecondsPerSecond +
           elapsed % g_frequency * kMicrosecondsPerSecond / g_frequency;
}
