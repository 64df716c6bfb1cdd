// The base of the effects that draw horizontal spans, row after row: a span list of rowCount rows of
// spansPerRow spans each, every span two signed 16-bit x ends, both inclusive and relative to xOffset (a span
// whose left lies right of its right is empty). The span routines (SpanRoutines.h) clip rows and spans to the
// destination's clip rectangle and combine each pixel with the colour by the operation, span after span in
// order, so overlapping spans of a row are combined twice.
//
// Rows are signed: rows above row 0 are skipped like the rows above the clip top. The span list is the
// subclass's; the base does not own it.
#pragma once

#include "engines/image/effects/RasterOp.h"
#include "engines/image/effects/RoutineEffect.h"

#include <cstdint>

namespace Vemo {

// Empty as made.
struct Span {
    std::int16_t left = 1;
    std::int16_t right = 0;
};

class HorizontalPlottingEffect : public RoutineEffect<HorizontalPlottingEffect> {
public:
    // No spans, one span a row, offset and first row 0, colour 0, Copy; both routines refusing.
    explicit HorizontalPlottingEffect(GraphicHandle* destination);
    ~HorizontalPlottingEffect() override;

    // Chooses the plot routine from the span table by the destination's depth code and the operation. A null
    // handle or an operation above 15: the refusing routine, false. A lost handle or depth 0: the refusing
    // routine, true (such surfaces take no spans).
    bool SelectRoutine();

    Routine GetPlotRoutine() const { return m_plotRoutine; }
    const Span* GetSpans() const { return m_spans; }
    std::uint32_t GetSpansPerRow() const { return m_spansPerRow; }
    std::int32_t GetXOffset() const { return m_xOffset; }
    std::int64_t GetFirstRow() const { return m_firstRow; }
    std::uint32_t GetRowCount() const { return m_rowCount; }
    // A pixel value of the destination's format.
    std::uint32_t GetColor() const { return m_color; }
    RasterOp GetOp() const { return m_op; }

protected:
    Routine m_plotRoutine = &Refuse;
    const Span* m_spans = nullptr;
    std::uint32_t m_spansPerRow = 1;
    std::int32_t m_xOffset = 0;
    std::int64_t m_firstRow = 0;
    std::uint32_t m_rowCount = 0;
    std::uint32_t m_color = 0;
    RasterOp m_op = RasterOp::Copy;
};

} // namespace Vemo
