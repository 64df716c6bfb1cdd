#include "resources/error/ErrorSystem.h"

#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorEngine.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSearchCriterion.h"

namespace Vemo {

ErrorSystem::ErrorSystem(std::uint32_t typeId, const String& name) : ResourceSystem(typeId, name) {}

ErrorSystem::~ErrorSystem() {
    m_log.Clear();
}

ResourceHandle* ErrorSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* errorCriterion = dynamic_cast<ErrorSearchCriterion*>(criterion);
    if (errorCriterion == nullptr || errorCriterion->GetCreate()) {
        return ResourceSystem::Open(criterion, resource);
    }
    if (errorCriterion->GetIndex() == nullptr) {
        RaiseError(ErrorSystemErrNoIndex);
        return nullptr;
    }
    if (errorCriterion->GetSystemWide() == nullptr) {
        RaiseError(ErrorSystemErrNoScope);
        return nullptr;
    }
    return Reopen(criterion, errorCriterion->GetIndex(), errorCriterion->GetSystemWide(), resource);
}

ResourceHandle* ErrorSystem::Reopen(ResourceSearchCriterion* criterion, const std::uint32_t* index,
                                    const bool* systemWide, Resource* resource) {
    ErrorHandle* logged = nullptr;
    const String* scopeName = &GetName();
    if (*systemWide) {
        logged = ErrorHandleAt(*index);
    } else {
        ResourceEngine* engine = FindEngine(criterion);
        if (engine == nullptr) {
            RaiseError(ResourceSystemErrNoEngine, &GetName());
            return nullptr;
        }
        scopeName = &engine->GetName();
        if (auto* errorEngine = dynamic_cast<ErrorEngine*>(engine)) {
            logged = errorEngine->ErrorHandleAt(*index);
        }
    }
    if (logged == nullptr) {
        RaiseError(ErrorSystemErrNotFound, scopeName);
        return nullptr;
    }
    ResourceHandle* shared = Share(logged, resource);
    if (shared == nullptr) {
        RaiseError(ErrorSystemErrShareFailed);
    }
    return shared;
}

bool ErrorSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                               ResourceHandle* handle) {
    if (auto* errorHandle = dynamic_cast<ErrorHandle*>(handle)) {
        while (m_log.Count() >= kMaxLoggedErrors) {
            DropOldestLogged();
        }
        m_log.Append(errorHandle);
    }
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

void ErrorSystem::DropOldestLogged() {
    ErrorHandle* oldest = m_log.RemoveOldest();
    if (auto* engine = dynamic_cast<ErrorEngine*>(oldest->GetEngine())) {
        engine->m_log.Remove(oldest);
    }
    Close(oldest, nullptr);
}

bool ErrorSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    if (handle->GetReferenceCount() == 0) {
        if (auto* errorHandle = dynamic_cast<ErrorHandle*>(handle)) {
            m_log.Remove(errorHandle);
        }
    }
    return true;
}

ErrorHandle* ErrorSystem::ErrorHandleAt(std::uint32_t index) {
    if (index >= m_log.Count()) {
        RaiseError(ErrorSystemErrIndexOutOfRange);
        return nullptr;
    }
    return m_log.At(index);
}

ErrorSystem* ErrorSystem::Create(ErrorSystem* system) {
    return CreateThrough(
        system, [] { return new ErrorSystem(kErrorTypeId, "Error System"); }, &ResourceSystem::Create);
}

} // namespace Vemo
