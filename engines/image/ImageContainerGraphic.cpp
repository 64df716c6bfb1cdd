#include "engines/image/ImageContainerGraphic.h"

namespace Vemo {

ImageContainerGraphic::ImageContainerGraphic() = default;

ImageContainerGraphic::~ImageContainerGraphic() = default;

bool ImageContainerGraphic::AttachImage(ImageHandle*) {
    return true;
}

bool ImageContainerGraphic::DetachImage() {
    return true;
}

} // namespace Vemo
