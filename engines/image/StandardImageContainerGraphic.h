// The graphic of a standard image container. When its surface has been restored (its content lost) it
// decodes the container's selected image into itself again.
#pragma once

#include "engines/image/ImageContainerGraphic.h"

namespace Vemo {

class ImageContainerHandle;

class StandardImageContainerGraphic : public ImageContainerGraphic {
public:
    explicit StandardImageContainerGraphic(ImageContainerHandle* owner);
    ~StandardImageContainerGraphic() override;

    // When no graphic has taken the event yet, *handled becomes whether the decode succeeded.
    void OnRestored(bool* handled) override;

    ImageContainerHandle* GetOwner() const { return m_owner; }

private:
    ImageContainerHandle* m_owner;
};

} // namespace Vemo
