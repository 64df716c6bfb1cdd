// Device contexts over pixel memory that someone else owns: what a DirectDraw surface hands out through
// GetDC. Drawing through such a context writes straight into the memory.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace win32 {

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The memory a context draws into: row y starts at bits + y x pitch (negative for rows stored bottom-up).
// Direct colour layouts name their channels by masks; indexed ones (1, 2, 4 or 8 bits) have a palette of
// paletteSize colours.
struct GdiBitmapTarget {
    std::uint8_t* bits;
    std::int32_t pitch;
    std::uint32_t width, height, bitsPerPixel;
    std::uint32_t redMask, greenMask, blueMask;
    const RGBQUAD* palette;
    std::uint32_t paletteSize;
};

// A new context over the target (which must stay valid until the context is destroyed); null on failure.
HDC CreateDCOverBitmap(const GdiBitmapTarget& target);
void DestroyDCOverBitmap(HDC context);

} // namespace win32
