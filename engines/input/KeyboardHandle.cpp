#include "engines/input/KeyboardHandle.h"

namespace Vemo {

KeyboardHandle::KeyboardHandle(ResourceEngine* engine) : InputDeviceHandle(engine) {}

std::uint32_t KeyboardHandle::Kind() {
    return kKeyboard;
}

std::uint32_t KeyboardHandle::TranslateKey(std::uint32_t key) {
    return key;
}

std::uint32_t KeyboardHandle::KeyCount() {
    return 0;
}

bool KeyboardHandle::IsKeyUp(std::uint32_t) {
    return true;
}

bool KeyboardHandle::IsKeyDown(std::uint32_t) {
    return false;
}

bool KeyboardHandle::SetKeyState(std::uint32_t, bool) {
    return false;
}

std::uint32_t KeyboardHandle::KeyHeldTime(std::uint32_t) {
    return 0;
}

} // namespace Vemo
