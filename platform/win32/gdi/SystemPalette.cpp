#include "platform/win32/gdi/SystemPalette.h"

#include <array>

namespace win32 {
namespace {

constexpr RGBQUAD Quad(BYTE red, BYTE green, BYTE blue) {
    return RGBQUAD{blue, green, red, 0};
}

constexpr std::array<RGBQUAD, 2> kMonochrome{Quad(0, 0, 0), Quad(255, 255, 255)};

constexpr std::array<RGBQUAD, 16> kStandard{
    Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),   Quad(128, 128, 0),
    Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192),
    Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),   Quad(255, 255, 0),
    Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255), Quad(255, 255, 255),
};

constexpr std::array<RGBQUAD, 10> kStaticFirst{
    Quad(0, 0, 0),     Quad(128, 0, 0),   Quad(0, 128, 0),     Quad(128, 128, 0),   Quad(0, 0, 128),
    Quad(128, 0, 128), Quad(0, 128, 128), Quad(192, 192, 192), Quad(192, 220, 192), Quad(166, 202, 240),
};

constexpr std::array<RGBQUAD, 10> kStaticLast{
    Quad(255, 251, 240), Quad(160, 160, 164), Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),
    Quad(255, 255, 0),   Quad(0, 0, 255),     Quad(255, 0, 255),   Quad(0, 255, 255), Quad(255, 255, 255),
};

constexpr std::array<RGBQUAD, 256> MakeSystemPalette() {
    std::array<RGBQUAD, 256> table{};
    for (std::size_t i = 0; i < kStaticFirst.size(); ++i) {
        table[i] = kStaticFirst[i];
        table[246 + i] = kStaticLast[i];
    }
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table[static_cast<std::size_t>(10 + 36 * r + 6 * g + b)] =
                    Quad(static_cast<BYTE>(51 * r), static_cast<BYTE>(51 * g), static_cast<BYTE>(51 * b));
            }
        }
    }
    for (int i = 1; i <= 20; ++i) {
        auto level = static_cast<BYTE>(255 * i / 21);
        table[static_cast<std::size_t>(225 + i)] = Quad(level, level, level);
    }
    return table;
}

constexpr std::array<RGBQUAD, 256> kSystem = MakeSystemPalette();

} // namespace

std::span<const RGBQUAD, 2> MonochromePalette() {
    return kMonochrome;
}
std::span<const RGBQUAD, 16> StandardPalette() {
    return kStandard;
}
std::span<const RGBQUAD, 256> SystemPalette() {
    return kSystem;
}

std::span<const RGBQUAD> FixedPalette(unsigned bitsPerPixel) {
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

std::uint32_t NearestPaletteIndex(std::span<const RGBQUAD> palette, BYTE red, BYTE green, BYTE blue) {
    std::uint32_t best = 0;
    int bestDistance = 0x7FFFFFFF;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        int dr = palette[i].rgbRed - red;
        int dg = palette[i].rgbGreen - green;
        int db = palette[i].rgbBlue - blue;
        int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<std::uint32_t>(i);
            if (distance == 0) {
                break;
            }
        }
    }
    return best;
}

} // namespace win32
