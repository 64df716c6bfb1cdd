#include "engines/image/codecs/PCXStandardImageCodec.h"

#include "engines/image/codecs/PCXStandardImageHandle.h"
#include "foundation/String.h"

namespace Vemo {

PCXStandardImageCodec::PCXStandardImageCodec(StandardImageEngine* engine) : StandardImageCodec(engine) {}

PCXStandardImageCodec::~PCXStandardImageCodec() = default;

bool PCXStandardImageCodec::Identify(const void* data, std::uint32_t available, std::uint64_t, const File*,
                                     const String* extension) {
    if (data != nullptr &&
        !PCXStandardImageHandle::HasSignature(static_cast<const std::uint8_t*>(data), available)) {
        return false;
    }
    return extension == nullptr || ExtensionIsOneOf(*extension, {"PCX"});
}

StandardImageHandle* PCXStandardImageCodec::CreateHandle(const std::uint32_t* depth,
                                                         const PixelFormat* format,
                                                         const std::uint32_t* colorTag) {
    PixelFormat chosen;
    if (!IsImageColorTag(colorTag) ||
        !ChooseFormat(depth, format,
                      {StandardPixelFormat::None, StandardPixelFormat::Rgb24, StandardPixelFormat::Bgr24},
                      {{0, StandardPixelFormat::None}, {6, StandardPixelFormat::Rgb24}}, chosen)) {
        return nullptr;
    }
    return Configured(new PCXStandardImageHandle(GetEngine()), colorTag, chosen);
}

} // namespace Vemo
