// The timer front-end. Opened on a timer handle of a precision, it forwards the handle's operations and
// collects the ticks the handle counts for it (whole periods passed); its owner takes them when it runs.
// Classes that react to ticks as they come override AddTicks.
#pragma once

#include "resources/Resource.h"

#include <cstdint>

namespace Vemo {

class TimerHandle;

class Timer : public Resource {
public:
    Timer();
    // Leaves its handle while it is still a Timer.
    ~Timer() override;

    // Also keeps the handle as a TimerHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;

    // A timer of the precision (a TimerSystem::PrecisionType) from the engine of that type id (the family
    // id for any timer engine), whose handle starts with the time scale b and the period a in that scale.
    virtual bool Open(std::uint32_t precision, std::uint32_t a, std::uint32_t b, std::uint32_t engineId);
    // A timer of the precision in the handle's native scale, without a period.
    virtual bool Open(std::uint32_t precision, std::uint32_t engineId);
    // Start and Restart discard the ticks not yet taken; Stop keeps them.
    virtual bool Start();
    virtual bool Stop();
    virtual bool IsRunning();
    virtual bool Restart();
    virtual bool SetTimeScale(std::uint32_t scale);
    // Seconds (4) while the timer has no handle.
    virtual std::uint32_t TimeScale();
    virtual std::uint32_t Resolution();
    virtual std::uint32_t Elapsed();
    virtual bool SetPeriod(std::uint32_t period);
    virtual std::uint32_t Period();
    // The ticks counted since the last call; the count starts again at 0.
    virtual std::int32_t TakeTicks();
    // Adds n to the count, which stops at the ends of its range instead of wrapping; returns n.
    virtual std::int32_t AddTicks(std::int32_t n);

    TimerHandle* GetTimerHandle() const { return m_timerHandle; }

private:
    bool OpenWith(std::uint32_t precision, const std::uint32_t* firstOption,
                  const std::uint32_t* secondOption, std::uint32_t engineId);
    // The handle, or null after reporting that there is none.
    TimerHandle* Handle();

    std::int32_t m_ticks = 0;
    TimerHandle* m_timerHandle = nullptr;
};

} // namespace Vemo
