// A high-precision timer on the performance counter. Its native unit is the microsecond whatever the
// counter's frequency: readings are scaled by the frequency, read once when the handle is made.
#pragma once

#include "engines/timing/win32/Win32TimerHandle.h"

namespace Vemo {

class Win32HighTimerHandle : public Win32TimerHandle {
public:
    explicit Win32HighTimerHandle(ResourceEngine* engine);
    ~Win32HighTimerHandle() override;

protected:
    // While the counter cannot be read, the last reading: time stands still.
    std::uint64_t ReadClock() override;
    std::uint64_t Since(std::uint64_t start, std::uint64_t now) const override;
    // In the native and microsecond scales the low 32 bits of the microseconds.
    std::uint32_t ToInterface(std::uint64_t native) override;

private:
    std::uint64_t m_frequency = 0;
    std::uint64_t m_lastReading = 0;
};

} // namespace Vemo
