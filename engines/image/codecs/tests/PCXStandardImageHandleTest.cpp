#include "engines/image/codecs/PCXStandardImageHandle.h"

#include "engines/image/StandardImageHandle.h"
#include "engines/image/codecs/PCXStandardImageCodec.h"
#include "engines/image/codecs/tests/CodecTestSupport.h"
#include "resources/archive/Stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::PixelFormat;
using Vemo::StandardPixelFormat;

const PixelFormat kXrgb32(StandardPixelFormat::Xrgb32);

std::vector<std::uint32_t> GreyPalette() {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t i = 0; i < 256; ++i) {
        palette.push_back(i * 0x010101u);
    }
    return palette;
}

PcxFile Indexed(std::int16_t width, std::int16_t height, const Bytes& data) {
    PcxFile pcx;
    pcx.xMax = static_cast<std::int16_t>(width - 1);
    pcx.yMax = static_cast<std::int16_t>(height - 1);
    pcx.bytesPerLine = static_cast<std::uint16_t>(width);
    pcx.data = data;
    pcx.palette = GreyPalette();
    return pcx;
}

PcxFile ThreePlanes(std::int16_t width, std::int16_t height, const Bytes& data) {
    PcxFile pcx = Indexed(width, height, data);
    pcx.planes = 3;
    pcx.palette.clear();
    return pcx;
}

Bytes Encoded(const Bytes& row) {
    Bytes block(row.size() * 2 + 8, 0);
    Vemo::Stream out(block.data(), block.size(), false);
    Vemo::PCXStandardImageHandle::EncodeRow(row.data(), static_cast<std::uint32_t>(row.size()), out);
    block.resize(out.Position());
    return block;
}

class PCXStandardImageHandleTest : public CodecFixture {};

TEST_F(PCXStandardImageHandleTest, IdentifiesByTheHeaderOrByTheExtension) {
    Vemo::PCXStandardImageCodec codec(nullptr);
    const Bytes file = Indexed(1, 1, {0}).Encode();
    const Vemo::String pcx("pcx");
    const Vemo::String empty("");
    EXPECT_TRUE(codec.Identify(file.data(), 128, 0, nullptr, nullptr));
    EXPECT_FALSE(codec.Identify(file.data(), 127, 0, nullptr, nullptr));
    EXPECT_TRUE(codec.Identify(nullptr, 0, 0, nullptr, &pcx));
    EXPECT_FALSE(codec.Identify(nullptr, 0, 0, nullptr, &empty));
    Bytes version = file;
    version[1] = 4;
    EXPECT_FALSE(codec.Identify(version.data(), 128, 0, nullptr, nullptr));
}

TEST_F(PCXStandardImageHandleTest, RefusesHeadersThatDoNotFitTheFile) {
    struct Case {
        const char* what;
        Bytes file;
        bool opens;
    };
    Bytes unmarked = Indexed(2, 1, {1, 2}).Encode();
    unmarked[unmarked.size() - 769] = 13;
    PcxFile shortLines = Indexed(4, 1, {1, 2, 3, 4});
    shortLines.bytesPerLine = 3;
    PcxFile inverted = Indexed(2, 1, {1, 2});
    inverted.xMin = 5;
    inverted.xMax = 4;
    PcxFile twoPlanes = Indexed(2, 1, {1, 2, 3, 4});
    twoPlanes.planes = 2;
    PcxFile huge = ThreePlanes(1, 1, {});
    huge.xMax = 32000;
    huge.yMax = 32000;
    huge.bytesPerLine = 32001;
    Bytes truncated = Indexed(2, 1, {}).Encode();
    truncated.resize(127);
    Bytes cut = Indexed(2, 1, {}).Encode();
    cut.erase(cut.begin() + 128, cut.begin() + 130);
    const std::vector<Case> cases = {
        {"a plain file", Indexed(2, 1, {1, 2}).Encode(), true},
        {"127 bytes", truncated, false},
        {"no palette marker 769 bytes from the end", unmarked, false},
        {"lines shorter than a row", shortLines.Encode(), false},
        {"a maximum below the minimum", inverted.Encode(), false},
        {"8 bits on two planes", twoPlanes.Encode(), false},
        {"more pixels than the maximum", huge.Encode(), false},
        {"an 8-bit file too short for its palette block", cut, false},
    };
    for (const Case& c : cases) {
        WriteFile("case.pcx", c.file);
        Vemo::Image image;
        EXPECT_EQ(image.Open(At("case.pcx")), c.opens) << c.what;
        Taken();
    }
}

