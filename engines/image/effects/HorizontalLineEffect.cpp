#include "engines/image/effects/HorizontalLineEffect.h"

#include <algorithm>
#include <limits>

namespace Vemo {

HorizontalLineEffect::HorizontalLineEffect(GraphicHandle* destination)
    : HorizontalPlottingEffect(destination) {
    m_spans = &m_span;
    m_rowCount = 1;
}

HorizontalLineEffect::~HorizontalLineEffect() = default;

bool HorizontalLineEffect::Set(std::int32_t x1, std::int32_t x2, std::int32_t y, std::uint32_t color,
                               RasterOp op) {
    const std::int32_t left = std::min(x1, x2);
    const std::int64_t length = std::int64_t{std::max(x1, x2)} - left;
    m_xOffset = left;
    m_span.left = 0;
    m_span.right =
        static_cast<std::int16_t>(std::min<std::int64_t>(length, std::numeric_limits<std::int16_t>::max()));
    m_firstRow = y;
    m_color = color;
    m_op = op;
    const bool selected = SelectRoutine();
    m_routine = m_plotRoutine;
    return selected;
}

} // namespace Vemo
