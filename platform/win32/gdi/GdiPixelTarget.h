// Reads and writes the pixels of a GdiBitmapTarget in its own format. Internal to the platform layer.
#pragma once

#include "platform/win32/Rects.h"
#include "platform/win32/gdi/GdiSurface.h"

#include <cstdint>
#include <span>

namespace win32::gdi {

class GdiPixelTarget {
public:
    explicit GdiPixelTarget(const GdiBitmapTarget& target);

    RECT Bounds() const;
    // The area must lie inside Bounds().
    void Fill(const RECT& area, COLORREF color);
    // Mixes the colour over the pixel by coverage / 255; the point must lie inside Bounds().
    void Blend(int x, int y, std::uint8_t coverage, COLORREF color);
    COLORREF Read(int x, int y) const;

private:
    struct Channel {
        int shift = 0;
        int bits = 0;
    };

    std::uint32_t Encode(COLORREF color) const;
    COLORREF Decode(std::uint32_t value) const;
    std::uint32_t ReadValue(int x, int y) const;
    void WriteValue(int x, int y, std::uint32_t value);
    std::uint8_t* Row(int y) const;

    GdiBitmapTarget m_target;
    std::span<const RGBQUAD> m_palette;
    Channel m_red, m_green, m_blue;
};

// Whether a target describes memory that a DC can draw into (see CreateDCOverBitmap).
bool IsUsableTarget(const GdiBitmapTarget& target);

} // namespace win32::gdi
