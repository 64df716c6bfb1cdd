// One pixel of a row in memory, of 1, 2, 4, 8, 16, 24 or 32 bits: little-endian, and pixels of fewer than 8
// bits filling each byte from its highest bits. Internal to the platform layer.
#pragma once

#include <cstdint>
#include <cstring>

namespace video {

inline std::uint32_t ReadPixel(const std::uint8_t* row, std::int64_t x, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 2:
        return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3u;
    case 4:
        return (row[x >> 1] >> (4 - 4 * (x & 1))) & 0xFu;
    case 8:
        return row[x];
    case 16:
        return static_cast<std::uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
    case 24:
        return static_cast<std::uint32_t>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
    default: {
        std::uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        return pixel;
    }
    }
}

inline void WritePixel(std::uint8_t* row, std::int64_t x, int bitsPerPixel, std::uint32_t pixel) {
    auto putBits = [&](std::uint8_t& byte, std::int64_t shift, std::uint32_t mask) {
        byte = static_cast<std::uint8_t>((byte & ~(mask << shift)) | ((pixel & mask) << shift));
    };
    switch (bitsPerPixel) {
    case 1:
        putBits(row[x >> 3], 7 - (x & 7), 1u);
        break;
    case 2:
        putBits(row[x >> 2], 6 - 2 * (x & 3), 3u);
        break;
    case 4:
        putBits(row[x >> 1], 4 - 4 * (x & 1), 0xFu);
        break;
    case 8:
        row[x] = static_cast<std::uint8_t>(pixel);
        break;
    case 16:
        row[2 * x] = static_cast<std::uint8_t>(pixel);
        row[2 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
        break;
    case 24:
        row[3 * x] = static_cast<std::uint8_t>(pixel);
        row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
        row[3 * x + 2] = static_cast<std::uint8_t>(pixel >> 16);
        break;
    default:
        std::memcpy(row + 4 * x, &pixel, 4);
        break;
    }
}

} // namespace video
