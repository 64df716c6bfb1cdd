// The mouse front-end: forwards the mouse handle's queries and hears each button going down or up and each
// axis moving (axis 0 x, 1 y, 2 z).
#pragma once

#include "engines/input/InputDevice.h"
#include "foundation/Rect.h"

namespace Vemo {

class MouseHandle;

class Mouse : public InputDevice {
public:
    Mouse();

    void SetHandle(ResourceHandle* handle) override;
    // Index 0 is the system mouse.
    bool Open(const String& name) override;
    bool Open(std::uint32_t index) override;

    virtual std::uint32_t ButtonCount();
    virtual bool IsButtonUp(std::uint32_t button);
    virtual bool IsButtonDown(std::uint32_t button);
    virtual bool SetButtonState(std::uint32_t button, bool down);
    virtual std::uint32_t ButtonHeldTime(std::uint32_t button);
    virtual std::uint32_t AxisCount();
    virtual bool IsAxisChanged(std::uint32_t axis);
    virtual std::int32_t AxisDelta(std::uint32_t axis);
    virtual bool SetAxisPosition(std::uint32_t axis, std::int32_t position);
    virtual std::int32_t AxisPosition(std::uint32_t axis);
    virtual bool SetPosition(std::int32_t x, std::int32_t y);
    virtual void GetPosition(Point& out, bool cursor);
    // Notifications; nothing here.
    virtual void ButtonDown(std::uint32_t button);
    virtual void ButtonUp(std::uint32_t button);
    virtual void AxisMoved(std::uint32_t axis, std::int32_t delta);

    MouseHandle* GetMouseHandle() const { return m_mouse; }

private:
    MouseHandle* m_mouse = nullptr;
};

} // namespace Vemo
