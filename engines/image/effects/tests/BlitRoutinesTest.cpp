#include "engines/image/effects/BlitRoutines.h"

#include "engines/graphics/PixelAccess.h"
#include "engines/image/effects/NearestPaletteIndex.h"
#include "engines/image/effects/tests/EffectTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace Vemo;
using namespace VemoTest;

using F = StandardPixelFormat;

// One source pixel as the pair's routine sees it: its value in the destination's format, or nothing when it
// is transparent.
using SourceRule = std::function<std::optional<std::uint32_t>(
    MemoryGraphicHandle& source, MemoryGraphicHandle& destination, std::uint32_t pixel)>;

std::uint32_t Unpacked24(std::uint32_t pixel, bool redHigh, const PixelFormat& format) {
    const auto low = static_cast<std::uint8_t>(pixel);
    const auto middle = static_cast<std::uint8_t>(pixel >> 8);
    const auto high = static_cast<std::uint8_t>(pixel >> 16);
    return format.PackColor(redHigh ? PixelValue(high, middle, low) : PixelValue(low, middle, high));
}

std::optional<std::uint32_t> Keyed(MemoryGraphicHandle& source, bool transparent, std::uint32_t value) {
    if (source.IsColorKeyEnabled() && transparent) {
        return std::nullopt;
    }
    return value;
}

// An 8-bit index: its palette colour packed into the destination format; transparent when it equals the key's
// low byte.
std::optional<std::uint32_t> PaletteRule(MemoryGraphicHandle& source, MemoryGraphicHandle& destination,
                                         std::uint32_t index) {
    return Keyed(source, index == (source.GetColorKeyPixel() & 0xFF),
                 destination.GetPixelFormat().PackColor(source.GetPaletteEntryImpl(index)));
}

struct PairCase {
    const char* name;
    F source;
    F destination;
    SourceRule rule;
};

void PrintTo(const PairCase& value, std::ostream* out) {
    *out << value.name;
}

const std::vector<PairCase>& PairCases() {
    static const std::vector<PairCase> cases = {
        {"Indexed8To16", F::Indexed8, F::Rgb565, PaletteRule},
        {"Indexed8To4444", F::Indexed8, F::Argb4444, PaletteRule},
        {"Indexed8To24", F::Indexed8, F::Bgr24, PaletteRule},
        {"Indexed8To32", F::Indexed8, F::Rgba32, PaletteRule},
        {"555To555", F::Rgb555, F::Rgb555,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
             return Keyed(s, p == (s.GetColorKeyPixel() & 0x7FFF), p);
         }},
        {"555To565", F::Rgb555, F::Rgb565,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
             return Keyed(s, (p & 0x7FFF) == (s.GetColorKeyPixel() & 0x7FFF), (p & 0x7FE0) << 1 | (p & 0x1F));
         }},
        {"565To555", F::Rgb565, F::Rgb555,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
             return Keyed(s, p == (s.GetColorKeyPixel() & 0xFFFF), (p >> 1 & 0x7FE0) | (p & 0x1F));
         }},
        {"565To565", F::Rgb565, F::Rgb565,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
             return Keyed(s, p == (s.GetColorKeyPixel() & 0xFFFF), p);
         }},
        {"RGB24To565", F::Rgb24, F::Rgb565,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle& d, std::uint32_t p) {
             return Keyed(s, p == s.GetColorKeyPixel(), Unpacked24(p, true, d.GetPixelFormat()));
         }},
        {"BGR24To1555", F::Bgr24, F::Argb1555,
         [](MemoryGraphicHandle& s, MemoryGraphicHandle& d, std::uint32_t p) {
             return Keyed(s, p == s.GetColorKeyPixel(), Unpacked24(p, false, d.GetPixelFormat()));
         }},
    };
    return cases;
}

