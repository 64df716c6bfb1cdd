// BMP files from any bytes: identification, the header reader, decoding into graphics of every kind and
// writing the result again. Nothing may crash, hang or touch memory it does not own, whatever the headers
// say.
#include "fuzz/ImageFuzzSession.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ImageFuzzSession::Instance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ImageFuzzSession::Instance().Exercise(data, size, "fuzz.bmp");
    return 0;
}
