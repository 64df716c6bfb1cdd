#include "engines/graphics/GraphicEngine.h"

#include "resources/CreateThrough.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

GraphicEngine::GraphicEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

GraphicEngine::~GraphicEngine() = default;

ResourceHandle* GraphicEngine::CreateHandle(ResourceSearchCriterion*, Resource*) {
    return nullptr;
}

GraphicEngine* GraphicEngine::Create(GraphicEngine* engine) {
    return CreateThrough(
        engine, [] { return new GraphicEngine(kGraphicTypeId, "Graphic Engine"); }, &ResourceEngine::Create);
}

} // namespace Vemo
