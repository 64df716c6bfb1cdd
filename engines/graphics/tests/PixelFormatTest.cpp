#include "engines/graphics/PixelFormat.h"

#include "engines/graphics/ChannelPacking.h"
#include "engines/graphics/Color.h"
#include "engines/graphics/DepthCode.h"
#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/PixelValue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <string>

namespace {

using namespace Vemo;

TEST(DepthCodeTest, ConvertsBetweenCodesBitsAndBytes) {
    struct Row {
        DepthCode depth;
        std::uint32_t bits;
        std::uint32_t bytes;
    };
    const Row rows[] = {{0, 0, 0},  {1, 1, 1},  {2, 2, 1},  {3, 4, 1}, {4, 8, 1},
                        {5, 16, 2}, {6, 24, 3}, {7, 32, 4}, {8, 0, 0}, {0xFFFFFFFF, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.depth);
        EXPECT_EQ(BitsPerPixelFromDepth(row.depth), row.bits);
        EXPECT_EQ(BytesPerPixelFromDepth(row.depth), row.bytes);
        if (row.bits != 0) {
            EXPECT_EQ(DepthFromBitsPerPixel(row.bits), row.depth);
        }
    }
    EXPECT_EQ(DepthFromBitsPerPixel(15), 0u);
    EXPECT_EQ(DepthFromBitsPerPixel(0), 0u);
    EXPECT_EQ(BitsPerPixelFromDepth(8), 0u);
}

TEST(DepthCodeTest, CountsBytesAndPixelsOfARow) {
    EXPECT_EQ(BytesFromPixels(9, 1), 2u);
    EXPECT_EQ(BytesFromPixels(8, 1), 1u);
    EXPECT_EQ(BytesFromPixels(5, 2), 2u);
    EXPECT_EQ(BytesFromPixels(3, 3), 2u);
    EXPECT_EQ(BytesFromPixels(640, 5), 1280u);
    EXPECT_EQ(BytesFromPixels(640, 6), 1920u);
    EXPECT_EQ(BytesFromPixels(640, 7), 2560u);
    EXPECT_EQ(BytesFromPixels(0xFFFFFFFF, 1), 0x20000000u) << "no overflow while rounding up";
    EXPECT_EQ(BytesFromPixels(10, 0), 0u);

    EXPECT_EQ(PixelsFromBytes(-640, 5), 320u);
    EXPECT_EQ(PixelsFromBytes(10, 6), 3u);
    EXPECT_EQ(PixelsFromBytes(3, 1), 24u);
    EXPECT_EQ(PixelsFromBytes(-3, 3), 6u);
    EXPECT_EQ(PixelsFromBytes(7, 7), 1u);
    EXPECT_EQ(PixelsFromBytes(std::numeric_limits<std::int32_t>::min(), 7), 0x20000000u);
    EXPECT_EQ(PixelsFromBytes(100, 9), 0u);
}

TEST(DepthCodeTest, SplitsAPixelIndexIntoByteAndPosition) {
    struct Row {
        std::uint32_t x;
        DepthCode depth;
        std::uint32_t offset;
        std::uint32_t inByte;
    };
    const Row rows[] = {{13, 1, 1, 5},  {13, 2, 3, 1},  {13, 3, 6, 1},  {13, 4, 13, 0},
                        {13, 5, 26, 0}, {13, 6, 39, 0}, {13, 7, 52, 0}, {13, 0, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.depth);
        std::uint32_t x = row.x;
        EXPECT_EQ(ByteOffsetFromPixel(x, row.depth), row.offset);
        EXPECT_EQ(x, row.inByte);
    }
}

struct StandardCase {
    StandardPixelFormat number;
    DepthCode depth;
    std::uint32_t masks[4];
    std::uint8_t usage;
    std::uint8_t shifts[4];
    std::uint8_t losses[4];
};

std::string NameOf(StandardPixelFormat number) {
    return "Format" + std::to_string(static_cast<std::uint32_t>(number));
}

void PrintTo(const StandardCase& standard, std::ostream* out) {
    *out << NameOf(standard.number);
}

class StandardPixelFormatTest : public testing::TestWithParam<StandardCase> {};

TEST_P(StandardPixelFormatTest, BuildsTheLayoutAndRecognisesItFromItsMasks) {
    const StandardCase& expected = GetParam();
    const PixelFormat format(expected.number);
    EXPECT_EQ(format.format, expected.number);
    EXPECT_EQ(format.depth, expected.depth);
    EXPECT_EQ(format.colorCount, 0u);
    EXPECT_EQ(format.extra.GetUsage(), expected.usage);
    EXPECT_TRUE(format.extra.Matches(ExtraChannel(expected.usage)));
    const std::uint32_t masks[] = {format.redMask, format.greenMask, format.blueMask, format.alphaMask};
    const std::uint8_t shifts[] = {format.redShift, format.greenShift, format.blueShift, format.alphaShift};
    const std::uint8_t losses[] = {format.redLoss, format.greenLoss, format.blueLoss, format.alphaLoss};
    for (int channel = 0; channel < 4; ++channel) {
        SCOPED_TRACE(channel);
        EXPECT_EQ(masks[channel], expected.masks[channel]);
        EXPECT_EQ(shifts[channel], expected.shifts[channel]);
        EXPECT_EQ(losses[channel], expected.losses[channel]);
    }

    PixelFormat fromMasks;
    fromMasks.SetMasks(expected.depth, expected.masks[0], expected.masks[1], expected.masks[2],
                       expected.masks[3], ExtraChannel(expected.usage));
    EXPECT_EQ(fromMasks.format, expected.number);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, StandardPixelFormatTest,
    testing::Values(
        StandardCase{
            StandardPixelFormat::Argb4444, 5, {0xF00, 0xF0, 0xF, 0xF000}, 1, {8, 4, 0, 12}, {4, 4, 4, 4}},
        StandardCase{
            StandardPixelFormat::Argb1555, 5, {0x7C00, 0x3E0, 0x1F, 0x8000}, 1, {10, 5, 0, 15}, {3, 3, 3, 7}},
        StandardCase{
            StandardPixelFormat::Rgb555, 5, {0x7C00, 0x3E0, 0x1F, 0}, 0, {10, 5, 0, 0}, {3, 3, 3, 8}},
        StandardCase{
            StandardPixelFormat::Rgb565, 5, {0xF800, 0x7E0, 0x1F, 0}, 0, {11, 5, 0, 0}, {3, 2, 3, 8}},
        StandardCase{
            StandardPixelFormat::Rgb24, 6, {0xFF0000, 0xFF00, 0xFF, 0}, 0, {16, 8, 0, 0}, {0, 0, 0, 8}},
        StandardCase{
            StandardPixelFormat::Bgr24, 6, {0xFF, 0xFF00, 0xFF0000, 0}, 0, {0, 8, 16, 0}, {0, 0, 0, 8}},
        StandardCase{
            StandardPixelFormat::Xrgb32, 7, {0xFF0000, 0xFF00, 0xFF, 0}, 0, {16, 8, 0, 0}, {0, 0, 0, 8}},
        StandardCase{
            StandardPixelFormat::Xbgr32, 7, {0xFF, 0xFF00, 0xFF0000, 0}, 0, {0, 8, 16, 0}, {0, 0, 0, 8}},
        StandardCase{StandardPixelFormat::Argb32,
                     7,
                     {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
                     1,
                     {16, 8, 0, 24},
                     {0, 0, 0, 0}},
        StandardCase{StandardPixelFormat::Abgr32,
                     7,
                     {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
                     1,
                     {0, 8, 16, 24},
                     {0, 0, 0, 0}},
        StandardCase{StandardPixelFormat::Rgba32,
                     7,
                     {0xFF000000, 0xFF0000, 0xFF00, 0xFF},
                     1,
                     {24, 16, 8, 0},
                     {0, 0, 0, 0}},
        StandardCase{StandardPixelFormat::Bgra32,
                     7,
                     {0xFF00, 0xFF0000, 0xFF000000, 0xFF},
                     1,
                     {8, 16, 24, 0},
                     {0, 0, 0, 0}},
        // The 16-bit depth channel's loss wraps below 0 as a byte.
        StandardCase{StandardPixelFormat::Rgb555Depth16,
                     7,
                     {0x7C00, 0x3E0, 0x1F, 0xFFFF0000},
                     2,
                     {10, 5, 0, 16},
                     {3, 3, 3, 248}},
        StandardCase{StandardPixelFormat::Rgb565Depth16,
                     7,
                     {0xF800, 0x7E0, 0x1F, 0xFFFF0000},
                     2,
                     {11, 5, 0, 16},
                     {3, 2, 3, 248}}),
    [](const testing::TestParamInfo<StandardCase>& info) { return NameOf(info.param.number); });

void ExpectCleared(const PixelFormat& format) {
    EXPECT_EQ(format.format, StandardPixelFormat::None);
    EXPECT_EQ(format.depth, 0u);
    EXPECT_TRUE(format.extra.IsEmpty());
    EXPECT_EQ(format.redMask | format.greenMask | format.blueMask | format.alphaMask, 0u);
    EXPECT_EQ(format.redShift | format.greenShift | format.blueShift | format.alphaShift, 0);
    EXPECT_EQ(format.redLoss | format.greenLoss | format.blueLoss | format.alphaLoss, 0);
    EXPECT_EQ(format.colorCount, 0u);
}

TEST(PixelFormatTest, NumbersOutsideTheStandardListGiveTheClearedRecord) {
    for (const std::uint32_t number : {0u, 19u, 25u}) {
        SCOPED_TRACE(number);
        ExpectCleared(PixelFormat(static_cast<StandardPixelFormat>(number)));
    }
    PixelFormat format(StandardPixelFormat::Rgb565);
    format.Clear();
    ExpectCleared(format);
}

TEST(PixelFormatTest, IndexedFormatsCountTheirPaletteEntries) {
    struct Row {
        DepthCode depth;
        StandardPixelFormat format;
        std::uint32_t colorCount;
    };
    const Row rows[] = {
        {1, StandardPixelFormat::Indexed1, 2},      {2, StandardPixelFormat::Indexed2, 4},
        {3, StandardPixelFormat::Indexed4, 16},     {4, StandardPixelFormat::Indexed8, 256},
        {5, StandardPixelFormat::Other, 0x10000},   {6, StandardPixelFormat::Other, 0x1000000},
        {7, StandardPixelFormat::Other, 0xFFFFFFFF}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.depth);
        const PixelFormat format(row.depth);
        EXPECT_EQ(format.format, row.format);
        EXPECT_EQ(format.depth, row.depth);
        EXPECT_EQ(format.colorCount, row.colorCount);
        EXPECT_TRUE(format.IsIndexed());
        EXPECT_EQ(format.redMask | format.greenMask | format.blueMask | format.alphaMask, 0u);
        if (row.depth <= 4) {
            const PixelFormat standard(static_cast<StandardPixelFormat>(row.depth));
            EXPECT_EQ(standard.format, row.format);
            EXPECT_EQ(standard.colorCount, row.colorCount);
        }
    }
    ExpectCleared(PixelFormat(DepthCode{0}));
    ExpectCleared(PixelFormat(DepthCode{8}));
    EXPECT_EQ(PixelFormat(DepthCode{4}, ExtraChannel(9)).extra, ExtraChannel(9))
        << "the palette reference is kept";
}

TEST(PixelFormatTest, SetMasksRecognisesOnlyExactStandardLayouts) {
    struct Row {
        const char* name;
        DepthCode depth;
        std::uint32_t masks[4];
        ExtraChannel extra;
        StandardPixelFormat expected;
    };
    const Row rows[] = {
        {"xrgb with an unused fourth byte",
         7,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         ExtraChannel(0),
         StandardPixelFormat::Xrgb32},
        {"xbgr with an unused fourth byte",
         7,
         {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
         ExtraChannel(0),
         StandardPixelFormat::Xbgr32},
        {"argb with a 12-bit value set",
         7,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         ExtraChannel(1, 5),
         StandardPixelFormat::Other},
        {"unused fourth byte with a 12-bit value set",
         7,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         ExtraChannel(0, 0, 1),
         StandardPixelFormat::Other},
        {"555 whatever the extra channel",
         5,
         {0x7C00, 0x3E0, 0x1F, 0},
         ExtraChannel(3, 7, 7),
         StandardPixelFormat::Rgb555},
        {"565 whatever the extra channel",
         5,
         {0xF800, 0x7E0, 0x1F, 0},
         ExtraChannel(1),
         StandardPixelFormat::Rgb565},
        {"1555 needs alpha", 5, {0x7C00, 0x3E0, 0x1F, 0x8000}, ExtraChannel(0), StandardPixelFormat::Other},
        {"24 bits with a fourth mask",
         6,
         {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         ExtraChannel(0),
         StandardPixelFormat::Other},
        {"565 masks at 32 bits", 7, {0xF800, 0x7E0, 0x1F, 0}, ExtraChannel(0), StandardPixelFormat::Other},
        {"depth 4 never standard", 4, {0xE0, 0x1C, 0x3, 0}, ExtraChannel(0), StandardPixelFormat::Other},
        {"depth value needs usage 2",
         7,
         {0xF800, 0x7E0, 0x1F, 0xFFFF0000},
         ExtraChannel(1),
         StandardPixelFormat::Other},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PixelFormat format;
        format.SetMasks(row.depth, row.masks[0], row.masks[1], row.masks[2], row.masks[3], row.extra);
        EXPECT_EQ(format.format, row.expected);
        EXPECT_EQ(format.depth, row.depth);
        EXPECT_EQ(format.colorCount, 0u);
        EXPECT_EQ(format.extra, row.extra);
    }
}

TEST(PixelFormatTest, SetMasksMeasuresTheLowestRunOfEachMask) {
    // Bits above a gap are ignored; a mask wider than 8 bits wraps its loss.
    PixelFormat format;
    format.SetMasks(7, 0x0F0F0, 0xFFF00000, 0x3FF, 0x3, ExtraChannel(1));
    EXPECT_EQ(format.format, StandardPixelFormat::Other);
    EXPECT_EQ(format.redShift, 4);
    EXPECT_EQ(format.redLoss, 4);
    EXPECT_EQ(format.greenShift, 20);
    EXPECT_EQ(format.greenLoss, 252);
    EXPECT_EQ(format.blueShift, 0);
    EXPECT_EQ(format.blueLoss, 254);
    EXPECT_EQ(format.alphaShift, 0);
    EXPECT_EQ(format.alphaLoss, 6);

    format.SetMasks(7, 0xFFFFFFFF, 0, 0, 0, ExtraChannel());
    EXPECT_EQ(format.redShift, 0);
    EXPECT_EQ(format.redLoss, 232);

    format.SetMasks(0, 0xF800, 0x7E0, 0x1F, 0, ExtraChannel());
    ExpectCleared(format);
    format.SetMasks(8, 0xF800, 0x7E0, 0x1F, 0, ExtraChannel());
    ExpectCleared(format);
}

TEST(PixelFormatTest, PacksAndUnpacksColoursOfADirectFormat) {
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    EXPECT_EQ(rgb565.PackColor(PixelValue(0xFF, 0x80, 0x10)), 0xFC02u);
    EXPECT_EQ(rgb565.UnpackPixel(0xFC02), PixelValue(0xF8, 0x80, 0x10));

    // The fourth channel is neither written nor read, and the spare byte of a colour is ignored.
    const PixelFormat argb(StandardPixelFormat::Argb32);
    EXPECT_EQ(argb.PackColor(PixelValue(0xAB123456)), 0x563412u);
    EXPECT_EQ(argb.UnpackPixel(0xFF563412), PixelValue(0x123456));
    const PixelFormat rgba(StandardPixelFormat::Rgba32);
    EXPECT_EQ(rgba.PackColor(PixelValue(0x11, 0x22, 0x33)), 0x11223300u);
    EXPECT_EQ(rgba.UnpackPixel(0x112233FF), PixelValue(0x11, 0x22, 0x33));
}

// A format of 10 bits a channel exists only as format 19; its losses wrap to 254.
PixelFormat TenBitFormat() {
    PixelFormat format;
    format.SetMasks(7, 0x3FF00000, 0xFFC00, 0x3FF, 0, ExtraChannel());
    return format;
}

TEST(PixelFormatTest, ChannelsWiderThanEightBitsHoldTheColourInTheirTopBits) {
    const PixelFormat format = TenBitFormat();
    ASSERT_EQ(format.format, StandardPixelFormat::Other);
    ASSERT_EQ(format.redLoss, 254);

    EXPECT_EQ(format.PackColor(PixelValue(0xFF, 0xFF, 0xFF)), 0x3FCu << 20 | 0x3FCu << 10 | 0x3FCu);
    EXPECT_EQ(format.PackColor(PixelValue(0x01, 0x80, 0x00)), 0x004u << 20 | 0x200u << 10);
    EXPECT_EQ(format.UnpackPixel(0x3FFu << 20 | 0x3FFu << 10 | 0x3FF), PixelValue(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(format.UnpackPixel(0x003u << 20 | 0x100u << 10 | 0x2FF), PixelValue(0x00, 0x40, 0xBF));

    // Formats 17 and 18 keep a 16-bit channel in their fourth mask.
    EXPECT_EQ(PackChannel(0xAB, 16, 248), 0xAB000000u);
    EXPECT_EQ(UnpackChannel(0xABCD0000, 16, 248), 0xAB);
    EXPECT_EQ(PackChannel(0xFF, 0, 232), 0xFF000000u) << "a 32-bit channel";
    EXPECT_EQ(UnpackChannel(0xFEDCBA98, 0, 232), 0xFE);
}

// Every standard direct format and a few others, wide channels among them.
std::vector<PixelFormat> DirectFormats() {
    std::vector<PixelFormat> formats;
    for (std::uint32_t number = 5; number <= 18; ++number) {
        formats.emplace_back(static_cast<StandardPixelFormat>(number));
    }
    formats.push_back(TenBitFormat());
    PixelFormat odd;
    odd.SetMasks(5, 0x7000, 0x0FFF, 0x8000, 0, ExtraChannel());
    formats.push_back(odd);
    odd.SetMasks(7, 0x1, 0xFFFF0, 0xFFF00000, 0, ExtraChannel());
    formats.push_back(odd);
    return formats;
}

// The colour that packing keeps of an 8-bit channel: its top bits, as many as the channel has.
std::uint8_t Kept(std::uint8_t value, std::uint32_t mask) {
    int width = 0;
    for (std::uint32_t bits = mask; bits != 0; bits &= bits - 1) {
        ++width;
    }
    return width >= 8 ? value : static_cast<std::uint8_t>(value & (0xFF << (8 - width)));
}

TEST(PixelFormatTest, RandomColoursAndPixelsSurviveARoundTrip) {
    std::mt19937 random(20240611);
    for (const PixelFormat& format : DirectFormats()) {
        SCOPED_TRACE(static_cast<std::uint32_t>(format.format));
        const std::uint32_t colourBits = format.redMask | format.greenMask | format.blueMask;
        for (int trial = 0; trial < 2000; ++trial) {
            const PixelValue colour(random());
            const std::uint32_t pixel = format.PackColor(colour);
            EXPECT_EQ(pixel & ~colourBits, 0u);
            EXPECT_EQ(format.UnpackPixel(pixel),
                      PixelValue(Kept(colour.Red(), format.redMask), Kept(colour.Green(), format.greenMask),
                                 Kept(colour.Blue(), format.blueMask)));

            // A pixel keeps its colour channels' top 8 bits through a round trip, its other bits are dropped.
            const std::uint32_t randomPixel = random();
            const std::uint32_t again = format.PackColor(format.UnpackPixel(randomPixel));
            EXPECT_EQ(format.UnpackPixel(again), format.UnpackPixel(randomPixel));
            EXPECT_EQ(again & ~colourBits, 0u);
        }
    }
}

TEST(ExtraChannelTest, ComparesFirstWordsAndMatchesUsageAndValues) {
    EXPECT_TRUE(ExtraChannel().IsEmpty());
    EXPECT_FALSE(ExtraChannel(1).IsEmpty());
    EXPECT_FALSE(ExtraChannel(0, 1).IsEmpty());
    EXPECT_FALSE(ExtraChannel(0, 0, 1).IsEmpty());

    const ExtraChannel alpha(1, 0x123, 0xFFF);
    EXPECT_EQ(alpha.GetUsage(), 1);
    EXPECT_EQ(alpha.GetFirstValue(), 0x123);
    EXPECT_EQ(alpha.GetSecondValue(), 0xFFF);
    EXPECT_EQ(ExtraChannel(2, 0x1ABC).GetFirstValue(), 0xABC) << "12 bits are kept";

    EXPECT_EQ(alpha, ExtraChannel(1)) << "equality looks at the first word only";
    EXPECT_FALSE(alpha.Matches(ExtraChannel(1)));
    EXPECT_TRUE(alpha.Matches(ExtraChannel(1, 0x123, 0xFFF)));
    EXPECT_NE(ExtraChannel(1), ExtraChannel(2));
}

TEST(ColorTest, ComparesColourBitsAndTag) {
    EXPECT_EQ(Color(PixelValue(0xFF102030), 1), Color(PixelValue(0x00102030), 1));
    EXPECT_NE(Color(PixelValue(0x102030), 1), Color(PixelValue(0x102031), 1));
    EXPECT_NE(Color(PixelValue(0x102030), 1), Color(PixelValue(0x102030), 2));
}

TEST(ColorTest, AForeignTagReadsAsBlack) {
    const PixelValue value(0xAB102030);
    EXPECT_EQ(PixelValue::Convert(1, value, 1), 0xAB102030u);
    EXPECT_EQ(PixelValue::Convert(2, value, 1), 0u) << "all 32 bits";
    EXPECT_EQ(Color(value, 3).ConvertTo(3), 0xAB102030u);
    EXPECT_EQ(Color(value, 3).ConvertTo(1), 0u);

    EXPECT_EQ(PixelValue(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(PixelValue(0xAB563412).Rgb(), 0x563412u);
    EXPECT_EQ(PixelValue().Red() | PixelValue().Green() | PixelValue().Blue(), 0);
}

} // namespace
