#include "engines/image/StandardImageCodec.h"

#include "engines/image/StandardImageHandle.h"
#include "foundation/String.h"

#include <cstring>

namespace Vemo {

StandardImageCodec::StandardImageCodec(StandardImageEngine* engine) : m_engine(engine) {}

StandardImageCodec::~StandardImageCodec() = default;

bool StandardImageCodec::Start() {
    return true;
}

bool StandardImageCodec::Stop() {
    return true;
}

bool StandardImageCodec::Identify(const void*, std::uint32_t, std::uint64_t, const File*, const String*) {
    return false;
}

StandardImageHandle* StandardImageCodec::CreateHandle(const std::uint32_t*, const PixelFormat*,
                                                      const std::uint32_t*) {
    return nullptr;
}

bool StandardImageCodec::ExtensionIsOneOf(const String& extension, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const auto length = static_cast<std::uint32_t>(std::strlen(name));
        if (extension.Length() == length && CompareNoCase(extension.CStr(), name, length) == 0) {
            return true;
        }
    }
    return false;
}

bool StandardImageCodec::ChooseFormat(const std::uint32_t* depth, const PixelFormat* format,
                                      std::initializer_list<StandardPixelFormat> formats,
                                      std::initializer_list<DepthFormat> depths, PixelFormat& chosen) {
    chosen.Clear();
    if (format != nullptr) {
        for (StandardPixelFormat accepted : formats) {
            if (format->format == accepted) {
                chosen = *format;
                return true;
            }
        }
        return false;
    }
    if (depth == nullptr) {
        return true;
    }
    for (const DepthFormat& accepted : depths) {
        if (*depth == accepted.depth) {
            chosen = PixelFormat(accepted.format);
            return true;
        }
    }
    return false;
}

StandardImageHandle* StandardImageCodec::Configured(StandardImageHandle* handle,
                                                    const std::uint32_t* colorTag,
                                                    const PixelFormat& format) {
    if (colorTag != nullptr) {
        handle->SetColorTag(*colorTag);
    }
    handle->SetPixelFormat(format);
    return handle;
}

} // namespace Vemo
