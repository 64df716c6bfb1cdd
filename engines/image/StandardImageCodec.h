// The base of the standard image engine's codecs: one file format each. A codec tells whether bytes, or a
// file name's extension, are of its format and makes the image handles that read and write it.
//
// Identify is asked one question at a time: about bytes (data, the bytes available, the file's size), or
// about a name's extension (with the File it names, when there is one); what is not asked is null or 0.
// CreateHandle gets three nulls when an existing image is opened, and a depth code or a pixel format with a
// colour tag when a new image file is created; a codec refuses (null) what it cannot write.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/PixelFormat.h"

#include <cstdint>
#include <initializer_list>

namespace Vemo {

class File;
class StandardImageEngine;
class StandardImageHandle;
class String;

class StandardImageCodec {
public:
    explicit StandardImageCodec(StandardImageEngine* engine);
    StandardImageCodec(const StandardImageCodec&) = delete;
    StandardImageCodec& operator=(const StandardImageCodec&) = delete;

    // Before the codec joins the engine's list; a codec that answers false is not used.
    virtual bool Start();
    // Before the codec is deleted.
    virtual bool Stop();
    virtual bool Identify(const void* data, std::uint32_t available, std::uint64_t fileSize, const File* file,
                          const String* extension);
    // A new handle, not attached to any system.
    virtual StandardImageHandle* CreateHandle(const std::uint32_t* depth, const PixelFormat* format,
                                              const std::uint32_t* colorTag);
    virtual ~StandardImageCodec();

    StandardImageEngine* GetEngine() const { return m_engine; }

protected:
    // A depth code a codec writes, and the standard format it stands for (None: left to the graphic).
    struct DepthFormat {
        std::uint32_t depth;
        StandardPixelFormat format;
    };

    // Whether the extension is one of the names, compared without regard to case.
    static bool ExtensionIsOneOf(const String& extension, std::initializer_list<const char*> names);
    // The pixel format of a new image file: a given format must be one of the formats; otherwise a given
    // depth code must be one of the depths, and gives its format. False for what the codec does not write.
    static bool ChooseFormat(const std::uint32_t* depth, const PixelFormat* format,
                             std::initializer_list<StandardPixelFormat> formats,
                             std::initializer_list<DepthFormat> depths, PixelFormat& chosen);
    // The handle with the colour tag (when given) and the format.
    static StandardImageHandle* Configured(StandardImageHandle* handle, const std::uint32_t* colorTag,
                                           const PixelFormat& format);
    // Colour tags 0 and 1 (or none) are the only ones an image holds.
    static bool IsImageColorTag(const std::uint32_t* colorTag) {
        return colorTag == nullptr || *colorTag <= 1;
    }

private:
    StandardImageEngine* m_engine;
};

} // namespace Vemo