// The blit worked out a pixel at a time from the pair's rule and the operation.
void ReferenceBlit(MemoryGraphicHandle& destination, MemoryGraphicHandle& source, const SourceRule& rule,
                   const Point& at, const Rect& area, RasterOp op) {
    const DepthCode from = source.GetDepth();
    const DepthCode to = destination.GetDepth();
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        for (std::int32_t x = area.left; x < area.right; ++x) {
            const std::optional<std::uint32_t> value =
                rule(source, destination, ReadPixel(source.Row(y), static_cast<std::uint32_t>(x), from));
            if (!value) {
                continue;
            }
            std::uint8_t* row = destination.Row(at.y + y - area.top);
            const auto column = static_cast<std::uint32_t>(at.x + x - area.left);
            WritePixel(row, column, to, ApplyRasterOp(op, *value, ReadPixel(row, column, to)));
        }
    }
}

class PairBlitTest : public EffectTest, public testing::WithParamInterface<PairCase> {};

// The key colour in runs of 1 to 40 pixels between opaque runs of 0 to 40, as a sprite's outline has them:
// rows hold chunks that are all transparent, all opaque and mixed. Returns the key pixel.
std::uint32_t PaintKeyRuns(MemoryGraphicHandle& source, std::mt19937& random) {
    const std::uint32_t key = source.PixelAt(0, 0);
    for (std::int32_t y = 0; y < source.GetHeight(); ++y) {
        for (std::int32_t x = static_cast<std::int32_t>(random() % 41); x < source.GetWidth();) {
            const auto run = static_cast<std::int32_t>(1 + random() % 40);
            for (std::int32_t end = std::min(x + run, source.GetWidth()); x < end; ++x) {
                source.PutPixel(x, y, key);
            }
            x += static_cast<std::int32_t>(random() % 41);
        }
    }
    return key;
}

// A random source blitted onto a random destination by the pair's routine and by ReferenceBlit; `setKey`
// sets the source's colour key once the surfaces are filled.
void ExpectPairBlit(const PairCase& pair, std::mt19937& random, const Size& sourceSize,
                    const Size& destinationSize, const Rect& area, const Point& at, RasterOp op,
                    const std::function<void(MemoryGraphicHandle&)>& setKey) {
    MemoryGraphicHandle source(sourceSize.width, sourceSize.height, Format(pair.source));
    MemoryGraphicHandle destination(destinationSize.width, destinationSize.height, Format(pair.destination));
    MemoryGraphicHandle expected(destinationSize.width, destinationSize.height, Format(pair.destination));
    FillRandom(source, random);
    FillRandom(destination, random);
    expected.Memory() = destination.Memory();
    setKey(source);
    ReferenceBlit(expected, source, pair.rule, at, area, op);
    EXPECT_TRUE(destination.Blit(at, &source, area, static_cast<std::uint32_t>(op)));
    EXPECT_EQ(destination.Memory(), expected.Memory()) << Differences(destination, expected);
    EXPECT_EQ(destination.GetLockCount(), 0u);
    EXPECT_EQ(source.GetLockCount(), 0u);
}

TEST_P(PairBlitTest, EveryOperationEqualsPixelByPixelWork) {
    const PairCase& pair = GetParam();
    std::mt19937 random(7);
    for (RasterOp op : AllRasterOps()) {
        for (bool keyed : {false, true}) {
            SCOPED_TRACE(OpName(op) + (keyed ? " keyed" : ""));
            ExpectPairBlit(pair, random, Size(37, 9), Size(41, 11), Rect(3, 1, 36, 9), Point(5, 2), op,
                           [&](MemoryGraphicHandle& source) {
                               // A key that a source pixel has, so that some pixels are transparent.
                               source.SetColorKeyEnabled(keyed);
                               source.SetColorKeyPixel(
                                   source.PixelAt(static_cast<std::int32_t>(random() % 37), 4));
                           });
        }
    }
}

