// Draws one horizontal span, both ends inclusive, through the span routines: the coordinates come clipped to
// the destination's clip rectangle from the handle's horizontal-line operation.
#pragma once

#include "engines/image/effects/HorizontalPlottingEffect.h"

#include <cstdint>

namespace Vemo {

class HorizontalLineEffect : public HorizontalPlottingEffect {
public:
    explicit HorizontalLineEffect(GraphicHandle* destination);
    ~HorizontalLineEffect() override;

    // Stores the span from the smaller x to the larger on row y, chooses the span routine and makes it the
    // effect's routine; answers as SelectRoutine. The span is held relative to its left end, so any x
    // position fits the 16-bit span ends; a span longer than 32768 pixels is cut to that length.
    bool Set(std::int32_t x1, std::int32_t x2, std::int32_t y, std::uint32_t color, RasterOp op);

private:
    Span m_span;
};

} // namespace Vemo
