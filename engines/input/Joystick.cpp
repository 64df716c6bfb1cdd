#include "engines/input/Joystick.h"

#include "engines/input/JoystickHandle.h"

namespace Vemo {

namespace {

constexpr const char* kClassWord = "Joystick";

} // namespace

Joystick::Joystick() = default;

void Joystick::SetHandle(ResourceHandle* handle) {
    InputDevice::SetHandle(handle);
    m_joystick = dynamic_cast<JoystickHandle*>(handle);
}

bool Joystick::Open(const String& name) {
    return OpenDevice(InputDeviceHandle::kJoystick, nullptr, &name, m_joystick != nullptr);
}

bool Joystick::Open(std::uint32_t index) {
    return OpenDevice(InputDeviceHandle::kJoystick, &index, nullptr, m_joystick != nullptr);
}

std::uint32_t Joystick::ButtonCount() {
    return Forward(m_joystick, kClassWord, &JoystickHandle::ButtonCount);
}

bool Joystick::IsButtonUp(std::uint32_t button) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsButtonUp, button);
}

bool Joystick::IsButtonDown(std::uint32_t button) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsButtonDown, button);
}

bool Joystick::SetButtonState(std::uint32_t button, bool down) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetButtonState, button, down);
}

std::uint32_t Joystick::ButtonHeldTime(std::uint32_t button) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::ButtonHeldTime, button);
}

std::uint32_t Joystick::AxisCount() {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisCount);
}

bool Joystick::IsAxisChanged(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsAxisChanged, axis);
}

bool Joystick::IsAxisCentered(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsAxisCentered, axis);
}

bool Joystick::IsAxisInDeadZone(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsAxisInDeadZone, axis);
}

std::uint32_t Joystick::AxisDelta(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisDelta, axis);
}

std::uint32_t Joystick::AxisHeldTime(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisHeldTime, axis);
}

bool Joystick::SetAxisPosition(std::uint32_t axis, std::uint32_t position) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisPosition, axis, position);
}

std::uint32_t Joystick::AxisPosition(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisPosition, axis);
}

bool Joystick::SetAxisDeadZone(std::uint32_t axis, std::uint32_t deadZone) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisDeadZone, axis, deadZone);
}

std::uint32_t Joystick::AxisDeadZone(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisDeadZone, axis);
}

std::uint32_t Joystick::SliderCount() {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SliderCount);
}

bool Joystick::IsSliderChanged(std::uint32_t slider) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsSliderChanged, slider);
}

std::uint32_t Joystick::SliderDelta(std::uint32_t slider) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SliderDelta, slider);
}

bool Joystick::SetSliderPosition(std::uint32_t slider, std::uint32_t position) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetSliderPosition, slider, position);
}

std::uint32_t Joystick::SliderPosition(std::uint32_t slider) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SliderPosition, slider);
}

std::uint32_t Joystick::PovCount() {
    return Forward(m_joystick, kClassWord, &JoystickHandle::PovCount);
}

bool Joystick::IsPovChanged(std::uint32_t pov) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::IsPovChanged, pov);
}

std::uint32_t Joystick::PovDelta(std::uint32_t pov) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::PovDelta, pov);
}

bool Joystick::SetPovDirection(std::uint32_t pov, std::uint32_t direction) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetPovDirection, pov, direction);
}

std::uint32_t Joystick::PovDirection(std::uint32_t pov) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::PovDirection, pov);
}

bool Joystick::SetAxisMinimum(std::uint32_t axis, std::uint32_t minimum) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisMinimum, axis, minimum);
}

std::uint32_t Joystick::AxisMinimum(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisMinimum, axis);
}

bool Joystick::SetAxisMaximum(std::uint32_t axis, std::uint32_t maximum) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisMaximum, axis, maximum);
}

std::uint32_t Joystick::AxisMaximum(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisMaximum, axis);
}

bool Joystick::SetAxisSaturation(std::uint32_t axis, std::uint32_t saturation) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisSaturation, axis, saturation);
}

std::uint32_t Joystick::AxisSaturation(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisSaturation, axis);
}

bool Joystick::SetAxisGranularity(std::uint32_t axis, std::uint32_t granularity) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::SetAxisGranularity, axis, granularity);
}

std::uint32_t Joystick::AxisGranularity(std::uint32_t axis) {
    return Forward(m_joystick, kClassWord, &JoystickHandle::AxisGranularity, axis);
}

} // namespace Vemo
