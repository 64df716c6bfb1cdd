#include "engines/font/FontDescription.h"

#include <algorithm>
#include <utility>

namespace Vemo {

bool FontDescription::operator==(const FontDescription& other) const {
    return name.Compare(other.name) == 0 && lineHeight == other.lineHeight && ascent == other.ascent &&
           descent == other.descent && internalLeading == other.internalLeading &&
           externalLeading == other.externalLeading && averageWidth == other.averageWidth &&
           maximumWidth == other.maximumWidth && fixedPitch == other.fixedPitch && style == other.style &&
           characterSet == other.characterSet && firstCharacter == other.firstCharacter &&
           lastCharacter == other.lastCharacter && containerColorTag == other.containerColorTag &&
           containerPixelFormat == other.containerPixelFormat && foreground == other.foreground &&
           background == other.background && glyphs.Size() == other.glyphs.Size() &&
           std::equal(glyphs.begin(), glyphs.end(), other.glyphs.begin()) &&
           kerningPairs.Size() == other.kerningPairs.Size() &&
           std::equal(kerningPairs.begin(), kerningPairs.end(), other.kerningPairs.begin());
}

GlyphDescriptor* FontDescription::FindGlyph(std::uint32_t code) {
    // The set orders by code alone, so changing any other field in place keeps it ordered.
    return const_cast<GlyphDescriptor*>(std::as_const(*this).FindGlyph(code));
}

const GlyphDescriptor* FontDescription::FindGlyph(std::uint32_t code) const {
    GlyphDescriptor key;
    key.code = code;
    const auto found = glyphs.Find(key);
    return found != glyphs.end() ? &*found : nullptr;
}

std::int32_t FontDescription::FindKerning(std::uint32_t first, std::uint32_t second) const {
    const auto found = kerningPairs.Find(KerningPair{first, second, 0});
    return found != kerningPairs.end() ? found->amount : 0;
}

} // namespace Vemo
