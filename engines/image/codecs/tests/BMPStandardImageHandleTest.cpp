#include "engines/image/codecs/BMPStandardImageHandle.h"

#include "engines/image/codecs/BMPStandardImageCodec.h"
#include "engines/image/codecs/tests/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::PixelFormat;
using Vemo::StandardPixelFormat;

const PixelFormat kIndexed8(StandardPixelFormat::Indexed8);
const PixelFormat kXrgb32(StandardPixelFormat::Xrgb32);

BmpFile Rgb24(std::int32_t width, std::int32_t height, const Picture& stored) {
    BmpFile bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.pixels = PackBmpRows(stored, 24);
    return bmp;
}

BmpFile RunLength8(std::int32_t width, std::int32_t height, const Bytes& data) {
    BmpFile bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bits = 8;
    bmp.compression = 1;
    for (std::uint32_t i = 0; i < 256; ++i) {
        bmp.palette.push_back(i * 0x010101u);
    }
    bmp.pixels = data;
    return bmp;
}

class BMPStandardImageHandleTest : public CodecFixture {};

TEST_F(BMPStandardImageHandleTest, IdentifiesByTheFirstBytesOrByTheExtension) {
    Vemo::BMPStandardImageCodec codec(nullptr);
    const Bytes file = Rgb24(1, 1, {{0}}).Encode();
    const auto size = static_cast<std::uint32_t>(file.size());
    const Vemo::String bmp("bmp");
    const Vemo::String upper("BMP");
    const Vemo::String empty("");
    const Vemo::String jpg("jpg");
    Bytes versionThree = file;
    versionThree[14] = 56;
    EXPECT_TRUE(codec.Identify(file.data(), size, size, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(file.data(), size, size + 1, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(file.data(), size, size | 1ull << 32, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(file.data(), 13, size, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(versionThree.data(), size, size, nullptr, nullptr));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, &bmp));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, &upper));
    EXPECT_FALSE(codec.Identify(nullptr, 0, 0, nullptr, &empty));
    EXPECT_FALSE(codec.Identify(nullptr, 0, 0, nullptr, &jpg));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, nullptr));
}

// What the header reader refuses, and the nearest files it takes.
TEST_F(BMPStandardImageHandleTest, RefusesHeadersThatDoNotFitTheFile) {
    struct Case {
        const char* what;
        BmpFile file;
        bool opens;
    };
    std::vector<Case> cases;
    const auto add = [&](const char* what, BmpFile file, bool opens, auto change) {
        change(file);
        cases.push_back({what, file, opens});
    };
    const BmpFile plain = Rgb24(3, 2, {{1, 2, 3}, {4, 5, 6}});
    add("a plain file", plain, true, [](BmpFile&) {});
    add("a file-size field one byte off", plain, false, [](BmpFile& f) { f.fileSize = 14 + 40 + 24 + 1; });
    add("pixel data beyond the file", plain, false, [](BmpFile& f) { f.pixelOffset = 1000; });
    add("rows that do not fit", plain, false, [](BmpFile& f) { f.pixels.resize(f.pixels.size() - 4); });
    add("the last row's padding missing", plain, true,
        [](BmpFile& f) { f.pixels.resize(f.pixels.size() - 3); });
    add("a negative width", plain, false, [](BmpFile& f) { f.width = -3; });
    add("two planes", plain, false, [](BmpFile& f) { f.planes = 2; });
    add("a zero height", plain, false, [](BmpFile& f) { f.height = 0; });
    add("24 bits run-length encoded", plain, false, [](BmpFile& f) { f.compression = 1; });
    add("2 bits a pixel", plain, false, [](BmpFile& f) { f.bits = 2; });
    add("a palette beyond the file", RunLength8(2, 2, {0, 1}), false,
        [](BmpFile& f) { f.colorsUsed = 100000; });
    BmpFile noBits;
    noBits.bits = 0;
    noBits.palette = {0x123456};
    add("0 bits a pixel with its one palette entry", noBits, true, [](BmpFile&) {});
    add("0 bits a pixel without its palette entry", noBits, false, [](BmpFile& f) { f.palette.clear(); });
    add("0 bits a pixel with more colours used than the file holds", noBits, false,
        [](BmpFile& f) { f.colorsUsed = 100000; });
    add("a side beyond the maximum", RunLength8(40000, 1, {0, 1}), false, [](BmpFile&) {});
    add("more pixels than the maximum", RunLength8(10000, 10000, {0, 1}), false, [](BmpFile&) {});
    add("the most negative height", RunLength8(1, 1, {0, 1}), false,
        [](BmpFile& f) { f.height = std::numeric_limits<std::int32_t>::min(); });
    add("a top-down run-length file", RunLength8(1, -1, {0, 1}), true, [](BmpFile&) {});
    for (const Case& c : cases) {
        WriteFile("case.bmp", c.file.Encode());
        Vemo::Image image;
        EXPECT_EQ(image.Open(At("case.bmp")), c.opens) << c.what;
        Taken();
    }
}

