// Draws a line between two points already clipped to the destination's clip rectangle. Every operation but
// NoOp draws the colour as Copy does; NoOp changes nothing (a handle of depth 0 or with its lost field set
// draws through the handle's pixel writes even then).
//
// The routine comes from the line table: one plotting routine per depth code 1 to 7 writing the pixels in
// memory, and GenericLineRoutine (the handle's SetPixelImpl for each pixel) for depth 0 and lost handles.
#pragma once

#include "engines/image/effects/RasterOp.h"
#include "engines/image/effects/RoutineEffect.h"
#include "foundation/Rect.h"

#include <cstdint>

namespace Vemo {

class BresenhamLineEffect : public RoutineEffect<BresenhamLineEffect> {
public:
    // Points and colour 0, Copy, the routine chosen for Copy.
    explicit BresenhamLineEffect(GraphicHandle* destination);
    ~BresenhamLineEffect() override;

    // Stores the point with the smaller y first (a when both are equal). False, with the refusing routine,
    // when the handle is null or the operation lies above 15.
    bool Set(const Point& a, const Point& b, std::uint32_t color, RasterOp op);

    const Point& GetFirstPoint() const { return m_first; }
    const Point& GetSecondPoint() const { return m_second; }
    // A pixel value of the destination's format.
    std::uint32_t GetColor() const { return m_color; }
    RasterOp GetOp() const { return m_op; }

private:
    bool Select();

    Point m_first;
    Point m_second;
    std::uint32_t m_color = 0;
    RasterOp m_op = RasterOp::Copy;
};

// Each pixel through the destination's SetPixelImpl; false as soon as one write fails.
bool GenericLineRoutine(BresenhamLineEffect& effect);

} // namespace Vemo
