#include "engines/image/ImageHandle.h"

#include "engines/image/ImageContainerHandle.h"

namespace Vemo {

ImageHandle::ImageHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

ImageHandle::~ImageHandle() = default;

std::uint32_t ImageHandle::GetWidth() {
    return 0;
}

std::uint32_t ImageHandle::GetHeight() {
    return 0;
}

Size ImageHandle::GetSize() {
    return Size(0, 0);
}

std::uint32_t ImageHandle::GetDepth() {
    return 0;
}

std::uint32_t ImageHandle::GetColorTag() {
    return 0;
}

bool ImageHandle::HasPalette() {
    return false;
}

PixelFormat ImageHandle::GetPixelFormat() {
    return PixelFormat();
}

bool ImageHandle::Load() {
    return false;
}

bool ImageHandle::Save(std::uint8_t) {
    return false;
}

void ImageHandle::Unload() {}

bool ImageHandle::Decode(bool, const TaggedColor*) {
    return false;
}

bool ImageHandle::Encode() {
    return false;
}

void ImageHandle::ReleaseTarget() {
    if (ImageContainerHandle* target = m_target) {
        target->ReleaseImage();
        m_target = nullptr;
    }
}

bool ImageHandle::SetTarget(ImageContainerHandle* target, Graphic*) {
    m_target = target;
    return true;
}

bool ImageHandle::ClearTarget() {
    m_target = nullptr;
    return true;
}

} // namespace Vemo
