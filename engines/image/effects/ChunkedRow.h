// The walk of a blit row in chunks, for routines whose per-pixel work runs on a whole chunk at once. A colour
// key makes a row branch on every pixel; tested a chunk at a time, the chunks that hold no transparent pixel
// (nearly all of them in a picture, all of them without a key) run whole, and only the others go pixel by
// pixel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Vemo {

// Whether a row may be worked in chunks of `chunkBytes`, source and destination pixels of one size: true
// unless the destination starts less than a chunk after the source, where a pixel written early feeds a later
// read of the same chunk.
inline bool ChunksKeepRowOrder(const std::uint8_t* destination, const std::uint8_t* source,
                               std::size_t chunkBytes) {
    const auto to = reinterpret_cast<std::uintptr_t>(destination);
    const auto from = reinterpret_cast<std::uintptr_t>(source);
    return to <= from || to - from >= chunkBytes;
}

// Left to right: when `chunked`, whole(x) for each run of Chunk pixels from x, which writes all of them and
// answers true, or writes none and answers false; one(x) for each pixel of the runs answered false and of the
// last, partial run. whole(x) must give the pixels that one(x) to one(x + Chunk - 1) give.
template <std::size_t Chunk, class Whole, class One>
inline void WalkChunkedRow(bool chunked, std::size_t width, Whole&& whole, One&& one) {
    std::size_t x = 0;
    for (; chunked && x + Chunk <= width; x += Chunk) {
        if (whole(x)) {
            continue;
        }
        for (std::size_t k = 0; k < Chunk; ++k) {
            one(x + k);
        }
    }
    for (; x < width; ++x) {
        one(x);
    }
}

} // namespace Vemo
