#include "engines/image/StandardImageSourceReader.h"

namespace Vemo {

StandardImageSourceReader::StandardImageSourceReader() = default;

StandardImageSourceReader::~StandardImageSourceReader() = default;

bool StandardImageSourceReader::Begin(std::uint32_t width, std::uint32_t height, std::uint32_t bits,
                                      std::uint32_t colorTag, Graphic* source, bool topDown) {
    return Hold(width, height, bits, colorTag, source, topDown);
}

} // namespace Vemo
