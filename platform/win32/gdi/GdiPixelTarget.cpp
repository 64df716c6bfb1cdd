#include "platform/win32/gdi/GdiPixelTarget.h"

#include "platform/win32/gdi/SystemPalette.h"

#include <bit>

namespace win32::gdi {
namespace {

struct Masks {
    std::uint32_t red, green, blue;
};

Masks DefaultMasks(std::uint32_t bitsPerPixel) {
    if (bitsPerPixel == 16) {
        return {0x7C00, 0x03E0, 0x001F};
    }
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

// Only the most significant bits of a channel wider than a byte carry colour.
std::uint32_t ChannelValue(BYTE level, int bits) {
    if (bits >= 8) {
        return static_cast<std::uint32_t>(level) << (bits - 8);
    }
    return static_cast<std::uint32_t>(level) >> (8 - bits);
}

BYTE ChannelLevel(std::uint32_t value, int bits) {
    if (bits <= 0) {
        return 0;
    }
    if (bits >= 8) {
        return static_cast<BYTE>(value >> (bits - 8));
    }
    // Repeat the bits down to fill the byte, so that a full channel reads 255.
    std::uint32_t level = 0;
    int filled = 0;
    while (filled < 8) {
        level = (level << bits) | value;
        filled += bits;
    }
    return static_cast<BYTE>(level >> (filled - 8));
}

BYTE Mix(BYTE under, BYTE over, std::uint32_t coverage) {
    return static_cast<BYTE>((under * (255 - coverage) + over * coverage + 127) / 255);
}

} // namespace

bool IsUsableTarget(const GdiBitmapTarget& target) {
    bool knownDepth = target.bitsPerPixel == 1 || target.bitsPerPixel == 4 || target.bitsPerPixel == 8 ||
                      target.bitsPerPixel == 16 || target.bitsPerPixel == 24 || target.bitsPerPixel == 32;
    bool indexed = target.bitsPerPixel <= 8;
    return knownDepth && target.bits != nullptr && target.width > 0 && target.height > 0 &&
           target.width <= 0x7FFFFFFF && target.height <= 0x7FFFFFFF &&
           (!indexed || (target.palette != nullptr && target.paletteSize > 0));
}

GdiPixelTarget::GdiPixelTarget(const GdiBitmapTarget& target) : m_target(target) {
    if (target.bitsPerPixel <= 8) {
        m_palette = std::span<const RGBQUAD>(target.palette, target.paletteSize);
        return;
    }
    Masks masks{target.redMask, target.greenMask, target.blueMask};
    if (masks.red == 0 && masks.green == 0 && masks.blue == 0) {
        masks = DefaultMasks(target.bitsPerPixel);
    }
    auto channel = [](std::uint32_t mask) {
        return mask == 0 ? Channel{} : Channel{std::countr_zero(mask), std::popcount(mask)};
    };
    m_red = channel(masks.red);
    m_green = channel(masks.green);
    m_blue = channel(masks.blue);
}

RECT GdiPixelTarget::Bounds() const {
    return RECT{0, 0, static_cast<LONG>(m_target.width), static_cast<LONG>(m_target.height)};
}

std::uint8_t* GdiPixelTarget::Row(int y) const {
    return m_target.bits + static_cast<std::ptrdiff_t>(y) * m_target.pitch;
}

std::uint32_t GdiPixelTarget::Encode(COLORREF color) const {
    if (m_target.bitsPerPixel <= 8) {
        return NearestPaletteIndex(m_palette, GetRValue(color), GetGValue(color), GetBValue(color));
    }
    return (ChannelValue(GetRValue(color), m_red.bits) << m_red.shift) |
           (ChannelValue(GetGValue(color), m_green.bits) << m_green.shift) |
           (ChannelValue(GetBValue(color), m_blue.bits) << m_blue.shift);
}

COLORREF GdiPixelTarget::Decode(std::uint32_t value) const {
    if (m_target.bitsPerPixel <= 8) {
        if (value >= m_palette.size()) {
            return 0;
        }
        const RGBQUAD& entry = m_palette[value];
        return RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
    }
    auto level = [value](const Channel& channel) {
        if (channel.bits == 0) {
            return BYTE{0};
        }
        std::uint32_t mask = channel.bits >= 32 ? 0xFFFFFFFFu : ((1u << channel.bits) - 1);
        return ChannelLevel((value >> channel.shift) & mask, channel.bits);
    };
    return RGB(level(m_red), level(m_green), level(m_blue));
}

std::uint32_t GdiPixelTarget::ReadValue(int x, int y) const {
    const std::uint8_t* row = Row(y);
    switch (m_target.bitsPerPixel) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4;
    case 8:
        return row[x];
    default: {
        std::size_t bytes = m_target.bitsPerPixel / 8;
        const std::uint8_t* pixel = row + static_cast<std::size_t>(x) * bytes;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            value |= static_cast<std::uint32_t>(pixel[i]) << (8 * i);
        }
        return value;
    }
    }
}

void GdiPixelTarget::WriteValue(int x, int y, std::uint32_t value) {
    std::uint8_t* row = Row(y);
    switch (m_target.bitsPerPixel) {
    case 1: {
        auto bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        return;
    }
    case 4: {
        std::uint8_t& pair = row[x >> 1];
        pair = (x & 1) ? static_cast<std::uint8_t>((pair & 0xF0) | (value & 0x0F))
                       : static_cast<std::uint8_t>((pair & 0x0F) | ((value & 0x0F) << 4));
        return;
    }
    case 8:
        row[x] = static_cast<std::uint8_t>(value);
        return;
    default: {
        std::size_t bytes = m_target.bitsPerPixel / 8;
        std::uint8_t* pixel = row + static_cast<std::size_t>(x) * bytes;
        for (std::size_t i = 0; i < bytes; ++i) {
            pixel[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
        return;
    }
    }
}

void GdiPixelTarget::Fill(const RECT& area, COLORREF color) {
    std::uint32_t value = Encode(color);
    for (LONG y = area.top; y < area.bottom; ++y) {
        for (LONG x = area.left; x < area.right; ++x) {
            WriteValue(x, y, value);
        }
    }
}

void GdiPixelTarget::Blend(int x, int y, std::uint8_t coverage, COLORREF color) {
    if (coverage == 0) {
        return;
    }
    if (coverage == 255) {
        WriteValue(x, y, Encode(color));
        return;
    }
    COLORREF under = Decode(ReadValue(x, y));
    COLORREF mixed = RGB(Mix(GetRValue(under), GetRValue(color), coverage),
                         Mix(GetGValue(under), GetGValue(color), coverage),
                         Mix(GetBValue(under), GetBValue(color), coverage));
    WriteValue(x, y, Encode(mixed));
}

COLORREF GdiPixelTarget::Read(int x, int y) const {
    return Decode(ReadValue(x, y));
}

} // namespace win32::gdi
