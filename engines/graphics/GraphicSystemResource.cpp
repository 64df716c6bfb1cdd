#include "engines/graphics/GraphicSystemResource.h"

#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/GraphicSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

GraphicSystemResource::~GraphicSystemResource() = default;

bool GraphicSystemResource::HasHandle(const ResourceHandle* handle) {
    return HasHandles(handle, handle);
}

bool GraphicSystemResource::HasHandles(const ResourceHandle* handle, const ResourceHandle* other) {
    if (handle == nullptr || other == nullptr) {
        RaiseError(ResourceSystemErrNoHandle);
        return false;
    }
    return true;
}

GraphicSystem* GraphicSystemResource::PrepareOpenFrom(const ResourceHandle* source) const {
    if (GetHandle() == nullptr && source == nullptr) {
        RaiseError(ResourceSystemErrNoHandle);
        return nullptr;
    }
    return PrepareOpen();
}

GraphicSystem* GraphicSystemResource::PrepareOpen() const {
    if (GetHandle() != nullptr) {
        RaiseError(ResourceSystemErrAlreadyOpen);
        return nullptr;
    }
    GraphicSystem* system = GetGraphicSystem();
    if (system == nullptr) {
        RaiseError(ResourceSystemErrNoSystem);
    }
    return system;
}

bool GraphicSystemResource::OpenThrough(GraphicSystem* system, GraphicSearchCriterion& criterion) {
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        RaiseError(ResourceSystemErrOpenFailed);
        return false;
    }
    Attach(handle);
    return true;
}

bool GraphicSystemResource::ShareThrough(GraphicSystem* system, ResourceHandle* handle) {
    ResourceHandle* shared = system->Share(handle, this);
    if (shared == nullptr) {
        RaiseError(ResourceSystemErrShareFailed);
        return false;
    }
    Attach(shared);
    return true;
}

} // namespace Vemo
