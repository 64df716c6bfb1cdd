#include "engines/image/effects/SpanRoutines.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/EffectTables.h"
#include "engines/image/effects/PatternFill.h"
#include "engines/image/effects/PixelWords.h"
#include "engines/image/effects/SurfaceLock.h"

#include <algorithm>
#include <cstring>

namespace Vemo {

namespace {

using Routine = HorizontalPlottingEffect::Routine;

// The operation applied to the pixels first to last of a row. Where the operation does not read the
// destination the pixels are filled as bytes or as a repeated pattern of whole registers.
template <DepthCode Depth, RasterOp Op>
void FillSpan(std::uint8_t* row, std::int64_t first, std::int64_t last, std::uint32_t color) {
    const auto count = static_cast<std::size_t>(last - first + 1);
    if constexpr (Depth >= 4 && (Op == RasterOp::Clear || Op == RasterOp::Set)) {
        const std::size_t bytes = BytesPerPixelFromDepth(Depth);
        std::memset(row + first * bytes, Op == RasterOp::Set ? 0xFF : 0, count * bytes);
    } else if constexpr (Depth == 4 && (Op == RasterOp::Copy || Op == RasterOp::CopyInverted)) {
        std::memset(row + first, static_cast<std::uint8_t>(ApplyRasterOp(Op, color, 0)), count);
    } else if constexpr (Depth == 5 && (Op == RasterOp::Copy || Op == RasterOp::CopyInverted)) {
        FillPattern(row + 2 * first, 2 * count, (ApplyRasterOp(Op, color, 0) & 0xFFFF) * 0x10001);
    } else if constexpr (Depth == 7 && (Op == RasterOp::Copy || Op == RasterOp::CopyInverted)) {
        FillPattern(row + 4 * first, 4 * count, ApplyRasterOp(Op, color, 0));
    } else if constexpr (Depth == 4) {
        for (std::uint8_t *at = row + first, *end = at + count; at != end; ++at) {
            Combine8<Op>(at, color);
        }
    } else if constexpr (Depth == 5) {
        for (std::uint8_t *at = row + 2 * first, *end = at + 2 * count; at != end; at += 2) {
            Combine16<Op>(at, color);
        }
    } else if constexpr (Depth == 6) {
        for (std::uint8_t *at = row + 3 * first, *end = at + 3 * count; at != end; at += 3) {
            Combine24<Op>(at, color);
        }
    } else if constexpr (Depth == 7) {
        for (std::uint8_t *at = row + 4 * first, *end = at + 4 * count; at != end; at += 4) {
            Combine32<Op>(at, color);
        }
    } else {
        for (std::int64_t x = first; x <= last; ++x) {
            const auto at = static_cast<std::uint32_t>(x);
            WritePixel(row, at, Depth, ApplyRasterOp(Op, color, ReadPixel(row, at, Depth)));
        }
    }
}

template <DepthCode Depth, RasterOp Op>
bool PlotSpans(HorizontalPlottingEffect& effect) {
    GraphicHandle& destination = *effect.GetDestination();
    const Rect& clip = destination.GetClipRect();
    const Span* spans = effect.GetSpans();
    const std::uint32_t spansPerRow = effect.GetSpansPerRow();
    std::int64_t first = effect.GetFirstRow();
    std::int64_t count = effect.GetRowCount();
    if (first >= clip.bottom || first + count < clip.top) {
        return true;
    }
    if (first < clip.top) {
        const std::int64_t skipped = clip.top - first;
        spans += skipped * spansPerRow;
        count -= skipped;
        first = clip.top;
    }
    count = std::min<std::int64_t>(count, clip.bottom - first);

    SurfaceLock surface(destination);
    if (!surface.HasMemory()) {
        return false;
    }
    const std::int64_t offset = effect.GetXOffset();
    const std::uint32_t color = effect.GetColor();
    for (std::int64_t row = 0; row < count; ++row) {
        std::uint8_t* pixels = surface.Row(first + row);
        for (const Span *span = spans + row * spansPerRow, *end = span + spansPerRow; span != end; ++span) {
            if (span->left > span->right) {
                continue;
            }
            const std::int64_t left = std::max<std::int64_t>(span->left + offset, clip.left);
            const std::int64_t right =
                std::min<std::int64_t>(span->right + offset, std::int64_t{clip.right} - 1);
            if (left <= right) {
                FillSpan<Depth, Op>(pixels, left, right, color);
            }
        }
    }
    return true;
}

struct SpanEntry {
    template <DepthCode Depth, RasterOp Op>
    constexpr Routine operator()() const {
        if constexpr (Depth == 0) {
            return &HorizontalPlottingEffect::Refuse;
        } else if constexpr (Op == RasterOp::NoOp) {
            return &HorizontalPlottingEffect::DoNothing;
        } else {
            return &PlotSpans<Depth, Op>;
        }
    }
};

constinit const auto kSpanTable = MakeEffectTable<Routine>(SpanEntry());

} // namespace

HorizontalPlottingEffect::Routine FindSpanRoutine(DepthCode depth, RasterOp op) {
    return FindEffectRoutine(kSpanTable, depth, op);
}

} // namespace Vemo
