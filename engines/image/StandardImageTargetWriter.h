// What a codec's decode writes a graphic through: the graphic's rows in the image's order (see
// StandardImageRowAccess), the image's palette packed for the graphic, and what the row converters need to
// know of the source pixels and of dithering.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/PixelValue.h"
#include "engines/image/StandardImageRowAccess.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Vemo {

class Graphic;

class StandardImageTargetWriter : public StandardImageRowAccess {
public:
    StandardImageTargetWriter();
    ~StandardImageTargetWriter();

    // Holds the graphic (see StandardImageRowAccess::Hold) and packs the channel values for it. With a
    // palette and at most 8 bits on either side, its paletteCount entries (at most 256) are converted from
    // the source colour tag to the graphic's and packed as graphic pixels; the other entries are black. With
    // dither, an error row for Floyd-Steinberg diffusion is made.
    bool Begin(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t sourceBits,
               std::uint32_t sourceColorTag, Graphic* target, bool topDown, const PixelValue* palette,
               std::uint32_t paletteCount, bool dither);

    // The image's palette as graphic pixels: 16- and 32-bit words, or 24-bit values in the low three bytes.
    std::array<std::uint32_t, 256> m_palette{};
    // Each 8-bit red, green and blue value as it lies in a pixel of a direct-colour graphic, so that a pixel
    // is the three ORed.
    std::array<std::uint32_t, 256> m_redBits{};
    std::array<std::uint32_t, 256> m_greenBits{};
    std::array<std::uint32_t, 256> m_blueBits{};
    // Where the red, green and blue channels lie in a packed source pixel (16 or 32 bits): their shifts and
    // losses, as a direct-colour pixel format holds them.
    PixelFormat m_sourceChannels;
    // The distance between the planes of a planar source row.
    std::uint32_t m_sourcePlaneBytes = 0;
    // The key colour of keyed dithering, in the graphic's colour tag: pixels of that colour are not dithered.
    bool m_hasKey = false;
    PixelValue m_key;
    // Three carried errors a pixel (blue, green, red) with three spare ones before and after; the row the
    // converters use starts at m_errorRow.data() + 3.
    std::vector<std::int32_t> m_errorRow;
    // Rows dithered so far: even ones run left to right, odd ones right to left.
    std::uint32_t m_ditheredRows = 0;
};

} // namespace Vemo
