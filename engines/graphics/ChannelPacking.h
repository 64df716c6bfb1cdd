// One 8-bit colour channel packed into a pixel and back, by the channel's shift (the zero bits below its
// mask) and loss (8 minus the mask's width, as an unsigned byte, so that a channel wider than 8 bits has a
// loss that wrapped below 0: 248 for 16 bits).
//
// A channel of up to 8 bits drops its loss in low bits when packed, and gets them back as zeros when unpacked
// (no replication of the high bits). A wider channel (a loss above 8) takes the 8-bit value in its top bits,
// the bits below them 0, and unpacks to its top 8 bits. For every shift and loss of a mask within 32 bits no
// shift count reaches 32. A mask of 0 (loss 8) packs to 0 and unpacks to 0.
#pragma once

#include <cstdint>

namespace Vemo {

constexpr std::uint32_t PackChannel(std::uint8_t value, std::uint8_t shift, std::uint8_t loss) {
    if (loss > 8) {
        return static_cast<std::uint32_t>(value) << (256u - loss) << shift;
    }
    return static_cast<std::uint32_t>(value) >> loss << shift;
}

constexpr std::uint8_t UnpackChannel(std::uint32_t pixel, std::uint8_t shift, std::uint8_t loss) {
    if (loss > 8) {
        return static_cast<std::uint8_t>(pixel >> shift >> (256u - loss));
    }
    return static_cast<std::uint8_t>((pixel >> shift & 0xFF) << loss);
}

} // namespace Vemo
