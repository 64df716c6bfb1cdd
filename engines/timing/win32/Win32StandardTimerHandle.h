// A standard-precision timer on the multimedia timer (timeGetTime), in milliseconds. Its differences are
// taken in 32 bits, so it ticks on across the timer's wrap after about 49.7 days.
#pragma once

#include "engines/timing/win32/Win32TimerHandle.h"

namespace Vemo {

class Win32StandardTimerHandle : public Win32TimerHandle {
public:
    explicit Win32StandardTimerHandle(ResourceEngine* engine);
    ~Win32StandardTimerHandle() override;

protected:
    std::uint64_t ReadClock() override;
    std::uint64_t Since(std::uint64_t start, std::uint64_t now) const override;
};

} // namespace Vemo
