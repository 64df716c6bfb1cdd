#include "engines/image/effects/BresenhamCircleEffect.h"

#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

// The surface as text, rows separated by '/': '#' where a pixel is 1, '.' where 0.
std::string Picture(MemoryGraphicHandle& surface) {
    std::string picture;
    for (std::int32_t y = 0; y < surface.GetHeight(); ++y) {
        picture += y == 0 ? "" : "/";
        for (std::int32_t x = 0; x < surface.GetWidth(); ++x) {
            picture += surface.PixelAt(x, y) == 1 ? '#' : surface.PixelAt(x, y) == 0 ? '.' : '?';
        }
    }
    return picture;
}

struct CircleCase {
    const char* name;
    std::int32_t radius;
    bool filled;
    const char* picture;
};

void PrintTo(const CircleCase& value, std::ostream* out) {
    *out << value.name;
}

class CirclePixelsTest : public EffectTest, public testing::WithParamInterface<CircleCase> {};

// Drawn with Xor on a clear surface: a pixel drawn twice would read 0 again.
TEST_P(CirclePixelsTest, DrawsEachPixelOfTheShapeOnce) {
    const CircleCase& row = GetParam();
    MemoryGraphicHandle surface(7, 7, Format(F::Indexed8));
    EXPECT_TRUE(surface.DrawCircle(Point(3, 3), row.radius, 1u, row.filled,
                                   static_cast<std::uint32_t>(RasterOp::Xor)));
    EXPECT_EQ(Picture(surface), row.picture);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, CirclePixelsTest,
    testing::Values(
        CircleCase{"Disc0", 0, true, "......./......./......./...#.../......./......./......."},
        CircleCase{"Outline0", 0, false, "......./......./......./...#.../......./......./......."},
        CircleCase{"Disc1", 1, true, "......./......./...#.../..###../...#.../......./......."},
        CircleCase{"Outline1", 1, false, "......./......./...#.../..#.#../...#.../......./......."},
        CircleCase{"Disc2", 2, true, "......./..###../.#####./.#####./.#####./..###../......."},
        CircleCase{"Outline2", 2, false, "......./..###../.#...#./.#...#./.#...#./..###../......."},
        CircleCase{"Disc3", 3, true, "..###../.#####./#######/#######/#######/.#####./..###.."},
        CircleCase{"Outline3", 3, false, "..###../.#...#./#.....#/#.....#/#.....#/.#...#./..###.."}),
    [](const testing::TestParamInfo<CircleCase>& info) { return std::string(info.param.name); });

class BresenhamCircleEffectTest : public EffectTest {};

TEST_F(BresenhamCircleEffectTest, RowsOutsideTheClipAreCutOff) {
    struct Row {
        const char* name;
        Point centre;
        Rect clip;
        const char* picture;
        bool locks;
    };
    const Row rows[] = {
        {"TopRowsAboveTheClipTop", Point(2, 2), Rect(0, 2, 5, 5), "...../...../#####/#####/.###.", true},
        // Rows above row 0 are skipped the same way.
        {"CrossingRow0", Point(2, 0), Rect(0, 0, 5, 5), "#####/#####/.###./...../.....", true},
        {"AllBelowTheClipBottom", Point(2, 9), Rect(0, 0, 5, 5), "...../...../...../...../.....", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryGraphicHandle surface(5, 5, Format(F::Indexed8));
        surface.SetClipRect(row.clip);
        EXPECT_TRUE(surface.DrawCircle(row.centre, 2, 1u, true, 3));
        EXPECT_EQ(Picture(surface), row.picture);
        EXPECT_EQ(surface.LocksAsked(), row.locks ? 1 : 0);
    }
}

TEST_F(BresenhamCircleEffectTest, RefusesWhatTheSpansCannotHold) {
    BresenhamCircleEffect noHandle(nullptr);
    EXPECT_FALSE(noHandle.Set(Point(0, 0), 3, 1, true, RasterOp::Copy));
    EXPECT_EQ(noHandle.GetCapacity(), 0u);

    MemoryGraphicHandle surface(8, 8, Format(F::Indexed8));
    for (const std::int32_t radius : {-1, 32768}) {
        BresenhamCircleEffect effect(&surface);
        EXPECT_FALSE(effect.Set(Point(4, 4), radius, 1, false, RasterOp::Copy)) << radius;
        EXPECT_EQ(effect.GetRoutine(), &BresenhamCircleEffect::Refuse);
        EXPECT_EQ(effect.GetCapacity(), 0u);
    }
    EXPECT_FALSE(surface.DrawCircle(Point(4, 4), -1, 1u, true, 3));
    EXPECT_EQ(surface.LocksAsked(), 0);
}

TEST_F(BresenhamCircleEffectTest, WithoutDepthNothingIsDrawn) {
    PointRecordingHandle surface(8, 8);
    EXPECT_FALSE(surface.DrawCircle(Point(4, 4), 2, 1u, true, 3));
    EXPECT_TRUE(surface.m_points.empty());
}

TEST_F(BresenhamCircleEffectTest, TheSpanBufferGrowsToExactlyTheSpansNeeded) {
    MemoryGraphicHandle surface(8, 8, Format(F::Indexed8));
    BresenhamCircleEffect effect(&surface);
    EXPECT_TRUE(effect.Set(Point(4, 4), 2, 1, true, RasterOp::Copy));
    EXPECT_EQ(effect.GetCapacity(), 5u);
    EXPECT_EQ(effect.GetSpansPerRow(), 1u);
    EXPECT_EQ(effect.GetFirstRow(), 2);
    EXPECT_EQ(effect.GetRowCount(), 5u);
    EXPECT_EQ(effect.GetXOffset(), 4);
    EXPECT_TRUE(effect.Set(Point(4, 4), 1, 1, true, RasterOp::Copy));
    EXPECT_EQ(effect.GetCapacity(), 5u);
    EXPECT_TRUE(effect.Set(Point(4, 4), 3, 1, false, RasterOp::Copy));
    EXPECT_EQ(effect.GetCapacity(), 14u);
    EXPECT_EQ(effect.GetSpansPerRow(), 2u);
}

} // namespace
