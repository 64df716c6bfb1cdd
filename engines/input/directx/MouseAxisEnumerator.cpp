#include "engines/input/directx/MouseAxisEnumerator.h"

#include "engines/input/Mouse.h"

namespace Vemo {

MouseAxisEnumerator::MouseAxisEnumerator(std::int32_t x, std::int32_t y, std::int32_t z)
    : m_deltas{x, y, z} {}

void MouseAxisEnumerator::VisitResource(Resource* resource) {
    auto* mouse = dynamic_cast<Mouse*>(resource);
    if (mouse == nullptr) {
        return;
    }
    for (std::uint32_t axis = 0; axis < 3; ++axis) {
        if (m_deltas[axis] == 0) {
            continue;
        }
        // The mouse may have been closed, or deleted, by what it was told of the axis before.
        if (!VisitedStillChained()) {
            return;
        }
        mouse->AxisMoved(axis, m_deltas[axis]);
    }
}

} // namespace Vemo