TEST_P(PairBlitTest, TransparentRunsEqualPixelByPixelWork) {
    std::mt19937 random(11);
    for (RasterOp op : {RasterOp::Copy, RasterOp::Xor, RasterOp::Clear}) {
        SCOPED_TRACE(OpName(op));
        ExpectPairBlit(GetParam(), random, Size(203, 6), Size(207, 7), Rect(1, 0, 202, 6), Point(3, 1), op,
                       [&](MemoryGraphicHandle& source) {
                           source.SetColorKeyEnabled(true);
                           source.SetColorKeyPixel(PaintKeyRuns(source, random));
                       });
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, PairBlitTest, testing::ValuesIn(PairCases()),
                         [](const testing::TestParamInfo<PairCase>& info) {
                             return std::string(info.param.name);
                         });

struct OnePixelCase {
    const char* name;
    F source;
    F destination;
    std::uint32_t sourcePixel;
    std::uint32_t expected;
};

void PrintTo(const OnePixelCase& value, std::ostream* out) {
    *out << value.name;
}

class OnePixelCopyTest : public EffectTest, public testing::WithParamInterface<OnePixelCase> {};

TEST_P(OnePixelCopyTest, CopiesThePixelAsTheFormatsSay) {
    const OnePixelCase& row = GetParam();
    MemoryGraphicHandle source(1, 1, Format(row.source));
    MemoryGraphicHandle destination(1, 1, Format(row.destination));
    source.SetPaletteEntryImpl(PixelValue(0x11, 0x22, 0x33), 7);
    source.PutPixel(0, 0, row.sourcePixel);
    destination.PutPixel(0, 0, 0xFFFFFFFF);
    EXPECT_TRUE(destination.Blit(Point(0, 0), &source, 3));
    EXPECT_EQ(destination.PixelAt(0, 0), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OnePixelCopyTest,
    testing::Values(OnePixelCase{"White555To565", F::Rgb555, F::Rgb565, 0x7FFF, 0xFFDF},
                    OnePixelCase{"White565To555", F::Rgb565, F::Rgb555, 0xFFFF, 0x7FFF},
                    OnePixelCase{"Bit15Stays555To555", F::Rgb555, F::Rgb555, 0x8001, 0x8001},
                    OnePixelCase{"Bit15Drops555To565", F::Rgb555, F::Rgb565, 0x8001, 0x0001},
                    OnePixelCase{"RedHigh24To565", F::Rgb24, F::Rgb565, 0xFF8010, 0xFC02},
                    OnePixelCase{"BlueHigh24To565", F::Bgr24, F::Rgb565, 0x1080FF, 0xFC02},
                    OnePixelCase{"PaletteTo565", F::Indexed8, F::Rgb565, 7, 0x1106},
                    OnePixelCase{"PaletteToRedHigh24", F::Indexed8, F::Rgb24, 7, 0x112233},
                    OnePixelCase{"PaletteToArgb32AlphaZero", F::Indexed8, F::Argb32, 7, 0x00112233},
                    OnePixelCase{"PaletteToRgba32", F::Indexed8, F::Rgba32, 7, 0x11223300},
                    // The generic blit writes no fourth channel.
                    OnePixelCase{"Argb32ToArgb32", F::Argb32, F::Argb32, 0xAB112233, 0x00112233},
                    OnePixelCase{"Rgba32ToXbgr32", F::Rgba32, F::Xbgr32, 0x112233AB, 0x00332211}),
    [](const testing::TestParamInfo<OnePixelCase>& info) { return std::string(info.param.name); });

struct KeyCase {
    const char* name;
    F source;
    F destination;
    std::uint32_t key;
    std::uint32_t sourcePixel;
    bool transparent;
};

void PrintTo(const KeyCase& value, std::ostream* out) {
    *out << value.name;
}

class ColorKeyTest : public EffectTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(ColorKeyTest, KeepsTheDestinationUnderTransparentPixels) {
    const KeyCase& row = GetParam();
    MemoryGraphicHandle source(1, 1, Format(row.source));
    MemoryGraphicHandle destination(1, 1, Format(row.destination));
    source.PutPixel(0, 0, row.sourcePixel);
    source.SetColorKeyEnabled(true);
    source.SetColorKeyPixel(row.key);
    destination.PutPixel(0, 0, 0x5A5A5A);
    EXPECT_TRUE(destination.Blit(Point(0, 0), &source, 3));
    EXPECT_EQ(destination.PixelAt(0, 0) == (0x5A5A5A & (destination.GetDepth() == 5 ? 0xFFFF : 0xFFFFFF)),
              row.transparent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ColorKeyTest,
    testing::Values(
        KeyCase{"Bit15Ignored555To565", F::Rgb555, F::Rgb565, 0x0001, 0x8001, true},
        KeyCase{"Bit15Opaque555To555", F::Rgb555, F::Rgb555, 0x0001, 0x8001, false},
        KeyCase{"KeyBit15Dropped555To555", F::Rgb555, F::Rgb555, 0x8001, 0x0001, true},
        KeyCase{"Low16Bits565To555", F::Rgb565, F::Rgb555, 0x1F001F, 0x001F, true},
        KeyCase{"Whole24BitKey", F::Rgb24, F::Rgb565, 0x102030, 0x102030, true},
        KeyCase{"KeyTopByteMakesNoneTransparent", F::Rgb24, F::Rgb565, 0x01102030, 0x102030, false},
        KeyCase{"PaletteIndexIsKeyLowByte", F::Indexed8, F::Xrgb32, 0x1205, 5, true},
        KeyCase{"GenericComparesColourNotAlpha", F::Argb32, F::Xrgb32, 0xFF102030, 0x00102030, true},
        KeyCase{"GenericOtherColour", F::Argb32, F::Xrgb32, 0xFF102030, 0x00102031, false}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

class IndexedBlitTest : public EffectTest {
protected:
    IndexedBlitTest() {
        for (std::uint32_t index = 0; index < 256; ++index) {
            const PixelValue color(static_cast<std::uint8_t>(index), static_cast<std::uint8_t>(index * 3),
                                   static_cast<std::uint8_t>(255 - index));
            m_source.SetPaletteEntryImpl(color, index);
            m_destination.SetPaletteEntryImpl(color, index);
        }
    }

    MemoryGraphicHandle m_source{4, 1, Format(F::Indexed8)};
    MemoryGraphicHandle m_destination{4, 1, Format(F::Indexed8)};
};

TEST_F(IndexedBlitTest, OperationsActOnColoursNotOnIndices) {
    m_source.PutPixel(0, 0, 3);
    m_destination.PutPixel(0, 0, 5);
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, Rect(0, 0, 1, 1),
                                   static_cast<std::uint32_t>(RasterOp::Xor)));
    Palette256 palette;
    for (std::uint32_t index = 0; index < 256; ++index) {
        palette[index] = m_destination.GetPaletteEntryImpl(index);
    }
    const std::uint32_t expected = NearestPaletteIndex(palette, (palette[3] ^ palette[5]) & 0xFFFFFF);
    EXPECT_EQ(m_destination.PixelAt(0, 0), expected);
    EXPECT_NE(expected, 3u ^ 5u);
}

TEST_F(IndexedBlitTest, ClearAndSetWriteTheFirstAndLastIndexOutsideTheKey) {
    m_source.PutPixel(1, 0, 9);
    m_source.SetColorKeyEnabled(true);
    m_source.SetColorKeyPixel(9);
    m_destination.PutPixel(1, 0, 77);
    EXPECT_NE(m_destination.GetPaletteEntryImpl(0).Rgb(), 0u);
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, static_cast<std::uint32_t>(RasterOp::Clear)));
    EXPECT_EQ(m_destination.PixelAt(0, 0), 0u);
    EXPECT_EQ(m_destination.PixelAt(1, 0), 77u);
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, static_cast<std::uint32_t>(RasterOp::Set)));
    EXPECT_EQ(m_destination.PixelAt(0, 0), 255u);
    EXPECT_EQ(m_destination.PixelAt(1, 0), 77u);
}

