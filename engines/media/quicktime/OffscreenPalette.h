// The fixed colour tables of an indexed movie offscreen: the same for its bitmap, its graphic's palette and
// the QuickTime world the movie draws into, so that each frame shows in the nearest entries of the table.
// They are the emulated display's fixed tables:
//
// - 1 bit: black, white.
// - 4 bits: the 16 standard colours in their Windows order (black, dark red, dark green, dark yellow, dark
//   blue, dark magenta, dark cyan, light grey 192, grey 128, red, green, yellow, blue, magenta, cyan, white).
// - 8 bits: entries 0-9 and 246-255 are Windows' 20 static colours; entry 10 + 36r + 6g + b (r, g, b in 0..5)
//   is the colour (51r, 51g, 51b); entries 226-245 are the greys 255i/21 for i = 1..20.
#pragma once

#include "engines/graphics/PixelValue.h"
#include "platform/quicktime/Types.h"

#include <cstdint>
#include <span>

namespace Vemo {

// The table of an indexed depth of 1, 4 or 8 bits per pixel; empty for any other.
std::span<const PixelValue> OffscreenPalette(std::uint32_t bitsPerPixel);

// The table as a QuickTime colour table.
qt::ColorTable OffscreenColorTable(std::uint32_t bitsPerPixel);

} // namespace Vemo
