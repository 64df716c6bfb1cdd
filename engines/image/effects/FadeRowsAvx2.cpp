// The blending rows with AVX2, on x86 processors that have it. The portable rows compute each channel with
// two products in 16-bit lanes; here one multiply-add of byte pairs gives the product (b - a) x level of 16
// channels at once, and a rounding multiply applies the fade table's rounding to its magnitude:
//
//   T[d] = sign(d) x ((|d| level + 128) >> 8), the magnitude being pmulhrsw(|d| level, 128).
//
// The pairs' weights are signed bytes, so levels from 128 up are worked from the second source as
// b + T'[a - b] with the weight 256 - level, where T' rounds a half step towards zero (the table's tie goes
// to the second source): sign(e) x ((|e| (256 - level) + 127) >> 8). A weight of 128 is taken as 64 with the
// rounding multiplier doubled. Every step stays within 16 bits and gives the table's value exactly.
#include "engines/image/effects/Avx2Support.h"
#include "engines/image/effects/FadeRows.h"

#include <cstring>

namespace Vemo {

#ifdef VEMO_AVX2_ROWS

namespace {

// The vector types of the builtins: 32 bytes, 16 words.
typedef char Bytes __attribute__((vector_size(32)));
typedef unsigned char UnsignedBytes __attribute__((vector_size(32)));
typedef short Words __attribute__((vector_size(32)));
typedef unsigned short UnsignedWords __attribute__((vector_size(32)));
typedef unsigned int Dwords __attribute__((vector_size(32)));

constexpr std::size_t kVectorBytes = 32;

// What a level multiplies by: the byte pair (a, b) by `pairs`, the magnitude by `rounding`.
struct Weights {
    Bytes pairs;
    Words rounding;
};

VEMO_AVX2_INLINE Weights WeightsFor(std::uint32_t level) {
    const bool fromSecond = level >= 128;
    int weight = fromSecond ? 256 - static_cast<int>(level) : static_cast<int>(level);
    int rounding = 128;
    if (weight == 128) {
        weight = 64;
        rounding = 256;
    }
    // First: -a l + b l = (b - a) l. Second: a w - b w = (a - b) w.
    const auto onA = static_cast<char>(fromSecond ? weight : -weight);
    const auto onB = static_cast<char>(fromSecond ? -weight : weight);
    Weights weights;
    for (std::size_t at = 0; at < kVectorBytes; at += 2) {
        weights.pairs[at] = onA;
        weights.pairs[at + 1] = onB;
    }
    for (std::size_t at = 0; at < kVectorBytes / 2; ++at) {
        weights.rounding[at] = static_cast<short>(rounding);
    }
    return weights;
}

// The table's step for each of 16 products.
template <bool FromSecond>
VEMO_AVX2_INLINE Words Step(Words product, const Weights& weights) {
    Words size = __builtin_ia32_psignw256(product, product);
    if constexpr (FromSecond) {
        size -= 1;
    }
    return __builtin_ia32_psignw256(__builtin_ia32_pmulhrsw256(size, weights.rounding), product);
}

// 32 channels of a and b (bytes at the same places) blended.
template <bool FromSecond>
VEMO_AVX2_INLINE UnsignedBytes BlendBytes(Bytes a, Bytes b, const Weights& weights) {
    const Bytes low = __builtin_shufflevector(a, b, 0, 32, 1, 33, 2, 34, 3, 35, 4, 36, 5, 37, 6, 38, 7, 39,
                                              16, 48, 17, 49, 18, 50, 19, 51, 20, 52, 21, 53, 22, 54, 23, 55);
    const Bytes high =
        __builtin_shufflevector(a, b, 8, 40, 9, 41, 10, 42, 11, 43, 12, 44, 13, 45, 14, 46, 15, 47, 24, 56,
                                25, 57, 26, 58, 27, 59, 28, 60, 29, 61, 30, 62, 31, 63);
    const Words lowSteps = Step<FromSecond>(__builtin_ia32_pmaddubsw256(low, weights.pairs), weights);
    const Words highSteps = Step<FromSecond>(__builtin_ia32_pmaddubsw256(high, weights.pairs), weights);
    const auto steps = reinterpret_cast<UnsignedBytes>(__builtin_ia32_packsswb256(lowSteps, highSteps));
    return reinterpret_cast<UnsignedBytes>(FromSecond ? b : a) + steps;
}

template <class Vector>
VEMO_AVX2_INLINE Vector LoadVector(const std::uint8_t* at) {
    Vector vector;
    std::memcpy(&vector, at, sizeof vector);
    return vector;
}

template <class Vector>
VEMO_AVX2_INLINE void StoreVector(std::uint8_t* at, const Vector& vector) {
    std::memcpy(at, &vector, sizeof vector);
}

// Whether the vectors give the left-to-right result: the destination is each source or lies apart from it.
bool CanRunWhole(const std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                 std::size_t bytes) {
    const auto apart = [&](const std::uint8_t* source) {
        const auto to = reinterpret_cast<std::uintptr_t>(destination);
        const auto from = reinterpret_cast<std::uintptr_t>(source);
        return to == from || to + bytes <= from || from + bytes <= to;
    };
    return apart(a) && apart(b);
}

// Rows of bytes blended alike, a group of whole pixels filling vectors at a time; the bytes outside `keep`
// (a 32-bit pattern) written 0. The pixels after the last group go to the portable row.
template <std::size_t BytesPerPixel, std::uint32_t Keep, bool FromSecond>
VEMO_AVX2 std::size_t BlendByteGroups(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                                      std::size_t width, std::uint32_t level) {
    constexpr std::size_t kGroupPixels = BytesPerPixel == 3 ? kVectorBytes : kVectorBytes / BytesPerPixel;
    constexpr std::size_t kGroupBytes = kGroupPixels * BytesPerPixel;
    const Weights weights = WeightsFor(level);
    Dwords keep = {};
    keep += Keep;
    std::size_t x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        const std::size_t at = x * BytesPerPixel;
        for (std::size_t part = 0; part < kGroupBytes; part += kVectorBytes) {
            const UnsignedBytes blended = BlendBytes<FromSecond>(LoadVector<Bytes>(a + at + part),
                                                                 LoadVector<Bytes>(b + at + part), weights);
            StoreVector(destination + at + part, blended & reinterpret_cast<UnsignedBytes>(keep));
        }
    }
    return x;
}

template <std::size_t BytesPerPixel, std::uint32_t Keep>
VEMO_AVX2 void BlendByteRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                             std::size_t width, std::uint32_t level, FadeRow portable) {
    std::size_t done = 0;
    if (CanRunWhole(destination, a, b, width * BytesPerPixel)) {
        done = level >= 128 ? BlendByteGroups<BytesPerPixel, Keep, true>(destination, a, b, width, level)
                            : BlendByteGroups<BytesPerPixel, Keep, false>(destination, a, b, width, level);
    }
    const std::size_t skip = done * BytesPerPixel;
    portable(destination + skip, a + skip, b + skip, width - done, level);
}

