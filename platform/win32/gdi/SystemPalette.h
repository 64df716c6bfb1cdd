// The fixed colour tables of the emulated display, shared by every indexed picture: DIB sections with 1, 4 or
// 8 bits per pixel, 8-bit DirectDraw surfaces (a primary is shown through the system palette) and the
// engines' indexed graphics. A colour becomes the nearest entry of the table it is drawn into.
//
// - Monochrome (1 bit): black, white.
// - Standard (4 bits): the 16 standard colours in their Windows order: black, dark red, dark green, dark
// yellow,
//   dark blue, dark magenta, dark cyan, light grey (192), grey (128), red, green, yellow, blue, magenta,
//   cyan, white.
// - System (8 bits): entries 0-9 and 246-255 are Windows' 20 static colours; entry 10 + 36r + 6g + b
//   (r, g, b in 0..5) is the colour (51r, 51g, 51b) of a 6x6x6 cube; entries 226-245 are the greys
//   255i/21 for i = 1..20.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>
#include <span>

namespace win32 {

std::span<const RGBQUAD, 2> MonochromePalette();
std::span<const RGBQUAD, 16> StandardPalette();
std::span<const RGBQUAD, 256> SystemPalette();

// The table for an indexed depth: 2 entries for 1 bit, 16 for 4, 256 for 8; empty for any other depth.
std::span<const RGBQUAD> FixedPalette(unsigned bitsPerPixel);

// The index of the entry nearest to the colour (smallest squared distance in red, green and blue; the lowest
// index of equally near entries). 0 for an empty table.
std::uint32_t NearestPaletteIndex(std::span<const RGBQUAD> palette, BYTE red, BYTE green, BYTE blue);

} // namespace win32
