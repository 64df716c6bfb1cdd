// The image container front-end: a graphic that images are decoded into and encoded from, one at a time.
// Opened on an image file (by path) it makes a graphic of the image's size and format, or of the size and
// format given, selects the image and decodes it; opened on an open Image it only makes the graphic; created
// empty (a size with a format or depth, caller memory, or compatible with another graphic) it can be drawn
// into and written out through an image created for writing.
//
// The graphic flags (a GraphicSystem::Memory placement), colour tag, graphic engine id and pitch are handed
// unchanged to the Graphic open that makes the container graphic; the family ids of the graphic and image
// engines stand for any engine. Without a handle every forwarding operation reports ResourceSystemErrNoHandle
// and answers false.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/image/ImageSystemResource.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class Graphic;
class Image;
class ImageContainerHandle;
class ImageSearchCriterion;
class ImageSystem;
class Path;

class ImageContainer : public ImageSystemResource {
public:
    ImageContainer();
    ~ImageContainer() override;

    // Also keeps the handle as an ImageContainerHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // A graphic for the open image (ResourceSystemErrNoHandle when it is not open), of its format, of the
    // given format or of the depth code; nothing is selected or decoded.
    virtual bool Open(const Image& image, std::uint32_t graphicFlags);
    virtual bool Open(const Image& image, const PixelFormat* format, std::uint32_t graphicFlags);
    virtual bool Open(const Image& image, std::uint32_t depth, std::uint32_t graphicFlags);
    // An empty container over the caller's memory, rows pitch bytes apart (0: the engine's choice). Before
    // the open: GraphicSystemErrNoWidth, ...NoHeight, ...NoColorTag, ...NoPlacement (graphic flags 0) and,
    // for a non-zero pitch, GraphicSystemErrPitchTooShort, in that order.
    virtual bool Create(void* memory, std::uint32_t width, std::uint32_t height, const PixelFormat* format,
                        std::int32_t pitch, std::uint32_t graphicFlags, std::uint32_t colorTag,
                        std::uint32_t graphicEngineId = kGraphicTypeId,
                        std::uint32_t engineId = kImageTypeId);
    // An empty container whose graphic is made compatible with the open graphic resource.
    virtual bool Create(Resource& compatible, std::uint32_t width, std::uint32_t height,
                        std::uint32_t graphicFlags, std::uint32_t graphicEngineId = kGraphicTypeId,
                        std::uint32_t engineId = kImageTypeId);
    virtual bool Create(std::uint32_t width, std::uint32_t height, const PixelFormat* format,
                        std::uint32_t graphicFlags, std::uint32_t colorTag,
                        std::uint32_t graphicEngineId = kGraphicTypeId,
                        std::uint32_t engineId = kImageTypeId);
    virtual bool Create(std::uint32_t width, std::uint32_t height, std::uint32_t depth,
                        std::uint32_t graphicFlags, PaletteReference palette, std::uint32_t colorTag,
                        std::uint32_t graphicEngineId = kGraphicTypeId,
                        std::uint32_t engineId = kImageTypeId);
    // The image file at the path, decoded at once into a graphic of its own format, of the given format or
    // of the depth code, with the decode options.
    virtual bool Open(const Path& path, std::uint32_t graphicFlags, std::uint8_t dither,
                      const TaggedColor* keyColor);
    virtual bool Open(const Path& path, const PixelFormat* format, std::uint32_t graphicFlags,
                      std::uint8_t dither, const TaggedColor* keyColor);
    virtual bool Open(const Path& path, std::uint32_t depth, std::uint32_t graphicFlags, std::uint8_t dither,
                      const TaggedColor* keyColor);
    // The other container's handle, counted once more.
    virtual bool Share(const ImageContainer& other);
    virtual bool SelectImage(const Image& image);
    virtual bool ReleaseImage();
    virtual bool GetCurrentImage(Image& out);
    virtual bool DecodeCurrentImage();
    virtual bool SaveCurrentImage(std::uint8_t fileMode);
    virtual bool GetGraphic(Graphic& out);
    virtual bool SetDecodeOptions(bool dither, const TaggedColor* keyColor);

    ImageContainerHandle* GetContainerHandle() const { return m_containerHandle; }

private:
    // The system's open of the criterion a form filled, as a container.
    bool OpenContainer(ImageSystem* system, ImageSearchCriterion& criterion, std::uint32_t engineId);
    // The criterion of the opens on an image, after the checks.
    bool OpenOnImage(const Image& image, const PixelFormat* format, const std::uint32_t* depth,
                     std::uint32_t graphicFlags);
    bool OpenOnPath(const Path& path, const PixelFormat* format, const std::uint32_t* depth,
                    std::uint32_t graphicFlags, std::uint8_t dither, const TaggedColor* keyColor);
    ImageContainerHandle* Handle();

    ImageContainerHandle* m_containerHandle = nullptr;
};

} // namespace Vemo
