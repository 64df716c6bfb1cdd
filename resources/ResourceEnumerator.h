// Acts on every front-end chained to a handle (ResourceHandle::VisitResources).
#pragma once

namespace Vemo {

class Resource;
class ResourceHandle;

class ResourceEnumerator {
public:
    virtual ~ResourceEnumerator() = default;
    virtual void VisitResource(Resource* resource) = 0;

protected:
    // Inside VisitResource: the front-end being visited is still chained to its handle. What it is told may
    // close or destroy it, or the handle; an enumerator that tells it more than one thing asks before each
    // further one.
    bool VisitedStillChained() const { return m_visited != nullptr && *m_visited != nullptr; }

private:
    friend class ResourceHandle;

    // The visited front-end of the walk under way, which the walk clears when that front-end leaves.
    Resource* const* m_visited = nullptr;
};

} // namespace Vemo
