// The open thing inside one engine. It counts the references on it (front-ends, and other handles or logs
// that keep it), chains the front-ends that hold it, and sits in two intrusive lists: its system's open
// handles and its engine's handles. Created by its engine with count 0; destroyed by its engine's
// DestroyHandle once the count is back to 0.
#pragma once

#include <cstdint>

namespace Vemo {

class Resource;
class ResourceEngine;
class ResourceEnumerator;
class ResourceSystem;

class ResourceHandle {
public:
    // Takes the next number of the handle id counter.
    explicit ResourceHandle(ResourceEngine* engine);
    ResourceHandle(const ResourceHandle&) = delete;
    ResourceHandle& operator=(const ResourceHandle&) = delete;
    // A walk of VisitResources under way stops when the handle is destroyed from inside it.
    virtual ~ResourceHandle();

    // Periodic work, reached through the system's and the engine's Update.
    virtual void Update();
    // Calls the enumerator once per chained front-end, first to last. What a front-end is told may close any
    // front-end, its own among them, and so destroy this handle: a front-end that leaves the chain before its
    // turn is not visited, one that joins it meanwhile waits for the next walk, and the walk stops when the
    // handle is gone (the caller then touches nothing of it). Walks may nest.
    virtual void VisitResources(ResourceEnumerator& enumerator);

    std::uint32_t GetId() const { return m_id; }
    ResourceEngine* GetEngine() const { return m_engine; }

    std::uint32_t GetReferenceCount() const { return m_referenceCount; }
    void AddReference() { ++m_referenceCount; }
    // Never goes below 0.
    void ReleaseReference();

    Resource* GetFirstResource() const { return m_firstResource; }
    // New front-ends go to the head of the chain.
    void LinkResource(Resource* resource);
    // Does nothing for a front-end that is not in this handle's chain. The head is recognised by serial
    // number.
    void UnlinkResource(Resource* resource);
    bool HasResource(const Resource* resource) const;
    // Every chained front-end leaves the chain and forgets this handle (it then reads as closed). Used when a
    // handle is taken away from front-ends that still hold it.
    void DetachResources();

    ResourceHandle* GetNextOpenHandle() const { return m_nextOpen; }
    ResourceHandle* GetNextEngineHandle() const { return m_nextInEngine; }

private:
    friend class ResourceEngine;
    friend class ResourceSystem;

    // One VisitResources under way: the front-end it visits next, moved on when that one leaves the chain,
    // and the one being visited, cleared when it leaves. The walks of a handle are stacked, innermost first.
    struct Walk {
        Resource* next = nullptr;
        Resource* visited = nullptr;
        bool handleDestroyed = false;
        Walk* outer = nullptr;
    };

    std::uint32_t m_id;
    std::uint32_t m_referenceCount = 0;
    ResourceEngine* m_engine;
    Resource* m_firstResource = nullptr;
    ResourceHandle* m_nextOpen = nullptr;
    ResourceHandle* m_previousOpen = nullptr;
    // The system whose open-handle list holds this handle; null while unlisted. It outlives a removal of the
    // engine from that system, so the handle can still be taken out of the list.
    ResourceSystem* m_openIn = nullptr;
    ResourceHandle* m_nextInEngine = nullptr;
    ResourceHandle* m_previousInEngine = nullptr;
    bool m_inEngineList = false;
    Walk* m_walks = nullptr;
};

} // namespace Vemo
