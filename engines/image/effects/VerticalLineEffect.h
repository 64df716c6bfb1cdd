// Draws a vertical line, top to bottom inclusive, already clipped to the destination's clip rectangle:
// each pixel combined with the colour by the raster operation, at every depth code 1 to 7 (on 1-, 2- and
// 4-bit surfaces on the pixel's own bits, its neighbours in the byte kept).
//
// The routine comes from the vertical-line table: a routine per depth code 1 to 7 and operation, the
// do-nothing routine for NoOp; GenericVerticalLineRoutine for depth 0 (NoOp included) and lost handles, which
// writes the colour through the handle whatever the operation.
#pragma once

#include "engines/image/effects/RasterOp.h"
#include "engines/image/effects/RoutineEffect.h"

#include <cstdint>

namespace Vemo {

class VerticalLineEffect : public RoutineEffect<VerticalLineEffect> {
public:
    // Coordinates and colour 0, Copy, the routine chosen for Copy.
    explicit VerticalLineEffect(GraphicHandle* destination);
    ~VerticalLineEffect() override;

    // Stores the smaller y as top. False, with the refusing routine, when the handle is null or the operation
    // lies above 15.
    bool Set(std::int32_t x, std::int32_t y1, std::int32_t y2, std::uint32_t color, RasterOp op);

    std::int32_t GetX() const { return m_x; }
    std::int32_t GetTop() const { return m_top; }
    std::int32_t GetBottom() const { return m_bottom; }
    std::uint32_t GetColor() const { return m_color; }
    RasterOp GetOp() const { return m_op; }

private:
    bool Select();

    std::int32_t m_x = 0;
    std::int32_t m_top = 0;
    std::int32_t m_bottom = 0;
    std::uint32_t m_color = 0;
    RasterOp m_op = RasterOp::Copy;
};

// Each pixel through the destination's SetPixelImpl with the colour; false as soon as one write fails.
bool GenericVerticalLineRoutine(VerticalLineEffect& effect);

} // namespace Vemo
