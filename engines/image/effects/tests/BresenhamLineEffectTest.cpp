#include "engines/image/effects/BresenhamLineEffect.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;
using Points = std::vector<std::pair<int, int>>;

// The points a line plots, in order, as the generic routine writes them.
Points Plotted(const Point& a, const Point& b) {
    PointRecordingHandle handle(64, 64);
    BresenhamLineEffect effect(&handle);
    EXPECT_TRUE(effect.RunIfSet(effect.Set(a, b, 1, RasterOp::Copy)));
    return handle.m_points;
}

class BresenhamLineEffectTest : public EffectTest {};

TEST_F(BresenhamLineEffectTest, PlotsThePixelsOfTheStepRule) {
    struct Row {
        Point a;
        Point b;
        Points points;
    };
    const Row rows[] = {
        {Point(0, 0),
         Point(10, 1),
         {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}},
        {Point(0, 0),
         Point(1, 10),
         {{0, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9}, {1, 10}}},
        {Point(0, 0), Point(4, 2), {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}},
        {Point(5, 0), Point(0, 5), {{5, 0}, {4, 1}, {3, 2}, {2, 3}, {1, 4}, {0, 5}}},
        {Point(3, 1), Point(0, 1), {{3, 1}, {2, 1}, {1, 1}, {0, 1}}},
        {Point(2, 2), Point(2, 2), {{2, 2}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.b.x) + "," + std::to_string(row.b.y));
        EXPECT_EQ(Plotted(row.a, row.b), row.points);
        if (row.a.y != row.b.y) {
            // Given bottom first, the line is drawn from the upper end all the same.
            EXPECT_EQ(Plotted(row.b, row.a), row.points);
        }
    }
}

TEST_F(BresenhamLineEffectTest, EveryDepthDrawsTheColourForEveryOperationButNoOp) {
    const F formats[] = {F::Indexed1, F::Indexed2, F::Indexed4, F::Indexed8, F::Rgb565, F::Rgb24, F::Argb32};
    const Point a(3, 2);
    const Point b(29, 13);
    const Points points = Plotted(a, b);
    std::mt19937 random(5);
    for (F format : formats) {
        for (RasterOp op : AllRasterOps()) {
            SCOPED_TRACE(std::to_string(FormatNumber(format)) + " " + OpName(op));
            MemoryGraphicHandle surface(33, 15, Format(format));
            MemoryGraphicHandle expected(33, 15, Format(format));
            FillRandom(surface, random);
            expected.Memory() = surface.Memory();
            const std::uint32_t color = static_cast<std::uint32_t>(random());
            if (op != RasterOp::NoOp) {
                for (const auto& [x, y] : points) {
                    expected.PutPixel(x, y, color);
                }
            }
            EXPECT_TRUE(surface.DrawLine(a, b, color, static_cast<std::uint32_t>(op)));
            EXPECT_EQ(surface.Memory(), expected.Memory()) << Differences(surface, expected);
            EXPECT_EQ(surface.LocksAsked(), op == RasterOp::NoOp ? 0 : 1);
        }
    }
}

TEST_F(BresenhamLineEffectTest, WithoutDepthOrWhileLostTheLineGoesThroughThePixelWrites) {
    PointRecordingHandle noDepth(16, 16);
    BresenhamLineEffect plain(&noDepth);
    EXPECT_EQ(plain.GetRoutine(), &GenericLineRoutine);
    // Without depth NoOp still does nothing; a lost handle takes the pixel writes for every operation.
    EXPECT_TRUE(plain.RunIfSet(plain.Set(Point(0, 0), Point(2, 1), 9, RasterOp::NoOp)));
    EXPECT_TRUE(noDepth.m_points.empty());
    noDepth.SetLost(1);
    EXPECT_TRUE(plain.RunIfSet(plain.Set(Point(0, 0), Point(2, 1), 9, RasterOp::NoOp)));
    EXPECT_EQ(plain.GetRoutine(), &GenericLineRoutine);
    EXPECT_EQ(noDepth.m_points, (Points{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(noDepth.m_pixels, (std::vector<std::uint32_t>{9, 9, 9}));

    MemoryGraphicHandle lost(8, 8, Format(F::Indexed8));
    lost.SetLost(1);
    BresenhamLineEffect onLost(&lost);
    EXPECT_FALSE(onLost.RunIfSet(onLost.Set(Point(0, 0), Point(3, 3), 7, RasterOp::Copy)));
    EXPECT_EQ(lost.PixelAt(0, 0), 0u);
}

TEST_F(BresenhamLineEffectTest, AFailedPixelWriteEndsTheLineWithFalse) {
    PointRecordingHandle handle(16, 16);
    handle.m_accept = false;
    BresenhamLineEffect effect(&handle);
    EXPECT_FALSE(effect.RunIfSet(effect.Set(Point(0, 0), Point(5, 5), 1, RasterOp::Copy)));
    EXPECT_EQ(handle.m_points.size(), 1u);
}

TEST_F(BresenhamLineEffectTest, RefusesWithoutHandleOrWithAnOperationAbove15) {
    BresenhamLineEffect noHandle(nullptr);
    EXPECT_EQ(noHandle.GetRoutine(), &BresenhamLineEffect::Refuse);
    EXPECT_FALSE(noHandle.Set(Point(0, 0), Point(1, 1), 1, RasterOp::Copy));
    MemoryGraphicHandle surface(4, 4, Format(F::Indexed8));
    BresenhamLineEffect effect(&surface);
    EXPECT_FALSE(effect.Set(Point(0, 0), Point(1, 1), 1, static_cast<RasterOp>(16)));
    EXPECT_FALSE(effect.Run());
    EXPECT_EQ(surface.LocksAsked(), 0);
}

TEST_F(BresenhamLineEffectTest, ALockFailureDrawsNothing) {
    MemoryGraphicHandle surface(8, 8, Format(F::Rgb565));
    surface.FailLocks(1);
    EXPECT_FALSE(surface.DrawLine(Point(0, 0), Point(7, 3), 0xFFFFu, 3));
    EXPECT_EQ(surface.PixelAt(0, 0), 0u);
    EXPECT_EQ(surface.GetLockCount(), 0u);
}

} // namespace
