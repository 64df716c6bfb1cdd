#include "resources/Resource.h"

#include "resources/ResourceEngine.h"
#include "resources/ResourceHandle.h"
#include "resources/ResourceSearchCriterion.h"
#include "resources/ResourceSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"

namespace Vemo {

namespace {

constinit std::uint32_t g_resourceSerialCounter = 0;

} // namespace

Resource::Resource() : m_serial(++g_resourceSerialCounter) {}

Resource::~Resource() {
    ReleaseHandle();
}

void Resource::ReleaseHandle() {
    if (m_handle == nullptr) {
        return;
    }
    ResourceHandle* handle = m_handle;
    ResourceSystem* system = handle->GetEngine()->GetSystem();
    if (system != nullptr) {
        system->Close(handle, this);
    } else {
        ReportIfErrorSystem(ResourceSystemErrNoSystem, nullptr);
    }
    // A close that failed before unchaining leaves the handle alive (it still counts this front-end's
    // reference); the chain must not keep a front-end that is going away.
    if (m_chainOwner != nullptr) {
        m_chainOwner->UnlinkResource(this);
    }
    m_handle = nullptr;
}

bool Resource::SetFlag() {
    if (m_handle == nullptr) {
        ReportIfErrorSystem(ResourceSystemErrNoHandle, nullptr);
        return false;
    }
    m_flag = true;
    return true;
}

bool Resource::ClearFlag() {
    if (m_handle == nullptr) {
        ReportIfErrorSystem(ResourceSystemErrNoHandle, nullptr);
        return false;
    }
    m_flag = false;
    return true;
}

bool Resource::GetFlag() const {
    return m_flag;
}

bool Resource::IsOpen() const {
    return m_handle != nullptr;
}

void Resource::SetHandle(ResourceHandle* handle) {
    m_handle = handle;
}

bool Resource::Open() {
    if (m_handle != nullptr) {
        ReportIfErrorSystem(ResourceSystemErrAlreadyOpen, nullptr);
        return false;
    }
    ResourceSystem* system = GetResourceSystem();
    if (system == nullptr) {
        ReportIfErrorSystem(ResourceSystemErrNoSystem, nullptr);
        return false;
    }
    ResourceSearchCriterion criterion(kResourceTypeId, ResourceSearchCriterion::kSearchQuick);
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        ReportIfErrorSystem(ResourceSystemErrOpenFailed, nullptr);
        return false;
    }
    SetHandle(handle);
    return true;
}

} // namespace Vemo
