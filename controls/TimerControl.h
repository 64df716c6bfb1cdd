// A control without a look of its own that gives scripts a periodic clock: it sends itself "Tick", which also
// reaches its subscribers, once for every whole period of its timer. The section's keys "Precision" (High,
// Standard, Low), "Interval" (the period, in the time scale's units) and "TimeScale" (Native, MicroSecond,
// MilliSecond, Second) set the timer up; "Start", "Stop", "Reset", "Interval" and "TimeScale" drive it.
// The timer is created stopped.
#pragma once

#include "engines/timing/Timer.h"
#include "runtime/screen/Control.h"

#include <cstdint>

class TimerControl : public Control, public Vemo::Timer {
public:
    TimerControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~TimerControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    void OnEnabled() override;
    void OnDisabled() override;
    // Counts the periods (the timer keeps the count), then sends one "Tick" for each of them.
    std::int32_t AddTicks(std::int32_t n) override;

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
