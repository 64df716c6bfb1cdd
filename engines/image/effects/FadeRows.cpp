#include "engines/image/effects/FadeRows.h"

#include "engines/image/effects/PixelWords.h"

namespace Vemo {

namespace {

// FadeChannel in 16-bit arithmetic: the sum fits 16 bits unsigned, so it may wrap as a signed 16-bit number
// (the shift reads it back unsigned). Signed lanes let the comparison and the products work on eight channels
// at once.
inline std::uint16_t Fade16(std::int16_t a, std::int16_t b, std::int16_t level, std::int16_t inverse) {
    const auto sum = static_cast<std::int16_t>(a * inverse + b * level + 128 - (b < a ? 1 : 0));
    return static_cast<std::uint16_t>(static_cast<std::uint16_t>(sum) >> 8);
}

template <int RedShift, int GreenShift, std::uint16_t RedMax, std::uint16_t GreenMax>
void Blend16(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
             std::uint32_t level) {
    const auto weight = static_cast<std::int16_t>(level);
    const auto inverse = static_cast<std::int16_t>(256 - level);
    const auto fade = [&](std::uint32_t first, std::uint32_t second, int shift, std::uint32_t max) {
        return static_cast<std::uint32_t>(Fade16(static_cast<std::int16_t>(first >> shift & max),
                                                 static_cast<std::int16_t>(second >> shift & max), weight,
                                                 inverse))
               << shift;
    };
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t first = Load16(a + 2 * x);
        const std::uint32_t second = Load16(b + 2 * x);
        Store16(destination + 2 * x, fade(first, second, RedShift, RedMax) |
                                         fade(first, second, GreenShift, GreenMax) |
                                         fade(first, second, 0, 0x1F));
    }
}

void BlendBytes(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t count,
                std::uint32_t level) {
    const auto weight = static_cast<std::int16_t>(level);
    const auto inverse = static_cast<std::int16_t>(256 - level);
    for (std::size_t at = 0; at < count; ++at) {
        destination[at] = static_cast<std::uint8_t>(Fade16(a[at], b[at], weight, inverse));
    }
}

// The 32-bit rows: every byte blended, then the byte that holds no colour cleared. A pixel's colour bytes
// depend on the same bytes of the sources only, so the second pass leaves the result of pixel-by-pixel work,
// even where the destination row is a source row.
void Blend32(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
             std::uint32_t level, std::uint32_t colorBytes) {
    BlendBytes(destination, a, b, 4 * width, level);
    for (std::size_t x = 0; x < width; ++x) {
        Store32(destination + 4 * x, Load32(destination + 4 * x) & colorBytes);
    }
}

template <std::uint16_t Mask>
void Halve16(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width) {
    for (std::size_t x = 0; x < width; ++x) {
        const std::uint32_t first = Load16(a + 2 * x);
        const std::uint32_t second = Load16(b + 2 * x);
        Store16(destination + 2 * x, (first >> 1 & Mask) + (second >> 1 & Mask));
    }
}

void Blend555(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
              std::uint32_t level) {
    Blend16<10, 5, 0x1F, 0x1F>(destination, a, b, width, level);
}

void Blend565(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
              std::uint32_t level) {
    Blend16<11, 5, 0x1F, 0x3F>(destination, a, b, width, level);
}

void Blend24(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
             std::uint32_t level) {
    BlendBytes(destination, a, b, 3 * width, level);
}

void Blend32Low(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                std::uint32_t level) {
    Blend32(destination, a, b, width, level, 0x00FFFFFF);
}

void Blend32High(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                 std::uint32_t level) {
    Blend32(destination, a, b, width, level, 0xFFFFFF00);
}

constexpr BlendRowSet kPortable{&Blend555, &Blend565, &Blend24, &Blend32Low, &Blend32High};

const BlendRowSet& Fastest() {
    static const BlendRowSet& rows = Avx2BlendRows() != nullptr ? *Avx2BlendRows() : kPortable;
    return rows;
}

} // namespace

const BlendRowSet& PortableBlendRows() {
    return kPortable;
}

void Blend555Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level) {
    Fastest().rgb555(destination, a, b, width, level);
}

void Blend565Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t level) {
    Fastest().rgb565(destination, a, b, width, level);
}

void Blend24Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                 std::uint32_t level) {
    Fastest().bytes24(destination, a, b, width, level);
}

void Blend32LowRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                    std::size_t width, std::uint32_t level) {
    Fastest().low32(destination, a, b, width, level);
}

void Blend32HighRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                     std::size_t width, std::uint32_t level) {
    Fastest().high32(destination, a, b, width, level);
}

void Halve555Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t) {
    Halve16<0x3DEF>(destination, a, b, width);
}

void Halve565Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b, std::size_t width,
                  std::uint32_t) {
    Halve16<0x7BEF>(destination, a, b, width);
}

} // namespace Vemo
