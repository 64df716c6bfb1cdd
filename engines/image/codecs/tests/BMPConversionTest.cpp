// Every kind of BMP pixel decoded into every graphic format it can go to: the graphic shows the picture's
// colours, as far as the source and the graphic's channels hold them.
#include "engines/image/codecs/tests/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VemoTest {
namespace {

using Vemo::PixelFormat;
using Vemo::StandardPixelFormat;

// Colour words, red in the low byte.
const Picture kPicture = {{0x0000FF, 0x00FF00, 0xFF0000, 0x563412}, {0xFFFFFF, 0x000000, 0x204080, 0x3CF00F}};

std::uint32_t Red(std::uint32_t color) {
    return color & 0xFF;
}
std::uint32_t Green(std::uint32_t color) {
    return color >> 8 & 0xFF;
}
std::uint32_t Blue(std::uint32_t color) {
    return color >> 16 & 0xFF;
}

struct Source {
    const char* name;
    std::uint16_t bits;
    std::uint32_t headerSize;
    std::uint32_t compression;
    std::uint32_t masks[3];
    // The stored pixel value of a colour (for indexed sources, of the colour at index position).
    std::uint32_t (*value)(std::uint32_t color, std::uint32_t position);
    // The colour the source holds of a colour at a position.
    std::uint32_t (*held)(std::uint32_t color, std::uint32_t position);
};

std::uint32_t Same(std::uint32_t color, std::uint32_t) {
    return color;
}
std::uint32_t Position(std::uint32_t, std::uint32_t position) {
    return position;
}
// The 1-bit palette is the first two colours of the picture.
std::uint32_t Alternate(std::uint32_t, std::uint32_t position) {
    return position % 2;
}
std::uint32_t AlternateColor(std::uint32_t, std::uint32_t position) {
    return kPicture[0][position % 2];
}

const Source kSources[] = {
    {"Bits1", 1, 40, 0, {}, Alternate, AlternateColor},
    {"Bits4", 4, 40, 0, {}, Position, Same},
    {"Bits8", 8, 40, 0, {}, Position, Same},
    {"Bits8Core", 8, 12, 0, {}, Position, Same},
    {"Bits16",
     16,
     40,
     0,
     {},
     [](std::uint32_t c, std::uint32_t) { return Red(c) >> 3 << 10 | Green(c) >> 3 << 5 | Blue(c) >> 3; },
     [](std::uint32_t c, std::uint32_t) { return Quantized(c, 3, 3, 3); }},
    {"Bits16Masks565",
     16,
     40,
     3,
     {0xF800, 0x7E0, 0x1F},
     [](std::uint32_t c, std::uint32_t) { return Red(c) >> 3 << 11 | Green(c) >> 2 << 5 | Blue(c) >> 3; },
     [](std::uint32_t c, std::uint32_t) { return Quantized(c, 3, 2, 3); }},
    {"Bits24",
     24,
     40,
     0,
     {},
     [](std::uint32_t c, std::uint32_t) { return Blue(c) | Green(c) << 8 | Red(c) << 16; },
     Same},
    {"Bits24Version5",
     24,
     124,
     0,
     {},
     [](std::uint32_t c, std::uint32_t) { return Blue(c) | Green(c) << 8 | Red(c) << 16; },
     Same},
    {"Bits32",
     32,
     40,
     0,
     {},
     [](std::uint32_t c, std::uint32_t) { return Blue(c) | Green(c) << 8 | Red(c) << 16 | 0xAAu << 24; },
     Same},
    {"Bits32MasksVersion4",
     32,
     108,
     3,
     {0xFF, 0xFF00, 0xFF0000},
     [](std::uint32_t c, std::uint32_t) { return c | 0x55u << 24; },
     Same},
};

struct Case {
    const Source* source;
    StandardPixelFormat target;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (const Source& source : kSources) {
        for (std::uint32_t number = 1; number <= 14; ++number) {
            const PixelFormat target{static_cast<StandardPixelFormat>(number)};
            const bool fits =
                target.IsIndexed()
                    ? source.bits <= 8 && Vemo::BitsPerPixelFromDepth(target.depth) >= source.bits
                    : true;
            if (fits) {
                cases.push_back({&source, static_cast<StandardPixelFormat>(number)});
            }
        }
    }
    return cases;
}

Bytes MakeFile(const Source& source) {
    BmpFile bmp;
    bmp.headerSize = source.headerSize;
    bmp.width = 4;
    bmp.height = 2;
    bmp.bits = source.bits;
    bmp.compression = source.compression;
    for (int i = 0; i < 3; ++i) {
        bmp.masks[i] = source.masks[i];
    }
    if (source.bits == 1) {
        bmp.palette = {kPicture[0][0], kPicture[0][1]};
    } else if (source.bits <= 8) {
        for (const auto& row : kPicture) {
            bmp.palette.insert(bmp.palette.end(), row.begin(), row.end());
        }
        bmp.colorsUsed = static_cast<std::uint32_t>(bmp.palette.size());
        if (source.headerSize == 12) {
            bmp.palette.resize(256, 0);
        }
    }
    // Bottom-up: the last row of the picture is stored first.
    Picture stored;
    for (std::uint32_t row = 2; row-- > 0;) {
        stored.emplace_back();
        for (std::uint32_t x = 0; x < 4; ++x) {
            stored.back().push_back(source.value(kPicture[row][x], row * 4 + x));
        }
    }
    bmp.pixels = PackBmpRows(stored, source.bits);
    return bmp.Encode();
}

class BMPConversionTest : public CodecFixture, public ::testing::WithParamInterface<Case> {};

TEST_P(BMPConversionTest, TheGraphicShowsThePicture) {
    const Case& c = GetParam();
    const PixelFormat target(c.target);
    const Decoded decoded = DecodeFile("picture.bmp", MakeFile(*c.source), target);
    ASSERT_TRUE(decoded.opened);
    ASSERT_TRUE(decoded.decoded);
    for (std::uint32_t y = 0; y < 2; ++y) {
        for (std::uint32_t x = 0; x < 4; ++x) {
            const std::uint32_t held = c.source->held(kPicture[y][x], y * 4 + x);
            EXPECT_EQ(decoded.colors[y][x], Quantized(held, target)) << "pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllPairs, BMPConversionTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.source->name) + "IntoFormat" +
                                    std::to_string(static_cast<std::uint32_t>(info.param.target));
                         });

class BMPWideRowTest : public CodecFixture, public ::testing::WithParamInterface<std::uint32_t> {};

// Rows long enough for the converters' wide steps, of every length around them, into both 3-byte orders and
// a 4-byte format: each pixel keeps its own colour, the last ones after the wide steps too.
TEST_P(BMPWideRowTest, EveryPixelOfA24BitRowKeepsItsColour) {
    const std::uint32_t width = GetParam();
    Picture picture(2);
    for (std::uint32_t y = 0; y < 2; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            picture[y].push_back((x * 0x1F3B5u + y * 0x91E7u) & 0xFFFFFF);
        }
    }
    BmpFile bmp;
    bmp.width = static_cast<std::int32_t>(width);
    bmp.height = 2;
    bmp.bits = 24;
    Picture stored;
    for (std::uint32_t row = 2; row-- > 0;) {
        stored.emplace_back();
        for (const std::uint32_t color : picture[row]) {
            stored.back().push_back(Blue(color) | Green(color) << 8 | Red(color) << 16);
        }
    }
    bmp.pixels = PackBmpRows(stored, 24);
    for (const StandardPixelFormat number :
         {StandardPixelFormat::Bgr24, StandardPixelFormat::Rgb24, StandardPixelFormat::Xrgb32}) {
        const Decoded decoded = DecodeFile("wide.bmp", bmp.Encode(), PixelFormat(number));
        ASSERT_TRUE(decoded.decoded) << "format " << static_cast<std::uint32_t>(number);
        EXPECT_EQ(decoded.colors, picture) << "format " << static_cast<std::uint32_t>(number);
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, BMPWideRowTest, ::testing::Values(5u, 6u, 7u, 10u, 11u, 12u, 23u, 64u, 641u),
                         [](const ::testing::TestParamInfo<std::uint32_t>& info) {
                             return "Width" + std::to_string(info.param);
                         });

class BMPWithoutConverterTest : public CodecFixture {};

// Colour pixels have no way into an indexed graphic: a decode without a converter writes nothing and answers
// false.
TEST_F(BMPWithoutConverterTest, ColourPixelsIntoAnIndexedGraphicAreRefused) {
    for (const Source& source : kSources) {
        if (source.bits <= 8) {
            continue;
        }
        const Decoded decoded =
            DecodeFile("picture.bmp", MakeFile(source), PixelFormat(StandardPixelFormat::Indexed8));
        EXPECT_TRUE(decoded.opened) << source.name;
        EXPECT_FALSE(decoded.decoded) << source.name;
    }
}

} // namespace
} // namespace VemoTest
