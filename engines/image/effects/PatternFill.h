// Row fills with a pixel pattern: the drawing colour of 16- and 32-bit spans written whole registers at a
// time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Vemo {

// Writes the four bytes of `pattern`, lowest first, over and over into `bytes` bytes from `at` (the last
// repetition cut short).
using PatternFill = void (*)(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern);

// In plain C++, for every processor.
void FillPatternPortable(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern);
// With AVX2's 32-byte stores, or null on a processor without it.
PatternFill Avx2PatternFill();

// The end of a fill after whole vectors: `bytes` from `at`, which starts a repetition of the pattern.
inline void FillPatternTail(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern) {
    std::size_t done = 0;
    for (; done + sizeof pattern <= bytes; done += sizeof pattern) {
        std::memcpy(at + done, &pattern, sizeof pattern);
    }
    std::memcpy(at + done, &pattern, bytes - done);
}

// The fastest fill that the processor runs.
void FillPattern(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern);

} // namespace Vemo
