#include "engines/image/effects/Avx2Support.h"
#include "engines/image/effects/PatternFill.h"

#include <cstring>

namespace Vemo {

#ifdef VEMO_AVX2_ROWS

namespace {

typedef std::uint32_t Dwords __attribute__((vector_size(32)));

VEMO_AVX2 void FillPatternAvx2(std::uint8_t* at, std::size_t bytes, std::uint32_t pattern) {
    const Dwords vector = Dwords{} + pattern;
    std::size_t done = 0;
    for (; done + sizeof vector <= bytes; done += sizeof vector) {
        std::memcpy(at + done, &vector, sizeof vector);
    }
    FillPatternTail(at + done, bytes - done, pattern);
}

} // namespace

PatternFill Avx2PatternFill() {
    return ProcessorHasAvx2() ? &FillPatternAvx2 : nullptr;
}

#else

PatternFill Avx2PatternFill() {
    return nullptr;
}

#endif

} // namespace Vemo