// Core headers have three-byte palette entries and 16-bit sizes; version 4 and 5 headers carry more words,
// which the decode does not need.
TEST_F(BMPStandardImageHandleTest, EveryHeaderVersionGivesTheSamePicture) {
    const Picture stored = {{0x0000FF, 0x00FF00}, {0xFF0000, 0x123456}};
    const Decoded reference = DecodeFile("reference.bmp", Rgb24(2, 2, stored).Encode(), kXrgb32);
    for (std::uint32_t headerSize : {12u, 108u, 124u}) {
        BmpFile bmp = Rgb24(2, 2, stored);
        bmp.headerSize = headerSize;
        const Decoded decoded = DecodeFile("version.bmp", bmp.Encode(), kXrgb32);
        EXPECT_TRUE(decoded.decoded) << headerSize;
        EXPECT_EQ(decoded.colors, reference.colors) << headerSize;
    }
}

TEST_F(BMPStandardImageHandleTest, ANegativeHeightStoresTheSamePictureTopDown) {
    const Decoded bottomUp = DecodeFile("up.bmp", Rgb24(2, 2, {{1, 2}, {3, 4}}).Encode(), kXrgb32);
    const Decoded topDown = DecodeFile("down.bmp", Rgb24(2, -2, {{3, 4}, {1, 2}}).Encode(), kXrgb32);
    EXPECT_EQ(bottomUp.pixels, (Picture{{3, 4}, {1, 2}}));
    EXPECT_EQ(topDown.pixels, bottomUp.pixels);
}

// The image lands in the top-left corner of a larger graphic whichever way its rows are stored; a graphic
// narrower than the image takes nothing.
TEST_F(BMPStandardImageHandleTest, AGraphicMustBeAtLeastAsLargeAsTheImage) {
    const Bytes file = Rgb24(2, 2, {{1, 2}, {3, 4}}).Encode();
    DecodeOptions wider;
    wider.width = 4;
    wider.height = 3;
    const Decoded larger = DecodeFile("small.bmp", file, kXrgb32, wider);
    EXPECT_TRUE(larger.decoded);
    EXPECT_EQ(larger.pixels, (Picture{{3, 4, 0, 0}, {1, 2, 0, 0}, {0, 0, 0, 0}}));

    const Bytes wide = Rgb24(4, 1, {{1, 2, 3, 4}}).Encode();
    DecodeOptions narrower;
    narrower.width = 2;
    const Decoded refused = DecodeFile("wide.bmp", wide, kXrgb32, narrower);
    EXPECT_FALSE(refused.decoded);
    EXPECT_EQ(refused.pixels, (Picture{{0, 0}}));
}

