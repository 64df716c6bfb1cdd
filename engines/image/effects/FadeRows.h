// The row work of the cross-fade: each function blends width pixels of the two source rows a and b into the
// destination row with the result of pixel-by-pixel work, left to right (each pixel read from both sources
// before it is written, so the destination may be a source row itself).
//
// A channel becomes a + T[b - a] by the fade table T[k] = (k x level + 128) >> 8 for k > 0 and -T[-k] below,
// level 0 to 256. FadeChannel computes it in closed form, so that the loops vectorise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vemo {

// a + T[b - a] for channels of up to 8 bits: (a (256 - level) + b level + 128 - [b < a]) >> 8, which never
// leaves 16 bits.
constexpr std::uint32_t FadeChannel(std::uint32_t a, std::uint32_t b, std::uint32_t level) {
    return (a * (256 - level) + b * level + 128 - (b < a ? 1 : 0)) >> 8;
}

using FadeRow = void (*)(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                         std::size_t width, std::uint32_t level);

// The blending rows written for one instruction set; every set gives the same pixels.
struct BlendRowSet {
    // 5-5-5: bits 10-14, 5-9 and 0-4 blended, bit 15 written 0.
    FadeRow rgb555;
    // 5-6-5: bits 11-15, 5-10 and 0-4.
    FadeRow rgb565;
    // 24-bit: each of the 3 x width bytes alone, whatever the byte order.
    FadeRow bytes24;
    // 32-bit with the colour in bytes 0-2: byte 3 written 0.
    FadeRow low32;
    // 32-bit with the colour in bytes 1-3: byte 0 written 0.
    FadeRow high32;
};

// In plain C++, for every processor.
const BlendRowSet& PortableBlendRows();
// With AVX2 (two to four times the portable speed), or null on a processor without it. Rows whose destination
// partly overlaps a source go to the portable rows, which keep the left-to-right order of the work.
const BlendRowSet* Avx2BlendRows();

// The rows of the fastest set that the processor runs.
void Blend555Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level);
void Blend565Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level);
void Blend24Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                 std::uint32_t level);
void Blend32LowRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                    std::size_t width, std::uint32_t level);
void Blend32HighRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                     std::size_t width, std::uint32_t level);

// The halving shortcut of the 16-bit formats: each channel floor(a / 2) + floor(b / 2), bit 15 of 5-5-5 0.
void Halve555Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level);
void Halve565Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level);

} // namespace Vemo
