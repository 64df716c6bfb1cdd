// The frame that the specialised blit routines share: the operation checked (above 15 refused, NoOp done at
// once without a lock), the destination locked, then the source, and the rows of the source rectangle walked
// top to bottom beside the matching destination rows; the locks released in reverse order on every path.
#pragma once

#include "engines/image/effects/BlitEffect.h"
#include "engines/image/effects/RasterOp.h"
#include "engines/image/effects/SurfaceLock.h"

#include <cstddef>
#include <cstdint>

namespace Vemo {

// Calls row(destination, source, width) for each row, the pointers at the rectangles' left pixels. An empty
// rectangle locks, writes nothing and answers true.
template <class Row>
bool WalkBlitRows(BlitEffect& effect, std::uint32_t destinationBytesPerPixel,
                  std::uint32_t sourceBytesPerPixel, Row&& row) {
    SurfaceLock destination(*effect.GetDestination());
    if (!destination.HasMemory()) {
        return false;
    }
    SurfaceLock source(*effect.GetSource());
    if (!source.HasMemory()) {
        return false;
    }
    const Rect& from = effect.GetSourceRect();
    const Rect& to = effect.GetDestinationRect();
    const std::int64_t width = std::int64_t{from.right} - from.left;
    const std::int64_t height = std::int64_t{from.bottom} - from.top;
    for (std::int64_t y = 0; y < height && width > 0; ++y) {
        row(destination.Row(to.top + y) + std::int64_t{to.left} * destinationBytesPerPixel,
            source.Row(from.top + y) + std::int64_t{from.left} * sourceBytesPerPixel,
            static_cast<std::size_t>(width));
    }
    return true;
}

// The operation as a constant for visit.template operator()<op>(), NoOp answered true without a call.
template <class Visitor>
bool VisitBlitOp(const BlitEffect& effect, Visitor&& visit) {
    return VisitRasterOp(effect.GetOp(), [&]<RasterOp Op>() {
        if constexpr (Op == RasterOp::NoOp) {
            return true;
        } else {
            return visit.template operator()<Op>();
        }
    });
}

} // namespace Vemo
