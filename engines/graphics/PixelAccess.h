// One pixel of a row in the memory layout of its depth code (see DepthCode.h): the pixels of 1, 2 and 4 bits
// share their byte with their neighbours, which a write keeps; wider pixels are little-endian. A write stores
// only as many low bits of the value as the pixel has. A code outside 1 to 7 reads 0 and writes nothing.
#pragma once

#include "engines/graphics/DepthCode.h"

#include <cstdint>

namespace Vemo {

inline std::uint32_t ReadPixel(const std::uint8_t* row, std::uint32_t x, DepthCode depth) {
    std::uint32_t index = x;
    const std::uint8_t* at = row + ByteOffsetFromPixel(index, depth);
    if (IsSubByteDepth(depth)) {
        const std::uint32_t bits = BitsPerPixelFromDepth(depth);
        return (at[0] >> (8 - bits * (index + 1))) & ((1u << bits) - 1);
    }
    std::uint32_t value = 0;
    for (std::uint32_t byte = BytesPerPixelFromDepth(depth); byte-- > 0;) {
        value = value << 8 | at[byte];
    }
    return value;
}

inline void WritePixel(std::uint8_t* row, std::uint32_t x, DepthCode depth, std::uint32_t value) {
    std::uint32_t index = x;
    std::uint8_t* at = row + ByteOffsetFromPixel(index, depth);
    if (IsSubByteDepth(depth)) {
        const std::uint32_t bits = BitsPerPixelFromDepth(depth);
        const std::uint32_t shift = 8 - bits * (index + 1);
        const std::uint32_t mask = ((1u << bits) - 1) << shift;
        at[0] = static_cast<std::uint8_t>((at[0] & ~mask) | ((value << shift) & mask));
        return;
    }
    for (std::uint32_t byte = 0; byte < BytesPerPixelFromDepth(depth); ++byte) {
        at[byte] = static_cast<std::uint8_t>(value >> (8 * byte));
    }
}

} // namespace Vemo
