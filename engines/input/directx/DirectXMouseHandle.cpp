#include "engines/input/directx/DirectXMouseHandle.h"

#include "engines/input/InputDeviceEvent.h"
#include "engines/input/directx/MouseAxisEnumerator.h"
#include "engines/input/directx/MouseButtonEnumerator.h"
#include "platform/win32/windows/Window.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

#include <algorithm>

namespace Vemo {

namespace {

constexpr std::uint8_t kDownBit = 0x80;

std::uint8_t IsDown(std::uint8_t stateByte) {
    return (stateByte & kDownBit) != 0 ? 1 : 0;
}

bool NotSupported() {
    Error().Report(ResourceSystemErrNotSupported);
    return false;
}

// Relative motion is summed without limit; positions wrap at 32 bits.
std::int32_t Moved(std::int32_t position, std::int32_t delta) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) +
                                     static_cast<std::uint32_t>(delta));
}

std::int32_t Difference(std::int32_t position, std::int32_t before) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) -
                                     static_cast<std::uint32_t>(before));
}

} // namespace

DirectXMouseHandle::DirectXMouseHandle(ResourceEngine* engine) : DirectXInputHandle(engine) {}

DirectXMouseHandle::~DirectXMouseHandle() = default;

bool DirectXMouseHandle::Connect(dinput::IDirectInput2A* directInput, win32::HWND window) {
    dinput::DIDEVCAPS capabilities{};
    if (!m_connection.CreateDevice(directInput, dinput::GUID_SysMouse) ||
        !m_connection.SetDataFormat(dinput::c_dfDIMouse) ||
        !m_connection.SetCooperativeLevel(window, dinput::DISCL_NONEXCLUSIVE | dinput::DISCL_BACKGROUND) ||
        !m_connection.Acquire() || !m_connection.ReadDeviceInfo() ||
        !m_connection.ReadCapabilities(capabilities)) {
        return false;
    }
    m_buttonCount = capabilities.dwButtons;
    m_axisCount = capabilities.dwAxes;
    if (!m_connection.ReadFirstState(&m_previousState, sizeof(m_previousState)) ||
        !m_connection.StartTimer()) {
        return false;
    }
    const std::uint32_t now = m_connection.Now();
    for (std::uint32_t button = 0; button < kButtons; ++button) {
        m_buttonDown[button] = IsDown(m_previousState.rgbButtons[button]);
        m_buttonChangeTime[button] = now;
    }
    m_axisPosition.fill(0);
    m_previousAxisPosition.fill(0);
    return true;
}

void DirectXMouseHandle::ReadEvents(EventQueue& events) {
    MouseHandle::ReadEvents(events);
    dinput::DIMOUSESTATE state{};
    if (!m_connection.ReadState(&state, sizeof(state))) {
        return;
    }
    const std::uint32_t now = m_connection.Now();
    if (state.lX != 0 || state.lY != 0 || state.lZ != 0) {
        auto* motion = new InputDeviceEvent(now, InputDeviceEvent::MouseMotion);
        motion->motion = InputDeviceEvent::Motion{state.lX, state.lY, state.lZ};
        events.PushBack(motion);
    }
    for (std::uint32_t button = 0; button < kButtons; ++button) {
        if (state.rgbButtons[button] == m_previousState.rgbButtons[button]) {
            continue;
        }
        auto* change = new InputDeviceEvent(now, InputDeviceEvent::MouseButton);
        change->change = InputDeviceEvent::Change{button, IsDown(state.rgbButtons[button])};
        events.PushBack(change);
    }
    m_previousState = state;
}

void DirectXMouseHandle::Dispatch(InputDeviceEvent* event) {
    if (event->kind == InputDeviceEvent::MouseButton) {
        const std::uint32_t button = event->change.code;
        const std::uint8_t pressed = event->change.pressed != 0 ? 1 : 0;
        if (!ButtonInRange(button) || m_buttonDown[button] == pressed) {
            return;
        }
        m_buttonDown[button] = pressed;
        m_buttonChangeTime[button] = event->time;
        MouseButtonEnumerator enumerator(button, pressed);
        VisitResources(enumerator);
    } else if (event->kind == InputDeviceEvent::MouseMotion) {
        const std::array<std::int32_t, kAxes> deltas{event->motion.x, event->motion.y, event->motion.z};
        for (std::uint32_t axis = 0; axis < kAxes; ++axis) {
            if (deltas[axis] != 0) {
                m_previousAxisPosition[axis] = m_axisPosition[axis];
                m_axisPosition[axis] = Moved(m_axisPosition[axis], deltas[axis]);
            }
        }
        MouseAxisEnumerator enumerator(deltas[0], deltas[1], deltas[2]);
        VisitResources(enumerator);
    }
}

bool DirectXMouseHandle::ButtonInRange(std::uint32_t button) const {
    return button <= std::min(m_buttonCount - 1, kButtons - 1);
}

bool DirectXMouseHandle::AxisInRange(std::uint32_t axis) const {
    return axis <= std::min(m_axisCount - 1, kAxes - 1);
}

std::uint32_t DirectXMouseHandle::ButtonCount() {
    return m_buttonCount;
}

bool DirectXMouseHandle::IsButtonUp(std::uint32_t button) {
    return ButtonInRange(button) && m_buttonDown[button] == 0;
}

bool DirectXMouseHandle::IsButtonDown(std::uint32_t button) {
    return ButtonInRange(button) && m_buttonDown[button] != 0;
}

bool DirectXMouseHandle::SetButtonState(std::uint32_t, bool) {
    return NotSupported();
}

std::uint32_t DirectXMouseHandle::ButtonHeldTime(std::uint32_t button) {
    return ButtonInRange(button) ? m_connection.Now() - m_buttonChangeTime[button] : 0;
}

std::uint32_t DirectXMouseHandle::AxisCount() {
    return m_axisCount;
}

bool DirectXMouseHandle::IsAxisChanged(std::uint32_t axis) {
    return AxisInRange(axis) && m_axisPosition[axis] != m_previousAxisPosition[axis];
}

std::int32_t DirectXMouseHandle::AxisDelta(std::uint32_t axis) {
    return AxisInRange(axis) ? Difference(m_axisPosition[axis], m_previousAxisPosition[axis]) : 0;
}

bool DirectXMouseHandle::SetAxisPosition(std::uint32_t, std::int32_t) {
    return NotSupported();
}

std::int32_t DirectXMouseHandle::AxisPosition(std::uint32_t axis) {
    return AxisInRange(axis) ? m_axisPosition[axis] : 0;
}

bool DirectXMouseHandle::SetPosition(std::int32_t, std::int32_t) {
    return NotSupported();
}

void DirectXMouseHandle::GetPosition(Point& out, bool cursor) {
    if (!cursor) {
        out = Point(m_axisPosition[0], m_axisPosition[1]);
        return;
    }
    win32::POINT position{};
    if (win32::GetCursorPos(&position)) {
        out = Point(position.x, position.y);
    }
}

} // namespace Vemo
