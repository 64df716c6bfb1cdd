// The BMP codec: recognises Windows device-independent bitmap files and makes the handles that read them.
// BMP files are read only: the codec refuses every new file.
#pragma once

#include "engines/image/StandardImageCodec.h"

namespace Vemo {

class BMPStandardImageCodec : public StandardImageCodec {
public:
    explicit BMPStandardImageCodec(StandardImageEngine* engine);
    ~BMPStandardImageCodec() override;

    // Bytes: at least 14, "BM", a file-size field equal to the file's size and a header size of 12, 40, 108
    // or 124. An extension: "BMP" in any case; an empty one is refused.
    bool Identify(const void* data, std::uint32_t available, std::uint64_t fileSize, const File* file,
                  const String* extension) override;
    // A handle for an existing file; null for a new one, and for a colour tag other than 0 or 1.
    StandardImageHandle* CreateHandle(const std::uint32_t* depth, const PixelFormat* format,
                                      const std::uint32_t* colorTag) override;
};

} // namespace Vemo
