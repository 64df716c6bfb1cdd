#include "engines/image/codecs/JPEGStandardImageCodec.h"

#include "engines/image/codecs/JPEGStandardImageHandle.h"
#include "foundation/String.h"

#include <cstring>

namespace Vemo {

JPEGStandardImageCodec::JPEGStandardImageCodec(StandardImageEngine* engine) : StandardImageCodec(engine) {}

JPEGStandardImageCodec::~JPEGStandardImageCodec() = default;

bool JPEGStandardImageCodec::Identify(const void* data, std::uint32_t available, std::uint64_t, const File*,
                                      const String* extension) {
    if (data != nullptr && available != 0) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        static const std::uint8_t kStart[4] = {0xFF, 0xD8, 0xFF, 0xE0};
        static const std::uint8_t kJfif[5] = {'J', 'F', 'I', 'F', 0};
        if (available > 4 && std::memcmp(bytes, kStart, sizeof kStart) != 0) {
            return false;
        }
        if (available >= 7 && (bytes[4] << 8 | bytes[5]) < 16) {
            return false;
        }
        if (available > 11 && std::memcmp(bytes + 6, kJfif, sizeof kJfif) != 0) {
            return false;
        }
    }
    return extension == nullptr || extension->IsEmpty() || ExtensionIsOneOf(*extension, {"JPG", "JPEG"});
}

StandardImageHandle* JPEGStandardImageCodec::CreateHandle(const std::uint32_t* depth,
                                                          const PixelFormat* format,
                                                          const std::uint32_t* colorTag) {
    PixelFormat chosen;
    if (!IsImageColorTag(colorTag) || !ChooseFormat(depth, format,
                                                    {StandardPixelFormat::None, StandardPixelFormat::Indexed8,
                                                     StandardPixelFormat::Rgb24, StandardPixelFormat::Bgr24},
                                                    {{0, StandardPixelFormat::None},
                                                     {4, StandardPixelFormat::Indexed8},
                                                     {6, StandardPixelFormat::Rgb24}},
                                                    chosen)) {
        return nullptr;
    }
    return Configured(new JPEGStandardImageHandle(GetEngine()), colorTag, chosen);
}

} // namespace Vemo
