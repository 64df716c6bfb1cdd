#include "engines/media/quicktime/OffscreenPalette.h"

#include <array>
#include <cstddef>

namespace Vemo {

namespace {

constexpr std::array<PixelValue, 2> kMonochrome{PixelValue(0, 0, 0), PixelValue(255, 255, 255)};

constexpr std::array<PixelValue, 16> kStandard{
    PixelValue(0, 0, 0),       PixelValue(128, 0, 0),   PixelValue(0, 128, 0),   PixelValue(128, 128, 0),
    PixelValue(0, 0, 128),     PixelValue(128, 0, 128), PixelValue(0, 128, 128), PixelValue(192, 192, 192),
    PixelValue(128, 128, 128), PixelValue(255, 0, 0),   PixelValue(0, 255, 0),   PixelValue(255, 255, 0),
    PixelValue(0, 0, 255),     PixelValue(255, 0, 255), PixelValue(0, 255, 255), PixelValue(255, 255, 255),
};

constexpr std::array<PixelValue, 10> kStaticFirst{
    PixelValue(0, 0, 0),       PixelValue(128, 0, 0),     PixelValue(0, 128, 0),   PixelValue(128, 128, 0),
    PixelValue(0, 0, 128),     PixelValue(128, 0, 128),   PixelValue(0, 128, 128), PixelValue(192, 192, 192),
    PixelValue(192, 220, 192), PixelValue(166, 202, 240),
};

constexpr std::array<PixelValue, 10> kStaticLast{
    PixelValue(255, 251, 240), PixelValue(160, 160, 164), PixelValue(128, 128, 128), PixelValue(255, 0, 0),
    PixelValue(0, 255, 0),     PixelValue(255, 255, 0),   PixelValue(0, 0, 255),     PixelValue(255, 0, 255),
    PixelValue(0, 255, 255),   PixelValue(255, 255, 255),
};

constexpr std::array<PixelValue, 256> MakeSystemPalette() {
    std::array<PixelValue, 256> table{};
    for (std::size_t i = 0; i < kStaticFirst.size(); ++i) {
        table[i] = kStaticFirst[i];
        table[246 + i] = kStaticLast[i];
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table[static_cast<std::size_t>(10 + 36 * r + 6 * g + b)] =
                    PixelValue(static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                               static_cast<std::uint8_t>(51 * b));
            }
        }
    }
    for (int i = 1; i <= 20; ++i) {
        const auto level = static_cast<std::uint8_t>(255 * i / 21);
        table[static_cast<std::size_t>(225 + i)] = PixelValue(level, level, level);
    }
    return table;
}

constexpr std::array<PixelValue, 256> kSystem = MakeSystemPalette();

} // namespace

std::span<const PixelValue> OffscreenPalette(std::uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return kMonochrome;
    case 4:
        return kStandard;
    case 8:
        return kSystem;
    default:
        return {};
    }
}

qt::ColorTable OffscreenColorTable(std::uint32_t bitsPerPixel) {
    const std::span<const PixelValue> palette = OffscreenPalette(bitsPerPixel);
    qt::ColorTable table{};
    table.ctSize = static_cast<std::int16_t>(palette.size()) - 1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        table.ctTable[i].value = static_cast<std::int16_t>(i);
        table.ctTable[i].rgb = {static_cast<std::uint16_t>(palette[i].Red() * 257),
                                static_cast<std::uint16_t>(palette[i].Green() * 257),
                                static_cast<std::uint16_t>(palette[i].Blue() * 257)};
    }
    return table;
}

} // namespace Vemo
