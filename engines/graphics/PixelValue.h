// A colour word in the Windows COLORREF order: red in bits 0-7, green in 8-15, blue in 16-23, and a spare top
// byte that no conversion reads (0 in every value a conversion makes). It converts to and from its 32-bit
// word.
#pragma once

#include <cstdint>

namespace Vemo {

class PixelValue {
public:
    constexpr PixelValue() = default;
    constexpr PixelValue(std::uint32_t value) : m_value(value) {}
    constexpr PixelValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
        : m_value(red | static_cast<std::uint32_t>(green) << 8 | static_cast<std::uint32_t>(blue) << 16) {}

    constexpr operator std::uint32_t() const { return m_value; }

    constexpr std::uint8_t Red() const { return static_cast<std::uint8_t>(m_value); }
    constexpr std::uint8_t Green() const { return static_cast<std::uint8_t>(m_value >> 8); }
    constexpr std::uint8_t Blue() const { return static_cast<std::uint8_t>(m_value >> 16); }
    // The 24 colour bits, without the spare byte.
    constexpr std::uint32_t Rgb() const { return m_value & 0xFFFFFF; }

    // The value as a surface of targetTag reads it: unchanged when the tags agree, else black with all 32
    // bits 0.
    static constexpr PixelValue Convert(std::uint32_t valueTag, PixelValue value, std::uint32_t targetTag) {
        return valueTag == targetTag ? value : PixelValue();
    }

private:
    std::uint32_t m_value = 0;
};

static_assert(sizeof(PixelValue) == 4);

} // namespace Vemo
