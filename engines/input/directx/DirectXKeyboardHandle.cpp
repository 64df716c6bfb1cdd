#include "engines/input/directx/DirectXKeyboardHandle.h"

#include "engines/input/InputDeviceEvent.h"
#include "engines/input/directx/KeyboardKeyEnumerator.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

namespace {

constexpr std::uint8_t kDownBit = 0x80;

std::uint8_t IsDown(std::uint8_t stateByte) {
    return (stateByte & kDownBit) != 0 ? 1 : 0;
}

} // namespace

DirectXKeyboardHandle::DirectXKeyboardHandle(ResourceEngine* engine) : DirectXInputHandle(engine) {}

DirectXKeyboardHandle::~DirectXKeyboardHandle() = default;

bool DirectXKeyboardHandle::Connect(dinput::IDirectInput2A* directInput) {
    dinput::DIDEVCAPS capabilities{};
    if (!m_connection.CreateDevice(directInput, dinput::GUID_SysKeyboard) ||
        !m_connection.SetDataFormat(dinput::c_dfDIKeyboard) || !m_connection.Acquire() ||
        !m_connection.ReadDeviceInfo() || !m_connection.ReadCapabilities(capabilities) ||
        !m_connection.ReadFirstState(m_previousState.data(), kKeyCount) || !m_connection.StartTimer()) {
        return false;
    }
    const std::uint32_t now = m_connection.Now();
    for (std::uint32_t index = 0; index < kKeyCount; ++index) {
        m_keyDown[TranslateKey(index)] = IsDown(m_previousState[index]);
    }
    m_keyChangeTime.fill(now);
    return true;
}

void DirectXKeyboardHandle::ReadEvents(EventQueue& events) {
    KeyboardHandle::ReadEvents(events);
    std::array<std::uint8_t, kKeyCount> state{};
    if (!m_connection.ReadState(state.data(), kKeyCount)) {
        return;
    }
    const std::uint32_t now = m_connection.Now();
    for (std::uint32_t index = 0; index < kKeyCount; ++index) {
        if (state[index] == m_previousState[index]) {
            continue;
        }
        auto* event = new InputDeviceEvent(now, InputDeviceEvent::Key);
        event->change = InputDeviceEvent::Change{TranslateKey(index), IsDown(state[index])};
        events.PushBack(event);
    }
    m_previousState = state;
}

void DirectXKeyboardHandle::Dispatch(InputDeviceEvent* event) {
    if (event->kind != InputDeviceEvent::Key) {
        return;
    }
    const std::uint32_t key = event->change.code;
    const std::uint8_t pressed = event->change.pressed != 0 ? 1 : 0;
    if (key >= KeyCount() || m_keyDown[key] == pressed) {
        return;
    }
    m_keyDown[key] = pressed;
    m_keyChangeTime[key] = event->time;
    KeyboardKeyEnumerator enumerator(key, pressed);
    VisitResources(enumerator);
}

std::uint32_t DirectXKeyboardHandle::TranslateKey(std::uint32_t key) {
    return key;
}

std::uint32_t DirectXKeyboardHandle::KeyCount() {
    return kKeyCount;
}

bool DirectXKeyboardHandle::IsKeyUp(std::uint32_t key) {
    return key < KeyCount() && m_keyDown[key] == 0;
}

bool DirectXKeyboardHandle::IsKeyDown(std::uint32_t key) {
    return key < KeyCount() && m_keyDown[key] != 0;
}

bool DirectXKeyboardHandle::SetKeyState(std::uint32_t, bool) {
    Error().Report(ResourceSystemErrNotSupported);
    return false;
}

std::uint32_t DirectXKeyboardHandle::KeyHeldTime(std::uint32_t key) {
    return key < KeyCount() ? m_connection.Now() - m_keyChangeTime[key] : 0;
}

} // namespace Vemo
