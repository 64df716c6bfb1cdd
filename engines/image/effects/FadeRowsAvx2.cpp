// The blending rows with AVX2, on x86 processors that have it. The portable rows compute each channel with
// two products in 16-bit lanes; here one multiply-add of byte pairs (a, b) gives the product P = (b - a) x
// level of 16 channels at once, and a rounding multiply gives the fade table's step from it:
//
//   T[b - a] = (P + 128 - [P < 0]) >> 8 = pmulhrsw(P - [P < 0], 128).
//
// The pairs' weights are signed bytes, so levels from 128 up are worked from the second source with the
// weight 256 - level: P = (a - b) (256 - level) and b + ((P + 128 - [P > 0]) >> 8), as the table's tie goes
// to the second source. A weight of 128 is taken as 64 with the rounding multiplier doubled. A channel held
// s times its value (the red and green of 16-bit pixels, kept near their places) gives s P, and the
// multiplier divided by s gives the same step. Every step stays within 16 bits and is the table's exactly.
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

// What a level multiplies by: the byte pair (a, b) by `pairs`, a product by `rounding` (divided by the
// channel's scale).
struct Weights {
    Bytes pairs;
    int rounding;
};

VEMO_AVX2_INLINE Weights WeightsFor(std::uint32_t level) {
    const bool fromSecond = level >= 128;
    int weight = fromSecond ? 256 - static_cast<int>(level) : static_cast<int>(level);
    Weights weights{{}, 128};
    if (weight == 128) {
        weight = 64;
        weights.rounding = 256;
    }
    // First: -a l + b l = (b - a) l. Second: a w - b w = (a - b) w.
    const auto onA = static_cast<char>(fromSecond ? weight : -weight);
    const auto onB = static_cast<char>(fromSecond ? -weight : weight);
    for (std::size_t at = 0; at < kVectorBytes; at += 2) {
        weights.pairs[at] = onA;
        weights.pairs[at + 1] = onB;
    }
    return weights;
}

// 16 multipliers: `even` in the even lanes, `odd` in the odd ones.
VEMO_AVX2_INLINE Words AlternatingWords(int even, int odd) {
    Words words;
    for (std::size_t at = 0; at < kVectorBytes / 2; ++at) {
        words[at] = static_cast<short>(at % 2 == 0 ? even : odd);
    }
    return words;
}

// The table's step for each of 16 products.
template <bool FromSecond>
VEMO_AVX2_INLINE Words Step(Words product, Words multiplier) {
    const Words down = FromSecond ? reinterpret_cast<Words>(product > 0) : product >> 15;
    return __builtin_ia32_pmulhrsw256(product + down, multiplier);
}

// The steps of the channels whose byte pairs `pairs` holds, in 16-bit lanes.
template <bool FromSecond>
VEMO_AVX2_INLINE Words PairSteps(Bytes pairs, const Weights& weights, Words multiplier) {
    return Step<FromSecond>(__builtin_ia32_pmaddubsw256(pairs, weights.pairs), multiplier);
}

VEMO_AVX2_INLINE Bytes InterleaveLow(Bytes a, Bytes b) {
    return __builtin_shufflevector(a, b, 0, 32, 1, 33, 2, 34, 3, 35, 4, 36, 5, 37, 6, 38, 7, 39, 16, 48, 17,
                                   49, 18, 50, 19, 51, 20, 52, 21, 53, 22, 54, 23, 55);
}

VEMO_AVX2_INLINE Bytes InterleaveHigh(Bytes a, Bytes b) {
    return __builtin_shufflevector(a, b, 8, 40, 9, 41, 10, 42, 11, 43, 12, 44, 13, 45, 14, 46, 15, 47, 24, 56,
                                   25, 57, 26, 58, 27, 59, 28, 60, 29, 61, 30, 62, 31, 63);
}

// 32 channels of a and b (bytes at the same places) blended.
template <bool FromSecond>
VEMO_AVX2_INLINE UnsignedBytes BlendBytes(Bytes a, Bytes b, const Weights& weights) {
    const Words multiplier = Words{} + static_cast<short>(weights.rounding);
    const Words lowSteps = PairSteps<FromSecond>(InterleaveLow(a, b), weights, multiplier);
    const Words highSteps = PairSteps<FromSecond>(InterleaveHigh(a, b), weights, multiplier);
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
// (a 32-bit pattern) written 0. Answers how many pixels it did.
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

// The rows of a set: the pixels after the last whole group, and rows that overlap a source in part, go to
// the portable row.
template <std::size_t BytesPerPixel, std::uint32_t Keep, FadeRow BlendRowSet::*Portable>
VEMO_AVX2 void BlendByteRows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                             std::size_t width, std::uint32_t level) {
    std::size_t done = 0;
    if (CanRunWhole(destination, a, b, width * BytesPerPixel)) {
        done = level >= 128 ? BlendByteGroups<BytesPerPixel, Keep, true>(destination, a, b, width, level)
                            : BlendByteGroups<BytesPerPixel, Keep, false>(destination, a, b, width, level);
    }
    const std::size_t skip = done * BytesPerPixel;
    (PortableBlendRows().*Portable)(destination + skip, a + skip, b + skip, width - done, level);
}

