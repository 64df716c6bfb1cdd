// The metrics of one character of a font, keyed by its code (a byte of text, 0-255).
//
// As a font is opened, box is the glyph's black box: left and top the glyph origin, right and bottom the
// origin plus the black box's size. While a font container is attached, box is the glyph's cell in the
// container graphic instead, and the advance of every glyph but the last one drawn is the offset from its
// cell to the next glyph's cell.
#pragma once

#include "foundation/Rect.h"

#include <cstdint>

namespace Vemo {

struct GlyphDescriptor {
    std::uint32_t code = 0;
    // A: the space before the black box.
    std::int32_t leftBearing = 0;
    // C: the space after it.
    std::int32_t rightBearing = 0;
    // B: its width.
    std::int32_t blackWidth = 0;
    Rect box;
    Point advance;

    bool operator==(const GlyphDescriptor& other) const = default;
};

// Orders descriptors by code alone, so a glyph table holds one descriptor per code and the other fields may
// change in place.
struct GlyphDescriptorSort {
    bool operator()(const GlyphDescriptor& a, const GlyphDescriptor& b) const { return a.code < b.code; }
};

} // namespace Vemo
