// The colour that the drawing interfaces exchange: a colour word and the colour tag of the surface whose
// colour it is. A surface reads a colour of another tag as black.
#pragma once

#include "engines/graphics/PixelValue.h"

#include <cstdint>

namespace Vemo {

struct Color {
    PixelValue rgb;
    std::uint32_t tag = 0;

    constexpr Color() = default;
    constexpr Color(PixelValue value, std::uint32_t colorTag) : rgb(value), tag(colorTag) {}

    // The spare byte of the words is not compared.
    constexpr bool operator==(const Color& other) const {
        return rgb.Rgb() == other.rgb.Rgb() && tag == other.tag;
    }

    // The colour word as a surface of targetTag reads it.
    constexpr PixelValue ConvertTo(std::uint32_t targetTag) const {
        return PixelValue::Convert(tag, rgb, targetTag);
    }
};

// The name the image and font code knows the record by.
using TaggedColor = Color;

static_assert(sizeof(Color) == 8);

} // namespace Vemo