// 16 pixels of 16 bits, red at RedShift (5 bits), green at 5 (5 or 6 bits), blue at 0 (5 bits). Blue and red
// travel as the two bytes of a word, so their pairs run through the byte blend; green runs in words.
template <int RedShift, unsigned short GreenMask, bool FromSecond>
VEMO_AVX2_INLINE UnsignedWords Blend16Pixels(UnsignedWords a, UnsignedWords b, const Weights& weights) {
    constexpr int kRedDown = RedShift - 8;
    const UnsignedWords blueRedA = (a & 0x1F) | (a >> kRedDown & 0x1F00);
    const UnsignedWords blueRedB = (b & 0x1F) | (b >> kRedDown & 0x1F00);
    const auto blueRed = reinterpret_cast<UnsignedWords>(BlendBytes<FromSecond>(
        reinterpret_cast<Bytes>(blueRedA), reinterpret_cast<Bytes>(blueRedB), weights));
    const UnsignedWords greenA = a >> 5 & GreenMask;
    const UnsignedWords greenB = b >> 5 & GreenMask;
    const Words greenSteps = Step<FromSecond>(
        __builtin_ia32_pmaddubsw256(reinterpret_cast<Bytes>(greenA | greenB << 8), weights.pairs), weights);
    const UnsignedWords green = (FromSecond ? greenB : greenA) + reinterpret_cast<UnsignedWords>(greenSteps);
    return (blueRed & 0xFF) | (blueRed & 0xFF00) << kRedDown | green << 5;
}

template <int RedShift, unsigned short GreenMask, bool FromSecond>
VEMO_AVX2 std::size_t Blend16Groups(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                                    std::size_t width, std::uint32_t level) {
    constexpr std::size_t kGroupPixels = kVectorBytes / 2;
    const Weights weights = WeightsFor(level);
    std::size_t x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        StoreVector(destination + 2 * x,
                    Blend16Pixels<RedShift, GreenMask, FromSecond>(
                        LoadVector<UnsignedWords>(a + 2 * x), LoadVector<UnsignedWords>(b + 2 * x), weights));
    }
    return x;
}

template <int RedShift, unsigned short GreenMask>
VEMO_AVX2 void Blend16Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                           std::size_t width, std::uint32_t level, FadeRow portable) {
    std::size_t done = 0;
    if (CanRunWhole(destination, a, b, 2 * width)) {
        done = level >= 128 ? Blend16Groups<RedShift, GreenMask, true>(destination, a, b, width, level)
                            : Blend16Groups<RedShift, GreenMask, false>(destination, a, b, width, level);
    }
    portable(destination + 2 * done, a + 2 * done, b + 2 * done, width - done, level);
}

VEMO_AVX2 void Blend555(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                        std::size_t width, std::uint32_t level) {
    Blend16Rows<10, 0x1F>(destination, a, b, width, level, PortableBlendRows().rgb555);
}

VEMO_AVX2 void Blend565(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                        std::size_t width, std::uint32_t level) {
    Blend16Rows<11, 0x3F>(destination, a, b, width, level, PortableBlendRows().rgb565);
}

VEMO_AVX2 void Blend24(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                       std::size_t width, std::uint32_t level) {
    BlendByteRows<3, 0xFFFFFFFF>(destination, a, b, width, level, PortableBlendRows().bytes24);
}

VEMO_AVX2 void Blend32Low(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                          std::size_t width, std::uint32_t level) {
    BlendByteRows<4, 0x00FFFFFF>(destination, a, b, width, level, PortableBlendRows().low32);
}

VEMO_AVX2 void Blend32High(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                           std::size_t width, std::uint32_t level) {
    BlendByteRows<4, 0xFFFFFF00>(destination, a, b, width, level, PortableBlendRows().high32);
}

constexpr BlendRowSet kAvx2{&Blend555, &Blend565, &Blend24, &Blend32Low, &Blend32High};

} // namespace

const BlendRowSet* Avx2BlendRows() {
    return ProcessorHasAvx2() ? &kAvx2 : nullptr;
}

#else

const BlendRowSet* Avx2BlendRows() {
    return nullptr;
}

#endif

} // namespace Vemo
