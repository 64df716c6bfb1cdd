#include "engines/input/directx/KeyboardKeyEnumerator.h"

#include "engines/input/Keyboard.h"

namespace Vemo {

KeyboardKeyEnumerator::KeyboardKeyEnumerator(std::uint32_t key, std::uint8_t pressed)
    : m_key(key), m_pressed(pressed) {}

void KeyboardKeyEnumerator::VisitResource(Resource* resource) {
    auto* keyboard = dynamic_cast<Keyboard*>(resource);
    if (keyboard == nullptr) {
        return;
    }
    if (m_pressed != 0) {
        keyboard->KeyDown(m_key);
    } else {
        keyboard->KeyUp(m_key);
    }
}

} // namespace Vemo
