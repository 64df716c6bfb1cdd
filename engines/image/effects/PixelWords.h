// Unaligned little-endian access to the 16-, 24- and 32-bit pixels of a row (a row may start at any byte),
// and the store of a raster operation's result at each width: only the bits of the pixel's width are written.
#pragma once

#include "engines/image/effects/RasterOp.h"

#include <cstdint>
#include <cstring>

namespace Vemo {

inline std::uint32_t Load16(const std::uint8_t* at) {
    std::uint16_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void Store16(std::uint8_t* at, std::uint32_t value) {
    const auto word = static_cast<std::uint16_t>(value);
    std::memcpy(at, &word, sizeof word);
}

inline std::uint32_t Load24(const std::uint8_t* at) {
    return at[0] | static_cast<std::uint32_t>(at[1]) << 8 | static_cast<std::uint32_t>(at[2]) << 16;
}

// The three low bytes of the value, lowest first.
inline void Store24(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
    at[2] = static_cast<std::uint8_t>(value >> 16);
}

inline std::uint32_t Load32(const std::uint8_t* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

inline void Store32(std::uint8_t* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

// The per-operation combiners: the operation applied to the pixel at `at` with the source value s, already
// in the destination's format. Operations that do not read the destination compile to plain stores.
template <RasterOp Op>
inline void Combine8(std::uint8_t* at, std::uint32_t s) {
    *at = static_cast<std::uint8_t>(ApplyRasterOp(Op, s, *at));
}

template <RasterOp Op>
inline void Combine16(std::uint8_t* at, std::uint32_t s) {
    Store16(at, ApplyRasterOp(Op, s, Load16(at)));
}

template <RasterOp Op>
inline void Combine24(std::uint8_t* at, std::uint32_t s) {
    Store24(at, ApplyRasterOp(Op, s, Load24(at)));
}

template <RasterOp Op>
inline void Combine32(std::uint8_t* at, std::uint32_t s) {
    Store32(at, ApplyRasterOp(Op, s, Load32(at)));
}

// The combiner of keyed blits: where keep is true the pixel is stored back as it was. Storing on both paths
// lets a row of them run as one vector loop.
template <RasterOp Op>
inline void Combine16Unless(bool keep, std::uint8_t* at, std::uint32_t s) {
    const std::uint32_t d = Load16(at);
    Store16(at, keep ? d : ApplyRasterOp(Op, s, d));
}

} // namespace Vemo
