#include "engines/input/JoystickHandle.h"

namespace Vemo {

JoystickHandle::JoystickHandle(ResourceEngine* engine) : InputDeviceHandle(engine) {}

std::uint32_t JoystickHandle::Kind() {
    return kJoystick;
}

std::uint32_t JoystickHandle::ButtonCount() {
    return 0;
}

bool JoystickHandle::IsButtonUp(std::uint32_t) {
    return true;
}

bool JoystickHandle::IsButtonDown(std::uint32_t) {
    return false;
}

bool JoystickHandle::SetButtonState(std::uint32_t, bool) {
    return false;
}

std::uint32_t JoystickHandle::ButtonHeldTime(std::uint32_t) {
    return 0;
}

std::uint32_t JoystickHandle::AxisCount() {
    return 0;
}

bool JoystickHandle::IsAxisChanged(std::uint32_t) {
    return false;
}

bool JoystickHandle::IsAxisCentered(std::uint32_t) {
    return false;
}

bool JoystickHandle::IsAxisInDeadZone(std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisDelta(std::uint32_t) {
    return 0;
}

std::uint32_t JoystickHandle::AxisHeldTime(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetAxisPosition(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisPosition(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetAxisDeadZone(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisDeadZone(std::uint32_t) {
    return 0;
}

std::uint32_t JoystickHandle::SliderCount() {
    return 0;
}

bool JoystickHandle::IsSliderChanged(std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::SliderDelta(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetSliderPosition(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::SliderPosition(std::uint32_t) {
    return 0;
}

std::uint32_t JoystickHandle::PovCount() {
    return 0;
}

bool JoystickHandle::IsPovChanged(std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::PovDelta(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetPovDirection(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::PovDirection(std::uint32_t) {
    return 0xFFFFFFFF;
}

bool JoystickHandle::SetAxisMinimum(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisMinimum(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetAxisMaximum(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisMaximum(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetAxisSaturation(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisSaturation(std::uint32_t) {
    return 0;
}

bool JoystickHandle::SetAxisGranularity(std::uint32_t, std::uint32_t) {
    return false;
}

std::uint32_t JoystickHandle::AxisGranularity(std::uint32_t) {
    return 0;
}

} // namespace Vemo
