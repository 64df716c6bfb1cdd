// A window's picture as the video layer keeps and shows it, and the pixels it is made from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace video {

// 32-bit x-R-G-B pixels (the top byte 0), rows from the top, no padding.
struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    // Shown as a full-screen window scaled to the desktop.
    bool fullscreen = false;

    // Where the pixel at x, y lies in pixels.
    std::size_t IndexOf(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    }
    std::uint32_t At(int x, int y) const { return pixels[IndexOf(x, y)]; }
};

// Pixels in memory: row y starts at bits + y x pitch (a negative pitch for rows stored bottom-up). Direct
// colour formats name their channels by masks; 8 bits without masks are indexes into the fixed system
// palette.
struct PixelSource {
    const std::uint8_t* bits = nullptr;
    std::int32_t pitch = 0;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
};

} // namespace video
