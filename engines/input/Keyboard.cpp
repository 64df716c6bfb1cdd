#include "engines/input/Keyboard.h"

#include "engines/input/KeyboardHandle.h"

namespace Vemo {

namespace {

constexpr const char* kClassWord = "Keyboard";

} // namespace

Keyboard::Keyboard() = default;

void Keyboard::SetHandle(ResourceHandle* handle) {
    InputDevice::SetHandle(handle);
    m_keyboard = dynamic_cast<KeyboardHandle*>(handle);
}

bool Keyboard::Open(const String& name) {
    return OpenDevice(InputDeviceHandle::kKeyboard, nullptr, &name, m_keyboard != nullptr);
}

bool Keyboard::Open(std::uint32_t index) {
    return OpenDevice(InputDeviceHandle::kKeyboard, &index, nullptr, m_keyboard != nullptr);
}

std::uint32_t Keyboard::TranslateKey(std::uint32_t key) {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::TranslateKey, key);
}

std::uint32_t Keyboard::KeyCount() {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::KeyCount);
}

bool Keyboard::IsKeyUp(std::uint32_t key) {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::IsKeyUp, key);
}

bool Keyboard::IsKeyDown(std::uint32_t key) {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::IsKeyDown, key);
}

bool Keyboard::SetKeyState(std::uint32_t key, bool down) {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::SetKeyState, key, down);
}

std::uint32_t Keyboard::KeyHeldTime(std::uint32_t key) {
    return Forward(m_keyboard, kClassWord, &KeyboardHandle::KeyHeldTime, key);
}

void Keyboard::KeyDown(std::uint32_t) {}

void Keyboard::KeyUp(std::uint32_t) {}

} // namespace Vemo
