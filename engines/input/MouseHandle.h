// A mouse: buttons, and axes 0 x, 1 y and 2 z (the wheel) whose positions sum the relative motion. The base
// is a mouse without buttons or axes.
#pragma once

#include "engines/input/InputDeviceHandle.h"
#include "foundation/Rect.h"

namespace Vemo {

class MouseHandle : public InputDeviceHandle {
public:
    explicit MouseHandle(ResourceEngine* engine);

    std::uint32_t Kind() override;

    virtual std::uint32_t ButtonCount();
    virtual bool IsButtonUp(std::uint32_t button);
    virtual bool IsButtonDown(std::uint32_t button);
    virtual bool SetButtonState(std::uint32_t button, bool down);
    virtual std::uint32_t ButtonHeldTime(std::uint32_t button);
    virtual std::uint32_t AxisCount();
    // The axis moved in the last motion that moved it.
    virtual bool IsAxisChanged(std::uint32_t axis);
    virtual std::int32_t AxisDelta(std::uint32_t axis);
    virtual bool SetAxisPosition(std::uint32_t axis, std::int32_t position);
    virtual std::int32_t AxisPosition(std::uint32_t axis);
    virtual bool SetPosition(std::int32_t x, std::int32_t y);
    // cursor: the system cursor in screen coordinates; otherwise the x and y axis positions.
    virtual void GetPosition(Point& out, bool cursor);
};

} // namespace Vemo
