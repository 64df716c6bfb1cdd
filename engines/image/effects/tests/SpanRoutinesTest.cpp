#include "engines/image/effects/SpanRoutines.h"

#include "engines/image/effects/HorizontalLineEffect.h"
#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

// A span list of the test's own.
class SpanListEffect : public HorizontalPlottingEffect {
public:
    SpanListEffect(GraphicHandle* destination, std::vector<Span> spans, std::uint32_t spansPerRow,
                   std::int32_t xOffset, std::int64_t firstRow, std::uint32_t color, RasterOp op)
        : HorizontalPlottingEffect(destination), m_list(std::move(spans)) {
        m_spans = m_list.data();
        m_spansPerRow = spansPerRow;
        m_xOffset = xOffset;
        m_firstRow = firstRow;
        m_rowCount = static_cast<std::uint32_t>(m_list.size() / spansPerRow);
        m_color = color;
        m_op = op;
    }

    bool Draw() {
        const bool selected = SelectRoutine();
        m_routine = m_plotRoutine;
        return RunIfSet(selected);
    }

private:
    std::vector<Span> m_list;
};

Span MakeSpan(int left, int right) {
    Span span;
    span.left = static_cast<std::int16_t>(left);
    span.right = static_cast<std::int16_t>(right);
    return span;
}

// The spans drawn a pixel at a time, clipped as the routines clip.
void ReferenceSpans(MemoryGraphicHandle& surface, const std::vector<Span>& spans, std::uint32_t spansPerRow,
                    std::int32_t xOffset, std::int64_t firstRow, std::uint32_t color, RasterOp op) {
    const Rect& clip = surface.GetClipRect();
    for (std::size_t index = 0; index < spans.size(); ++index) {
        const std::int64_t y = firstRow + static_cast<std::int64_t>(index / spansPerRow);
        if (y < clip.top || y >= clip.bottom) {
            continue;
        }
        const std::int64_t left = std::max<std::int64_t>(spans[index].left + xOffset, clip.left);
        const std::int64_t right = std::min<std::int64_t>(spans[index].right + xOffset, clip.right - 1);
        for (std::int64_t x = left; x <= right; ++x) {
            const auto column = static_cast<std::int32_t>(x);
            const auto row = static_cast<std::int32_t>(y);
            surface.PutPixel(column, row, ApplyRasterOp(op, color, surface.PixelAt(column, row)));
        }
    }
}

class SpanRoutinesTest : public EffectTest {};

TEST_F(SpanRoutinesTest, EveryDepthAndOperationEqualsPixelByPixelWork) {
    const F formats[] = {F::Indexed1, F::Indexed2, F::Indexed4, F::Indexed8, F::Rgb555, F::Rgb24, F::Abgr32};
    std::mt19937 random(13);
    for (F format : formats) {
        for (RasterOp op : AllRasterOps()) {
            SCOPED_TRACE(std::to_string(FormatNumber(format)) + " " + OpName(op));
            MemoryGraphicHandle surface(70, 12, Format(format));
            MemoryGraphicHandle expected(70, 12, Format(format));
            FillRandom(surface, random);
            surface.SetClipRect(Rect(3, 2, 66, 11));
            expected.SetClipRect(Rect(3, 2, 66, 11));
            expected.Memory() = surface.Memory();
            // Two spans a row, random and sometimes overlapping, empty, or outside the clip.
            std::vector<Span> spans;
            for (int index = 0; index < 24; ++index) {
                const int left = static_cast<int>(random() % 90) - 20;
                spans.push_back(MakeSpan(left, left + static_cast<int>(random() % 40) - 4));
            }
            const auto color = static_cast<std::uint32_t>(random());
            if (op != RasterOp::NoOp) {
                ReferenceSpans(expected, spans, 2, 1, 0, color, op);
            }
            SpanListEffect effect(&surface, spans, 2, 1, 0, color, op);
            EXPECT_TRUE(effect.Draw());
            EXPECT_EQ(surface.Memory(), expected.Memory()) << Differences(surface, expected);
            EXPECT_EQ(surface.LocksAsked(), op == RasterOp::NoOp ? 0 : 1);
        }
    }
}

