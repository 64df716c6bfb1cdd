#include "platform/video/FrameConversion.h"

#include "platform/video/PixelAccess.h"
#include "platform/win32/gdi/SystemPalette.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace video {

namespace {

constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red << 16) | (green << 8) | blue;
}

// One channel of a direct colour pixel, widened to 8 bits; channels of up to 8 bits through a table.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maximum = 0;
    std::array<std::uint8_t, 256> table{};

    explicit Channel(std::uint32_t channelMask) : mask(channelMask) {
        if (mask == 0) {
            return;
        }
        shift = std::countr_zero(mask);
        maximum = mask >> shift;
        for (std::uint32_t value = 0; value <= std::min<std::uint32_t>(maximum, 255); ++value) {
            table[value] = static_cast<std::uint8_t>(Scale(value));
        }
    }

    std::uint32_t Scale(std::uint64_t value) const {
        return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
    }

    std::uint32_t Widen(std::uint32_t pixel) const {
        if (maximum == 0) {
            return 0;
        }
        std::uint32_t value = (pixel & mask) >> shift;
        return maximum <= 255 ? table[value] : Scale(value);
    }
};

bool IsXrgb(const PixelSource& source) {
    return source.bitsPerPixel == 32 && source.redMask == 0xFF0000 && source.greenMask == 0xFF00 &&
           source.blueMask == 0xFF;
}

} // namespace

const std::array<std::uint32_t, 256>& FixedSystemPalette() {
    static const std::array<std::uint32_t, 256> palette = [] {
        std::array<std::uint32_t, 256> xrgb{};
        const auto system = win32::SystemPalette();
        for (std::size_t i = 0; i < xrgb.size(); ++i) {
            xrgb[i] = Rgb(system[i].rgbRed, system[i].rgbGreen, system[i].rgbBlue);
        }
        return xrgb;
    }();
    return palette;
}

void ConvertArea(const PixelSource& source, const win32::RECT& area, Frame& frame) {
    const int left = std::max<int>(area.left, 0);
    const int top = std::max<int>(area.top, 0);
    const int right = std::min({static_cast<int>(area.right), source.width, frame.width});
    const int bottom = std::min({static_cast<int>(area.bottom), source.height, frame.height});
    if (left >= right || top >= bottom || source.bits == nullptr) {
        return;
    }
    const auto rowOf = [&](int y) { return source.bits + static_cast<std::ptrdiff_t>(y) * source.pitch; };
    const auto outOf = [&](int y) { return frame.pixels.data() + frame.IndexOf(0, y); };
    // The frame's own layout: the pixels are copied with the unused top byte cleared.
    if (IsXrgb(source)) {
        for (int y = top; y < bottom; ++y) {
            const std::uint8_t* row = rowOf(y);
            std::uint32_t* out = outOf(y);
            for (int x = left; x < right; ++x) {
                std::uint32_t pixel;
                std::memcpy(&pixel, row + 4 * static_cast<std::ptrdiff_t>(x), 4);
                out[x] = pixel & 0x00FFFFFF;
            }
        }
        return;
    }
    const bool indexed = source.bitsPerPixel == 8 && source.redMask == 0;
    const Channel red(source.redMask);
    const Channel green(source.greenMask);
    const Channel blue(source.blueMask);
    const auto& palette = FixedSystemPalette();
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* row = rowOf(y);
        std::uint32_t* out = outOf(y);
        for (int x = left; x < right; ++x) {
            std::uint32_t pixel = ReadPixel(row, x, source.bitsPerPixel);
            out[x] = indexed ? palette[pixel] : Rgb(red.Widen(pixel), green.Widen(pixel), blue.Widen(pixel));
        }
    }
}

} // namespace video
