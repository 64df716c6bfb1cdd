#include "resources/ResourceHandle.h"

#include "resources/Resource.h"
#include "resources/ResourceEnumerator.h"

namespace Vemo {

namespace {

constinit std::uint32_t g_handleIdCounter = 0;

} // namespace

ResourceHandle::ResourceHandle(ResourceEngine* engine) : m_id(++g_handleIdCounter), m_engine(engine) {}

ResourceHandle::~ResourceHandle() {
    for (Walk* walk = m_walks; walk != nullptr; walk = walk->outer) {
        walk->handleDestroyed = true;
        walk->next = nullptr;
        walk->visited = nullptr;
    }
}

void ResourceHandle::Update() {}

void ResourceHandle::VisitResources(ResourceEnumerator& enumerator) {
    Walk walk;
    walk.next = m_firstResource;
    walk.outer = m_walks;
    m_walks = &walk;
    Resource* const* const enumeratorWalk = enumerator.m_visited;
    enumerator.m_visited = &walk.visited;
    while (walk.next != nullptr) {
        walk.visited = walk.next;
        walk.next = walk.visited->m_next;
        enumerator.VisitResource(walk.visited);
        if (walk.handleDestroyed) {
            enumerator.m_visited = enumeratorWalk;
            return;
        }
    }
    walk.visited = nullptr;
    enumerator.m_visited = enumeratorWalk;
    m_walks = walk.outer;
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
    for (Walk* walk = m_walks; walk != nullptr; walk = walk->outer) {
        if (walk->next == resource) {
            walk->next = resource->m_next;
        }
        if (walk->visited == resource) {
            walk->visited = nullptr;
        }
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
