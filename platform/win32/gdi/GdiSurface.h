// Device contexts over memory that another part of the platform owns (DirectDraw surfaces): what GDI draws
// through such a DC lands in that memory in its own pixel format. Internal to the platform layer.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace win32 {

// The memory a DC draws into. bits is the first byte of the top row; pitch is the distance in bytes from a
// row to the one below it (negative for rows stored bottom-up). bitsPerPixel is 1, 4, 8, 16, 24 or 32.
// - 1, 4 and 8 bits: indices into palette (paletteSize entries; an index beyond it reads as black); a colour
// is
//   written as its nearest entry (platform/win32/gdi/SystemPalette.h). Pixels of 1 and 4 bits are packed from
//   the most significant bit.
// - 16, 24 and 32 bits: a little-endian value split by the three masks; all three 0 means x-5-5-5 for 16 bits
//   and x-8-8-8 (red highest) for 24 and 32. A channel is written from its colour's top bits.
// The memory must stay valid and unmoved until the DC is destroyed.
struct GdiBitmapTarget {
    std::uint8_t* bits;
    std::int32_t pitch;
    std::uint32_t width, height, bitsPerPixel;
    std::uint32_t redMask, greenMask, blueMask;
    const RGBQUAD* palette;
    std::uint32_t paletteSize;
};

// A DC that draws into the target: text, fills and clipping as on a memory DC with a bitmap selected, except
// that its bitmap cannot be changed (SelectObject of a bitmap answers null) and DeleteDC refuses it. Null
// when the target's depth is not one of the above, its size is 0, its bits are null or an indexed target has
// no palette. The palette is copied; the memory is not.
HDC CreateDCOverBitmap(const GdiBitmapTarget& target);

// Ends a DC made by CreateDCOverBitmap; objects selected into it stay alive for their owners to delete. Any
// other handle is left alone.
void DestroyDCOverBitmap(HDC dc);

} // namespace win32