TEST_F(IndexedBlitTest, CopyMapsTheSourceColoursOntoTheDestinationPalette) {
    // The destination's palette in reverse order: source colour i is destination entry 255 - i.
    for (std::uint32_t index = 0; index < 256; ++index) {
        m_destination.SetPaletteEntryImpl(m_source.GetPaletteEntryImpl(255 - index), index);
    }
    m_source.PutPixel(0, 0, 10);
    m_source.PutPixel(1, 0, 200);
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, Rect(0, 0, 2, 1), 3));
    EXPECT_EQ(m_destination.PixelAt(0, 0), 245u);
    EXPECT_EQ(m_destination.PixelAt(1, 0), 55u);

    // CopyInverted: the nearest entry to the inverted source colour.
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, Rect(0, 0, 1, 1),
                                   static_cast<std::uint32_t>(RasterOp::CopyInverted)));
    EXPECT_EQ(m_destination.PixelAt(0, 0),
              m_destination.ColorToPixelImpl(PixelValue(m_source.GetPaletteEntryImpl(10) ^ 0xFFFFFF)));
}

TEST_F(IndexedBlitTest, InvertReadsOnlyTheDestinationAndKeepsItsOwnKey) {
    m_destination.PutPixel(0, 0, 40);
    m_destination.PutPixel(1, 0, 41);
    m_destination.SetColorKeyEnabled(true);
    m_destination.SetColorKeyPixel(41);
    m_source.SetColorKeyEnabled(true);
    m_source.SetColorKeyPixel(0);
    EXPECT_TRUE(m_destination.Blit(Point(0, 0), &m_source, Rect(0, 0, 2, 1),
                                   static_cast<std::uint32_t>(RasterOp::Invert)));
    EXPECT_EQ(m_destination.PixelAt(0, 0),
              m_destination.ColorToPixelImpl(PixelValue(m_destination.GetPaletteEntryImpl(40) ^ 0xFFFFFF)));
    EXPECT_EQ(m_destination.PixelAt(1, 0), 41u);
}

