// The system mouse through DirectInput: up to four buttons and the x, y and z (wheel) axes, whose positions
// sum the relative motion dispatched since the handle was made (no clamping, no dead zone). Each poll reads
// the motion since the previous poll as one motion event, then each changed button as a button event. The
// state changes only when an event reaches Dispatch.
#pragma once

#include "engines/input/MouseHandle.h"
#include "engines/input/directx/DirectXInputHandle.h"

#include <array>
#include <cstdint>

namespace Vemo {

class DirectXMouseHandle : public DirectXInputHandle<MouseHandle> {
public:
    static constexpr std::uint32_t kButtons = 4;
    static constexpr std::uint32_t kAxes = 3;

    explicit DirectXMouseHandle(ResourceEngine* engine);
    ~DirectXMouseHandle() override;

    // The creation steps after the handle is made, with the window for the cooperative level; false after
    // reporting the failing step's code.
    bool Connect(dinput::IDirectInput2A* directInput, win32::HWND window);

    void ReadEvents(EventQueue& events) override;
    void Dispatch(InputDeviceEvent* event) override;

    std::uint32_t ButtonCount() override;
    // Buttons 0 to 3 as far as the device has them; a device that reports no buttons answers for all four.
    bool IsButtonUp(std::uint32_t button) override;
    bool IsButtonDown(std::uint32_t button) override;
    // Not supported: ResourceSystemErrNotSupported, false.
    bool SetButtonState(std::uint32_t button, bool down) override;
    std::uint32_t ButtonHeldTime(std::uint32_t button) override;
    std::uint32_t AxisCount() override;
    // Axes 0 to 2 as far as the device has them, the same way.
    bool IsAxisChanged(std::uint32_t axis) override;
    std::int32_t AxisDelta(std::uint32_t axis) override;
    bool SetAxisPosition(std::uint32_t axis, std::int32_t position) override;
    std::int32_t AxisPosition(std::uint32_t axis) override;
    bool SetPosition(std::int32_t x, std::int32_t y) override;
    void GetPosition(Point& out, bool cursor) override;

private:
    bool ButtonInRange(std::uint32_t button) const;
    bool AxisInRange(std::uint32_t axis) const;

    std::uint32_t m_buttonCount = 0;
    std::uint32_t m_axisCount = 0;
    std::array<std::uint8_t, kButtons> m_buttonDown{};
    std::array<std::uint32_t, kButtons> m_buttonChangeTime{};
    std::array<std::int32_t, kAxes> m_axisPosition{};
    std::array<std::int32_t, kAxes> m_previousAxisPosition{};
    dinput::DIMOUSESTATE m_previousState{};
};

} // namespace Vemo
