// The program's timer engine, named "Win32 Timer Engine": high precision on the performance counter,
// standard precision on the multimedia timer (raised to 1 ms resolution while the engine is started) and low
// precision on the calendar time in seconds.
//
// A criterion's first option is the new handle's time scale and its second the handle's period in that
// scale; both are set before the handle is handed out. A second option without the first is refused.
#pragma once

#include "engines/timing/TimerEngine.h"

namespace Vemo {

class Win32TimerEngine : public TimerEngine {
public:
    Win32TimerEngine();

    // Run Initialize on the given engine, or on a new one when none is given; null when that fails.
    static Win32TimerEngine* Create(Win32TimerEngine* engine = nullptr);

    // A handle of the criterion's precision; any other precision is refused with
    // TimerSystemErrUnknownPrecision.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // Raises the multimedia timer's resolution to 1 ms; a refusal is not a failure.
    bool Activate() override;
    bool Deactivate() override;
    // High precision only on a machine with a performance counter.
    bool MatchSearchCriterion(ResourceSearchCriterion* criterion) override;
    bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) override;

    // A timeBeginPeriod of this engine is in force.
    bool IsPeriodRaised() const { return m_periodRaised; }

private:
    bool m_periodRaised = false;
};

} // namespace Vemo