// Above 65,536 pixels the operations go through a table of every index pair: the same pixels as the search.
TEST_F(EffectTest, IndexedOperationsGiveThePixelsOfTheNearestSearchAtEverySize) {
    for (const std::int32_t height : {10, 300}) {
        for (const std::uint32_t destinationTag : {1u, 2u}) {
            SCOPED_TRACE(std::to_string(height) + " rows, tag " + std::to_string(destinationTag));
            std::mt19937 random(static_cast<std::uint32_t>(height));
            MemoryGraphicHandle source(256, height, Format(F::Indexed8), 1);
            MemoryGraphicHandle destination(256, height, Format(F::Indexed8), destinationTag);
            FillRandom(source, random);
            FillRandom(destination, random);
            source.SetColorKeyEnabled(true);
            source.SetColorKeyPixel(17);
            Palette256 palette;
            Palette256 sourcePalette;
            for (std::uint32_t index = 0; index < 256; ++index) {
                palette[index] = destination.GetPaletteEntryImpl(index) & 0xFFFFFF;
                // A source colour of another tag reads as black.
                sourcePalette[index] = destinationTag == 1 ? source.GetPaletteEntryImpl(index) & 0xFFFFFF : 0;
            }
            std::vector<std::uint32_t> expected;
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x < 256; ++x) {
                    const std::uint32_t from = source.PixelAt(x, y);
                    const std::uint32_t to = destination.PixelAt(x, y);
                    expected.push_back(
                        from == 17
                            ? to
                            : NearestPaletteIndex(palette, ~(sourcePalette[from] & palette[to]) & 0xFFFFFF));
                }
            }
            EXPECT_TRUE(destination.Blit(Point(0, 0), &source, static_cast<std::uint32_t>(RasterOp::Nand)));
            std::vector<std::uint32_t> actual;
            for (std::int32_t y = 0; y < height; ++y) {
                for (std::int32_t x = 0; x < 256; ++x) {
                    actual.push_back(destination.PixelAt(x, y));
                }
            }
            EXPECT_EQ(actual, expected);
        }
    }
}

TEST_F(EffectTest, PaletteColoursOfAnotherTagArePackedAsBlack) {
    for (F format : {F::Rgb565, F::Rgb24, F::Xrgb32}) {
        MemoryGraphicHandle source(1, 1, Format(F::Indexed8), 1);
        MemoryGraphicHandle destination(1, 1, Format(format), 2);
        source.SetPaletteEntryImpl(PixelValue(0xFFFFFF), 0);
        destination.PutPixel(0, 0, 0x5555);
        EXPECT_TRUE(destination.Blit(Point(0, 0), &source, 3));
        EXPECT_EQ(destination.PixelAt(0, 0), 0u) << FormatNumber(format);
    }
}

