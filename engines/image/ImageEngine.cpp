#include "engines/image/ImageEngine.h"

#include "resources/CreateThrough.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

ImageEngine::ImageEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

ImageEngine* ImageEngine::Create(ImageEngine* engine) {
    return CreateThrough(
        engine, [] { return new ImageEngine(kImageTypeId, "Image Engine"); },
        [](ImageEngine* made) { return ResourceEngine::Create(made); });
}

} // namespace Vemo
