#include "engines/input/directx/MouseButtonEnumerator.h"

#include "engines/input/Mouse.h"

namespace Vemo {

MouseButtonEnumerator::MouseButtonEnumerator(std::uint32_t button, std::uint8_t pressed)
    : m_button(button), m_pressed(pressed) {}

void MouseButtonEnumerator::VisitResource(Resource* resource) {
    auto* mouse = dynamic_cast<Mouse*>(resource);
    if (mouse == nullptr) {
        return;
    }
    if (m_pressed != 0) {
        mouse->ButtonDown(m_button);
    } else {
        mouse->ButtonUp(m_button);
    }
}

} // namespace Vemo