TEST_F(EffectTest, NoOpOnARoutineOfItsOwnLocksNothingAndAnswersTrue) {
    MemoryGraphicHandle source(4, 4, Format(F::Rgb565));
    MemoryGraphicHandle destination(4, 4, Format(F::Rgb565));
    source.PutPixel(0, 0, 0xFFFF);
    EXPECT_TRUE(destination.Blit(Point(0, 0), &source, static_cast<std::uint32_t>(RasterOp::NoOp)));
    EXPECT_EQ(destination.PixelAt(0, 0), 0u);
    EXPECT_EQ(destination.LocksAsked(), 0);
    EXPECT_EQ(source.LocksAsked(), 0);
}

TEST_F(EffectTest, AnOperationAbove15IsRefused) {
    MemoryGraphicHandle source(4, 4, Format(F::Indexed8));
    MemoryGraphicHandle destination(4, 4, Format(F::Rgb565));
    EXPECT_FALSE(destination.Blit(Point(0, 0), &source, 16));
    EXPECT_EQ(destination.LocksAsked(), 0);
}

TEST_F(EffectTest, AnEmptySourceRectangleLocksWritesNothingAndAnswersTrue) {
    MemoryGraphicHandle source(4, 4, Format(F::Rgb555));
    MemoryGraphicHandle destination(4, 4, Format(F::Rgb565));
    source.PutPixel(0, 0, 0x7FFF);
    BlitEffect effect(&destination, &source);
    ASSERT_TRUE(effect.Set(Point(0, 0), Rect(0, 0, 0, 4), RasterOp::Copy));
    EXPECT_TRUE(effect.Run());
    EXPECT_EQ(destination.PixelAt(0, 0), 0u);
    EXPECT_EQ(destination.LocksAsked(), 1);
    EXPECT_EQ(source.LocksAsked(), 1);
    EXPECT_EQ(destination.GetLockCount(), 0u);
}

TEST_F(EffectTest, AFailedLockWritesNothingAndReleasesWhatWasLocked) {
    struct Row {
        F source;
        F destination;
    };
    // A routine of its own, and the generic blit's row path.
    for (const Row& row :
         {Row{F::Rgb565, F::Rgb565}, Row{F::Indexed8, F::Xrgb32}, Row{F::Xrgb32, F::Xrgb32}}) {
        for (bool sourceFails : {false, true}) {
            SCOPED_TRACE(std::to_string(FormatNumber(row.source)) +
                         (sourceFails ? " source" : " destination"));
            MemoryGraphicHandle source(4, 4, Format(row.source));
            MemoryGraphicHandle destination(4, 4, Format(row.destination));
            source.PutPixel(0, 0, 1);
            source.SetPaletteEntryImpl(PixelValue(0xFFFFFF), 1);
            (sourceFails ? source : destination).FailLocks(1);
            EXPECT_FALSE(destination.Blit(Point(0, 0), &source, 3));
            EXPECT_EQ(destination.PixelAt(0, 0), 0u);
            EXPECT_EQ(destination.GetLockCount(), 0u);
            EXPECT_EQ(source.GetLockCount(), 0u);
        }
    }
}

TEST_F(EffectTest, TheGenericBlitServesCopyOnly) {
    // 1- and 4-bit sources have no routine of their own.
    for (F format : {F::Indexed1, F::Indexed4}) {
        MemoryGraphicHandle source(8, 1, Format(format));
        MemoryGraphicHandle destination(8, 1, Format(F::Xrgb32));
        source.SetPaletteEntryImpl(PixelValue(0x10, 0x20, 0x30), 1);
        source.PutPixel(3, 0, 1);
        for (RasterOp op : AllRasterOps()) {
            if (op == RasterOp::Copy) {
                continue;
            }
            EXPECT_FALSE(destination.Blit(Point(0, 0), &source, static_cast<std::uint32_t>(op)))
                << OpName(op);
            EXPECT_EQ(destination.PixelAt(3, 0), 0u);
        }
        EXPECT_TRUE(destination.Blit(Point(0, 0), &source, 3));
        EXPECT_EQ(destination.PixelAt(3, 0), 0x102030u);
    }
}

// The generic blit's row path against the handles' own colour reads and writes, pixel by pixel.
struct GenericCase {
    const char* name;
    PixelFormat source;
    PixelFormat destination;
    std::uint32_t destinationTag;
};

void PrintTo(const GenericCase& value, std::ostream* out) {
    *out << value.name;
}

