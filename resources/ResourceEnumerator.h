// Acts on every front-end chained to a handle (ResourceHandle::VisitResources).
#pragma once

namespace Vemo {

class Resource;

class ResourceEnumerator {
public:
    virtual ~ResourceEnumerator() = default;
    virtual void VisitResource(Resource* resource) = 0;
};

} // namespace Vemo
