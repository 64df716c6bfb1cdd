#include "engines/image/Image.h"

#include "engines/image/ImageHandle.h"
#include "engines/image/ImageSearchCriterion.h"
#include "engines/image/ImageSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

Image::Image() = default;

Image::~Image() {
    ReleaseHandle();
}

void Image::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_imageHandle = dynamic_cast<ImageHandle*>(handle);
}

bool Image::OpenWith(ImageSearchCriterion& criterion, std::uint32_t engineId) {
    ImageSystem* system = PrepareOpen();
    return system != nullptr && OpenThrough(system, criterion, engineId);
}

bool Image::Create(const Path& path, const PixelFormat* format, std::uint8_t fileMode, std::uint32_t colorTag,
                   std::uint32_t engineId) {
    ImageSearchCriterion criterion;
    criterion.m_openExisting = 0;
    criterion.m_path = &path;
    criterion.m_pixelFormat = format;
    criterion.m_fileMode = &fileMode;
    criterion.m_colorTag = &colorTag;
    return OpenWith(criterion, engineId);
}

bool Image::Create(const Path& path, std::uint32_t depth, std::uint8_t fileMode, std::uint32_t colorTag,
                   std::uint32_t engineId) {
    ImageSearchCriterion criterion;
    criterion.m_openExisting = 0;
    criterion.m_path = &path;
    criterion.m_depth = &depth;
    criterion.m_fileMode = &fileMode;
    criterion.m_colorTag = &colorTag;
    return OpenWith(criterion, engineId);
}

bool Image::Open(const void* data, std::uint32_t size, std::uint32_t engineId) {
    if (data == nullptr) {
        return false;
    }
    ImageSearchCriterion criterion;
    criterion.m_data = data;
    criterion.m_size = &size;
    return OpenWith(criterion, engineId);
}

bool Image::Open(const File& file, std::uint32_t engineId) {
    ImageSearchCriterion criterion;
    criterion.m_file = &file;
    return OpenWith(criterion, engineId);
}

bool Image::Open(const Path& path, std::uint32_t engineId) {
    ImageSearchCriterion criterion;
    criterion.m_path = &path;
    return OpenWith(criterion, engineId);
}

bool Image::Share(const Image& other) {
    return ShareFrom(other);
}

ImageHandle* Image::Handle() {
    if (m_imageHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
    }
    return m_imageHandle;
}

std::uint32_t Image::GetWidth() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetWidth() : 0;
}

std::uint32_t Image::GetHeight() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetHeight() : 0;
}

Size Image::GetSize() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetSize() : Size(0, 0);
}

std::uint32_t Image::GetDepth() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetDepth() : 0;
}

std::uint32_t Image::GetColorTag() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetColorTag() : 1;
}

bool Image::HasPalette() {
    ImageHandle* handle = Handle();
    return handle != nullptr && handle->HasPalette();
}

PixelFormat Image::GetPixelFormat() {
    ImageHandle* handle = Handle();
    return handle != nullptr ? handle->GetPixelFormat() : PixelFormat();
}

bool Image::Load() {
    ImageHandle* handle = Handle();
    return handle != nullptr && handle->Load();
}

bool Image::Save(std::uint8_t fileMode) {
    ImageHandle* handle = Handle();
    return handle != nullptr && handle->Save(fileMode);
}

bool Image::Unload() {
    ImageHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    handle->Unload();
    return true;
}

bool Image::Decode(bool dither, const TaggedColor* keyColor) {
    ImageHandle* handle = Handle();
    return handle != nullptr && handle->Decode(dither, keyColor);
}

bool Image::Encode() {
    ImageHandle* handle = Handle();
    return handle != nullptr && handle->Encode();
}

} // namespace Vemo
