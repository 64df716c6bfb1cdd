#include "engines/image/ImageContainer.h"

#include "engines/graphics/DepthCode.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/image/Image.h"
#include "engines/image/ImageContainerHandle.h"
#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/ImageSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

namespace {

// Points the criterion's graphic engine at the id unless it stands for any graphic engine.
void WantGraphicEngine(ImageSearchCriterion& criterion, const std::uint32_t& graphicEngineId) {
    if (graphicEngineId != kGraphicTypeId) {
        criterion.m_graphicEngine = &graphicEngineId;
    }
}

// The first thing wrong with a graphic over caller memory, in the order the graphic's own open checks it;
// 0 when nothing is.
ErrorCode CheckMemoryGraphic(std::uint32_t width, std::uint32_t height, const PixelFormat* format,
                             std::int32_t pitch, std::uint32_t graphicFlags, std::uint32_t colorTag) {
    if (width == 0) {
        return GraphicSystemErrNoWidth;
    }
    if (height == 0) {
        return GraphicSystemErrNoHeight;
    }
    if (colorTag == 0) {
        return GraphicSystemErrNoColorTag;
    }
    if (graphicFlags == 0) {
        return GraphicSystemErrNoPlacement;
    }
    if (pitch != 0 && format != nullptr && PixelsFromBytes(pitch, format->depth) < width) {
        return GraphicSystemErrPitchTooShort;
    }
    return 0;
}

} // namespace

ImageContainer::ImageContainer() = default;

ImageContainer::~ImageContainer() {
    ReleaseHandle();
}

void ImageContainer::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_containerHandle = dynamic_cast<ImageContainerHandle*>(handle);
}

bool ImageContainer::OpenContainer(ImageSystem* system, ImageSearchCriterion& criterion,
                                   std::uint32_t engineId) {
    criterion.m_kind = ImageSearchCriterion::kContainer;
    return OpenThrough(system, criterion, engineId);
}

bool ImageContainer::OpenOnImage(const Image& image, const PixelFormat* format, const std::uint32_t* depth,
                                 std::uint32_t graphicFlags) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    if (image.GetImageHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_imageHandle = image.GetImageHandle();
    criterion.m_pixelFormat = format;
    criterion.m_depth = depth;
    criterion.m_graphicFlags = &graphicFlags;
    return OpenContainer(system, criterion, kImageTypeId);
}

bool ImageContainer::Open(const Image& image, std::uint32_t graphicFlags) {
    return OpenOnImage(image, nullptr, nullptr, graphicFlags);
}

bool ImageContainer::Open(const Image& image, const PixelFormat* format, std::uint32_t graphicFlags) {
    return OpenOnImage(image, format, nullptr, graphicFlags);
}

bool ImageContainer::Open(const Image& image, std::uint32_t depth, std::uint32_t graphicFlags) {
    return OpenOnImage(image, nullptr, &depth, graphicFlags);
}

bool ImageContainer::Create(void* memory, std::uint32_t width, std::uint32_t height,
                            const PixelFormat* format, std::int32_t pitch, std::uint32_t graphicFlags,
                            std::uint32_t colorTag, std::uint32_t graphicEngineId, std::uint32_t engineId) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    if (const ErrorCode wrong = CheckMemoryGraphic(width, height, format, pitch, graphicFlags, colorTag)) {
        Error().Report(wrong);
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_memory = &memory;
    criterion.m_width = &width;
    criterion.m_height = &height;
    criterion.m_pixelFormat = format;
    if (pitch != 0) {
        criterion.m_pitch = &pitch;
    }
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_colorTag = &colorTag;
    WantGraphicEngine(criterion, graphicEngineId);
    return OpenContainer(system, criterion, engineId);
}

bool ImageContainer::Create(Resource& compatible, std::uint32_t width, std::uint32_t height,
                            std::uint32_t graphicFlags, std::uint32_t graphicEngineId,
                            std::uint32_t engineId) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_compatible = &compatible;
    criterion.m_width = &width;
    criterion.m_height = &height;
    criterion.m_graphicFlags = &graphicFlags;
    WantGraphicEngine(criterion, graphicEngineId);
    return OpenContainer(system, criterion, engineId);
}

bool ImageContainer::Create(std::uint32_t width, std::uint32_t height, const PixelFormat* format,
                            std::uint32_t graphicFlags, std::uint32_t colorTag, std::uint32_t graphicEngineId,
                            std::uint32_t engineId) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_width = &width;
    criterion.m_height = &height;
    criterion.m_pixelFormat = format;
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_colorTag = &colorTag;
    WantGraphicEngine(criterion, graphicEngineId);
    return OpenContainer(system, criterion, engineId);
}

bool ImageContainer::Create(std::uint32_t width, std::uint32_t height, std::uint32_t depth,
                            std::uint32_t graphicFlags, PaletteReference palette, std::uint32_t colorTag,
                            std::uint32_t graphicEngineId, std::uint32_t engineId) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_width = &width;
    criterion.m_height = &height;
    criterion.m_depth = &depth;
    criterion.m_palette = &palette;
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_colorTag = &colorTag;
    WantGraphicEngine(criterion, graphicEngineId);
    return OpenContainer(system, criterion, engineId);
}

bool ImageContainer::OpenOnPath(const Path& path, const PixelFormat* format, const std::uint32_t* depth,
                                std::uint32_t graphicFlags, std::uint8_t dither,
                                const TaggedColor* keyColor) {
    ImageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_path = &path;
    criterion.m_pixelFormat = format;
    criterion.m_depth = depth;
    criterion.m_graphicFlags = &graphicFlags;
    criterion.m_ditherFlag = &dither;
    criterion.m_keyColor = keyColor;
    return OpenContainer(system, criterion, kImageTypeId);
}

bool ImageContainer::Open(const Path& path, std::uint32_t graphicFlags, std::uint8_t dither,
                          const TaggedColor* keyColor) {
    return OpenOnPath(path, nullptr, nullptr, graphicFlags, dither, keyColor);
}

bool ImageContainer::Open(const Path& path, const PixelFormat* format, std::uint32_t graphicFlags,
                          std::uint8_t dither, const TaggedColor* keyColor) {
    return OpenOnPath(path, format, nullptr, graphicFlags, dither, keyColor);
}

bool ImageContainer::Open(const Path& path, std::uint32_t depth, std::uint32_t graphicFlags,
                          std::uint8_t dither, const TaggedColor* keyColor) {
    return OpenOnPath(path, nullptr, &depth, graphicFlags, dither, keyColor);
}

bool ImageContainer::Share(const ImageContainer& other) {
    return ShareFrom(other);
}

ImageContainerHandle* ImageContainer::Handle() {
    if (m_containerHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
    }
    return m_containerHandle;
}

bool ImageContainer::SelectImage(const Image& image) {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->SelectImage(image);
}

bool ImageContainer::ReleaseImage() {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->ReleaseImage();
}

bool ImageContainer::GetCurrentImage(Image& out) {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->GetCurrentImage(out);
}

bool ImageContainer::DecodeCurrentImage() {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->DecodeCurrentImage();
}

bool ImageContainer::SaveCurrentImage(std::uint8_t fileMode) {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->SaveCurrentImage(fileMode);
}

bool ImageContainer::GetGraphic(Graphic& out) {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->GetGraphic(out);
}

bool ImageContainer::SetDecodeOptions(bool dither, const TaggedColor* keyColor) {
    ImageContainerHandle* handle = Handle();
    return handle != nullptr && handle->SetDecodeOptions(dither, keyColor);
}

} // namespace Vemo
