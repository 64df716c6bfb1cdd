// The glyph picture of the bitmap font tests and the font section over it. The picture, 6 x 4 pixels, with
// magenta as its transparent colour ('m' below), black '.', green 'g' and blue 'b':
//
//     g m g b b b        "A" (65): (0, 0, 3, 4), advance 4
//     g g g b m b        "V" (86): (3, 0, 6, 2), advance 3 (half as tall)
//     g m g . . .        " " (32): no picture, advance 2
//     g m g . . .
#pragma once

#include "runtime/testing/PictureTestSupport.h"

#include <string>

namespace GlyphTest {

constexpr std::uint32_t kGreen = 0x00FF00;
// As the frames read it (0xRRGGBB); the picture's words have red in the low byte.
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kMagenta = 0xFF00FF;

inline VemoTest::Bytes GlyphPicture() {
    const std::uint32_t g = kGreen, b = 0xFF0000, m = kMagenta, k = 0;
    return PictureTest::Bmp({{g, m, g, b, b, b}, {g, g, g, b, m, b}, {g, m, g, k, k, k}, {g, m, g, k, k, k}});
}

// The section of the font "Tiny" over "glyphs.bmp", with more keys after it.
inline std::string TinySection(const std::string& more = "") {
    return "[Tiny]\nClass=BitmapFont\nBitmap=glyphs.bmp, TransparentColor(255, 0, 255)\n"
           "Char=65, 0, 0, 3, 4, 4\nChar=86, 3, 0, 6, 2, 3\nChar=32, 0, 0, 0, 0, 2\n" +
           more;
}

} // namespace GlyphTest
