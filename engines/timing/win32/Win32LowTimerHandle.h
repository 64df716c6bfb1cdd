// A low-precision timer on the C runtime's calendar time, in seconds. Differences are signed 32-bit numbers
// of seconds; while the calendar has been set back behind the start, no time has passed.
#pragma once

#include "engines/timing/win32/Win32TimerHandle.h"

namespace Vemo {

class Win32LowTimerHandle : public Win32TimerHandle {
public:
    explicit Win32LowTimerHandle(ResourceEngine* engine);
    ~Win32LowTimerHandle() override;

protected:
    std::uint64_t ReadClock() override;
    std::uint64_t Since(std::uint64_t start, std::uint64_t now) const override;
};

} // namespace Vemo