// A 4-bit image with 5 colours has a 5-entry palette: an indexed graphic gets those and black for the rest,
// and a direct-colour graphic shows black for an index beyond them.
TEST_F(BMPStandardImageHandleTest, APaletteShorterThanTheDepthIsCompletedWithBlack) {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.bits = 4;
    bmp.colorsUsed = 5;
    bmp.palette = {0x111111, 0x222222, 0x333333, 0x444444, 0x555555};
    bmp.pixels = PackBmpRows({{4, 9}}, 4);
    const PixelFormat indexed4(StandardPixelFormat::Indexed4);
    Decoded decoded = DecodeFile("five.bmp", bmp.Encode(), indexed4);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.palette, (std::vector<std::uint32_t>{0x111111, 0x222222, 0x333333, 0x444444, 0x555555,
                                                           0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    decoded = DecodeFile("five.bmp", bmp.Encode(), kXrgb32);
    EXPECT_EQ(decoded.colors, (Picture{{0x555555, 0}}));

    bmp.colorsUsed = 0;
    bmp.palette.resize(16, 0x777777);
    decoded = DecodeFile("sixteen.bmp", bmp.Encode(), kXrgb32);
    EXPECT_EQ(decoded.colors, (Picture{{0x555555, 0x777777}}));
}

TEST_F(BMPStandardImageHandleTest, AnIndexedGraphicShallowerThanTheImageIsRefused) {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 1;
    bmp.bits = 8;
    bmp.palette = std::vector<std::uint32_t>(256, 0x010203);
    bmp.pixels = PackBmpRows({{1, 2}}, 8);
    EXPECT_FALSE(DecodeFile("deep.bmp", bmp.Encode(), PixelFormat(StandardPixelFormat::Indexed4)).decoded);
}

// Masks that are zero, overlap or have gaps leave the decode without channels.
TEST_F(BMPStandardImageHandleTest, BitFieldsNeedSeparateRunsOfBits) {
    const struct {
        const char* what;
        std::uint32_t masks[3];
        bool decodes;
    } cases[] = {
        {"5-6-5", {0xF800, 0x7E0, 0x1F}, true},
        {"a zero mask", {0xF800, 0, 0x1F}, false},
        {"overlapping masks", {0xFC00, 0x7E0, 0x1F}, false},
        {"a mask with a gap", {0xD800, 0x7E0, 0x1F}, false},
        {"a mask beyond 16 bits", {0x1F0000, 0x7E0, 0x1F}, false},
    };
    for (const auto& c : cases) {
        BmpFile bmp;
        bmp.width = 1;
        bmp.height = 1;
        bmp.bits = 16;
        bmp.compression = 3;
        std::copy(std::begin(c.masks), std::end(c.masks), bmp.masks);
        bmp.pixels = PackBmpRows({{0xFFFF}}, 16);
        const Decoded decoded = DecodeFile("masks.bmp", bmp.Encode(), kXrgb32);
        EXPECT_TRUE(decoded.opened) << c.what;
        EXPECT_EQ(decoded.decoded, c.decodes) << c.what;
    }
}

TEST_F(BMPStandardImageHandleTest, AFileOfZeroBitsAPixelOpensButDoesNotDecode) {
    BmpFile bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.bits = 0;
    bmp.palette = {0x123456};
    const Decoded decoded = DecodeFile("none.bmp", bmp.Encode(), kXrgb32);
    EXPECT_TRUE(decoded.opened);
    EXPECT_FALSE(decoded.decoded);
}

// Run-length data: runs, absolute runs, row ends, moves and the end of the image, eight and four bits.
TEST_F(BMPStandardImageHandleTest, RunLengthDataDecodes) {
    const struct {
        const char* what;
        bool fourBit;
        std::int32_t width;
        std::int32_t height;
        Bytes data;
        Picture indices;
    } cases[] = {
        {"an encoded run and a row end", false, 4, 1, {3, 7, 0, 0}, {{7, 7, 7, 0}}},
        {"the end of the image after the first row",
         false,
         3,
         3,
         {3, 5, 0, 0, 0, 1},
         {{0, 0, 0}, {0, 0, 0}, {5, 5, 5}}},
        {"an absolute run of 3 and its padding", false, 4, 1, {0, 3, 1, 2, 3, 0, 1, 9}, {{1, 2, 3, 9}}},
        {"a move within the row", false, 4, 1, {1, 6, 0, 2, 2, 0, 1, 8}, {{6, 0, 0, 8}}},
        {"a move down two rows", false, 2, 3, {1, 4, 0, 2, 1, 2, 1, 5}, {{0, 5}, {0, 0}, {4, 0}}},
        {"a four-bit run", true, 5, 1, {5, 0x12}, {{1, 2, 1, 2, 1}}},
        {"a four-bit absolute run of 3: two bytes, no padding",
         true,
         4,
         1,
         {0, 3, 0x34, 0x50, 1, 0x66},
         {{3, 4, 5, 6}}},
        {"a four-bit absolute run of 5: three bytes and a padding byte",
         true,
         6,
         1,
         {0, 5, 0x12, 0x34, 0x50, 0xEE, 1, 0x77},
         {{1, 2, 3, 4, 5, 7}}},
        // Cut at the row end: the excess is dropped, its bytes still read.
        {"a run of 255 in a 10-pixel row",
         false,
         10,
         2,
         {255, 3, 0, 0, 2, 4},
         {{4, 4, 0, 0, 0, 0, 0, 0, 0, 0}, {3, 3, 3, 3, 3, 3, 3, 3, 3, 3}}},
        {"an absolute run past the row end", false, 2, 1, {0, 4, 1, 2, 3, 4}, {{1, 2}}},
        {"a move far past the row end", false, 2, 1, {0, 2, 200, 0, 1, 9}, {{0, 0}}},
        {"a move with row step 255 on the last row",
         false,
         2,
         2,
         {1, 1, 0, 0, 1, 2, 0, 2, 0, 255, 1, 3},
         {{2, 0}, {1, 0}}},
        {"the data ending without an escape", false, 3, 2, {2, 6}, {{0, 0, 0}, {6, 6, 0}}},
    };
    for (const auto& c : cases) {
        BmpFile bmp = RunLength8(c.width, c.height, c.data);
        if (c.fourBit) {
            bmp.bits = 4;
            bmp.compression = 2;
            bmp.palette.resize(16);
        }
        const Decoded decoded = DecodeFile("runs.bmp", bmp.Encode(), kIndexed8);
        EXPECT_TRUE(decoded.decoded) << c.what;
        EXPECT_EQ(decoded.pixels, c.indices) << c.what;
    }
}

TEST_F(BMPStandardImageHandleTest, FourBitRunsGoIntoAFourBitGraphicAsNibbles) {
    BmpFile bmp = RunLength8(3, 1, {3, 0xAB, 0, 1});
    bmp.bits = 4;
    bmp.compression = 2;
    bmp.palette.resize(16);
    const Decoded decoded =
        DecodeFile("nibbles.bmp", bmp.Encode(), PixelFormat(StandardPixelFormat::Indexed4));
    EXPECT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.pixels, (Picture{{0xA, 0xB, 0xA}}));
}

// Dithering into 16 bits spreads what a channel loses to the neighbours, so that a flat colour between two
// levels is shown as a mix of both; pixels of the key colour are packed as they are.
TEST_F(BMPStandardImageHandleTest, DitheringMixesLevelsAndKeepsTheKeyColour) {
    const std::uint32_t between = 0x0C0C0C;
    const std::uint32_t key = 0x141414;
    Picture stored(8, std::vector<std::uint32_t>(8, between));
    stored[3][3] = key;
    const Bytes file = Rgb24(8, 8, stored).Encode();
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    const Decoded plain = DecodeFile("flat.bmp", file, rgb565);
    DecodeOptions options;
    options.dither = true;
    const Vemo::TaggedColor keyColor(Vemo::PixelValue(0x14, 0x14, 0x14), 1);
    options.key = &keyColor;
    const Decoded dithered = DecodeFile("flat.bmp", file, rgb565, options);
    ASSERT_TRUE(dithered.decoded);
    std::uint32_t redSum = 0;
    std::uint32_t higher = 0;
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 8; ++x) {
            if (y == 4 && x == 3) {
                EXPECT_EQ(dithered.colors[y][x], 0x101410u);
                continue;
            }
            EXPECT_EQ(plain.colors[y][x], 0x080C08u);
            redSum += dithered.colors[y][x] & 0xFF;
            higher += (dithered.colors[y][x] & 0xFF) == 0x10 ? 1 : 0;
        }
    }
    EXPECT_GT(higher, 16u);
    EXPECT_NEAR(redSum / 63.0, 12.0, 1.0);

    const Decoded wide = DecodeFile("flat.bmp", file, PixelFormat(StandardPixelFormat::Rgb24), options);
    EXPECT_EQ(wide.colors[0][0], between);
}

TEST_F(BMPStandardImageHandleTest, BmpFilesAreNotWritten) {
    Vemo::BMPStandardImageHandle handle(nullptr);
    EXPECT_FALSE(handle.Encode());
}

} // namespace
} // namespace VemoTest
