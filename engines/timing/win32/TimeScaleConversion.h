// The conversions of a Win32 timer handle between its native unit and the four time scales: a value in a
// finer scale is the native value multiplied, in a coarser one divided (truncating). A scale that is none of
// the four converts as the native unit.
#pragma once

#include <cstdint>

namespace Vemo {

class TimeScaleConversion {
public:
    explicit constexpr TimeScaleConversion(std::uint32_t nativeMicroseconds) : m_native(nativeMicroseconds) {}

    // A native value in the scale, exact in 64 bits.
    std::uint64_t ToScale(std::uint64_t native, std::uint32_t scale) const;
    // A value in the scale as a native value, exact in 64 bits.
    std::uint64_t FromScale(std::uint32_t value, std::uint32_t scale) const;
    // Scale units per native unit; 0 when the native unit is the coarser.
    std::uint32_t Resolution(std::uint32_t scale) const;

    // A value that does not fit in 32 bits reads as 0xFFFFFFFF.
    static std::uint32_t Saturate(std::uint64_t value);
    // Ticks beyond what a timer's counter holds (2^31 - 1) are dropped.
    static std::int32_t TickCount(std::uint64_t periods);

private:
    std::uint64_t ScaleMicroseconds(std::uint32_t scale) const;

    std::uint32_t m_native;
};

} // namespace Vemo
