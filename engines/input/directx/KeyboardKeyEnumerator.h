// Tells every keyboard front-end of a handle that a key went down or up.
#pragma once

#include "resources/ResourceEnumerator.h"

#include <cstdint>

namespace Vemo {

class KeyboardKeyEnumerator : public ResourceEnumerator {
public:
    KeyboardKeyEnumerator(std::uint32_t key, std::uint8_t pressed);

    // KeyDown or KeyUp of a Keyboard; other front-ends are passed over.
    void VisitResource(Resource* resource) override;

private:
    std::uint32_t m_key;
    std::uint8_t m_pressed;
};

} // namespace Vemo
