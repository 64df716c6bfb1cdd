// Depth codes number the pixel depths: 1 to 7 stand for 1, 2, 4, 8, 16, 24 and 32 bits per pixel, 0 for no
// depth. Every pixel routine switches on the code, never on the bit count.
//
// Pixels smaller than a byte are packed from the most significant bits of each byte: pixel x of a 1-bit row
// is bit 7 - (x mod 8) of byte x / 8, of a 2-bit row bits 7-6 for x mod 4 = 0 down to bits 1-0, of a 4-bit
// row the high nibble for even x. 16- and 32-bit pixels are little-endian words, 24-bit pixels three bytes,
// least significant first. Every function here is total: a code outside 1 to 7 gives 0.
#pragma once

#include <cstdint>

namespace Vemo {

using DepthCode = std::uint32_t;

constexpr DepthCode DepthFromBitsPerPixel(std::uint32_t bits) {
    switch (bits) {
    case 1:
        return 1;
    case 2:
        return 2;
    case 4:
        return 3;
    case 8:
        return 4;
    case 16:
        return 5;
    case 24:
        return 6;
    case 32:
        return 7;
    default:
        return 0;
    }
}

constexpr std::uint32_t BitsPerPixelFromDepth(DepthCode depth) {
    constexpr std::uint32_t kBits[] = {0, 1, 2, 4, 8, 16, 24, 32};
    return depth < 8 ? kBits[depth] : 0;
}

// 1 for the codes of one byte or less.
constexpr std::uint32_t BytesPerPixelFromDepth(DepthCode depth) {
    constexpr std::uint32_t kBytes[] = {0, 1, 1, 1, 1, 2, 3, 4};
    return depth < 8 ? kBytes[depth] : 0;
}

// Whether pixels of the depth share their bytes (1, 2 and 4 bits per pixel).
constexpr bool IsSubByteDepth(DepthCode depth) {
    return depth >= 1 && depth <= 3;
}

// The bytes that count pixels fill, a partly filled last byte included.
constexpr std::uint32_t BytesFromPixels(std::uint32_t count, DepthCode depth) {
    if (IsSubByteDepth(depth)) {
        const std::uint32_t pixelsPerByte = 8 / BitsPerPixelFromDepth(depth);
        return count / pixelsPerByte + (count % pixelsPerByte != 0 ? 1 : 0);
    }
    return count * BytesPerPixelFromDepth(depth);
}

// The whole pixels that |bytes| bytes hold: a bottom-up row's negative pitch holds as many as its size.
constexpr std::uint32_t PixelsFromBytes(std::int32_t bytes, DepthCode depth) {
    const std::uint32_t size =
        bytes < 0 ? 0u - static_cast<std::uint32_t>(bytes) : static_cast<std::uint32_t>(bytes);
    if (IsSubByteDepth(depth)) {
        return size * (8 / BitsPerPixelFromDepth(depth));
    }
    const std::uint32_t bytesPerPixel = BytesPerPixelFromDepth(depth);
    return bytesPerPixel != 0 ? size / bytesPerPixel : 0;
}

// The offset of the byte that holds pixel x; x becomes the pixel's index within that byte (0 where a pixel
// fills whole bytes, and for codes outside 1 to 7).
constexpr std::uint32_t ByteOffsetFromPixel(std::uint32_t& x, DepthCode depth) {
    if (IsSubByteDepth(depth)) {
        const std::uint32_t pixelsPerByte = 8 / BitsPerPixelFromDepth(depth);
        const std::uint32_t offset = x / pixelsPerByte;
        x %= pixelsPerByte;
        return offset;
    }
    const std::uint32_t offset = x * BytesPerPixelFromDepth(depth);
    x = 0;
    return offset;
}

} // namespace Vemo
