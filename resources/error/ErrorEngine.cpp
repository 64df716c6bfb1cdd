#include "resources/error/ErrorEngine.h"

#include "resources/CreateThrough.h"
#include "resources/ResourceSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSearchCriterion.h"

namespace Vemo {

ErrorEngine::ErrorEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

ErrorEngine::~ErrorEngine() {
    m_log.Clear();
}

ResourceHandle* ErrorEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* errorCriterion = dynamic_cast<ErrorSearchCriterion*>(criterion);
    if (errorCriterion == nullptr || errorCriterion->GetCode() == nullptr) {
        RaiseError(ErrorEngineErrNoCode);
        return nullptr;
    }
    const ErrorCode code = *errorCriterion->GetCode();
    ErrorHandle* handle = CreateErrorHandle(
        static_cast<std::uint32_t>(code), static_cast<std::uint32_t>(code >> 32), errorCriterion->GetText());
    if (handle == nullptr) {
        RaiseError(ErrorEngineErrCreateFailed);
        return nullptr;
    }
    return handle;
}

bool ErrorEngine::AttachHandle(ResourceSearchCriterion* criterion, Resource* resource,
                               ResourceHandle* handle) {
    if (auto* errorHandle = dynamic_cast<ErrorHandle*>(handle)) {
        m_log.Append(errorHandle);
    }
    return ResourceEngine::AttachHandle(criterion, resource, handle);
}

bool ErrorEngine::DetachHandle(ResourceHandle* handle, Resource* resource) {
    if (!ResourceEngine::DetachHandle(handle, resource)) {
        return false;
    }
    if (handle->GetReferenceCount() == 0) {
        if (auto* errorHandle = dynamic_cast<ErrorHandle*>(handle)) {
            m_log.Remove(errorHandle);
        }
    }
    return true;
}

ErrorHandle* ErrorEngine::ErrorHandleAt(std::uint32_t index) {
    if (index >= m_log.Count()) {
        RaiseError(ErrorSystemErrIndexOutOfRange);
        return nullptr;
    }
    return m_log.At(index);
}

ErrorHandle* ErrorEngine::CreateErrorHandle(std::uint32_t codeLow, std::uint32_t codeHigh,
                                            const String* text) {
    auto* handle = new ErrorHandle(this, (static_cast<ErrorCode>(codeHigh) << 32) | codeLow, text);
    ResourceSystem* system = GetSystem();
    if (system == nullptr) {
        RaiseError(ResourceSystemErrNoSystem);
        delete handle;
        return nullptr;
    }
    // A share that fails after the engine has shared closes and destroys the handle nobody held yet; one that
    // fails earlier leaves it to us.
    bool destroyed = false;
    handle->m_destroyed = &destroyed;
    ResourceHandle* shared = system->Share(handle, nullptr);
    if (destroyed) {
        return nullptr;
    }
    handle->m_destroyed = nullptr;
    if (shared == nullptr) {
        delete handle;
        return nullptr;
    }
    return dynamic_cast<ErrorHandle*>(shared);
}

ErrorEngine* ErrorEngine::Create(ErrorEngine* engine) {
    return CreateThrough(
        engine, [] { return new ErrorEngine(kErrorTypeId, "Error Engine"); }, &ResourceEngine::Create);
}

} // namespace Vemo
