#include "engines/image/effects/VerticalLineEffect.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

class VerticalLineEffectTest : public EffectTest {};

// On every depth, each operation on the pixel's own bits (on 1-, 2- and 4-bit surfaces the NOT-d operations
// too), neighbours in the byte kept.
TEST_F(VerticalLineEffectTest, EveryDepthAndOperationEqualsPixelByPixelWork) {
    const F formats[] = {F::Indexed1, F::Indexed2, F::Indexed4, F::Indexed8, F::Rgb565, F::Bgr24, F::Xrgb32};
    std::mt19937 random(11);
    for (F format : formats) {
        for (RasterOp op : AllRasterOps()) {
            for (const std::int32_t x : {0, 5, 6}) {
                SCOPED_TRACE(std::to_string(FormatNumber(format)) + " " + OpName(op) + " x " +
                             std::to_string(x));
                MemoryGraphicHandle surface(9, 12, Format(format));
                MemoryGraphicHandle expected(9, 12, Format(format));
                FillRandom(surface, random);
                expected.Memory() = surface.Memory();
                const std::uint32_t color = static_cast<std::uint32_t>(random());
                for (std::int32_t y = 2; y <= 10; ++y) {
                    expected.PutPixel(x, y, ApplyRasterOp(op, color, expected.PixelAt(x, y)));
                }
                EXPECT_TRUE(surface.DrawVerticalLine(static_cast<std::uint32_t>(x), 10, 2, color,
                                                     static_cast<std::uint32_t>(op)));
                EXPECT_EQ(surface.Memory(), expected.Memory()) << Differences(surface, expected);
                EXPECT_EQ(surface.LocksAsked(), op == RasterOp::NoOp ? 0 : 1);
            }
        }
    }
}

TEST_F(VerticalLineEffectTest, TheOperationsThatReadNotDChangeSubBytePixels) {
    struct Row {
        F format;
        RasterOp op;
        std::uint32_t color;
        std::uint32_t before;
        std::uint32_t after;
    };
    const Row rows[] = {
        {F::Indexed1, RasterOp::Invert, 0, 1, 0},     {F::Indexed1, RasterOp::AndReverse, 1, 0, 1},
        {F::Indexed2, RasterOp::Nor, 1, 2, 0},        {F::Indexed2, RasterOp::OrReverse, 1, 2, 1},
        {F::Indexed4, RasterOp::Nand, 0xC, 0xA, 0x7}, {F::Indexed4, RasterOp::Nor, 0x3, 0xA, 0x4},
        {F::Indexed1, RasterOp::Xor, 1, 1, 0},        {F::Indexed1, RasterOp::Xor, 1, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(FormatNumber(row.format)) + " " + OpName(row.op));
        MemoryGraphicHandle surface(8, 2, Format(row.format));
        for (std::int32_t x = 0; x < 8; ++x) {
            surface.PutPixel(x, 0, row.before);
            surface.PutPixel(x, 1, row.before);
        }
        EXPECT_TRUE(surface.DrawVerticalLine(3, 0, 1, row.color, static_cast<std::uint32_t>(row.op)));
        EXPECT_EQ(surface.PixelAt(3, 0), row.after);
        EXPECT_EQ(surface.PixelAt(3, 1), row.after);
        EXPECT_EQ(surface.PixelAt(2, 0), row.before);
        EXPECT_EQ(surface.PixelAt(4, 1), row.before);
    }
}

TEST_F(VerticalLineEffectTest, WithoutDepthTheColourIsWrittenWhateverTheOperation) {
    for (RasterOp op : {RasterOp::NoOp, RasterOp::Xor}) {
        PointRecordingHandle handle(8, 8);
        VerticalLineEffect effect(&handle);
        EXPECT_EQ(effect.GetRoutine(), &GenericVerticalLineRoutine);
        EXPECT_TRUE(effect.RunIfSet(effect.Set(2, 4, 1, 6, op)));
        EXPECT_EQ(effect.GetTop(), 1);
        EXPECT_EQ(effect.GetBottom(), 4);
        EXPECT_EQ(handle.m_points, (std::vector<std::pair<int, int>>{{2, 1}, {2, 2}, {2, 3}, {2, 4}}));
        EXPECT_EQ(handle.m_pixels, (std::vector<std::uint32_t>{6, 6, 6, 6}));
    }
}

TEST_F(VerticalLineEffectTest, ALostSurfaceTakesThePixelWritesWhichFail) {
    MemoryGraphicHandle surface(4, 4, Format(F::Indexed8));
    surface.SetLost(1);
    VerticalLineEffect effect(&surface);
    EXPECT_TRUE(effect.Set(1, 0, 3, 9, RasterOp::NoOp));
    EXPECT_EQ(effect.GetRoutine(), &GenericVerticalLineRoutine);
    EXPECT_FALSE(effect.Run());
    EXPECT_EQ(surface.PixelAt(1, 0), 0u);
}

TEST_F(VerticalLineEffectTest, RefusesWithoutHandleAndFailsWithoutLock) {
    VerticalLineEffect noHandle(nullptr);
    EXPECT_FALSE(noHandle.Set(0, 0, 1, 1, RasterOp::Copy));
    EXPECT_EQ(noHandle.GetRoutine(), &VerticalLineEffect::Refuse);

    MemoryGraphicHandle surface(4, 4, Format(F::Xrgb32));
    surface.FailLocks(1);
    EXPECT_FALSE(surface.DrawVerticalLine(1, 0, 3, 0xFFFFFFu, 3));
    EXPECT_EQ(surface.PixelAt(1, 0), 0u);
    EXPECT_EQ(surface.GetLockCount(), 0u);
}

} // namespace
