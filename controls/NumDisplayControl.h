// A text control showing a signed number kept between a minimum and a maximum. Messages change it ("Inc",
// "Dec", "Set"), its bounds ("Min", "Max") and its step ("Step"), or bind it to a variable, a user setting
// or a shared setting ("BindVar", "BindUser", "BindShared", one argument key(section)), which it then
// follows every frame while active and writes whenever the number changes. Every change sends "Changed".
//
// minimum <= value <= maximum holds at all times: a bound that would pass the other is refused, and "Inc"
// and "Dec" stop at the bounds however large the step.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "controls/TextControl.h"

#include <cstdint>

class NumDisplayControl : public TextControl {
public:
    enum Binding : std::uint32_t {
        kBindNone = 0,
        kBindVariable = 1,
        kBindUserSetting = 2,
        kBindSharedSetting = 3,
    };

    NumDisplayControl(const Vemo::String& name, Messenger* owner, Script* script);
    ~NumDisplayControl() override;

    Vemo::String GetClassName() const override;
    // "GetValue", "GetMin", "GetMax" and "GetStep" in decimal; then the text control's "Text".
    bool ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) override;
    bool HandleMessage(const Fragment& message, Messenger* sender) override;
    // The text control's keys, then "Min", "Max", "Step" and "Set".
    bool Configure(Control* parent, Control* after) override;
    // Follows the binding while effectively active.
    void Idle() override;

    // Reads the bound entry (creating it empty when missing) and takes its number.
    virtual void RefreshFromBinding();
    // Clamped into the bounds and shown; a change is written to the binding and sends "Changed".
    virtual void SetValue(int value);
    virtual int GetValue() const;

    int GetMinimum() const { return m_minimum; }
    int GetMaximum() const { return m_maximum; }
    int GetStep() const { return m_step; }
    Binding GetBinding() const { return static_cast<Binding>(m_binding); }

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    // The value clamped into the bounds, computed wide enough that no step overflows.
    void SetClampedValue(std::int64_t value);
    bool HandleBound(bool minimum, const Fragment& message);
    bool Bind(Binding binding, const Fragment& message);

    std::int32_t m_value = 0;
    std::int32_t m_minimum = 0;
    std::int32_t m_maximum = 100;
    std::int32_t m_step = 1;
    std::uint32_t m_binding = kBindNone;
    Vemo::String m_bindSection;
    Vemo::String m_bindKey;
};
