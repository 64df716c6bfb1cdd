#include "engines/graphics/GraphicSystem.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportHandle.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"

namespace Vemo {

namespace {

// Removes every entry of the list that is the resource.
template <class T>
void Unlist(BasicList<T*>& list, const Resource* resource) {
    for (auto entry = list.Begin(); entry != list.End();) {
        entry = static_cast<const Resource*>(*entry) == resource ? list.Erase(entry) : ++entry;
    }
}

} // namespace

GraphicSystem::GraphicSystem(std::uint32_t typeId, const String& name) : ResourceSystem(typeId, name) {}

GraphicSystem::~GraphicSystem() = default;

GraphicSystem* GraphicSystem::Create(GraphicSystem* system) {
    return CreateThrough(
        system, [] { return new GraphicSystem(kGraphicTypeId, "Graphic System"); }, &ResourceSystem::Create);
}

ResourceHandle* GraphicSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* graphic = dynamic_cast<GraphicSearchCriterion*>(criterion);
    if (graphic == nullptr) {
        RaiseError(GraphicSystemErrNotGraphicCriterion);
        return nullptr;
    }
    if (graphic->m_kind == GraphicSearchCriterion::kGraphic && graphic->m_viewportHandle != nullptr) {
        ViewportHandle* viewport = graphic->m_viewportHandle;
        const std::uint32_t index = graphic->m_bufferIndex != nullptr ? *graphic->m_bufferIndex : 0;
        if (index > viewport->GetBackBufferCount()) {
            RaiseError(GraphicSystemErrBufferIndex);
            return nullptr;
        }
        const bool logical = graphic->m_bufferFlag != nullptr && *graphic->m_bufferFlag != 0;
        if (GraphicHandle* buffer = viewport->GetBufferHandle(index, logical)) {
            return Share(buffer, resource);
        }
    }
    // A viewport criterion without a description asks for nothing an engine could open.
    const bool viewportKind =
        graphic->m_kind == GraphicSearchCriterion::kViewport && graphic->m_description != nullptr;
    if (graphic->m_kind != GraphicSearchCriterion::kGraphic && !viewportKind) {
        RaiseError(GraphicSystemErrUnknownKind);
        return nullptr;
    }
    ResourceHandle* handle = ResourceSystem::Open(criterion, resource);
    if (handle == nullptr) {
        RaiseError(ResourceSystemErrOpenFailed, &GetName());
        return nullptr;
    }
    if (!viewportKind) {
        if (dynamic_cast<GraphicHandle*>(handle) == nullptr) {
            Close(handle, resource);
            Error().Report(GraphicSystemErrWrongHandleClass, String("GraphicHandle"));
            return nullptr;
        }
        return handle;
    }
    auto* viewport = dynamic_cast<ViewportHandle*>(handle);
    if (viewport == nullptr) {
        Close(handle, resource);
        Error().Report(GraphicSystemErrWrongHandleClass, String("ViewportHandle"));
        return nullptr;
    }
    if (!viewport->OpenWindow(*graphic->m_description)) {
        Close(handle, resource);
        return nullptr;
    }
    return handle;
}

bool GraphicSystem::Initialize() {
    return true;
}

bool GraphicSystem::Terminate() {
    return true;
}

void GraphicSystem::ListFrontEnd(ResourceHandle* handle, Resource* resource) {
    if (auto* graphic = dynamic_cast<Graphic*>(resource)) {
        if (auto* graphicHandle = dynamic_cast<GraphicHandle*>(handle)) {
            graphicHandle->GetGraphics().PushBack(graphic);
        }
    } else if (auto* viewport = dynamic_cast<Viewport*>(resource)) {
        if (auto* viewportHandle = dynamic_cast<ViewportHandle*>(handle)) {
            viewportHandle->GetViewports().PushBack(viewport);
        }
    }
}

bool GraphicSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine,
                                 Resource* resource, ResourceHandle* handle) {
    ListFrontEnd(handle, resource);
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

bool GraphicSystem::AttachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource,
                                   ResourceHandle* shared) {
    ListFrontEnd(handle, resource);
    return ResourceSystem::AttachResource(handle, engine, resource, shared);
}

bool GraphicSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    // The resource may be part way through its destruction: it is compared, never asked what it is.
    if (resource != nullptr) {
        if (auto* graphicHandle = dynamic_cast<GraphicHandle*>(handle)) {
            Unlist(graphicHandle->GetGraphics(), resource);
        } else if (auto* viewportHandle = dynamic_cast<ViewportHandle*>(handle)) {
            Unlist(viewportHandle->GetViewports(), resource);
        }
    }
    return ResourceSystem::DetachResource(handle, engine, resource);
}

void GraphicSystem::Reserved() {}

} // namespace Vemo
