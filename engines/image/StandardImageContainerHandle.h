// The image container handle of the standard image engine: it makes its graphic itself, from a
// ContainerGraphicSpec, through one of the Graphic opens, and its selected images are
// StandardImageContainerImages.
//
// Virtual operations are declared in their slot order, after the ImageContainerHandle's.
#pragma once

#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/image/ImageContainerHandle.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class ImageHandle;
class Resource;

// What a container graphic is made of. Zero values, a cleared format and null pointers are not given.
struct ContainerGraphicSpec {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t depth = 0;
    PaletteReference palette;
    std::uint32_t colorTag = 0;
    // A GraphicSystem::Memory placement.
    std::uint32_t graphicFlags = 0;
    PixelFormat pixelFormat;
    // An open Graphic to be compatible with.
    Resource* compatible = nullptr;
    // Caller memory, rows pitch bytes apart.
    bool hasMemory = false;
    void* memory = nullptr;
    std::int32_t pitch = 0;
    std::uint32_t graphicEngine = kGraphicTypeId;
    ImageHandle* imageHandle = nullptr;
};

class StandardImageContainerHandle : public ImageContainerHandle {
public:
    explicit StandardImageContainerHandle(ResourceEngine* engine);
    ~StandardImageContainerHandle() override;

    Image* CreateImage(const Image& image) override;
    // Makes the container graphic through the first that applies of: compatible with the request's resource,
    // over its memory, of its depth code when it has no pixel format, of its pixel format. False when the
    // graphic does not open; the container then has none.
    virtual bool CreateGraphic(const ContainerGraphicSpec& spec);
};

} // namespace Vemo
