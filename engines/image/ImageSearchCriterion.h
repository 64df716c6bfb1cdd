// What an Image or an ImageContainer asks the Image System for. It only points at the caller's values and
// owns nothing; a null pointer is a value not given.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/PixelFormat.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class File;
class ImageHandle;
class Path;
class Resource;

class ImageSearchCriterion : public ResourceSearchCriterion {
public:
    static constexpr std::uint32_t kImage = 1;
    static constexpr std::uint32_t kContainer = 2;

    // Kind image, open existing, every pointer null.
    explicit ImageSearchCriterion(std::uint32_t systemTypeId = kImageTypeId,
                                  std::uint32_t searchMode = kSearchQuick);
    ~ImageSearchCriterion() override;

    std::uint32_t m_kind = kImage;
    // 1: open something that exists; 0: create a new image file to be written.
    std::uint8_t m_openExisting = 1;
    // Encoded image bytes in memory and their count.
    const void* m_data = nullptr;
    const std::uint32_t* m_size = nullptr;
    const File* m_file = nullptr;
    const Path* m_path = nullptr;
    // Passed to the File's create when a new image file is made.
    const std::uint8_t* m_fileMode = nullptr;
    // Size of a container graphic.
    const std::uint32_t* m_width = nullptr;
    const std::uint32_t* m_height = nullptr;
    // Palette of a container graphic made from a depth code.
    const PaletteReference* m_palette = nullptr;
    // The graphic flags (a GraphicSystem::Memory placement), passed on to the Graphic opens.
    const std::uint32_t* m_graphicFlags = nullptr;
    // A container graphic is made compatible with this open graphic.
    Resource* m_compatible = nullptr;
    // Caller memory for a container graphic, and the byte distance between its rows.
    void* const* m_memory = nullptr;
    const std::int32_t* m_pitch = nullptr;
    // The graphic engine of the container graphic; null for any.
    const std::uint32_t* m_graphicEngine = nullptr;
    // An open image to build a container around.
    ImageHandle* m_imageHandle = nullptr;
    // The container's decode options.
    const std::uint8_t* m_ditherFlag = nullptr;
    const TaggedColor* m_keyColor = nullptr;
    // Depth code, pixel format and colour tag of an image or container to create.
    const std::uint32_t* m_depth = nullptr;
    const PixelFormat* m_pixelFormat = nullptr;
    const std::uint32_t* m_colorTag = nullptr;
};

} // namespace Vemo
