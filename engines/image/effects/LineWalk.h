// The pixels of a line, first point (the one with the smaller y) to second, both ends included: a steep or
// diagonal line steps y every pixel and x when the error passes 0, a shallow one the other way round. A line
// of length 0 is one pixel.
#pragma once

#include "foundation/Rect.h"

#include <cstdint>

namespace Vemo {

// plot(x, y) for each pixel in order.
template <class Plot>
bool WalkLine(const Point& first, const Point& second, Plot&& plot) {
    std::int64_t x = first.x;
    std::int64_t y = first.y;
    const std::int64_t dy = std::int64_t{second.y} - first.y;
    const std::int64_t dx = std::int64_t{second.x} - first.x;
    const std::int64_t sx = dx < 0 ? -1 : 1;
    const std::int64_t adx = dx < 0 ? -dx : dx;
    std::int64_t error = 0;
    if (adx <= dy) {
        for (std::int64_t step = 0; step <= dy; ++step) {
            if (!plot(x, y)) {
                return false;
            }
            error += adx;
            if (error > 0) {
                x += sx;
                error -= dy;
            }
            ++y;
        }
        return true;
    }
    for (std::int64_t step = 0; step <= adx; ++step) {
        if (!plot(x, y)) {
            return false;
        }
        error += dy;
        if (error > 0) {
            ++y;
            error -= adx;
        }
        x += sx;
    }
    return true;
}

} // namespace Vemo
