// The graphic of an image container: a Graphic whose handle the container's engine makes, told when an image
// is selected into it and when it leaves.
//
// Virtual operations are declared in their slot order, after the Graphic's.
#pragma once

#include "engines/graphics/Graphic.h"

namespace Vemo {

class ImageHandle;

class ImageContainerGraphic : public Graphic {
public:
    ImageContainerGraphic();
    ~ImageContainerGraphic() override;

    virtual bool AttachImage(ImageHandle* image);
    virtual bool DetachImage();
};

} // namespace Vemo
