// The timing family's system, named "Timer System". Besides the base system's work it keeps each timer
// handle's list of the timers attached to it, so that the handle can hand its ticks to every one of them.
#pragma once

#include "resources/ResourceSystem.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

// A timer engine was asked for a handle of a precision it does not know.
inline constexpr ErrorCode TimerSystemErrUnknownPrecision = MakeErrorCode(kTimerSystemFacility, 2);

class TimerSystem : public ResourceSystem {
public:
    enum PrecisionType : std::uint32_t { High = 1, Standard = 2, Low = 3 };
    // Native is the handle's own unit: microseconds at high, milliseconds at standard and seconds at low
    // precision.
    enum TimeScale : std::uint32_t { Native = 1, MicroSecond = 2, MilliSecond = 3, Second = 4 };

    TimerSystem();

    // Run Initialize on the given system, or on a new one when none is given; null when that fails.
    static TimerSystem* Create(TimerSystem* system = nullptr);

    // A timer coming to a timer handle joins the handle's timer list.
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    bool AttachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource,
                        ResourceHandle* shared) override;
    // The timer leaves the handle's timer list before the base close.
    bool Close(ResourceHandle* handle, Resource* resource) override;

private:
    static void Enlist(ResourceHandle* handle, Resource* resource);
};

} // namespace Vemo
