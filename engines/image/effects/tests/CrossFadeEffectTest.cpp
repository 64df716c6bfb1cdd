#include "engines/image/effects/CrossFadeEffect.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/FadeRows.h"
#include "engines/image/effects/tests/EffectTestSupport.h"
#include "engines/image/effects/tests/FadeTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

TEST(FadeChannelTest, EqualsTheFadeTableForEveryLevelAndPair) {
    for (std::uint32_t level = 0; level <= 256; ++level) {
        for (std::uint32_t a = 0; a < 256; ++a) {
            for (std::uint32_t b = 0; b < 256; ++b) {
                if (FadeChannel(a, b, level) != TableChannel(a, b, level)) {
                    FAIL() << "level " << level << " a " << a << " b " << b;
                }
            }
        }
    }
}

struct FormatCase {
    const char* name;
    F format;
    Layout layout;
};

void PrintTo(const FormatCase& value, std::ostream* out) {
    *out << value.name;
}

class FadeFormatTest : public EffectTest, public testing::WithParamInterface<FormatCase> {};

TEST_P(FadeFormatTest, EveryLevelEqualsTheTablePixelByPixel) {
    const FormatCase& row = GetParam();
    std::mt19937 random(17);
    for (const std::uint32_t level : {0u, 1u, 77u, 127u, 128u, 200u, 255u, 256u, 1000u}) {
        SCOPED_TRACE(level);
        MemoryGraphicHandle destination(45, 8, Format(row.format));
        MemoryGraphicHandle first(40, 7, Format(row.format));
        MemoryGraphicHandle second(43, 9, Format(row.format));
        FillRandom(destination, random);
        FillRandom(first, random);
        FillRandom(second, random);
        MemoryGraphicHandle expected(45, 8, Format(row.format));
        expected.Memory() = destination.Memory();
        const std::uint32_t stored = level > 256 ? 256 : level;
        for (std::int32_t y = 0; y < 6; ++y) {
            for (std::int32_t x = 0; x < 37; ++x) {
                expected.PutPixel(
                    x + 4, y + 2,
                    BlendPixel(row.layout, first.PixelAt(x + 3, y + 1), second.PixelAt(x, y), stored));
            }
        }
        CrossFadeEffect effect(&destination, &first, &second);
        ASSERT_TRUE(effect.Set(level, Point(4, 2), Point(3, 1), Point(0, 0), Size(37, 6), 255));
        EXPECT_EQ(effect.GetLevel(), stored);
        EXPECT_TRUE(effect.Run());
        EXPECT_EQ(destination.Memory(), expected.Memory()) << Differences(destination, expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FadeFormatTest,
    testing::Values(FormatCase{"Rgb555", F::Rgb555, k555}, FormatCase{"Rgb565", F::Rgb565, k565},
                    FormatCase{"Rgb24", F::Rgb24, k24}, FormatCase{"Bgr24", F::Bgr24, k24},
                    FormatCase{"Xrgb32", F::Xrgb32, k32Low}, FormatCase{"Argb32", F::Argb32, k32Low},
                    FormatCase{"Abgr32", F::Abgr32, k32Low}, FormatCase{"Rgba32", F::Rgba32, k32High},
                    FormatCase{"Bgra32", F::Bgra32, k32High}),
    [](const testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

// One pixel of each source faded at a level and quality.
std::uint32_t FadeOnePixel(F format, std::uint32_t a, std::uint32_t b, std::uint32_t level,
                           std::uint8_t quality) {
    MemoryGraphicHandle destination(1, 1, Format(format));
    MemoryGraphicHandle first(1, 1, Format(format));
    MemoryGraphicHandle second(1, 1, Format(format));
    first.PutPixel(0, 0, a);
    second.PutPixel(0, 0, b);
    CrossFadeEffect effect(&destination, &first, &second);
    EXPECT_TRUE(effect.Set(level, Point(0, 0), Point(0, 0), Point(0, 0), Size(1, 1), quality));
    EXPECT_TRUE(effect.Run());
    return destination.PixelAt(0, 0);
}

class CrossFadeEffectCasesTest : public EffectTest {};

TEST_F(CrossFadeEffectCasesTest, TheLevelsAndQualitiesAtTheEdges) {
    // Level 255 takes an 8-bit channel from 0 to 254, not to 255.
    EXPECT_EQ(FadeOnePixel(F::Xrgb32, 0x000000, 0xFFFFFF, 255, 255), 0xFEFEFEu);
    EXPECT_EQ(FadeOnePixel(F::Rgb24, 0x000000, 0xFFFFFF, 255, 255), 0xFEFEFEu);
    // Level 0 is the first source and 256 the second, but for the bits written 0.
    EXPECT_EQ(FadeOnePixel(F::Argb32, 0xAA123456, 0xBB654321, 0, 255), 0x00123456u);
    EXPECT_EQ(FadeOnePixel(F::Argb32, 0xAA123456, 0xBB654321, 300, 255), 0x00654321u);
    EXPECT_EQ(FadeOnePixel(F::Rgba32, 0x123456AA, 0x654321BB, 256, 255), 0x65432100u);
    EXPECT_EQ(FadeOnePixel(F::Rgb555, 0x8000, 0xFFFF, 256, 255), 0x7FFFu);
    // 5-5-5 at level 128 from 0 to 31: blending goes half a step up, halving truncates.
    EXPECT_EQ(FadeOnePixel(F::Rgb555, 0x0000, 0x7FFF, 128, 33), 0x4210u);
    EXPECT_EQ(FadeOnePixel(F::Rgb555, 0x0000, 0x7FFF, 128, 32), 0x3DEFu);
    EXPECT_EQ(FadeOnePixel(F::Rgb555, 0x0000, 0x7FFF, 127, 0), 0x3DEFu);
    EXPECT_EQ(FadeOnePixel(F::Rgb555, 0x0000, 0x7FFF, 129, 0), 0x4210u);
    EXPECT_EQ(FadeOnePixel(F::Rgb565, 0xFFFF, 0xFFFF, 128, 0), 0xF7DEu);
}

TEST_F(CrossFadeEffectCasesTest, HalvingEqualsPixelByPixelWork) {
    std::mt19937 random(23);
    for (F format : {F::Rgb555, F::Rgb565}) {
        const std::uint32_t mask = format == F::Rgb555 ? 0x3DEF : 0x7BEF;
        MemoryGraphicHandle destination(37, 3, Format(format));
        MemoryGraphicHandle first(37, 3, Format(format));
        MemoryGraphicHandle second(37, 3, Format(format));
        FillRandom(first, random);
        FillRandom(second, random);
        CrossFadeEffect effect(&destination, &first, &second);
        ASSERT_TRUE(effect.Set(127, Point(0, 0), Point(0, 0), Point(0, 0), Size(37, 3), 0));
        EXPECT_TRUE(effect.Run());
        for (std::int32_t y = 0; y < 3; ++y) {
            for (std::int32_t x = 0; x < 37; ++x) {
                EXPECT_EQ(destination.PixelAt(x, y),
                          (first.PixelAt(x, y) >> 1 & mask) + (second.PixelAt(x, y) >> 1 & mask));
            }
        }
    }
}

class CrossFadeEffectTest : public EffectTest {
protected:
    MemoryGraphicHandle m_destination{8, 8, Format(F::Xrgb32)};
    MemoryGraphicHandle m_first{8, 8, Format(F::Xrgb32)};
    MemoryGraphicHandle m_second{8, 8, Format(F::Xrgb32)};
};

TEST_F(CrossFadeEffectTest, SetRefusesAndKeepsTheLevel) {
    struct Row {
        const char* name;
        F destination;
        F first;
        F second;
        std::uint32_t lost;
    };
    const Row rows[] = {
        {"FormatsDiffer", F::Xrgb32, F::Xbgr32, F::Xrgb32, 0},
        {"SecondDiffers", F::Rgb565, F::Rgb565, F::Rgb555, 0},
        {"Indexed", F::Indexed8, F::Indexed8, F::Indexed8, 0},
        {"Argb4444", F::Argb4444, F::Argb4444, F::Argb4444, 0},
        {"Argb1555", F::Argb1555, F::Argb1555, F::Argb1555, 0},
        {"DepthFormat", F::Rgb565Depth16, F::Rgb565Depth16, F::Rgb565Depth16, 0},
        {"NoFormat", F::None, F::None, F::None, 0},
        {"Lost", F::Xrgb32, F::Xrgb32, F::Xrgb32, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MemoryGraphicHandle destination(4, 4, Format(row.destination));
        MemoryGraphicHandle first(4, 4, Format(row.first));
        MemoryGraphicHandle second(4, 4, Format(row.second));
        second.SetLost(row.lost);
        CrossFadeEffect effect(&destination, &first, &second);
        effect.SetLevel(99);
        EXPECT_FALSE(effect.Set(10, Point(1, 2), Point(3, 4), Point(5, 6), Size(7, 8), 255));
        EXPECT_EQ(effect.GetLevel(), 99u);
        EXPECT_EQ(effect.GetRoutine(), &CrossFadeEffect::Refuse);
        EXPECT_EQ(effect.GetSecondOrigin(), Point(5, 6));
        EXPECT_FALSE(effect.Run());
    }
    CrossFadeEffect missing(&m_destination, nullptr, &m_second);
    EXPECT_FALSE(missing.Set(10, Point(), Point(), Point(), Size(1, 1), 255));
    EXPECT_TRUE(missing.SetLevel(4000));
    EXPECT_EQ(missing.GetLevel(), 256u);
}

TEST_F(CrossFadeEffectTest, ANegativeFirstOriginMovesTheOtherOrigins) {
    m_first.PutPixel(0, 0, 0x102030);
    m_second.PutPixel(3, 5, 0x102030);
    CrossFadeEffect effect(&m_destination, &m_first, &m_second);
    ASSERT_TRUE(effect.Set(128, Point(2, 3), Point(-2, -1), Point(1, 4), Size(4, 4), 255));
    EXPECT_TRUE(effect.Run());
    // First (0, 0) lines up with destination (4, 4) and second (3, 5); nothing left of or above it is drawn.
    EXPECT_EQ(m_destination.PixelAt(4, 4), 0x102030u);
    EXPECT_EQ(m_destination.PixelAt(5, 5), 0u);
    m_destination.PutPixel(3, 3, 0x777777);
    m_destination.PutPixel(2, 3, 0x777777);
    EXPECT_TRUE(effect.Run());
    EXPECT_EQ(m_destination.PixelAt(3, 3), 0x777777u);
    EXPECT_EQ(m_destination.PixelAt(2, 3), 0x777777u);
}

TEST_F(CrossFadeEffectTest, ARegionOutsideASourceOrTheClipLocksNothing) {
    struct Row {
        const char* name;
        Point destination;
        Point first;
        Point second;
        Size size;
    };
    const Row rows[] = {
        {"PastTheFirstSource", Point(0, 0), Point(8, 0), Point(0, 0), Size(4, 4)},
        {"AboveTheSecondSource", Point(0, 0), Point(0, 0), Point(0, -4), Size(4, 4)},
        {"LeftOfTheClip", Point(-4, 0), Point(0, 0), Point(0, 0), Size(4, 4)},
        {"BelowTheClip", Point(0, 6), Point(0, 0), Point(0, 0), Size(4, 4)},
        {"NoWidth", Point(0, 0), Point(0, 0), Point(0, 0), Size(0, 4)},
        {"NegativeHeight", Point(0, 0), Point(0, 0), Point(0, 0), Size(4, -3)},
    };
    m_destination.SetClipRect(Rect(0, 0, 8, 6));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CrossFadeEffect effect(&m_destination, &m_first, &m_second);
        ASSERT_TRUE(effect.Set(100, row.destination, row.first, row.second, row.size, 255));
        EXPECT_TRUE(effect.Run());
    }
    EXPECT_EQ(m_destination.LocksAsked(), 0);
}

TEST_F(CrossFadeEffectTest, ALockFailureReleasesTheOtherLocksAndWritesNothing) {
    m_first.PutPixel(0, 0, 0xFFFFFF);
    for (MemoryGraphicHandle* failing : {&m_destination, &m_first, &m_second}) {
        failing->FailLocks(1);
        CrossFadeEffect effect(&m_destination, &m_first, &m_second);
        ASSERT_TRUE(effect.Set(0, Point(0, 0), Point(0, 0), Point(0, 0), Size(8, 8), 255));
        EXPECT_FALSE(effect.Run());
        EXPECT_EQ(m_destination.PixelAt(0, 0), 0u);
        EXPECT_EQ(m_destination.GetLockCount() + m_first.GetLockCount() + m_second.GetLockCount(), 0u);
    }
}

TEST_F(CrossFadeEffectTest, TheDestinationMayBeASourceWithTheSameOrigin) {
    m_destination.PutPixel(1, 1, 0x000000);
    m_second.PutPixel(1, 1, 0xFFFFFF);
    CrossFadeEffect effect(&m_destination, &m_destination, &m_second);
    ASSERT_TRUE(effect.Set(128, Point(0, 0), Point(0, 0), Point(0, 0), Size(8, 8), 255));
    EXPECT_TRUE(effect.Run());
    EXPECT_EQ(m_destination.PixelAt(1, 1), 0x808080u);
    EXPECT_EQ(m_destination.GetLockCount(), 0u);
    // Locked once per role.
    EXPECT_EQ(m_destination.LocksAsked(), 2);
}

TEST_F(CrossFadeEffectTest, BottomUpRowsFadeLikeTopDownOnes) {
    MemoryGraphicHandle destination(4, 3, Format(F::Rgb565), 1, -8);
    MemoryGraphicHandle first(4, 3, Format(F::Rgb565), 1, -8);
    first.PutPixel(3, 2, 0xFFFF);
    CrossFadeEffect effect(&destination, &first, &m_second);
    EXPECT_FALSE(effect.Set(0, Point(0, 0), Point(0, 0), Point(0, 0), Size(4, 3), 255));
    CrossFadeEffect sameFormat(&destination, &first, &first);
    ASSERT_TRUE(sameFormat.Set(0, Point(0, 0), Point(0, 0), Point(0, 0), Size(4, 3), 255));
    EXPECT_TRUE(sameFormat.Run());
    EXPECT_EQ(destination.PixelAt(3, 2), 0xFFFFu);
}

} // namespace
