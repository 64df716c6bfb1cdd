#include "engines/timing/win32/Win32LowTimerHandle.h"

#include "platform/win32/kernel/Time.h"

#include <limits>

namespace Vemo {

Win32LowTimerHandle::Win32LowTimerHandle(ResourceEngine* engine)
    : Win32TimerHandle(engine, 1000000, std::numeric_limits<std::uint32_t>::max()) {}

Win32LowTimerHandle::~Win32LowTimerHandle() = default;

std::uint64_t Win32LowTimerHandle::ReadClock() {
    return static_cast<std::uint32_t>(win32::time(nullptr));
}

std::uint64_t Win32LowTimerHandle::Since(std::uint64_t start, std::uint64_t now) const {
    const auto difference = static_cast<std::int32_t>(static_cast<std::uint32_t>(now - start));
    return difference > 0 ? static_cast<std::uint64_t>(difference) : 0;
}

} // namespace Vemo
