#include "engines/image/codecs/BMPStandardImageCodec.h"

#include "engines/image/codecs/BMPStandardImageHandle.h"
#include "foundation/String.h"

namespace Vemo {

BMPStandardImageCodec::BMPStandardImageCodec(StandardImageEngine* engine) : StandardImageCodec(engine) {}

BMPStandardImageCodec::~BMPStandardImageCodec() = default;

bool BMPStandardImageCodec::Identify(const void* data, std::uint32_t available, std::uint64_t fileSize,
                                     const File*, const String* extension) {
    if (data != nullptr) {
        BMPStandardImageHandle::FileHeader header;
        if (!BMPStandardImageHandle::ReadFileHeader(static_cast<const std::uint8_t*>(data), available,
                                                    header) ||
            fileSize != header.fileSize) {
            return false;
        }
    }
    return extension == nullptr || ExtensionIsOneOf(*extension, {"BMP"});
}

StandardImageHandle* BMPStandardImageCodec::CreateHandle(const std::uint32_t* depth,
                                                         const PixelFormat* format,
                                                         const std::uint32_t* colorTag) {
    if (depth != nullptr || format != nullptr || !IsImageColorTag(colorTag)) {
        return nullptr;
    }
    return Configured(new BMPStandardImageHandle(GetEngine()), colorTag, PixelFormat());
}

} // namespace Vemo
