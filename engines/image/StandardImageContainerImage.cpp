#include "engines/image/StandardImageContainerImage.h"

#include "engines/image/StandardImageHandle.h"

namespace Vemo {

StandardImageContainerImage::StandardImageContainerImage(ImageContainerHandle* owner) : m_owner(owner) {}

StandardImageContainerImage::~StandardImageContainerImage() {
    ReleaseHandle();
}

void StandardImageContainerImage::SetHandle(ResourceHandle* handle) {
    Image::SetHandle(handle);
    m_standardHandle = dynamic_cast<StandardImageHandle*>(handle);
}

} // namespace Vemo
