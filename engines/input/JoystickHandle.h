// A joystick: buttons, axes, sliders and point-of-view hats. No joystick can be opened in this system; the
// base answers every query with a constant, as the DirectX joystick does.
#pragma once

#include "engines/input/InputDeviceHandle.h"

namespace Vemo {

class JoystickHandle : public InputDeviceHandle {
public:
    explicit JoystickHandle(ResourceEngine* engine);

    std::uint32_t Kind() override;

    // Buttons.
    virtual std::uint32_t ButtonCount();
    virtual bool IsButtonUp(std::uint32_t);
    virtual bool IsButtonDown(std::uint32_t);
    virtual bool SetButtonState(std::uint32_t, bool);
    virtual std::uint32_t ButtonHeldTime(std::uint32_t);
    // Axes.
    virtual std::uint32_t AxisCount();
    virtual bool IsAxisChanged(std::uint32_t);
    virtual bool IsAxisCentered(std::uint32_t);
    virtual bool IsAxisInDeadZone(std::uint32_t);
    virtual std::uint32_t AxisDelta(std::uint32_t);
    virtual std::uint32_t AxisHeldTime(std::uint32_t);
    virtual bool SetAxisPosition(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisPosition(std::uint32_t);
    virtual bool SetAxisDeadZone(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisDeadZone(std::uint32_t);
    // Sliders.
    virtual std::uint32_t SliderCount();
    virtual bool IsSliderChanged(std::uint32_t);
    virtual std::uint32_t SliderDelta(std::uint32_t);
    virtual bool SetSliderPosition(std::uint32_t, std::uint32_t);
    virtual std::uint32_t SliderPosition(std::uint32_t);
    // Point-of-view hats; a centred hat points nowhere (0xFFFFFFFF).
    virtual std::uint32_t PovCount();
    virtual bool IsPovChanged(std::uint32_t);
    virtual std::uint32_t PovDelta(std::uint32_t);
    virtual bool SetPovDirection(std::uint32_t, std::uint32_t);
    virtual std::uint32_t PovDirection(std::uint32_t);
    // Axis ranges and response.
    virtual bool SetAxisMinimum(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisMinimum(std::uint32_t);
    virtual bool SetAxisMaximum(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisMaximum(std::uint32_t);
    virtual bool SetAxisSaturation(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisSaturation(std::uint32_t);
    virtual bool SetAxisGranularity(std::uint32_t, std::uint32_t);
    virtual std::uint32_t AxisGranularity(std::uint32_t);
};

} // namespace Vemo