TEST_F(PCXStandardImageHandleTest, TheSizeComesFromTheBounds) {
    PcxFile pcx = ThreePlanes(10, 1, Bytes(30, 0));
    pcx.xMin = 10;
    pcx.xMax = 19;
    pcx.yMin = -3;
    pcx.yMax = -2;
    pcx.data = Bytes(60, 0);
    WriteFile("bounds.pcx", pcx.Encode());
    Vemo::Image image;
    ASSERT_TRUE(image.Open(At("bounds.pcx")));
    EXPECT_EQ(image.GetWidth(), 10u);
    EXPECT_EQ(image.GetHeight(), 2u);
}

// Runs may cross from one scan line into the next one's place: what passes the line's end is dropped, and
// the next line starts after the bytes the run took.
TEST_F(PCXStandardImageHandleTest, DecodesPaletteFilesLineByLine) {
    const Bytes data = {0xC3, 9, 1, 0xC2, 7, 0xC1, 200};
    const Decoded decoded =
        DecodeFile("grey.pcx", Indexed(2, 3, data).Encode(), PixelFormat(StandardPixelFormat::Indexed8));
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.pixels, (Picture{{9, 9}, {1, 7}, {200, 0}}));
    EXPECT_EQ(decoded.palette[200], 0xC8C8C8u);
}

// The pixels of an 8-bit file end before its palette's marker: a short scan reads zeros, not the marker.
TEST_F(PCXStandardImageHandleTest, ThePaletteMarkerIsNoPixel) {
    PcxFile pcx = Indexed(1, 1, {});
    pcx.palette[12] = 0x0000FF;
    const Decoded decoded = DecodeFile("marker.pcx", pcx.Encode(), kXrgb32);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.colors, (Picture{{0}}));
}

TEST_F(PCXStandardImageHandleTest, DecodesThreePlanesIntoEveryColourFormat) {
    const Bytes line = {0xFF, 0x00, 0x12, /* green */ 0x00, 0xFF, 0x34, /* blue */ 0x00, 0x00, 0x56};
    const Bytes file = ThreePlanes(3, 1, PcxLiterals(line)).Encode();
    const std::vector<std::uint32_t> picture = {0x0000FF, 0x00FF00, 0x563412};
    for (auto number :
         {StandardPixelFormat::Rgb565, StandardPixelFormat::Rgb555, StandardPixelFormat::Rgb24,
          StandardPixelFormat::Bgr24, StandardPixelFormat::Xrgb32, StandardPixelFormat::Xbgr32}) {
        const PixelFormat format(number);
        const Decoded decoded = DecodeFile("planes.pcx", file, format);
        ASSERT_TRUE(decoded.decoded) << static_cast<int>(number);
        for (std::size_t x = 0; x < picture.size(); ++x) {
            EXPECT_EQ(decoded.colors[0][x], Quantized(picture[x], format))
                << static_cast<int>(number) << " " << x;
        }
    }
    EXPECT_FALSE(DecodeFile("planes.pcx", file, PixelFormat(StandardPixelFormat::Indexed8)).decoded);
}

// The key colour of a dithered decode is matched channel by channel, whatever order the file keeps its
// channels in: a key pixel is packed as it is and spreads nothing to the others.
TEST_F(PCXStandardImageHandleTest, DitheringKnowsTheKeyColourByItsChannels) {
    // Every channel of the key drops bits that, spread, would lift its neighbour a level.
    const std::uint8_t red = 0x17;
    const std::uint8_t green = 0x2F;
    const std::uint8_t blue = 0x3F;
    Bytes line(12, 0x0F);
    line[0] = red;
    line[4] = green;
    line[8] = blue;
    const Bytes file = ThreePlanes(4, 1, PcxLiterals(line)).Encode();
    DecodeOptions options;
    options.dither = true;
    const Vemo::TaggedColor key(Vemo::PixelValue(red, green, blue), 1);
    options.key = &key;
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    const Decoded decoded = DecodeFile("keyed.pcx", file, rgb565, options);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.colors[0][0], Quantized(0x3F2F17, rgb565));
    EXPECT_EQ(decoded.colors[0][1], Quantized(0x0F0F0F, rgb565));
    const Decoded unkeyed = DecodeFile("keyed.pcx", file, rgb565, DecodeOptions{0, 0, true, nullptr});
    EXPECT_NE(unkeyed.colors[0][1], Quantized(0x0F0F0F, rgb565));
}

