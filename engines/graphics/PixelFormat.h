// The description of a surface's pixels. Every surface, image and pixel routine describes its pixels with
// this record, and the per-format routine tables of the effects and codecs are indexed by its format number,
// so a record built from masks that equal a standard layout carries that layout's number.
//
// A format is indexed (palettised) exactly when colorCount is not 0; code that draws tests that field, not
// the format number. Indexed formats have no masks: their pixels are palette indices.
#pragma once

#include "engines/graphics/ChannelPacking.h"
#include "engines/graphics/DepthCode.h"
#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/PixelValue.h"

#include <cstdint>

namespace Vemo {

// The standard layouts, by their numbers. Masks are given red / green / blue / fourth, with what the fourth
// holds.
enum class StandardPixelFormat : std::uint32_t {
    None = 0,
    Indexed1 = 1,
    Indexed2 = 2,
    Indexed4 = 3,
    Indexed8 = 4,
    Argb4444 = 5,       // 0xF00 / 0xF0 / 0xF / 0xF000 alpha
    Argb1555 = 6,       // 0x7C00 / 0x3E0 / 0x1F / 0x8000 alpha
    Rgb555 = 7,         // 0x7C00 / 0x3E0 / 0x1F
    Rgb565 = 8,         // 0xF800 / 0x7E0 / 0x1F
    Rgb24 = 9,          // 0xFF0000 / 0xFF00 / 0xFF
    Bgr24 = 10,         // 0xFF / 0xFF00 / 0xFF0000
    Xrgb32 = 11,        // 0xFF0000 / 0xFF00 / 0xFF
    Xbgr32 = 12,        // 0xFF / 0xFF00 / 0xFF0000
    Argb32 = 13,        // 0xFF0000 / 0xFF00 / 0xFF / 0xFF000000 alpha
    Abgr32 = 14,        // 0xFF / 0xFF00 / 0xFF0000 / 0xFF000000 alpha
    Rgba32 = 15,        // 0xFF000000 / 0xFF0000 / 0xFF00 / 0xFF alpha
    Bgra32 = 16,        // 0xFF00 / 0xFF0000 / 0xFF000000 / 0xFF alpha
    Rgb555Depth16 = 17, // 0x7C00 / 0x3E0 / 0x1F / 0xFFFF0000 depth
    Rgb565Depth16 = 18, // 0xF800 / 0x7E0 / 0x1F / 0xFFFF0000 depth
    // Any other direct-colour layout.
    Other = 19,
};

// The number of format numbers, 0 to 19: the size of a table indexed by them.
inline constexpr std::uint32_t kPixelFormatCount = 20;

struct PixelFormat {
    StandardPixelFormat format = StandardPixelFormat::None;
    DepthCode depth = 0;
    ExtraChannel extra;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    std::uint32_t alphaMask = 0;
    // The zero bits below each mask.
    std::uint8_t redShift = 0;
    std::uint8_t greenShift = 0;
    std::uint8_t blueShift = 0;
    std::uint8_t alphaShift = 0;
    // 8 minus the width of each mask, as an unsigned byte (see ChannelPacking.h).
    std::uint8_t redLoss = 0;
    std::uint8_t greenLoss = 0;
    std::uint8_t blueLoss = 0;
    std::uint8_t alphaLoss = 0;
    // Palette entries of an indexed format; 0 for direct colour.
    std::uint32_t colorCount = 0;

    // The cleared record: format 0, depth 0, everything else 0.
    PixelFormat() = default;
    // Numbers 1 to 4 give the indexed formats, 5 to 18 the direct layouts; any other number the cleared
    // record.
    explicit PixelFormat(StandardPixelFormat number);
    // An indexed format of depth codes 1 to 4, with 2, 4, 16 or 256 palette entries and the palette
    // reference. Codes 5 and 6 give format 19 with 2^16 and 2^24 entries, code 7 with 0xFFFFFFFF (2^32 does
    // not fit); any other code the cleared record.
    explicit PixelFormat(DepthCode depthCode, const ExtraChannel& palette = ExtraChannel());

    void Clear() { *this = PixelFormat(); }
    // A direct-colour record of the depth and masks: each channel's shift and loss from the lowest run of
    // one bits of its mask (bits above a gap are ignored; a mask of 0 has shift 0 and loss 8), and the number
    // of the standard layout the masks and the extra channel make, else 19. Depth codes 1 to 4 always give
    // 19; a code outside 1 to 7 gives the cleared record.
    void SetMasks(DepthCode depthCode, std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                  std::uint32_t fourth, const ExtraChannel& extraChannel);

    bool IsIndexed() const { return colorCount != 0; }

    // The direct-colour pixel of a colour word; the fourth channel stays 0.
    constexpr std::uint32_t PackColor(PixelValue color) const {
        return PackChannel(color.Red(), redShift, redLoss) |
               PackChannel(color.Green(), greenShift, greenLoss) |
               PackChannel(color.Blue(), blueShift, blueLoss);
    }
    // The colour word of a direct-colour pixel: bits lost in packing come back as zeros, the spare byte is 0.
    constexpr PixelValue UnpackPixel(std::uint32_t pixel) const {
        return PixelValue(UnpackChannel(pixel, redShift, redLoss),
                          UnpackChannel(pixel, greenShift, greenLoss),
                          UnpackChannel(pixel, blueShift, blueLoss));
    }
};

} // namespace Vemo
