#include "engines/timing/win32/TimeScaleConversion.h"

#include "engines/timing/TimerSystem.h"

#include <limits>

namespace Vemo {

std::uint64_t TimeScaleConversion::ScaleMicroseconds(std::uint32_t scale) const {
    switch (scale) {
    case TimerSystem::MicroSecond:
        return 1;
    case TimerSystem::MilliSecond:
        return 1000;
    case TimerSystem::Second:
        return 1000000;
    default:
        return m_native;
    }
}

std::uint64_t TimeScaleConversion::ToScale(std::uint64_t native, std::uint32_t scale) const {
    const std::uint64_t unit = ScaleMicroseconds(scale);
    return unit <= m_native ? native * (m_native / unit) : native / (unit / m_native);
}

std::uint64_t TimeScaleConversion::FromScale(std::uint32_t value, std::uint32_t scale) const {
    const std::uint64_t unit = ScaleMicroseconds(scale);
    return unit >= m_native ? value * (unit / m_native) : value / (m_native / unit);
}

std::uint32_t TimeScaleConversion::Resolution(std::uint32_t scale) const {
    const std::uint64_t unit = ScaleMicroseconds(scale);
    return unit <= m_native ? static_cast<std::uint32_t>(m_native / unit) : 0;
}

std::uint32_t TimeScaleConversion::Saturate(std::uint64_t value) {
    constexpr std::uint64_t kMost = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(value > kMost ? kMost : value);
}

std::int32_t TimeScaleConversion::TickCount(std::uint64_t periods) {
    constexpr std::uint64_t kMost = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(periods > kMost ? kMost : periods);
}

} // namespace Vemo
