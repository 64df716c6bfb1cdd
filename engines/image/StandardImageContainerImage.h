// The Image through which a standard image container holds its selected image (or the image it opened for
// itself), with the container that owns it and the standard handle it shares.
#pragma once

#include "engines/image/Image.h"

namespace Vemo {

class ImageContainerHandle;
class StandardImageHandle;

class StandardImageContainerImage : public Image {
public:
    explicit StandardImageContainerImage(ImageContainerHandle* owner);
    ~StandardImageContainerImage() override;

    // Also keeps the handle as a StandardImageHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;

    ImageContainerHandle* GetOwner() const { return m_owner; }
    StandardImageHandle* GetStandardHandle() const { return m_standardHandle; }

private:
    ImageContainerHandle* m_owner;
    StandardImageHandle* m_standardHandle = nullptr;
};

} // namespace Vemo
