#include "engines/input/Mouse.h"

#include "engines/input/MouseHandle.h"

namespace Vemo {

namespace {

constexpr const char* kClassWord = "Mouse";

} // namespace

Mouse::Mouse() = default;

void Mouse::SetHandle(ResourceHandle* handle) {
    InputDevice::SetHandle(handle);
    m_mouse = dynamic_cast<MouseHandle*>(handle);
}

bool Mouse::Open(const String& name) {
    return OpenDevice(InputDeviceHandle::kMouse, nullptr, &name, m_mouse != nullptr);
}

bool Mouse::Open(std::uint32_t index) {
    return OpenDevice(InputDeviceHandle::kMouse, &index, nullptr, m_mouse != nullptr);
}

std::uint32_t Mouse::ButtonCount() {
    return Forward(m_mouse, kClassWord, &MouseHandle::ButtonCount);
}

bool Mouse::IsButtonUp(std::uint32_t button) {
    return Forward(m_mouse, kClassWord, &MouseHandle::IsButtonUp, button);
}

bool Mouse::IsButtonDown(std::uint32_t button) {
    return Forward(m_mouse, kClassWord, &MouseHandle::IsButtonDown, button);
}

bool Mouse::SetButtonState(std::uint32_t button, bool down) {
    return Forward(m_mouse, kClassWord, &MouseHandle::SetButtonState, button, down);
}

std::uint32_t Mouse::ButtonHeldTime(std::uint32_t button) {
    return Forward(m_mouse, kClassWord, &MouseHandle::ButtonHeldTime, button);
}

std::uint32_t Mouse::AxisCount() {
    return Forward(m_mouse, kClassWord, &MouseHandle::AxisCount);
}

bool Mouse::IsAxisChanged(std::uint32_t axis) {
    return Forward(m_mouse, kClassWord, &MouseHandle::IsAxisChanged, axis);
}

std::int32_t Mouse::AxisDelta(std::uint32_t axis) {
    return Forward(m_mouse, kClassWord, &MouseHandle::AxisDelta, axis);
}

bool Mouse::SetAxisPosition(std::uint32_t axis, std::int32_t position) {
    return Forward(m_mouse, kClassWord, &MouseHandle::SetAxisPosition, axis, position);
}

std::int32_t Mouse::AxisPosition(std::uint32_t axis) {
    return Forward(m_mouse, kClassWord, &MouseHandle::AxisPosition, axis);
}

bool Mouse::SetPosition(std::int32_t x, std::int32_t y) {
    return Forward(m_mouse, kClassWord, &MouseHandle::SetPosition, x, y);
}

void Mouse::GetPosition(Point& out, bool cursor) {
    Forward(m_mouse, kClassWord, &MouseHandle::GetPosition, out, cursor);
}

void Mouse::ButtonDown(std::uint32_t) {}

void Mouse::ButtonUp(std::uint32_t) {}

void Mouse::AxisMoved(std::uint32_t, std::int32_t) {}

} // namespace Vemo
