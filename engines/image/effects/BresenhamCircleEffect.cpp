#include "engines/image/effects/BresenhamCircleEffect.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace Vemo {

namespace {

constexpr std::int32_t kLargestRadius = std::numeric_limits<std::int16_t>::max();

Span MakeSpan(std::int32_t left, std::int32_t right) {
    Span span;
    span.left = static_cast<std::int16_t>(left);
    span.right = static_cast<std::int16_t>(right);
    return span;
}

// The midpoint recurrence over one octant: visit(x, y) after each step of y, before x grows.
template <class Visit>
void WalkOctant(std::int32_t radius, Visit&& visit) {
    std::int32_t x = 1;
    std::int32_t y = radius;
    std::int32_t d = 1 - radius;
    while (x < y) {
        if (d >= 0) {
            --y;
            d += 2 * (x - y) + 1;
        } else {
            d += 2 * x + 1;
        }
        visit(x, y);
        ++x;
    }
}

// The right-hand x values drawn on one row of an outline.
struct Range {
    void Add(std::int32_t x) {
        low = empty ? x : std::min(low, x);
        high = empty ? x : std::max(high, x);
        empty = false;
    }

    bool empty = true;
    std::int32_t low = 0;
    std::int32_t high = 0;
};

} // namespace

BresenhamCircleEffect::BresenhamCircleEffect(GraphicHandle* destination)
    : HorizontalPlottingEffect(destination) {}

BresenhamCircleEffect::~BresenhamCircleEffect() = default;

bool BresenhamCircleEffect::Set(const Point& centre, std::int32_t radius, std::uint32_t color, bool filled,
                                RasterOp op) {
    m_centre = centre;
    m_radius = radius;
    m_color = color;
    m_filled = filled;
    m_op = op;
    if (m_destination == nullptr || radius < 0 || radius > kLargestRadius) {
        m_routine = &Refuse;
        return false;
    }
    m_xOffset = centre.x;
    m_firstRow = std::int64_t{centre.y} - radius;
    m_rowCount = 2 * static_cast<std::uint32_t>(radius) + 1;
    m_spansPerRow = filled ? 1 : 2;
    if (filled) {
        BuildDisc();
    } else {
        BuildOutline();
    }
    const bool selected = SelectRoutine();
    m_routine = m_plotRoutine;
    return selected;
}

Span* BresenhamCircleEffect::Reserve(std::uint32_t count) {
    if (m_capacity < count) {
        m_buffer.reset();
        m_buffer = std::make_unique<Span[]>(count);
        m_capacity = count;
    }
    m_spans = m_buffer.get();
    return m_buffer.get();
}

void BresenhamCircleEffect::BuildDisc() {
    const std::int32_t radius = m_radius;
    Span* rows = Reserve(m_rowCount) + radius;
    const auto setHalfWidth = [rows](std::int32_t distance, std::int32_t halfWidth) {
        rows[-distance] = rows[distance] = MakeSpan(-halfWidth, halfWidth);
    };
    setHalfWidth(0, radius);
    if (radius > 0) {
        setHalfWidth(radius, 0);
    }
    WalkOctant(radius, [&](std::int32_t x, std::int32_t y) {
        setHalfWidth(y, x);
        setHalfWidth(x, y);
    });
}

void BresenhamCircleEffect::BuildOutline() {
    const std::int32_t radius = m_radius;
    std::vector<Range> ranges(static_cast<std::size_t>(radius) + 1);
    ranges[radius].Add(0);
    WalkOctant(radius, [&](std::int32_t x, std::int32_t y) {
        ranges[y].Add(x);
        ranges[x].Add(y);
    });
    // Two spans a row, row by row; rows[2 * distance] is the first span of the row that far below the centre.
    Span* rows = Reserve(2 * m_rowCount) + 2 * radius;
    rows[0] = MakeSpan(-radius, -radius);
    rows[1] = MakeSpan(radius, radius);
    for (std::int32_t distance = 1; distance <= radius; ++distance) {
        const Range& range = ranges[distance];
        const Span right = range.empty ? Span() : MakeSpan(range.low, range.high);
        const Span left = range.empty ? Span() : MakeSpan(-range.high, -range.low);
        rows[-2 * distance] = rows[2 * distance] = right;
        rows[-2 * distance + 1] = rows[2 * distance + 1] = left;
    }
    // The top and bottom rows: one span across, so that none of their pixels is drawn twice.
    const Span across = MakeSpan(-ranges[radius].high, ranges[radius].high);
    rows[-2 * radius] = rows[2 * radius] = across;
    rows[-2 * radius + 1] = rows[2 * radius + 1] = Span();
}

} // namespace Vemo
