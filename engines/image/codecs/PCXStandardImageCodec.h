// The PCX codec: recognises PCX version 5 files and makes the handles that read them and write 24-bit
// three-plane files.
#pragma once

#include "engines/image/StandardImageCodec.h"

namespace Vemo {

class PCXStandardImageCodec : public StandardImageCodec {
public:
    explicit PCXStandardImageCodec(StandardImageEngine* engine);
    ~PCXStandardImageCodec() override;

    // Bytes: at least 128, manufacturer 10, version 5, encoding 0 or 1, 1 or 8 bits per pixel. An
    // extension: "PCX" in any case; an empty one is refused.
    bool Identify(const void* data, std::uint32_t available, std::uint64_t fileSize, const File* file,
                  const String* extension) override;
    // A colour tag other than 0 or 1 is refused, and so is a new file this codec cannot write: formats 1 and
    // 4 (1-bit and 8-bit indexed), depth codes 1 and 4. Formats 0, 9 and 10 and depth codes 0 and 6 are taken
    // (0: the graphic's depth decides when encoding).
    StandardImageHandle* CreateHandle(const std::uint32_t* depth, const PixelFormat* format,
                                      const std::uint32_t* colorTag) override;
};

} // namespace Vemo
