// A transparent control that moves itself, with its children, from where it stands to a target position over
// a given time. A timer measures the slide and each frame's Idle samples it; "SlideTo", "SlideToVar", "Stop",
// "Pause" and "Continue" drive it, and "AtEnd" announces the end of a slide (never of a stopped one).
#pragma once

#include "engines/timing/Timer.h"
#include "runtime/screen/Control.h"

#include <cstdint>

class SlidingControl : public Control {
public:
    SlidingControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~SlidingControl() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    bool Configure(Control* parent, Control* after) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    void Idle() override;
    void OnEnabled() override;
    void OnDisabled() override;
    void OnMouseEnter(const Vemo::Point& local) override;
    void OnMouseExit(const Vemo::Point& local) override;

    // A duration of 0 moves at once and announces the end.
    virtual bool SlideTo(const Vemo::Point& target, unsigned duration);
    virtual void Stop();
    virtual void Pause();
    virtual void Continue();

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    bool SlideToVariable(const Vemo::Point& target, const Fragment* variable);
    void PointerIfInside();

    Vemo::Timer m_timer;
    Vemo::Point m_start;
    Vemo::Point m_end;
    std::uint32_t m_duration = 0;
    std::uint32_t m_elapsedBefore = 0;
};