TEST_F(PCXStandardImageHandleTest, OneBitFilesAreBlackAndWhite) {
    PcxFile pcx;
    pcx.bits = 1;
    pcx.xMax = 9;
    pcx.bytesPerLine = 2;
    pcx.data = PcxLiterals({0xA0, 0x40});
    const Decoded decoded = DecodeFile("mono.pcx", pcx.Encode(), kXrgb32);
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.colors, (Picture{{0xFFFFFF, 0, 0xFFFFFF, 0, 0, 0, 0, 0, 0, 0xFFFFFF}}));
    const Decoded indexed = DecodeFile("mono.pcx", pcx.Encode(), PixelFormat(StandardPixelFormat::Indexed1));
    EXPECT_EQ(indexed.palette, (std::vector<std::uint32_t>{0, 0xFFFFFF}));

    pcx.planes = 2;
    pcx.data = PcxLiterals({0xA0, 0x40, 0xFF, 0xFF});
    const Decoded planar = DecodeFile("planar.pcx", pcx.Encode(), kXrgb32);
    EXPECT_TRUE(planar.opened);
    EXPECT_FALSE(planar.decoded);
}

TEST_F(PCXStandardImageHandleTest, EncodingZeroHoldsRawScanLines) {
    PcxFile pcx = Indexed(3, 2, {0xC1, 0xC2, 0xC3, 0x04, 0x05, 0x06});
    pcx.encoding = 0;
    const Decoded decoded = DecodeFile("raw.pcx", pcx.Encode(), PixelFormat(StandardPixelFormat::Indexed8));
    ASSERT_TRUE(decoded.decoded);
    EXPECT_EQ(decoded.pixels, (Picture{{0xC1, 0xC2, 0xC3}, {4, 5, 6}}));
}

TEST_F(PCXStandardImageHandleTest, RowsAreRunLengthEncoded) {
    EXPECT_EQ(Encoded(Bytes(100, 7)), (Bytes{255, 7, 192 + 37, 7}));
    EXPECT_EQ(Encoded({200}), (Bytes{193, 200}));
    EXPECT_EQ(Encoded({5}), (Bytes{5}));
    EXPECT_EQ(Encoded({1, 1, 2}), (Bytes{194, 1, 2}));
}

// A 16-bit graphic is written as an 8-bit, three-plane file, which reads back as the same picture.
TEST_F(PCXStandardImageHandleTest, EncodesAGraphicAsThreePlanes) {
    const PixelFormat rgb565(StandardPixelFormat::Rgb565);
    Vemo::Image image;
    ASSERT_TRUE(image.Create(At("out.pcx"), Vemo::DepthCode{0}, 1, 1));
    Vemo::ImageContainer container;
    ASSERT_TRUE(container.Create(5, 3, &rgb565, kSystemMemory, 1));
    Vemo::Graphic graphic;
    ASSERT_TRUE(container.GetGraphic(graphic));
    for (std::int32_t y = 0; y < 3; ++y) {
        for (std::int32_t x = 0; x < 5; ++x) {
            graphic.SetPixel(static_cast<std::uint32_t>(0xF800 >> x | (y * 0x21)), Vemo::Point(x, y));
        }
    }
    Decoded written;
    Read(graphic, written);
    ASSERT_TRUE(container.SelectImage(image));
    ASSERT_TRUE(container.SaveCurrentImage(1));
    const Bytes file = ReadFile("out.pcx");
    ASSERT_GT(file.size(), 128u);
    EXPECT_EQ(file[3], 8);
    EXPECT_EQ(file[65], 3);
    EXPECT_EQ(file[66], 5);
    const Decoded decoded = DecodeFile("copy.pcx", file, rgb565);
    EXPECT_EQ(decoded.pixels, written.pixels);
}

// An encode that cannot finish leaves the handle without bytes, so that a later load reads the file again.
TEST_F(PCXStandardImageHandleTest, AFailedEncodeLeavesNoBytes) {
    WriteFile("art.pcx", Indexed(2, 1, {1, 2}).Encode());
    Vemo::Image image;
    ASSERT_TRUE(image.Open(At("art.pcx")));
    ASSERT_TRUE(image.Load());
    Vemo::ImageContainer container;
    ASSERT_TRUE(container.Open(image, kSystemMemory));
    ASSERT_TRUE(container.SelectImage(image));
    EXPECT_FALSE(image.Encode());
    auto* handle = dynamic_cast<Vemo::StandardImageHandle*>(image.GetImageHandle());
    EXPECT_EQ(handle->GetData(), nullptr);
    ASSERT_TRUE(image.Load());
    EXPECT_EQ(handle->GetDataSize(), ReadFile("art.pcx").size());
}

} // namespace
} // namespace VemoTest
