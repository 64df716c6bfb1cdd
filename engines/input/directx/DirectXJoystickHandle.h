// The DirectX joystick: made only to be refused, since no joystick can be opened. It answers every query
// with a constant, is never attached, and reads no events (not even the marker).
#pragma once

#include "engines/input/JoystickHandle.h"
#include "engines/input/directx/DirectXInputHandle.h"

#include <cstdint>

namespace Vemo {

class DirectXJoystickHandle : public DirectXInputHandle<JoystickHandle> {
public:
    explicit DirectXJoystickHandle(ResourceEngine* engine);
    ~DirectXJoystickHandle() override;

    bool IsAttached() override;
    void ReadEvents(EventQueue& events) override;
    void Dispatch(InputDeviceEvent* event) override;
    std::uint32_t SliderCount() override;
    std::uint32_t PovCount() override;

private:
    std::uint32_t m_sliderCount = 0;
    std::uint32_t m_povCount = 0;
};

} // namespace Vemo
