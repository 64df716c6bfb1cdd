// Pixels worked as the compiler's vectors of 16 bytes (8 pixels of 16 bits, 4 of 32), whole-register
// instructions on the baseline x86-64 processor whatever the alignment, and a row chunk of four of them read
// whole before any of it is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Vemo {

inline constexpr std::size_t kVectorBytes = 16;
inline constexpr std::size_t kChunkVectors = 4;
inline constexpr std::size_t kChunkBytes = kVectorBytes * kChunkVectors;

template <class Word>
struct PixelVectorType;

template <>
struct PixelVectorType<std::uint16_t> {
    typedef std::uint16_t Type __attribute__((vector_size(kVectorBytes)));
};

template <>
struct PixelVectorType<std::uint32_t> {
    typedef std::uint32_t Type __attribute__((vector_size(kVectorBytes)));
};

template <class Word>
using PixelVector = typename PixelVectorType<Word>::Type;

template <class Word>
inline constexpr std::size_t kChunkPixels = kChunkBytes / sizeof(Word);

template <class Word>
inline PixelVector<Word> LoadVector(const std::uint8_t* at) {
    PixelVector<Word> vector;
    std::memcpy(&vector, at, sizeof vector);
    return vector;
}

template <class Vector>
inline void StoreVector(std::uint8_t* at, const Vector& vector) {
    std::memcpy(at, &vector, sizeof vector);
}

// A row chunk's pixels, its vector k at `at` + 16 k.
template <class Word>
struct PixelChunk {
    explicit PixelChunk(const std::uint8_t* at) {
        for (std::size_t k = 0; k < kChunkVectors; ++k) {
            vectors[k] = LoadVector<Word>(at + kVectorBytes * k);
        }
    }

    PixelVector<Word> vectors[kChunkVectors];
};

// The lanes of `pixels` whose bits under `mask` equal `value`, as all ones.
template <class Word>
inline PixelVector<Word> MatchingLanes(const PixelVector<Word>& pixels, Word mask, Word value) {
    return reinterpret_cast<PixelVector<Word>>((pixels & mask) == value);
}

// Whether any lane of a comparison's result is true (all ones).
template <class Vector>
inline bool AnyLane(const Vector& lanes) {
    std::uint64_t words[kVectorBytes / 8];
    std::memcpy(words, &lanes, sizeof words);
    return (words[0] | words[1]) != 0;
}

} // namespace Vemo
