#include "engines/input/MouseHandle.h"

namespace Vemo {

MouseHandle::MouseHandle(ResourceEngine* engine) : InputDeviceHandle(engine) {}

std::uint32_t MouseHandle::Kind() {
    return kMouse;
}

std::uint32_t MouseHandle::ButtonCount() {
    return 0;
}

bool MouseHandle::IsButtonUp(std::uint32_t) {
    return true;
}

bool MouseHandle::IsButtonDown(std::uint32_t) {
    return false;
}

bool MouseHandle::SetButtonState(std::uint32_t, bool) {
    return false;
}

std::uint32_t MouseHandle::ButtonHeldTime(std::uint32_t) {
    return 0;
}

std::uint32_t MouseHandle::AxisCount() {
    return 0;
}

bool MouseHandle::IsAxisChanged(std::uint32_t) {
    return false;
}

std::int32_t MouseHandle::AxisDelta(std::uint32_t) {
    return 0;
}

bool MouseHandle::SetAxisPosition(std::uint32_t, std::int32_t) {
    return false;
}

std::int32_t MouseHandle::AxisPosition(std::uint32_t) {
    return 0;
}

bool MouseHandle::SetPosition(std::int32_t, std::int32_t) {
    return false;
}

void MouseHandle::GetPosition(Point& out, bool) {
    out = Point(0, 0);
}

} // namespace Vemo
