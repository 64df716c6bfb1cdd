// The JPEG codec: recognises JFIF files and makes the handles that read and write them through libjpeg.
#pragma once

#include "engines/image/StandardImageCodec.h"

namespace Vemo {

class JPEGStandardImageCodec : public StandardImageCodec {
public:
    explicit JPEGStandardImageCodec(StandardImageEngine* engine);
    ~JPEGStandardImageCodec() override;

    // Bytes, as far as there are enough of them: start of image and an APP0 marker (more than 4 bytes), a
    // segment length of at least 16 (7 or more), "JFIF" and a zero byte (more than 11); 4 bytes or fewer are
    // not looked at. An extension: missing, empty, "JPG" or "JPEG" in any case.
    bool Identify(const void* data, std::uint32_t available, std::uint64_t fileSize, const File* file,
                  const String* extension) override;
    // A colour tag other than 0 or 1 is refused; so are formats other than 0, 4, 9 and 10 and depth codes
    // other than 0, 4 and 6. Depth code 4 gives format 4, depth code 6 format 9.
    StandardImageHandle* CreateHandle(const std::uint32_t* depth, const PixelFormat* format,
                                      const std::uint32_t* colorTag) override;
};

} // namespace Vemo
