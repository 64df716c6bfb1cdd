#include "engines/timing/win32/Win32StandardTimerHandle.h"

#include "platform/win32/kernel/Time.h"

#include <limits>

namespace Vemo {

Win32StandardTimerHandle::Win32StandardTimerHandle(ResourceEngine* engine)
    : Win32TimerHandle(engine, 1000, std::numeric_limits<std::uint32_t>::max()) {}

Win32StandardTimerHandle::~Win32StandardTimerHandle() = default;

std::uint64_t Win32StandardTimerHandle::ReadClock() {
    return win32::timeGetTime();
}

std::uint64_t Win32StandardTimerHandle::Since(std::uint64_t start, std::uint64_t now) const {
    return static_cast<std::uint32_t>(now - start);
}

} // namespace Vemo
