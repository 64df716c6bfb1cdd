// Tells every mouse front-end of a handle that a button went down or up.
#pragma once

#include "resources/ResourceEnumerator.h"

#include <cstdint>

namespace Vemo {

class MouseButtonEnumerator : public ResourceEnumerator {
public:
    MouseButtonEnumerator(std::uint32_t button, std::uint8_t pressed);

    // ButtonDown or ButtonUp of a Mouse; other front-ends are passed over.
    void VisitResource(Resource* resource) override;

private:
    std::uint32_t m_button;
    std::uint8_t m_pressed;
};

} // namespace Vemo