PixelFormat TenBitFormat() {
    PixelFormat format;
    format.SetMasks(7, 0x3FF00000, 0xFFC00, 0x3FF, 0, ExtraChannel());
    return format;
}

class GenericBlitTest : public EffectTest, public testing::WithParamInterface<GenericCase> {};

// A random source blitted onto a random destination by the generic routine, against each source pixel's
// colour written through SetPixel except where it equals the key; `prepare` sets the source's key and clip
// once the surfaces are filled.
void ExpectGenericBlit(const GenericCase& row, std::mt19937& random, const Size& sourceSize,
                       const Size& destinationSize, const Rect& area, const Point& at,
                       const std::function<void(MemoryGraphicHandle&)>& prepare) {
    MemoryGraphicHandle source(sourceSize.width, sourceSize.height, row.source, 1);
    MemoryGraphicHandle destination(destinationSize.width, destinationSize.height, row.destination,
                                    row.destinationTag);
    MemoryGraphicHandle expected(destinationSize.width, destinationSize.height, row.destination,
                                 row.destinationTag);
    FillRandom(source, random);
    FillRandom(destination, random);
    for (std::uint32_t index = 0; index < 256; ++index) {
        expected.SetPaletteEntryImpl(destination.GetPaletteEntryImpl(index), index);
    }
    expected.Memory() = destination.Memory();
    prepare(source);
    const Color key = source.GetColorKey();
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
        for (std::int32_t x = area.left; x < area.right; ++x) {
            const Color color = source.GetPixelColor(Point(x, y));
            if (!source.IsColorKeyEnabled() || !(color == key)) {
                expected.SetPixel(color, Point(at.x + x - area.left, at.y + y - area.top));
            }
        }
    }
    EXPECT_TRUE(destination.Blit(at, &source, area, 3));
    EXPECT_EQ(destination.Memory(), expected.Memory()) << Differences(destination, expected);
}

