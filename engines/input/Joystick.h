// The joystick front-end: forwards every query of its joystick handle. Nothing opens one in this system.
#pragma once

#include "engines/input/InputDevice.h"

namespace Vemo {

class JoystickHandle;

class Joystick : public InputDevice {
public:
    Joystick();

    void SetHandle(ResourceHandle* handle) override;
    bool Open(const String& name) override;
    bool Open(std::uint32_t index) override;

    // The joystick handle's queries, in its order.
    virtual std::uint32_t ButtonCount();
    virtual bool IsButtonUp(std::uint32_t button);
    virtual bool IsButtonDown(std::uint32_t button);
    virtual bool SetButtonState(std::uint32_t button, bool down);
    virtual std::uint32_t ButtonHeldTime(std::uint32_t button);
    virtual std::uint32_t AxisCount();
    virtual bool IsAxisChanged(std::uint32_t axis);
    virtual bool IsAxisCentered(std::uint32_t axis);
    virtual bool IsAxisInDeadZone(std::uint32_t axis);
    virtual std::uint32_t AxisDelta(std::uint32_t axis);
    virtual std::uint32_t AxisHeldTime(std::uint32_t axis);
    virtual bool SetAxisPosition(std::uint32_t axis, std::uint32_t position);
    virtual std::uint32_t AxisPosition(std::uint32_t axis);
    virtual bool SetAxisDeadZone(std::uint32_t axis, std::uint32_t deadZone);
    virtual std::uint32_t AxisDeadZone(std::uint32_t axis);
    virtual std::uint32_t SliderCount();
    virtual bool IsSliderChanged(std::uint32_t slider);
    virtual std::uint32_t SliderDelta(std::uint32_t slider);
    virtual bool SetSliderPosition(std::uint32_t slider, std::uint32_t position);
    virtual std::uint32_t SliderPosition(std::uint32_t slider);
    virtual std::uint32_t PovCount();
    virtual bool IsPovChanged(std::uint32_t pov);
    virtual std::uint32_t PovDelta(std::uint32_t pov);
    virtual bool SetPovDirection(std::uint32_t pov, std::uint32_t direction);
    virtual std::uint32_t PovDirection(std::uint32_t pov);
    virtual bool SetAxisMinimum(std::uint32_t axis, std::uint32_t minimum);
    virtual std::uint32_t AxisMinimum(std::uint32_t axis);
    virtual bool SetAxisMaximum(std::uint32_t axis, std::uint32_t maximum);
    virtual std::uint32_t AxisMaximum(std::uint32_t axis);
    virtual bool SetAxisSaturation(std::uint32_t axis, std::uint32_t saturation);
    virtual std::uint32_t AxisSaturation(std::uint32_t axis);
    virtual bool SetAxisGranularity(std::uint32_t axis, std::uint32_t granularity);
    virtual std::uint32_t AxisGranularity(std::uint32_t axis);

    JoystickHandle* GetJoystickHandle() const { return m_joystick; }

private:
    JoystickHandle* m_joystick = nullptr;
};

} // namespace Vemo
