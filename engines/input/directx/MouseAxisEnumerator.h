// Tells every mouse front-end of a handle how far each axis moved, x, y and z in that order, axes that did
// not move left out. A mouse that leaves its handle while it is told hears of no further axis.
#pragma once

#include "resources/ResourceEnumerator.h"

#include <cstdint>

namespace Vemo {

class MouseAxisEnumerator : public ResourceEnumerator {
public:
    MouseAxisEnumerator(std::int32_t x, std::int32_t y, std::int32_t z);

    // AxisMoved of a Mouse; other front-ends are passed over.
    void VisitResource(Resource* resource) override;

private:
    std::int32_t m_deltas[3];
};

} // namespace Vemo
