#include "resources/ResourceSystem.h"

#include "resources/Resource.h"
#include "resources/ResourceEngine.h"
#include "resources/ResourceHandle.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

ResourceSystem::ResourceSystem(std::uint32_t typeId, const String& name) : m_typeId(typeId), m_name(name) {}

ResourceSystem::~ResourceSystem() = default;

void ResourceSystem::Report(ErrorCode code) const {
    ReportIfErrorSystem(code, &m_name);
}

void ResourceSystem::Report(ErrorCode code, const String& text) const {
    ReportIfErrorSystem(code, &text);
}

void ResourceSystem::Update() {
    for (ResourceEngine* engine : m_engines) {
        engine->Update();
    }
}

ResourceHandle* ResourceSystem::EngineOpen(ResourceSearchCriterion* criterion, ResourceEngine* engine,
                                           Resource* resource) {
    ResourceHandle* handle = engine->Open(criterion, this, resource);
    if (handle == nullptr) {
        Report(ResourceSystemErrEngineOpenFailed, engine->GetName());
    }
    return handle;
}

ResourceHandle* ResourceSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    ResourceEngine* engine = FindEngine(criterion);
    if (engine == nullptr) {
        Report(ResourceSystemErrNoEngine);
        return nullptr;
    }
    if (!PreOpen(criterion, engine, resource)) {
        Report(ResourceSystemErrPreOpenRefused);
        return nullptr;
    }
    ResourceHandle* handle = EngineOpen(criterion, engine, resource);
    if (handle == nullptr) {
        Report(ResourceSystemErrOpenFailed);
        return nullptr;
    }
    if (!AttachHandle(criterion, engine, resource, handle)) {
        Report(ResourceSystemErrAttachHandleFailed);
        Close(handle, resource);
        return nullptr;
    }
    return handle;
}

ResourceHandle* ResourceSystem::EngineShare(ResourceHandle* handle, ResourceEngine* engine,
                                            Resource* resource) {
    ResourceHandle* shared = engine->Share(handle, this, resource);
    if (shared == nullptr) {
        Report(ResourceSystemErrEngineShareFailed, engine->GetName());
    }
    return shared;
}

ResourceHandle* ResourceSystem::Share(ResourceHandle* handle, Resource* resource) {
    ResourceEngine* engine = FindEngineForHandle(handle);
    if (engine == nullptr) {
        Report(ResourceSystemErrNoEngine);
        return nullptr;
    }
    if (!PreShare(handle, engine, resource)) {
        Report(ResourceSystemErrPreShareRefused);
        return nullptr;
    }
    const std::uint32_t handleCount = handle->GetReferenceCount();
    ResourceHandle* shared = EngineShare(handle, engine, resource);
    if (shared == nullptr) {
        Report(ResourceSystemErrShareFailed);
        return nullptr;
    }
    const std::uint32_t sharedCount = shared->GetReferenceCount();
    if (!AttachResource(handle, engine, resource, shared)) {
        Report(ResourceSystemErrAttachResourceFailed);
        // Undo only what this share added: closing a handle that others hold would take one of their
        // references and could destroy it under them. A handle that nobody held is closed and destroyed.
        if (shared != handle) {
            RestoreAfterFailedShare(handle, handleCount, resource);
        }
        if (sharedCount != 0) {
            RestoreAfterFailedShare(shared, sharedCount, resource);
        } else {
            Close(shared, resource);
        }
        return nullptr;
    }
    return shared;
}

void ResourceSystem::RestoreAfterFailedShare(ResourceHandle* handle, std::uint32_t count,
                                             Resource* resource) {
    if (handle->HasResource(resource)) {
        handle->UnlinkResource(resource);
    }
    handle->m_referenceCount = count;
}

bool ResourceSystem::EngineClose(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!engine->Close(handle, this, resource)) {
        Report(ResourceSystemErrEngineCloseFailed, engine->GetName());
        return false;
    }
    return true;
}

bool ResourceSystem::Close(ResourceHandle* handle, Resource* resource) {
    ResourceEngine* engine = FindEngineForHandle(handle);
    if (engine == nullptr) {
        Report(ResourceSystemErrNoEngine);
        return false;
    }
    bool result = true;
    if (!DetachResource(handle, engine, resource)) {
        Report(ResourceSystemErrDetachResourceFailed);
        result = false;
    }
    const bool closed = EngineClose(handle, engine, resource);
    if (!closed) {
        Report(ResourceSystemErrCloseFailed);
        result = false;
    }
    if (!PostClose(handle, engine, resource, closed)) {
        Report(ResourceSystemErrPostCloseFailed);
        return false;
    }
    return result;
}

