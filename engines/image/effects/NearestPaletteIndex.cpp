#include "engines/image/effects/NearestPaletteIndex.h"

namespace Vemo {

namespace {

std::uint32_t Channel(std::uint32_t color, int shift) {
    return color >> shift & 0xFF;
}

std::uint32_t SquaredDistance(std::uint32_t a, std::uint32_t b) {
    std::uint32_t sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const auto difference =
            static_cast<std::int32_t>(Channel(a, shift)) - static_cast<std::int32_t>(Channel(b, shift));
        sum += static_cast<std::uint32_t>(difference * difference);
    }
    return sum;
}

} // namespace

std::uint8_t NearestPaletteIndex(const Palette256& palette, std::uint32_t color) {
    std::uint32_t nearest = 0;
    std::uint32_t nearestDistance = 0xFFFFFFFF;
    for (std::uint32_t index = 0; index < palette.size(); ++index) {
        const std::uint32_t distance = SquaredDistance(palette[index], color);
        if (distance == 0) {
            return static_cast<std::uint8_t>(index);
        }
        if (distance < nearestDistance) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return static_cast<std::uint8_t>(nearest);
}

} // namespace Vemo