TEST_P(GenericBlitTest, GivesThePixelsOfColourReadsAndWrites) {
    std::mt19937 random(3);
    for (bool keyed : {false, true}) {
        for (const Rect sourceClip : {Rect(0, 0, 37, 9), Rect(4, 2, 30, 9)}) {
            SCOPED_TRACE(std::string(keyed ? "keyed" : "plain") + " clip left " +
                         std::to_string(sourceClip.left));
            ExpectGenericBlit(GetParam(), random, Size(37, 9), Size(41, 11), Rect(3, 1, 36, 9), Point(5, 3),
                              [&](MemoryGraphicHandle& source) {
                                  source.SetClipRect(sourceClip);
                                  source.SetColorKeyEnabled(keyed);
                                  source.SetColorKeyPixel(source.PixelAt(6, 4));
                              });
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GenericBlitTest,
    testing::Values(GenericCase{"Xrgb32ToXrgb32", Format(F::Xrgb32), Format(F::Xrgb32), 1},
                    GenericCase{"Argb32ToArgb32", Format(F::Argb32), Format(F::Argb32), 1},
                    GenericCase{"Rgba32ToRgba32", Format(F::Rgba32), Format(F::Rgba32), 1},
                    GenericCase{"Xrgb32ToXbgr32", Format(F::Xrgb32), Format(F::Xbgr32), 1},
                    GenericCase{"Xrgb32ToOtherTag", Format(F::Xrgb32), Format(F::Xrgb32), 2},
                    GenericCase{"Argb4444ToArgb4444", Format(F::Argb4444), Format(F::Argb4444), 1},
                    GenericCase{"Rgb565ToXrgb32", Format(F::Rgb565), Format(F::Xrgb32), 1},
                    GenericCase{"Rgb24ToRgb24", Format(F::Rgb24), Format(F::Rgb24), 1},
                    GenericCase{"Argb1555ToRgb555", Format(F::Argb1555), Format(F::Rgb555), 1},
                    GenericCase{"Indexed4ToRgb565", Format(F::Indexed4), Format(F::Rgb565), 1},
                    GenericCase{"Indexed1ToRgba32", Format(F::Indexed1), Format(F::Rgba32), 1},
                    GenericCase{"TenBitToXrgb32", TenBitFormat(), Format(F::Xrgb32), 1},
                    GenericCase{"TenBitToTenBit", TenBitFormat(), TenBitFormat(), 1},
                    GenericCase{"Xrgb32ToIndexed8", Format(F::Xrgb32), Format(F::Indexed8), 1},
                    GenericCase{"Rgb565ToIndexed4", Format(F::Rgb565), Format(F::Indexed4), 1}),
    [](const testing::TestParamInfo<GenericCase>& info) { return std::string(info.param.name); });

TEST_P(GenericBlitTest, TransparentRunsGiveThePixelsOfColourReadsAndWrites) {
    std::mt19937 random(13);
    ExpectGenericBlit(GetParam(), random, Size(203, 6), Size(207, 7), Rect(1, 0, 202, 6), Point(3, 1),
                      [&](MemoryGraphicHandle& source) {
                          source.SetColorKeyEnabled(true);
                          source.SetColorKeyPixel(PaintKeyRuns(source, random));
                      });
}

// A blit within one surface, the destination some pixels left or right of the source on the same rows: each
// pixel is read after every pixel left of it was written, as pixel-by-pixel work does it.
struct OverlapCase {
    const char* name;
    F format;
    RasterOp op;
    bool keyed;
    SourceRule rule;
};

void PrintTo(const OverlapCase& value, std::ostream* out) {
    *out << value.name;
}

class OverlappingBlitTest : public EffectTest, public testing::WithParamInterface<OverlapCase> {};

TEST_P(OverlappingBlitTest, ReadsWhatEarlierPixelsWrote) {
    const OverlapCase& row = GetParam();
    std::mt19937 random(19);
    for (const std::int32_t shift : {-1, 1, 3, 8, 15, 16, 40}) {
        SCOPED_TRACE("shift " + std::to_string(shift));
        MemoryGraphicHandle surface(160, 3, Format(row.format));
        MemoryGraphicHandle expected(160, 3, Format(row.format));
        FillRandom(surface, random);
        surface.SetColorKeyEnabled(row.keyed);
        surface.SetColorKeyPixel(PaintKeyRuns(surface, random));
        expected.Memory() = surface.Memory();
        expected.SetColorKeyEnabled(row.keyed);
        expected.SetColorKeyPixel(surface.GetColorKeyPixel());
        const Rect area(50, 0, 110, 3);
        const Point at(50 + shift, 0);
        ReferenceBlit(expected, expected, row.rule, at, area, row.op);
        EXPECT_TRUE(surface.Blit(at, &surface, area, static_cast<std::uint32_t>(row.op)));
        EXPECT_EQ(surface.Memory(), expected.Memory()) << Differences(surface, expected);
    }
}

std::optional<std::uint32_t> Generic32Rule(MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
    return Keyed(s, (p & 0xFFFFFF) == (s.GetColorKeyPixel() & 0xFFFFFF), p & 0xFFFFFF);
}

std::optional<std::uint32_t> Same565Rule(MemoryGraphicHandle& s, MemoryGraphicHandle&, std::uint32_t p) {
    return Keyed(s, p == (s.GetColorKeyPixel() & 0xFFFF), p);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OverlappingBlitTest,
    testing::Values(OverlapCase{"Generic32", F::Xrgb32, RasterOp::Copy, false, Generic32Rule},
                    OverlapCase{"Generic32Keyed", F::Xrgb32, RasterOp::Copy, true, Generic32Rule},
                    OverlapCase{"Rgb565Xor", F::Rgb565, RasterOp::Xor, false, Same565Rule},
                    OverlapCase{"Rgb565KeyedCopy", F::Rgb565, RasterOp::Copy, true, Same565Rule}),
    [](const testing::TestParamInfo<OverlapCase>& info) { return std::string(info.param.name); });

TEST_F(EffectTest, TheGenericBlitOntoALostSurfaceFails) {
    MemoryGraphicHandle source(4, 4, Format(F::Xrgb32));
    MemoryGraphicHandle destination(4, 4, Format(F::Xrgb32));
    source.PutPixel(0, 0, 0x123456);
    destination.SetLost(1);
    EXPECT_FALSE(destination.Blit(Point(0, 0), &source, 3));
    EXPECT_EQ(destination.PixelAt(0, 0), 0u);
}

} // namespace
