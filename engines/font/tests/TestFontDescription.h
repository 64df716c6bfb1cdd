// A small made-up font for the tests that need exact numbers: a description whose glyphs and kerning pairs
// are chosen by hand, opened through the plain font engine.
//
//   code   A  B  C
//   ' '    0  1  2
//   'A'    1  6  1
//   'V'    0  7  1
//   'b'    1  4  1
//   'x'   -1  5  0
//
// Kerning: A,V -2; V,A -1; A,# -3 ('#' has no glyph). Line height 10 (external leading 2), ascent 8,
// average width 5, maximum width 8, characters 32 to 122; containers of 8 bits.
#pragma once

#include "engines/font/FontDescription.h"

#include <cstdint>

namespace VemoTest {

inline Vemo::GlyphDescriptor TestGlyph(std::uint32_t code, std::int32_t a, std::int32_t b, std::int32_t c) {
    Vemo::GlyphDescriptor glyph;
    glyph.code = code;
    glyph.leftBearing = a;
    glyph.blackWidth = b;
    glyph.rightBearing = c;
    glyph.box = Vemo::Rect(a, 8, a + b, 18);
    glyph.advance = Vemo::Point(a + b + c, 0);
    return glyph;
}

inline Vemo::FontDescription TestFontDescription() {
    Vemo::FontDescription description;
    description.name = "Test Face";
    description.lineHeight = 10;
    description.ascent = 8;
    description.descent = 2;
    description.externalLeading = 2;
    description.averageWidth = 5;
    description.maximumWidth = 8;
    description.firstCharacter = 32;
    description.lastCharacter = 122;
    description.containerColorTag = 1;
    description.containerPixelFormat = 4;
    for (const Vemo::GlyphDescriptor& glyph :
         {TestGlyph(' ', 0, 1, 2), TestGlyph('A', 1, 6, 1), TestGlyph('V', 0, 7, 1), TestGlyph('b', 1, 4, 1),
          TestGlyph('x', -1, 5, 0)}) {
        description.glyphs.Insert(glyph);
    }
    description.kerningPairs.Insert(Vemo::KerningPair{'A', 'V', -2});
    description.kerningPairs.Insert(Vemo::KerningPair{'V', 'A', -1});
    description.kerningPairs.Insert(Vemo::KerningPair{'A', '#', -3});
    return description;
}

} // namespace VemoTest