bool ResourceSystem::Initialize() {
    return true;
}
bool ResourceSystem::Terminate() {
    return true;
}
bool ResourceSystem::AddingEngine(ResourceEngine*) {
    return true;
}
bool ResourceSystem::EngineRemoved(ResourceEngine*) {
    return true;
}

bool ResourceSystem::StartIfStopped(ResourceEngine* engine) {
    if (!engine->IsStarted() && !engine->Start()) {
        Report(ResourceSystemErrStartFailed, engine->GetName());
        return false;
    }
    return true;
}

bool ResourceSystem::PreOpen(ResourceSearchCriterion*, ResourceEngine* engine, Resource*) {
    return StartIfStopped(engine);
}

bool ResourceSystem::AttachHandle(ResourceSearchCriterion*, ResourceEngine*, Resource* resource,
                                  ResourceHandle* handle) {
    handle->AddReference();
    if (resource != nullptr) {
        handle->LinkResource(resource);
    }
    LinkOpenHandle(handle);
    return true;
}

bool ResourceSystem::PreShare(ResourceHandle*, ResourceEngine* engine, Resource*) {
    return StartIfStopped(engine);
}

bool ResourceSystem::AttachResource(ResourceHandle* handle, ResourceEngine*, Resource* resource,
                                    ResourceHandle*) {
    handle->AddReference();
    if (resource != nullptr) {
        handle->LinkResource(resource);
    }
    return true;
}

bool ResourceSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    if (!StartIfStopped(engine)) {
        return false;
    }
    if (resource != nullptr) {
        handle->UnlinkResource(resource);
    }
    handle->ReleaseReference();
    if (handle->GetReferenceCount() == 0) {
        UnlinkOpenHandle(handle);
    }
    return true;
}

bool ResourceSystem::PostClose(ResourceHandle*, ResourceEngine*, Resource*, bool) {
    return true;
}

ResourceEngine* ResourceSystem::FindEngineForHandle(ResourceHandle* handle) {
    const std::uint32_t typeId = handle->GetEngine()->GetTypeId();
    for (ResourceEngine* engine : m_engines) {
        if (engine->GetTypeId() == typeId && IsOfFamily(engine->GetTypeId())) {
            return engine;
        }
    }
    return nullptr;
}

ResourceEngine* ResourceSystem::FindEngine(ResourceSearchCriterion* criterion) {
    const std::uint32_t mode = criterion != nullptr ? criterion->GetSearchMode() : 0;
    ResourceEngine* engine = FindNextEngine(criterion, nullptr, mode);
    while (engine != nullptr && !IsOfFamily(engine->GetTypeId())) {
        engine = FindNextEngine(criterion, engine, mode);
    }
    return engine;
}

ResourceEngine* ResourceSystem::FindNextEngine(ResourceSearchCriterion* criterion, ResourceEngine* after,
                                               std::uint32_t mode) {
    auto position = m_engines.Begin();
    if (after != nullptr) {
        while (position != m_engines.End() && (*position)->GetTypeId() != after->GetTypeId()) {
            ++position;
        }
        if (position == m_engines.End()) {
            return nullptr;
        }
        ++position;
    }
    for (; position != m_engines.End(); ++position) {
        ResourceEngine* engine = *position;
        if (mode != ResourceSearchCriterion::kSearchThorough) {
            if (!engine->MatchSearchCriterion(criterion)) {
                continue;
            }
            if (mode == ResourceSearchCriterion::kSearchQuick) {
                return engine;
            }
        }
        bool startedHere = false;
        if (!engine->IsStarted()) {
            startedHere = engine->Start();
        }
        const bool matched = engine->MatchSearchCriterionThorough(criterion);
        if (startedHere) {
            engine->Stop();
        }
        if (matched) {
            return engine;
        }
    }
    return nullptr;
}

ResourceSystem* ResourceSystem::Create(ResourceSystem* system) {
    ResourceSystem* made = nullptr;
    if (system == nullptr) {
        made = new ResourceSystem(kResourceTypeId, "Resource System");
        system = made;
    }
    if (system->Initialize()) {
        return system;
    }
    system->Report(ResourceSystemErrInitializeFailed);
    delete made;
    return nullptr;
}

