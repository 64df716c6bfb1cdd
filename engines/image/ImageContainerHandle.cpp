#include "engines/image/ImageContainerHandle.h"

#include "engines/image/Image.h"
#include "engines/image/ImageContainerGraphic.h"
#include "engines/image/ImageHandle.h"

#include <utility>

namespace Vemo {

ImageContainerHandle::ImageContainerHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

ImageContainerHandle::~ImageContainerHandle() {
    Close();
    for (Image* image : m_releasedImages) {
        delete image;
    }
}

bool ImageContainerHandle::DecodeCurrentImage() {
    if (m_graphic == nullptr || m_currentImage == nullptr || !m_currentImage->Load()) {
        return false;
    }
    const bool readOnly = m_graphic->IsOpen() && m_graphic->IsReadOnly();
    if (readOnly && !m_graphic->SetReadOnly(false)) {
        return false;
    }
    const bool decoded = m_currentImage->Decode(m_dither != 0, GetKeyColor());
    if (readOnly) {
        m_graphic->SetReadOnly(true);
    }
    if (!decoded) {
        return false;
    }
    m_currentImage->Unload();
    return true;
}

bool ImageContainerHandle::SaveCurrentImage(std::uint8_t fileMode) {
    if (m_graphic == nullptr || m_currentImage == nullptr) {
        return false;
    }
    if (!m_currentImage->Encode() || !m_currentImage->Save(fileMode)) {
        return false;
    }
    m_currentImage->Unload();
    return true;
}

bool ImageContainerHandle::SelectImage(const Image& image) {
    if (m_graphic == nullptr) {
        return false;
    }
    if (m_currentImage != nullptr) {
        const ResourceHandle* current = m_currentImage->GetHandle();
        if (current != nullptr && image.GetHandle() != nullptr &&
            current->GetId() == image.GetHandle()->GetId()) {
            return true;
        }
        ReleaseImage();
    }
    Image* selected = CreateImage(image);
    if (selected == nullptr) {
        return false;
    }
    ImageHandle* handle = selected->GetImageHandle();
    if (handle == nullptr) {
        delete selected;
        return false;
    }
    if (!m_graphic->AttachImage(handle)) {
        delete selected;
        return false;
    }
    if (!handle->SetTarget(this, m_graphic)) {
        m_graphic->DetachImage();
        delete selected;
        return false;
    }
    m_currentImage = selected;
    return true;
}

bool ImageContainerHandle::ReleaseImage() {
    if (m_graphic != nullptr) {
        m_graphic->DetachImage();
    }
    Image* image = std::exchange(m_currentImage, nullptr);
    if (image == nullptr) {
        return true;
    }
    ImageHandle* handle = image->GetImageHandle();
    if (handle != nullptr) {
        handle->ClearTarget();
    }
    if (handle != nullptr && handle->GetReferenceCount() == 0) {
        m_releasedImages.push_back(image);
    } else {
        delete image;
    }
    return true;
}

bool ImageContainerHandle::GetCurrentImage(Image& out) {
    return m_currentImage != nullptr && out.Share(*m_currentImage);
}

bool ImageContainerHandle::GetGraphic(Graphic& out) {
    return m_graphic != nullptr && out.OpenOnGraphic(*m_graphic);
}

bool ImageContainerHandle::SetDecodeOptions(bool dither, const TaggedColor* keyColor) {
    m_dither = dither ? 1 : 0;
    if (keyColor != nullptr) {
        m_keyColor = *keyColor;
    }
    return true;
}

void ImageContainerHandle::Close() {
    if (m_currentImage != nullptr) {
        ReleaseImage();
    }
    delete std::exchange(m_graphic, nullptr);
}

Image* ImageContainerHandle::CreateImage(const Image& image) {
    if (!image.IsOpen()) {
        return nullptr;
    }
    auto* shared = new Image;
    if (!shared->Share(image)) {
        delete shared;
        return nullptr;
    }
    return shared;
}

} // namespace Vemo
