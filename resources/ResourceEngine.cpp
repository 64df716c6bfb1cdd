#include "resources/ResourceEngine.h"

#include "resources/Resource.h"
#include "resources/ResourceHandle.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/ResourceSystem.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

ResourceEngine::ResourceEngine(std::uint32_t typeId, const String& name) : m_typeId(typeId), m_name(name) {}

ResourceEngine::~ResourceEngine() = default;

void ResourceEngine::Report(ErrorCode code) const {
    ReportIfErrorSystem(code, &m_name);
}

void ResourceEngine::Update() {
    m_updateNext = m_firstHandle;
    while (m_updateNext != nullptr) {
        ResourceHandle* handle = m_updateNext;
        m_updateNext = handle->m_nextInEngine;
        handle->Update();
    }
}

ResourceHandle* ResourceEngine::CreateHandle(ResourceSearchCriterion*, Resource*) {
    return new ResourceHandle(this);
}

ResourceHandle* ResourceEngine::Open(ResourceSearchCriterion* criterion, ResourceSystem* system,
                                     Resource* resource) {
    if (system == nullptr || m_system == nullptr || system->GetTypeId() != m_system->GetTypeId()) {
        Report(ResourceEngineErrForeignSystem);
        return nullptr;
    }
    if (!PreOpen(criterion, resource)) {
        Report(ResourceEngineErrPreOpenRefused);
        return nullptr;
    }
    ResourceHandle* handle = CreateHandle(criterion, resource);
    if (handle == nullptr) {
        Report(ResourceEngineErrCreateHandleFailed);
        return nullptr;
    }
    if (!AttachHandle(criterion, resource, handle)) {
        Report(ResourceEngineErrAttachHandleFailed);
        system->Close(handle, resource);
        return nullptr;
    }
    return handle;
}

ResourceHandle* ResourceEngine::ShareHandle(ResourceHandle* handle, Resource*) {
    return handle;
}

ResourceHandle* ResourceEngine::Share(ResourceHandle* handle, ResourceSystem* system, Resource* resource) {
    if (system == nullptr || m_system == nullptr || system->GetTypeId() != m_system->GetTypeId()) {
        Report(ResourceEngineErrForeignSystem);
        return nullptr;
    }
    if (!PreShare(handle, resource)) {
        Report(ResourceEngineErrPreShareRefused);
        return nullptr;
    }
    ResourceHandle* shared = ShareHandle(handle, resource);
    if (shared == nullptr) {
        Report(ResourceEngineErrShareHandleFailed);
        return nullptr;
    }
    if (!PostShare(handle, resource, shared)) {
        Report(ResourceEngineErrPostShareFailed);
        // Nothing has counted this share yet. Closing a handle that others hold would take one of their
        // references; only a handle that nobody holds (a new one from ShareHandle) is closed and destroyed.
        if (shared->GetReferenceCount() == 0) {
            system->Close(shared, resource);
        }
        return nullptr;
    }
    return shared;
}

bool ResourceEngine::DestroyHandle(ResourceHandle* handle, Resource*) {
    if (handle->GetReferenceCount() == 0) {
        delete handle;
    }
    return true;
}

bool ResourceEngine::Close(ResourceHandle* handle, ResourceSystem* system, Resource* resource) {
    if (system == nullptr || m_system == nullptr || system->GetTypeId() != m_system->GetTypeId()) {
        Report(ResourceEngineErrForeignSystem);
        return false;
    }
    bool result = true;
    if (!DetachHandle(handle, resource)) {
        Report(ResourceEngineErrDetachHandleFailed);
        result = false;
    }
    const bool destroyed = DestroyHandle(handle, resource);
    if (!destroyed) {
        Report(ResourceEngineErrDestroyHandleFailed);
        result = false;
    }
    if (!PostClose(handle, resource, destroyed)) {
        Report(ResourceEngineErrPostCloseFailed);
        return false;
    }
    return result;
}

bool ResourceEngine::Initialize() {
    return true;
}
bool ResourceEngine::Terminate() {
    return true;
}
bool ResourceEngine::Activate() {
    return true;
}
bool ResourceEngine::Deactivate() {
    return true;
}
bool ResourceEngine::Attach() {
    return true;
}
bool ResourceEngine::Detach() {
    return true;
}
bool ResourceEngine::PreOpen(ResourceSearchCriterion*, Resource*) {
    return true;
}

bool ResourceEngine::AttachHandle(ResourceSearchCriterion*, Resource*, ResourceHandle* handle) {
    LinkHandle(handle);
    return true;
}

bool ResourceEngine::PreShare(ResourceHandle*, Resource*) {
    return true;
}
bool ResourceEngine::PostShare(ResourceHandle*, Resource*, ResourceHandle*) {
    return true;
}

bool ResourceEngine::DetachHandle(ResourceHandle* handle, Resource*) {
    if (handle->GetReferenceCount() == 0) {
        UnlinkHandle(handle);
    }
    return true;
}

bool ResourceEngine::PostClose(ResourceHandle*, Resource*, bool) {
    return true;
}

bool ResourceEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    if (criterion == nullptr || m_system == nullptr) {
        return false;
    }
    if (m_system->GetTypeId() != criterion->GetFamilyId()) {
        return false;
    }
    const std::uint32_t* wanted = criterion->GetWantedEngineId();
    return wanted == nullptr || *wanted == m_typeId;
}

