// The image front-end: one encoded image, opened from a file, a File or memory, or created as a new file
// to be written. Every operation forwards to its image handle; without one it reports
// ResourceSystemErrNoHandle and answers 0, false, an empty size or format, or the default colour tag 1.
//
// The opens and creates refuse an open image (ResourceSystemErrAlreadyOpen) and a missing Image System
// (ResourceSystemErrNoSystem); when the system opens nothing they report ResourceSystemErrOpenFailed. An
// engine id equal to the family's (kImageTypeId) accepts any image engine.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/image/ImageSystemResource.h"
#include "foundation/Rect.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class File;
class ImageHandle;
class ImageSearchCriterion;
class Path;

class Image : public ImageSystemResource {
public:
    Image();
    // Gives the handle back while the front-end is still an Image.
    ~Image() override;

    // Also keeps the handle as an ImageHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // A new image file of the format, or of the depth code, at the path; the mode is passed to the File's
    // create.
    virtual bool Create(const Path& path, const PixelFormat* format, std::uint8_t fileMode,
                        std::uint32_t colorTag, std::uint32_t engineId = kImageTypeId);
    virtual bool Create(const Path& path, std::uint32_t depth, std::uint8_t fileMode, std::uint32_t colorTag,
                        std::uint32_t engineId = kImageTypeId);
    // An image in the caller's memory, which must outlive the image's handle. Null data answers false at
    // once, reporting nothing.
    virtual bool Open(const void* data, std::uint32_t size, std::uint32_t engineId = kImageTypeId);
    virtual bool Open(const File& file, std::uint32_t engineId = kImageTypeId);
    virtual bool Open(const Path& path, std::uint32_t engineId = kImageTypeId);
    // The other image's handle, counted once more; ResourceSystemErrNoHandle when the other has none and
    // ResourceSystemErrShareFailed when the system refuses.
    virtual bool Share(const Image& other);

    virtual std::uint32_t GetWidth();
    virtual std::uint32_t GetHeight();
    virtual Size GetSize();
    virtual std::uint32_t GetDepth();
    virtual std::uint32_t GetColorTag();
    virtual bool HasPalette();
    virtual PixelFormat GetPixelFormat();
    virtual bool Load();
    virtual bool Save(std::uint8_t fileMode);
    virtual bool Unload();
    virtual bool Decode(bool dither, const TaggedColor* keyColor);
    virtual bool Encode();

    ImageHandle* GetImageHandle() const { return m_imageHandle; }

private:
    // The open steps every form shares, after the form has filled its part of the criterion.
    bool OpenWith(ImageSearchCriterion& criterion, std::uint32_t engineId);
    // The handle, or null with ResourceSystemErrNoHandle reported.
    ImageHandle* Handle();

    ImageHandle* m_imageHandle = nullptr;
};

} // namespace Vemo
