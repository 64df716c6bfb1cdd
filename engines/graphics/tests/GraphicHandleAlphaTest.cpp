#include "engines/graphics/GraphicHandle.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/testing/GraphicFamilyFixture.h"
#include "engines/graphics/testing/MemoryGraphicHandle.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using namespace Vemo;
using namespace VemoTest;

struct AlphaCase {
    const char* name;
    StandardPixelFormat format;
    std::uint32_t before;
    std::uint32_t alphaBefore;
    std::uint32_t written;
    bool writes;
    std::uint32_t after;
};

void PrintTo(const AlphaCase& row, std::ostream* out) {
    *out << row.name;
}

class AlphaTest : public testing::TestWithParam<AlphaCase> {
protected:
    TestApplication m_application;
};

TEST_P(AlphaTest, TheFourthMaskHoldsThePixelsAlpha) {
    const AlphaCase& row = GetParam();
    MemoryGraphicHandle surface(4, 2, PixelFormat(row.format));
    surface.PutPixel(1, 1, row.before);
    EXPECT_EQ(surface.GetAlpha(Point(1, 1)), row.alphaBefore);
    EXPECT_EQ(surface.SetAlpha(row.written, Point(1, 1)), row.writes);
    EXPECT_EQ(surface.PixelAt(1, 1), row.after);
    EXPECT_EQ(surface.GetLockCount(), 0u);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, AlphaTest,
    testing::Values(
        AlphaCase{"Argb32", StandardPixelFormat::Argb32, 0x40123456, 0x40, 0x80, true, 0x80123456},
        AlphaCase{"Argb32KeepsTheMasksBits", StandardPixelFormat::Argb32, 0x00123456, 0, 0x1FF, true,
                  0xFF123456},
        AlphaCase{"Argb4444", StandardPixelFormat::Argb4444, 0x3123, 0x3, 0xA, true, 0xA123},
        AlphaCase{"Rgba32AlphaInTheLowByte", StandardPixelFormat::Rgba32, 0x11223344, 0x44, 0x99, true,
                  0x11223399},
        AlphaCase{"NoExtraChannel", StandardPixelFormat::Xrgb32, 0xFF123456, 0, 0x80, false, 0xFF123456},
        AlphaCase{"Indexed", StandardPixelFormat::Indexed8, 0x7, 0, 0x80, false, 0x7}),
    [](const testing::TestParamInfo<AlphaCase>& info) { return std::string(info.param.name); });

TEST(AlphaEdgeTest, WritingNeedsAWritableSurfaceButNotItsOwnLock) {
    TestApplication application;
    MemoryGraphicHandle surface(4, 2, PixelFormat(StandardPixelFormat::Argb32));
    surface.PutPixel(0, 0, 0x00ABCDEF);
    surface.SetReadOnly(true);
    EXPECT_FALSE(surface.SetAlpha(0x80, Point(0, 0)));
    EXPECT_EQ(surface.PixelAt(0, 0), 0x00ABCDEFu);
    surface.SetReadOnly(false);

    // The pixel's own accesses lock again; only a lock that succeeded is given back.
    surface.FailLocks(1);
    EXPECT_TRUE(surface.SetAlpha(0x80, Point(0, 0)));
    EXPECT_EQ(surface.PixelAt(0, 0), 0x80ABCDEFu);
    EXPECT_EQ(surface.GetLockCount(), 0u);

    // Outside the clip rectangle nothing is read or written.
    surface.SetClipRect(Rect(1, 0, 4, 2));
    EXPECT_EQ(surface.GetAlpha(Point(0, 0)), 0u);
    EXPECT_TRUE(surface.SetAlpha(0x10, Point(0, 0)));
    EXPECT_EQ(surface.PixelAt(0, 0), 0x80ABCDEFu);
    EXPECT_TRUE(application.TakeReports().empty());
}

using AlphaGraphicTest = GraphicFamilyFixture;

TEST_F(AlphaGraphicTest, AnAlphaGraphicHoldsTheValuesInsteadOfThePixels) {
    Graphic alphaValues;
    ASSERT_TRUE(alphaValues.Open(4, 2, 4, GraphicSystem::Memory::System, ExtraChannel(), 1));
    EngineGraphicHandle surface(nullptr, 4, 2, PixelFormat(StandardPixelFormat::Xrgb32), 1, 3, nullptr, 0);
    surface.UseAlphaGraphic(&alphaValues, 5);
    surface.PutPixel(2, 1, 0x123456);

    EXPECT_TRUE(surface.SetAlpha(0x7F, Point(2, 1)));
    EXPECT_EQ(alphaValues.GetPixel(Point(2, 1)), 0x7Fu);
    EXPECT_EQ(surface.GetAlpha(Point(2, 1)), 0x7Fu);
    EXPECT_EQ(surface.PixelAt(2, 1), 0x123456u);
    std::uint32_t info = 0;
    EXPECT_EQ(surface.GetAlphaGraphic(&info), &alphaValues);
    EXPECT_EQ(info, 5u);
    EXPECT_TRUE(Taken().empty());
}

} // namespace
