// Everything an opened font is: its face name, metrics, style, colours and character range, one glyph
// descriptor per character and its kerning pairs. Two fonts with equal descriptions are the same font, so an
// open one is shared rather than opened again.
//
// The default description (before an engine fills it) has an empty name, every number 0, every flag false,
// the Ansi character set, both colours black with colour tag 1 and empty tables.
#pragma once

#include "engines/font/FontStyle.h"
#include "engines/font/GlyphDescriptor.h"
#include "engines/font/KerningPair.h"
#include "engines/graphics/Color.h"
#include "foundation/BasicSet.h"
#include "foundation/String.h"

#include <cstdint>

namespace Vemo {

enum class FontCharacterSet : std::uint32_t {
    Arabic = 1,
    Ansi = 2,
    Baltic = 3,
    ChineseBig5 = 4,
    Other = 5,
    Cyrillic = 6,
    EastEurope = 7,
    Greek = 8,
    Hebrew = 9,
    ShiftJis = 10,
    Symbol = 11,
    Thai = 12,
    Turkish = 13,
    Vietnamese = 14,
};

using GlyphTable = BasicSet<GlyphDescriptor, GlyphDescriptorSort>;
using KerningTable = BasicSet<KerningPair, KerningPairSort>;

struct FontDescription {
    String name;
    // The cell height plus the external leading.
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    std::int32_t internalLeading = 0;
    std::int32_t externalLeading = 0;
    std::int32_t averageWidth = 0;
    std::int32_t maximumWidth = 0;
    bool fixedPitch = false;
    FontStyle style;
    FontCharacterSet characterSet = FontCharacterSet::Ansi;
    // The inclusive range of codes the glyph table covers.
    std::uint32_t firstCharacter = 0;
    std::uint32_t lastCharacter = 0;
    // What a container made for this font is made with by default.
    std::uint32_t containerColorTag = 0;
    std::uint32_t containerPixelFormat = 0;
    TaggedColor foreground{PixelValue(), 1};
    TaggedColor background{PixelValue(), 1};
    GlyphTable glyphs;
    KerningTable kerningPairs;

    // Names byte for byte, every number, flag and colour, and both tables element by element in order.
    bool operator==(const FontDescription& other) const;

    // The descriptor of exactly that code, or null.
    GlyphDescriptor* FindGlyph(std::uint32_t code);
    const GlyphDescriptor* FindGlyph(std::uint32_t code) const;
    // The amount of exactly that pair, 0 when there is none.
    std::int32_t FindKerning(std::uint32_t first, std::uint32_t second) const;

    // Calls visit with every descriptor whose code lies in firstCharacter..lastCharacter, in code order.
    template <class Visit>
    void VisitGlyphs(Visit visit) {
        GlyphDescriptor first;
        first.code = firstCharacter;
        for (auto at = glyphs.LowerBound(first); at != glyphs.end() && at->code <= lastCharacter; ++at) {
            visit(const_cast<GlyphDescriptor&>(*at));
        }
    }
};

} // namespace Vemo
