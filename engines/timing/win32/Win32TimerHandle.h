// What the three Win32 timer handles share: a start and a period in the handle's native unit, read from its
// clock, and the conversions of that unit to the time scales. Each precision supplies its clock and the
// arithmetic of its differences.
#pragma once

#include "engines/timing/TimerHandle.h"
#include "engines/timing/win32/TimeScaleConversion.h"

#include <cstdint>

namespace Vemo {

class Win32TimerHandle : public TimerHandle {
public:
    ~Win32TimerHandle() override;

    // Ticks every whole period passed since the start, and moves the start on by those periods only, so that
    // the rest of a period counts towards the next tick. A late update delivers every period it missed, up to
    // the most a timer's counter holds.
    void Update() final;
    // Keeps the start of a running handle.
    bool Start() final;
    bool Stop() final;
    // Does nothing to a stopped handle.
    bool Restart() final;
    std::uint32_t Resolution() final;
    // 0 while stopped.
    std::uint32_t Elapsed() final;
    // A period beyond what the native period holds is kept as the longest one.
    bool SetPeriod(std::uint32_t period) final;
    std::uint32_t Period() final;

protected:
    Win32TimerHandle(ResourceEngine* engine, std::uint32_t nativeMicroseconds, std::uint64_t longestPeriod);

    virtual std::uint64_t ReadClock() = 0;
    // Native units from start to now, in the clock's own arithmetic.
    virtual std::uint64_t Since(std::uint64_t start, std::uint64_t now) const = 0;
    // A native value as the interface gives it out: in 32 bits, 0xFFFFFFFF when it does not fit.
    virtual std::uint32_t ToInterface(std::uint64_t native);

    const TimeScaleConversion& Conversion() const { return m_conversion; }

private:
    const TimeScaleConversion m_conversion;
    const std::uint64_t m_longestPeriod;
    std::uint64_t m_start = 0;
    std::uint64_t m_period = 0;
};

} // namespace Vemo
