#include "engines/input/directx/DirectXJoystickHandle.h"

namespace Vemo {

DirectXJoystickHandle::DirectXJoystickHandle(ResourceEngine* engine) : DirectXInputHandle(engine) {}

DirectXJoystickHandle::~DirectXJoystickHandle() = default;

bool DirectXJoystickHandle::IsAttached() {
    return false;
}

void DirectXJoystickHandle::ReadEvents(EventQueue&) {}

void DirectXJoystickHandle::Dispatch(InputDeviceEvent*) {}

std::uint32_t DirectXJoystickHandle::SliderCount() {
    return m_sliderCount;
}

std::uint32_t DirectXJoystickHandle::PovCount() {
    return m_povCount;
}

} // namespace Vemo
