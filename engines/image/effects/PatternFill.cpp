#include "engines/image/effects/PatternFill.h"

#include "engines/image/effects/PixelChunk.h"

namespace Vemo {

void FillPatternPortable(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern) {
    const PixelVector<std::uint32_t> vector = PixelVector<std::uint32_t>{} + pattern;
    std::size_t done = 0;
    for (; done + kVectorBytes <= bytes; done += kVectorBytes) {
        StoreVector(at + done, vector);
    }
    FillPatternTail(at + done, bytes - done, pattern);
}

void FillPattern(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern) {
    static const PatternFill fill = Avx2PatternFill() != nullptr ? Avx2PatternFill() : &FillPatternPortable;
    fill(at, bytes, pattern);
}

} // namespace Vemo