TEST_F(SpanRoutinesTest, RowsAreClippedAsSignedNumbers) {
    struct Row {
        const char* name;
        std::int64_t firstRow;
        int rows;
        bool locks;
        std::vector<int> drawnRows;
    };
    // Clip rows 3 to 6; one span a row, each row's span marks the row with its own colour.
    const Row rows[] = {
        {"InsideTheClip", 3, 2, true, {3, 4}},
        {"AboveTheClipTopRowsAreSkipped", 1, 4, true, {3, 4}},
        {"OneRowAboveTheClipTop", 2, 3, true, {3, 4}},
        {"AboveRow0LikeAboveTheClipTop", -2, 7, true, {3, 4}},
        {"PastTheClipBottomCut", 5, 4, true, {5, 6}},
        {"EndingAtTheClipTopLocksAndDrawsNothing", 1, 2, true, {}},
        {"EndingAboveTheClipTop", 0, 2, false, {}},
        {"StartingAtTheClipBottom", 7, 2, false, {}},
        {"WhollyAboveRow0", -5, 3, false, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryGraphicHandle surface(4, 9, Format(F::Indexed8));
        surface.SetClipRect(Rect(0, 3, 4, 7));
        std::vector<Span> spans(static_cast<std::size_t>(row.rows), MakeSpan(0, 0));
        SpanListEffect effect(&surface, spans, 1, 1, row.firstRow, 0xEE, RasterOp::Copy);
        EXPECT_TRUE(effect.Draw());
        EXPECT_EQ(surface.LocksAsked(), row.locks ? 1 : 0);
        std::vector<int> drawn;
        for (std::int32_t y = 0; y < 9; ++y) {
            if (surface.PixelAt(1, y) == 0xEE) {
                drawn.push_back(y);
            }
        }
        EXPECT_EQ(drawn, row.drawnRows);
    }
}

TEST_F(SpanRoutinesTest, TheRowsAboveTheClipTopTakeTheirSpansAlong) {
    MemoryGraphicHandle surface(8, 4, Format(F::Indexed8));
    surface.SetClipRect(Rect(0, 2, 8, 4));
    SpanListEffect effect(&surface, {MakeSpan(0, 0), MakeSpan(1, 1), MakeSpan(2, 2), MakeSpan(3, 3)}, 1, 0, 0,
                          7, RasterOp::Copy);
    EXPECT_TRUE(effect.Draw());
    EXPECT_EQ(surface.PixelAt(2, 2), 7u);
    EXPECT_EQ(surface.PixelAt(3, 3), 7u);
    EXPECT_EQ(surface.PixelAt(0, 2), 0u);
    EXPECT_EQ(surface.PixelAt(1, 2), 0u);
}

TEST_F(SpanRoutinesTest, SpansAreCutToTheClipColumns) {
    struct Row {
        const char* name;
        int left;
        int right;
        std::vector<int> drawn;
    };
    // Clip columns 2 to 5.
    const Row rows[] = {
        {"Inside", 3, 4, {3, 4}},     {"Crossing", 0, 9, {2, 3, 4, 5}}, {"LeftOfTheClip", -3, 1, {}},
        {"AtTheClipRight", 6, 8, {}}, {"LeftAfterRight", 4, 3, {}},     {"OnePixel", 5, 5, {5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryGraphicHandle surface(8, 1, Format(F::Indexed8));
        surface.SetClipRect(Rect(2, 0, 6, 1));
        SpanListEffect effect(&surface, {MakeSpan(row.left, row.right)}, 1, 0, 0, 9, RasterOp::Copy);
        EXPECT_TRUE(effect.Draw());
        std::vector<int> drawn;
        for (std::int32_t x = 0; x < 8; ++x) {
            if (surface.PixelAt(x, 0) == 9) {
                drawn.push_back(x);
            }
        }
        EXPECT_EQ(drawn, row.drawn);
    }
}

TEST_F(SpanRoutinesTest, OnlyThePixelsOwnBitsOfTheColourAreWritten) {
    MemoryGraphicHandle bits(8, 1, Format(F::Indexed1));
    bits.Memory()[0] = 0xFF;
    SpanListEffect clearing(&bits, {MakeSpan(1, 2)}, 1, 0, 0, 2, RasterOp::Copy);
    EXPECT_TRUE(clearing.Draw());
    EXPECT_EQ(bits.Memory()[0], 0x9F);

    MemoryGraphicHandle nibbles(4, 1, Format(F::Indexed4));
    SpanListEffect first(&nibbles, {MakeSpan(0, 0)}, 1, 0, 0, 0xAB, RasterOp::Copy);
    EXPECT_TRUE(first.Draw());
    EXPECT_EQ(nibbles.Memory()[0], 0xB0);

    MemoryGraphicHandle triples(3, 1, Format(F::Rgb24));
    triples.Memory()[6] = 0x55;
    SpanListEffect bytes(&triples, {MakeSpan(0, 1)}, 1, 0, 0, 0xAA112233, RasterOp::Copy);
    EXPECT_TRUE(bytes.Draw());
    EXPECT_EQ(std::vector<std::uint8_t>(triples.Memory().begin(), triples.Memory().begin() + 7),
              (std::vector<std::uint8_t>{0x33, 0x22, 0x11, 0x33, 0x22, 0x11, 0x55}));
}

TEST_F(SpanRoutinesTest, NoOpNoDepthLostAndLockFailure) {
    MemoryGraphicHandle surface(4, 2, Format(F::Xrgb32));
    SpanListEffect noOp(&surface, {MakeSpan(0, 3)}, 1, 0, 0, 5, RasterOp::NoOp);
    EXPECT_TRUE(noOp.Draw());
    EXPECT_EQ(noOp.GetRoutine(), &HorizontalPlottingEffect::DoNothing);
    EXPECT_EQ(surface.LocksAsked(), 0);

    surface.FailLocks(1);
    SpanListEffect failing(&surface, {MakeSpan(0, 3)}, 1, 0, 0, 5, RasterOp::Copy);
    EXPECT_FALSE(failing.Draw());
    EXPECT_EQ(surface.PixelAt(0, 0), 0u);

    surface.SetLost(1);
    SpanListEffect lost(&surface, {MakeSpan(0, 3)}, 1, 0, 0, 5, RasterOp::Copy);
    EXPECT_TRUE(lost.SelectRoutine());
    EXPECT_EQ(lost.GetPlotRoutine(), &HorizontalPlottingEffect::Refuse);
    EXPECT_FALSE(lost.Draw());

    PointRecordingHandle noDepth(4, 4);
    for (RasterOp op : {RasterOp::Copy, RasterOp::NoOp}) {
        SpanListEffect effect(&noDepth, {MakeSpan(0, 3)}, 1, 0, 0, 5, op);
        EXPECT_TRUE(effect.SelectRoutine());
        EXPECT_FALSE(effect.Draw());
    }
    EXPECT_TRUE(noDepth.m_points.empty());

    SpanListEffect noHandle(nullptr, {MakeSpan(0, 3)}, 1, 0, 0, 5, RasterOp::Copy);
    EXPECT_FALSE(noHandle.SelectRoutine());
    SpanListEffect badOp(&noDepth, {MakeSpan(0, 3)}, 1, 0, 0, 5, static_cast<RasterOp>(16));
    EXPECT_FALSE(badOp.SelectRoutine());
}

TEST_F(SpanRoutinesTest, TheTableHasARoutineForEveryDepthAndOperation) {
    for (DepthCode depth = 0; depth < 8; ++depth) {
        for (RasterOp op : AllRasterOps()) {
            const auto routine = FindSpanRoutine(depth, op);
            if (depth == 0) {
                EXPECT_EQ(routine, &HorizontalPlottingEffect::Refuse);
            } else if (op == RasterOp::NoOp) {
                EXPECT_EQ(routine, &HorizontalPlottingEffect::DoNothing);
            } else {
                EXPECT_NE(routine, &HorizontalPlottingEffect::Refuse);
                EXPECT_NE(routine, &HorizontalPlottingEffect::DoNothing);
                EXPECT_NE(routine,
                          FindSpanRoutine(depth, op == RasterOp::Set ? RasterOp::Clear : RasterOp::Set));
            }
        }
    }
    EXPECT_EQ(FindSpanRoutine(8, RasterOp::Copy), nullptr);
    EXPECT_EQ(FindSpanRoutine(4, static_cast<RasterOp>(16)), nullptr);
}

TEST_F(SpanRoutinesTest, AHorizontalLineDrawsBetweenItsEndsInEitherOrder) {
    MemoryGraphicHandle surface(10, 2, Format(F::Rgb565));
    HorizontalLineEffect effect(&surface);
    EXPECT_TRUE(effect.Set(7, 2, 1, 0xF800, RasterOp::Copy));
    EXPECT_EQ(effect.GetFirstRow(), 1);
    EXPECT_EQ(effect.GetRowCount(), 1u);
    EXPECT_TRUE(effect.Run());
    for (std::int32_t x = 0; x < 10; ++x) {
        EXPECT_EQ(surface.PixelAt(x, 1), x >= 2 && x <= 7 ? 0xF800u : 0u) << x;
    }
    EXPECT_TRUE(surface.DrawHorizontalLine(700, 0, 0, 0x1Fu, 3));
    EXPECT_EQ(surface.PixelAt(9, 0), 0x1Fu);

    HorizontalLineEffect noHandle(nullptr);
    EXPECT_FALSE(noHandle.Set(0, 1, 0, 1, RasterOp::Copy));
    EXPECT_FALSE(noHandle.Run());
}

TEST_F(SpanRoutinesTest, AHorizontalLineFarRightOfColumn32767IsDrawn) {
    MemoryGraphicHandle surface(40010, 1, Format(F::Indexed8));
    EXPECT_TRUE(surface.DrawHorizontalLine(40000, 40009, 0, 4u, 3));
    EXPECT_EQ(std::count(surface.Memory().begin(), surface.Memory().end(), 4), 10);
    EXPECT_EQ(surface.PixelAt(40000, 0), 4u);
    EXPECT_EQ(surface.PixelAt(40009, 0), 4u);
}

} // namespace
