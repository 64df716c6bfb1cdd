// Draws a circle or a disc as horizontal spans through the span routines: one span a row for a disc, two for
// an outline (the top and bottom rows one span, so that none of their pixels is drawn twice). Rows and spans
// are clipped by the span routines.
//
// Half-widths come from the midpoint recurrence: radius 1 gives a plus of five pixels filled and four pixels
// as an outline; radius 2 half-widths 2, 2, 1 filled, and an outline of 12 pixels; radius 0 one pixel either
// way. The effect owns its span buffer, which it grows to exactly the spans needed.
#pragma once

#include "engines/image/effects/HorizontalPlottingEffect.h"
#include "foundation/Rect.h"

#include <cstdint>
#include <memory>

namespace Vemo {

class BresenhamCircleEffect : public HorizontalPlottingEffect {
public:
    // Centre, radius, filled flag, buffer and capacity 0.
    explicit BresenhamCircleEffect(GraphicHandle* destination);
    ~BresenhamCircleEffect() override;

    // Builds the spans, chooses the span routine and makes it the effect's routine; answers as SelectRoutine.
    // False, with no spans built and the refusing routine, when the handle is null or the radius lies outside
    // 0 to 32767 (the span ends are 16-bit).
    bool Set(const Point& centre, std::int32_t radius, std::uint32_t color, bool filled, RasterOp op);

    const Point& GetCentre() const { return m_centre; }
    std::int32_t GetRadius() const { return m_radius; }
    bool IsFilled() const { return m_filled; }
    std::uint32_t GetCapacity() const { return m_capacity; }

private:
    Span* Reserve(std::uint32_t count);
    void BuildDisc();
    void BuildOutline();

    Point m_centre;
    std::int32_t m_radius = 0;
    bool m_filled = false;
    std::unique_ptr<Span[]> m_buffer;
    std::uint32_t m_capacity = 0;
};

} // namespace Vemo
