#include "resources/ResourceHandle.h"

#include "resources/Resource.h"
#include "resources/ResourceEnumerator.h"

namespace Vemo {

namespace {

constinit std::uint32_t g_handleIdCounter = 0;

} // namespace

ResourceHandle::ResourceHandle(ResourceEngine* engine) : m_id(++g_handleIdCounter), m_engine(engine) {}

ResourceHandle::~ResourceHandle() = default;

void ResourceHandle::Update() {}

void ResourceHandle::VisitResources(ResourceEnumerator& enumerator) {
    Resource* resource = m_firstResource;
    while (resource != nullptr) {
        Resource* next = resource->m_next;
        enumerator.VisitResource(resource);
        resource = next;
    }
}

void ResourceHandle::ReleaseReference() {
    if (m_referenceCount != 0) {
        --m_referenceCount;
    }
}

void ResourceHandle::LinkResource(Resource* resource) {
    resource->m_previous = nullptr;
    resource->m_next = m_firstResource;
    if (m_firstResource != nullptr) {
        m_firstResource->m_previous = resource;
    }
    m_firstResource = resource;
    resource->m_chainOwner = this;
}

void ResourceHandle::UnlinkResource(Resource* resource) {
    if (resource->m_chainOwner != this) {
        return;
    }
    if (m_firstResource != nullptr && m_firstResource->m_serial == resource->m_serial) {
        m_firstResource = resource->m_next;
        if (m_firstResource != nullptr) {
            m_firstResource->m_previous = nullptr;
        }
    } else {
        if (resource->m_previous != nullptr) {
            resource->m_previous->m_next = resource->m_next;
        }
        if (resource->m_next != nullptr) {
            resource->m_next->m_previous = resource->m_previous;
        }
    }
    resource->m_next = nullptr;
    resource->m_previous = nullptr;
    resource->m_chainOwner = nullptr;
}

bool ResourceHandle::HasResource(const Resource* resource) const {
    return resource != nullptr && resource->m_chainOwner == this;
}

void ResourceHandle::DetachResources() {
    while (m_firstResource != nullptr) {
        Resource* resource = m_firstResource;
        UnlinkResource(resource);
        resource->SetHandle(nullptr);
    }
}

} // namespace Vemo
