#include "engines/image/StandardImageContainerHandle.h"

#include "engines/graphics/GraphicSystem.h"
#include "engines/image/StandardImageContainerGraphic.h"
#include "engines/image/StandardImageContainerImage.h"

#include <memory>

namespace Vemo {

StandardImageContainerHandle::StandardImageContainerHandle(ResourceEngine* engine)
    : ImageContainerHandle(engine) {}

StandardImageContainerHandle::~StandardImageContainerHandle() = default;

Image* StandardImageContainerHandle::CreateImage(const Image& image) {
    if (!image.IsOpen()) {
        return nullptr;
    }
    auto* shared = new StandardImageContainerImage(this);
    if (!shared->Share(image)) {
        delete shared;
        return nullptr;
    }
    return shared;
}

bool StandardImageContainerHandle::CreateGraphic(const ContainerGraphicSpec& spec) {
    auto graphic = std::make_unique<StandardImageContainerGraphic>(this);
    const auto width = static_cast<std::int32_t>(spec.width);
    const auto height = static_cast<std::int32_t>(spec.height);
    const auto placement = static_cast<GraphicSystem::Memory>(spec.graphicFlags);
    const bool hasFormat = spec.pixelFormat.format != StandardPixelFormat::None;
    bool opened = false;
    if (spec.compatible != nullptr) {
        const auto* model = dynamic_cast<const Graphic*>(spec.compatible);
        opened = model != nullptr && graphic->Open(*model, width, height, placement, spec.graphicEngine);
    } else if (spec.hasMemory) {
        opened = graphic->Create(spec.memory, width, height, hasFormat ? &spec.pixelFormat : nullptr,
                                 spec.pitch, placement, spec.colorTag, spec.graphicEngine);
    } else if (!hasFormat) {
        opened = graphic->Open(width, height, spec.depth, placement, spec.palette, spec.colorTag,
                               spec.graphicEngine);
    } else {
        opened =
            graphic->Open(width, height, &spec.pixelFormat, placement, spec.colorTag, spec.graphicEngine);
    }
    if (!opened) {
        return false;
    }
    SetContainerGraphic(graphic.release());
    return true;
}

} // namespace Vemo
