// The pixel work of DirectDraw's blits: fills, copies with a source colour key, raster operations of a source
// and a destination, and nearest-neighbour scaling. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>
#include <optional>

namespace ddraw::detail {

// Pixels in memory: row y starts at bits + y x pitch. 1, 2 and 4-bit pixels fill each byte from its highest
// bits.
struct PixelView {
    std::uint8_t* bits = nullptr;
    std::int32_t pitch = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

// A Boolean function of a source bit S and a destination bit D, applied to every bit of a pixel: bit
// 2 S + D of the value is the result for S and D.
struct RasterFunction {
    std::uint8_t table = 0xC;

    bool UsesSource() const { return (table >> 2) != (table & 3); }
    std::uint32_t Apply(std::uint32_t source, std::uint32_t destination) const;
};

// The function of a raster operation code, or none when the result depends on the pattern.
std::optional<RasterFunction> FunctionOfRasterOperation(win32::DWORD code);

// Source pixels whose value lies in [low, high] are left out.
struct SourceKey {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

// Rectangles below have right and bottom exclusive and are not empty; `clip` is the part of the
// destination to draw, inside both the destination rectangle and the destination.

// Every pixel of clip becomes function(value, pixel), or value without a function.
void Fill(const PixelView& destination, const win32::RECT& clip, std::uint32_t value,
          const std::optional<RasterFunction>& function);

// The source rectangle drawn onto the destination rectangle, scaled when the sizes differ (the destination
// pixel takes the source pixel under its centre); both rectangles lie inside their views. Source and
// destination may be the same memory and overlap.
void Copy(const PixelView& destination, const win32::RECT& destinationRect, const win32::RECT& clip,
          const PixelView& source, const win32::RECT& sourceRect, const std::optional<SourceKey>& key,
          const std::optional<RasterFunction>& function);

} // namespace ddraw::detail
