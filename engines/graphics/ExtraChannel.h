// What the fourth mask of a pixel format holds, as an 8-byte record: the usage in the low byte of the first
// word (0 none, 1 alpha, 2 depth) with a 24-bit value above it, and two 12-bit values in the low 12 bits of
// each half of the second word. Every value this system builds holds 0 in the 24-bit and the 12-bit values.
// The image code knows the record as the palette reference of an indexed format.
#pragma once

#include <cstdint>

namespace Vemo {

class ExtraChannel {
public:
    static constexpr std::uint8_t kUsageNone = 0;
    static constexpr std::uint8_t kUsageAlpha = 1;
    static constexpr std::uint8_t kUsageDepth = 2;

    constexpr ExtraChannel() = default;
    constexpr explicit ExtraChannel(std::uint8_t usage, std::uint16_t firstValue = 0,
                                    std::uint16_t secondValue = 0) {
        Set(usage, firstValue, secondValue);
    }

    // The 12-bit values keep their low 12 bits; the 24-bit value becomes 0.
    constexpr void Set(std::uint8_t usage, std::uint16_t firstValue, std::uint16_t secondValue) {
        m_first = usage;
        m_second = (firstValue & 0xFFFu) | static_cast<std::uint32_t>(secondValue & 0xFFFu) << 16;
    }

    constexpr std::uint8_t GetUsage() const { return static_cast<std::uint8_t>(m_first); }
    constexpr std::uint16_t GetFirstValue() const { return static_cast<std::uint16_t>(m_second & 0xFFF); }
    constexpr std::uint16_t GetSecondValue() const {
        return static_cast<std::uint16_t>(m_second >> 16 & 0xFFF);
    }

    // The default state: usage and both 12-bit values 0.
    constexpr bool IsEmpty() const { return Matches(ExtraChannel()); }
    // The same usage and 12-bit values; the 24-bit value is not compared.
    constexpr bool Matches(const ExtraChannel& wanted) const {
        return GetUsage() == wanted.GetUsage() && GetFirstValue() == wanted.GetFirstValue() &&
               GetSecondValue() == wanted.GetSecondValue();
    }

    // Compares the first words only.
    constexpr bool operator==(const ExtraChannel& other) const { return m_first == other.m_first; }

private:
    std::uint32_t m_first = 0;
    std::uint32_t m_second = 0;
};

using PaletteReference = ExtraChannel;

static_assert(sizeof(ExtraChannel) == 8);

} // namespace Vemo
