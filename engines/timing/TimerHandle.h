// An open timer of some precision. It measures time in its current time scale, and, on each update of a
// running handle with a period, counts the whole periods that have passed and adds that count to every timer
// attached to it. Times and periods passed in and out are in the handle's current time scale.
//
// The base answers as a timer that cannot run; each concrete handle (one per precision) overrides it.
#pragma once

#include "foundation/BasicList.h"
#include "resources/ResourceHandle.h"

#include <cstdint>

namespace Vemo {

class Resource;
class Timer;

class TimerHandle : public ResourceHandle {
public:
    explicit TimerHandle(ResourceEngine* engine);
    // Forgets the timers; they are not the handle's.
    ~TimerHandle() override;

    // False in the base.
    virtual bool Start();
    virtual bool Stop();
    virtual bool IsRunning();
    virtual bool Restart();
    // Stores any scale; a scale that is none of the four reads as Native.
    virtual bool SetTimeScale(std::uint32_t scale);
    virtual std::uint32_t TimeScale();
    // 0 in the base.
    virtual std::uint32_t Resolution();
    virtual std::uint32_t Elapsed();
    virtual bool SetPeriod(std::uint32_t period);
    virtual std::uint32_t Period();

    // The timers attached to this handle, in the order they came.
    const BasicList<Timer*>& GetTimers() const { return m_timers; }
    void AddTimer(Timer* timer);
    // Every entry of the timer, told by the address of its resource part (a timer being destroyed can no
    // longer be cast to one).
    void RemoveResource(const Resource* resource);

protected:
    // AddTicks(count) on every timer, in list order. A timer that leaves the list meanwhile gets no ticks
    // after it has left. When the last timer closes meanwhile the handle is destroyed with it and the walk
    // stops: a caller touches nothing of the handle after this returns.
    void TickTimers(std::int32_t count);

    bool m_running = false;

private:
    std::uint32_t m_timeScale;
    BasicList<Timer*> m_timers;
    // While TickTimers walks the list: the entry it visits next, moved on when that entry is removed.
    BasicList<Timer*>::Iterator m_walkNext;
    // While TickTimers walks the list: its flag, set by the destructor. Null otherwise.
    bool* m_destroyedDuringWalk = nullptr;
};

} // namespace Vemo