// 16 pixels of 16 bits: red at RedShift (5 bits), green at 5 (GreenBits bits), blue at 0 (5 bits). Blue and
// red stay where they are, blue as the low byte and red as the top of the high byte (scaled by 2^(RedShift
// - 8)); their steps come back in bytes at the same places. Green runs shifted to the top of a byte.
template <int RedShift, int GreenBits, bool FromSecond>
VEMO_AVX2_INLINE UnsignedWords Blend16Pixels(UnsignedWords a, UnsignedWords b, const Weights& weights) {
    constexpr int kRedScale = 1 << (RedShift - 8);
    constexpr int kGreenUp = 8 - GreenBits;
    constexpr auto kBlueRed = static_cast<unsigned short>(0x1F | 0x1F << RedShift);
    constexpr auto kGreenTop = static_cast<unsigned short>(((1 << GreenBits) - 1) << kGreenUp);
    constexpr auto kGreenTopHigh = static_cast<unsigned short>(kGreenTop << 8);
    constexpr auto kGreen = static_cast<unsigned short>(((1 << GreenBits) - 1) << 5);

    const UnsignedWords blueRedA = a & kBlueRed;
    const UnsignedWords blueRedB = b & kBlueRed;
    const Words blueRedMultiplier = AlternatingWords(weights.rounding, weights.rounding / kRedScale);
    const Words redUp = AlternatingWords(1, kRedScale);
    const Bytes blueRedAsBytes = reinterpret_cast<Bytes>(blueRedA);
    const Bytes blueRedBAsBytes = reinterpret_cast<Bytes>(blueRedB);
    const Words lowSteps =
        PairSteps<FromSecond>(InterleaveLow(blueRedAsBytes, blueRedBAsBytes), weights, blueRedMultiplier) *
        redUp;
    const Words highSteps =
        PairSteps<FromSecond>(InterleaveHigh(blueRedAsBytes, blueRedBAsBytes), weights, blueRedMultiplier) *
        redUp;
    const auto blueRedSteps =
        reinterpret_cast<UnsignedBytes>(__builtin_ia32_packuswb256(lowSteps & 0xFF, highSteps & 0xFF));
    const auto blueRed = reinterpret_cast<UnsignedWords>(
        reinterpret_cast<UnsignedBytes>(FromSecond ? blueRedB : blueRedA) + blueRedSteps);

    const UnsignedWords greenPairs =
        (a >> (5 - kGreenUp) & kGreenTop) | (b << (3 + kGreenUp) & kGreenTopHigh);
    const Words greenSteps =
        PairSteps<FromSecond>(reinterpret_cast<Bytes>(greenPairs), weights,
                              Words{} + static_cast<short>(weights.rounding >> kGreenUp));
    const UnsignedWords green =
        ((FromSecond ? b : a) & kGreen) + (reinterpret_cast<UnsignedWords>(greenSteps) << 5);
    return blueRed | green;
}

template <int RedShift, int GreenBits, bool FromSecond>
VEMO_AVX2 std::size_t Blend16Groups(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                                    std::size_t width, std::uint32_t level) {
    constexpr std::size_t kGroupPixels = kVectorBytes / 2;
    const Weights weights = WeightsFor(level);
    std::size_t x = 0;
    for (; x + kGroupPixels <= width; x += kGroupPixels) {
        StoreVector(destination + 2 * x,
                    Blend16Pixels<RedShift, GreenBits, FromSecond>(
                        LoadVector<UnsignedWords>(a + 2 * x), LoadVector<UnsignedWords>(b + 2 * x), weights));
    }
    return x;
}

template <int RedShift, int GreenBits, FadeRow BlendRowSet::*Portable>
VEMO_AVX2 void Blend16Rows(std::uint8_t* destination, const std::uint8_t* a, const std::uint8_t* b,
                           std::size_t width, std::uint32_t level) {
    std::size_t done = 0;
    if (CanRunWhole(destination, a, b, 2 * width)) {
        done = level >= 128 ? Blend16Groups<RedShift, GreenBits, true>(destination, a, b, width, level)
                            : Blend16Groups<RedShift, GreenBits, false>(destination, a, b, width, level);
    }
    (PortableBlendRows().*Portable)(destination + 2 * done, a + 2 * done, b + 2 * done, width - done, level);
}

constexpr BlendRowSet kAvx2{
    &Blend16Rows<10, 5, &BlendRowSet::rgb555>,
    &Blend16Rows<11, 6, &BlendRowSet::rgb565>,
    &BlendByteRows<3, 0xFFFFFFFF, &BlendRowSet::bytes24>,
    &BlendByteRows<4, 0x00FFFFFF, &BlendRowSet::low32>,
    &BlendByteRows<4, 0xFFFFFF00, &BlendRowSet::high32>,
};

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