bool ResourceEngine::MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) {
    return m_started && ResourceEngine::MatchSearchCriterion(criterion);
}

ResourceEngine* ResourceEngine::Create(ResourceEngine* engine) {
    ResourceEngine* made = nullptr;
    if (engine == nullptr) {
        made = new ResourceEngine(kResourceTypeId, "Resource Engine");
        engine = made;
    }
    if (engine->Initialize()) {
        return engine;
    }
    engine->Report(ResourceEngineErrInitializeFailed);
    delete made;
    return nullptr;
}

bool ResourceEngine::Shutdown() {
    bool result = CloseHandlesForShutdown();
    if (m_started && !Stop()) {
        Report(ResourceEngineErrStopFailed);
        result = false;
    }
    if (m_system != nullptr && !m_system->RemoveEngine(this)) {
        Report(ResourceEngineErrRemoveFailed);
        result = false;
    }
    if (!Terminate()) {
        Report(ResourceEngineErrTerminateFailed);
        result = false;
    }
    delete this;
    return result;
}

bool ResourceEngine::CloseHandlesForShutdown() {
    bool result = true;
    while (m_firstHandle != nullptr) {
        ResourceHandle* handle = m_firstHandle;
        const std::uint32_t id = handle->GetId();
        Resource* resource = handle->GetFirstResource();
        if (m_system != nullptr) {
            const bool closed = m_system->Close(handle, resource);
            // The front-end may outlive this engine; it must not keep the handle it no longer holds.
            if (resource != nullptr) {
                resource->SetHandle(nullptr);
            }
            if (!closed) {
                Report(ResourceEngineErrDestroyHandleFailed);
                result = false;
                if (ResourceHandle* left = FindHandle(id)) {
                    AbandonHandle(left);
                }
            }
        } else {
            // Without a system nothing else takes the handle out of the lists, and DestroyHandle would free
            // an unheld one in place or keep a held one for ever: take it away, and count a held one as a
            // failure.
            const bool held = handle->GetReferenceCount() != 0;
            if (!AbandonHandle(handle) || held) {
                Report(ResourceEngineErrDestroyHandleFailed);
                result = false;
            }
        }
    }
    return result;
}

bool ResourceEngine::AbandonHandle(ResourceHandle* handle) {
    if (handle->m_openIn != nullptr) {
        handle->m_openIn->UnlinkOpenHandle(handle);
    }
    ResourceEngine* engine = handle->GetEngine();
    engine->UnlinkHandle(handle);
    handle->DetachResources();
    handle->m_referenceCount = 0;
    return engine->DestroyHandle(handle, nullptr);
}

bool ResourceEngine::Start() {
    if (m_system == nullptr) {
        Report(ResourceEngineErrNoSystem);
        return false;
    }
    if (m_started) {
        Report(ResourceEngineErrAlreadyStarted);
        return false;
    }
    if (!Activate()) {
        Report(ResourceEngineErrActivateFailed);
        return false;
    }
    m_started = true;
    return true;
}

bool ResourceEngine::Stop() {
    if (m_system == nullptr) {
        Report(ResourceEngineErrNoSystem);
        return false;
    }
    if (!m_started) {
        Report(ResourceEngineErrNotStarted);
        return false;
    }
    if (m_firstHandle != nullptr) {
        Report(ResourceEngineErrHandlesOpen);
        return false;
    }
    m_started = false;
    if (!Deactivate()) {
        Report(ResourceEngineErrDeactivateFailed);
        return false;
    }
    return true;
}

void ResourceEngine::LinkHandle(ResourceHandle* handle) {
    if (handle->m_inEngineList) {
        return;
    }
    handle->m_previousInEngine = nullptr;
    handle->m_nextInEngine = m_firstHandle;
    if (m_firstHandle != nullptr) {
        m_firstHandle->m_previousInEngine = handle;
    }
    m_firstHandle = handle;
    handle->m_inEngineList = true;
}

void ResourceEngine::UnlinkHandle(ResourceHandle* handle) {
    if (!handle->m_inEngineList) {
        return;
    }
    // A handle is only ever in the list of the engine that made it.
    ResourceEngine* owner = handle->m_engine;
    if (owner->m_updateNext == handle) {
        owner->m_updateNext = handle->m_nextInEngine;
    }
    if (owner->m_firstHandle != nullptr && owner->m_firstHandle->m_id == handle->m_id) {
        owner->m_firstHandle = handle->m_nextInEngine;
        if (owner->m_firstHandle != nullptr) {
            owner->m_firstHandle->m_previousInEngine = nullptr;
        }
    } else {
        if (handle->m_previousInEngine != nullptr) {
            handle->m_previousInEngine->m_nextInEngine = handle->m_nextInEngine;
        }
        if (handle->m_nextInEngine != nullptr) {
            handle->m_nextInEngine->m_previousInEngine = handle->m_previousInEngine;
        }
    }
    handle->m_nextInEngine = nullptr;
    handle->m_previousInEngine = nullptr;
    handle->m_inEngineList = false;
}

ResourceHandle* ResourceEngine::FindHandle(std::uint32_t id) const {
    for (ResourceHandle* handle = m_firstHandle; handle != nullptr; handle = handle->m_nextInEngine) {
        if (handle->m_id == id) {
            return handle;
        }
    }
    return nullptr;
}

} // namespace Vemo