bool ResourceSystem::Shutdown() {
    m_shuttingDown = true;
    bool result = true;
    while (m_firstHandle != nullptr) {
        ResourceHandle* handle = m_firstHandle;
        const std::uint32_t id = handle->GetId();
        Resource* resource = handle->GetFirstResource();
        ResourceEngine* engine = handle->GetEngine();
        const bool closed = Close(handle, resource);
        // The front-end may outlive this system; it must not keep the handle it no longer holds.
        if (resource != nullptr) {
            resource->SetHandle(nullptr);
        }
        if (!closed) {
            Report(ResourceSystemErrCloseFailed, engine->GetName());
            result = false;
            if (ResourceHandle* left = FindOpenHandle(id)) {
                ResourceEngine::AbandonHandle(left);
            }
        }
    }
    while (!m_engines.Empty()) {
        ResourceEngine* engine = m_engines.Front();
        const String engineName = engine->GetName();
        if (!RemoveEngine(engine)) {
            Report(ResourceSystemErrRemoveEngineFailed, engineName);
            result = false;
        }
        if (!m_engines.Empty() && m_engines.Front() == engine) {
            m_engines.PopFront();
        }
        if (!engine->Shutdown()) {
            Report(ResourceSystemErrEngineShutdownFailed, engineName);
            result = false;
        }
    }
    if (!Terminate()) {
        Report(ResourceSystemErrTerminateFailed);
        result = false;
    }
    delete this;
    return result;
}

bool ResourceSystem::AddEngine(ResourceEngine* engine) {
    if (!IsOfFamily(engine->GetTypeId())) {
        Report(ResourceSystemErrWrongFamily, engine->GetName());
        return false;
    }
    if (engine->GetSystem() != nullptr) {
        Report(ResourceSystemErrEngineHasSystem, engine->GetName());
        return false;
    }
    for (ResourceEngine* listed : m_engines) {
        if (listed->GetTypeId() == engine->GetTypeId()) {
            Report(ResourceSystemErrDuplicateEngine, engine->GetName());
            return false;
        }
    }
    if (!AddingEngine(engine)) {
        Report(ResourceSystemErrAddingRefused, engine->GetName());
        return false;
    }
    engine->m_system = this;
    if (!engine->Attach()) {
        Report(ResourceSystemErrAttachFailed, engine->GetName());
        engine->m_system = nullptr;
        if (!EngineRemoved(engine)) {
            Report(ResourceSystemErrEngineRemovedFailed, engine->GetName());
        }
        return false;
    }
    m_engines.PushBack(engine);
    return true;
}

bool ResourceSystem::RemoveEngine(ResourceEngine* engine) {
    if (engine->GetSystem() == nullptr) {
        Report(ResourceSystemErrEngineHasNoSystem, engine->GetName());
        return false;
    }
    auto position = m_engines.Begin();
    while (position != m_engines.End() && (*position)->GetTypeId() != engine->GetTypeId()) {
        ++position;
    }
    if (position == m_engines.End()) {
        Report(ResourceSystemErrEngineNotFound, engine->GetName());
        return false;
    }
    m_engines.Erase(position);
    bool result = true;
    if (engine->IsStarted() && !engine->Stop()) {
        Report(ResourceSystemErrStopFailed, engine->GetName());
        result = false;
    }
    if (!engine->Detach()) {
        Report(ResourceSystemErrDetachFailed, engine->GetName());
        result = false;
    }
    engine->m_system = nullptr;
    if (!EngineRemoved(engine)) {
        Report(ResourceSystemErrEngineRemovedFailed, engine->GetName());
        return false;
    }
    return result;
}

void ResourceSystem::LinkOpenHandle(ResourceHandle* handle) {
    if (handle->m_openIn != nullptr) {
        return;
    }
    handle->m_previousOpen = nullptr;
    handle->m_nextOpen = m_firstHandle;
    if (m_firstHandle != nullptr) {
        m_firstHandle->m_previousOpen = handle;
    }
    m_firstHandle = handle;
    handle->m_openIn = this;
}

void ResourceSystem::UnlinkOpenHandle(ResourceHandle* handle) {
    ResourceSystem* owner = handle->m_openIn;
    if (owner == nullptr) {
        return;
    }
    if (owner->m_firstHandle != nullptr && owner->m_firstHandle->m_id == handle->m_id) {
        owner->m_firstHandle = handle->m_nextOpen;
        if (owner->m_firstHandle != nullptr) {
            owner->m_firstHandle->m_previousOpen = nullptr;
        }
    } else {
        if (handle->m_previousOpen != nullptr) {
            handle->m_previousOpen->m_nextOpen = handle->m_nextOpen;
        }
        if (handle->m_nextOpen != nullptr) {
            handle->m_nextOpen->m_previousOpen = handle->m_previousOpen;
        }
    }
    handle->m_nextOpen = nullptr;
    handle->m_previousOpen = nullptr;
    handle->m_openIn = nullptr;
}

ResourceHandle* ResourceSystem::FindOpenHandle(std::uint32_t id) const {
    for (ResourceHandle* handle = m_firstHandle; handle != nullptr; handle = handle->m_nextOpen) {
        if (handle->m_id == id) {
            return handle;
        }
    }
    return nullptr;
}

} // namespace Vemo
