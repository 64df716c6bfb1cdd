// The list of a family's handles that the movie and sound systems and engines keep: a handle joins it when it
// is attached and leaves it once nothing references it any more.
#pragma once

#include "foundation/BasicList.h"
#include "resources/ResourceHandle.h"

namespace Vemo {

template <class Handle>
class MediaHandleList {
public:
    // Handles of other classes are not listed.
    void Add(ResourceHandle* handle) {
        if (auto* typed = dynamic_cast<Handle*>(handle)) {
            m_handles.PushBack(typed);
        }
    }
    // By identity, so that an entry is found without reading the handle it names.
    void RemoveIfUnreferenced(ResourceHandle* handle) {
        if (handle->GetReferenceCount() == 0) {
            m_handles.Remove(dynamic_cast<Handle*>(handle));
        }
    }

    const BasicList<Handle*>& Handles() const { return m_handles; }

private:
    BasicList<Handle*> m_handles;
};

} // namespace Vemo
