// The one object per family through which front-ends open, share and close their handles. It owns the
// family's engines, picks the engine for each request by its search criterion, and keeps the list of every
// open handle of the family.
//
// Virtual operations are declared in their slot order. Close and PostClose receive a handle that the engine
// may already have deleted, and must not use it after EngineClose.
#pragma once

#include "foundation/BasicList.h"
#include "foundation/String.h"
#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

class Resource;
class ResourceEngine;
class ResourceHandle;
class ResourceSearchCriterion;

class ResourceSystem {
public:
    ResourceSystem(std::uint32_t typeId, const String& name);
    ResourceSystem(const ResourceSystem&) = delete;
    ResourceSystem& operator=(const ResourceSystem&) = delete;

    // Updates every engine, in the order they were added.
    virtual void Update();
    virtual ResourceHandle* EngineOpen(ResourceSearchCriterion* criterion, ResourceEngine* engine,
                                       Resource* resource);
    virtual ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource);
    virtual ResourceHandle* EngineShare(ResourceHandle* handle, ResourceEngine* engine, Resource* resource);
    // One more reference on an open handle, for the resource (which may be null: a reference held by another
    // handle or by a log). A share that fails after the engine has shared leaves the handle as it found it.
    virtual ResourceHandle* Share(ResourceHandle* handle, Resource* resource);
    virtual bool EngineClose(ResourceHandle* handle, ResourceEngine* engine, Resource* resource);
    // Gives up one reference of the resource (or of a holder without front-end, when null); the handle is
    // destroyed with its last reference. Goes on past failing steps.
    virtual bool Close(ResourceHandle* handle, Resource* resource);
    // Forgets the engine list, not the engines.
    virtual ~ResourceSystem();
    virtual bool Initialize();
    virtual bool Terminate();
    virtual bool AddingEngine(ResourceEngine* engine);
    virtual bool EngineRemoved(ResourceEngine* engine);
    // Starts the engine when it is not started.
    virtual bool PreOpen(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource);
    // Counts the first reference, chains the resource and lists the handle among the open ones.
    virtual bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                              ResourceHandle* handle);
    virtual bool PreShare(ResourceHandle* handle, ResourceEngine* engine, Resource* resource);
    // Counts one more reference on the handle and chains the resource.
    virtual bool AttachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource,
                                ResourceHandle* shared);
    // Unchains the resource and gives up its reference; a handle left with none leaves the open list.
    virtual bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource);
    virtual bool PostClose(ResourceHandle* handle, ResourceEngine* engine, Resource* resource, bool closed);
    // The listed engine of this family with the type id of the handle's engine.
    virtual ResourceEngine* FindEngineForHandle(ResourceHandle* handle);
    virtual ResourceEngine* FindEngine(ResourceSearchCriterion* criterion);

    // Runs Initialize on the given system, or on a new base system ("Resource System", type id 0) when none
    // is given. A failing system is deleted only when it was made here; null then.
    static ResourceSystem* Create(ResourceSystem* system = nullptr);
    // Closes every open handle, removes and shuts down every engine, terminates and deletes the system. Goes
    // on past failures; false when any step failed.
    bool Shutdown();
    bool AddEngine(ResourceEngine* engine);
    bool RemoveEngine(ResourceEngine* engine);
    // The next engine after "after" (or from the first) that the search mode accepts.
    ResourceEngine* FindNextEngine(ResourceSearchCriterion* criterion, ResourceEngine* after,
                                   std::uint32_t mode);

    std::uint32_t GetTypeId() const { return m_typeId; }
    const String& GetName() const { return m_name; }
    const BasicList<ResourceEngine*>& GetEngines() const { return m_engines; }
    ResourceHandle* GetFirstHandle() const { return m_firstHandle; }
    // From the start of Shutdown until the system is deleted.
    bool IsShuttingDown() const { return m_shuttingDown; }

    // Whether an engine's type id is of this system's family: the high 16 bits agree.
    bool IsOfFamily(std::uint32_t typeId) const { return (typeId ^ m_typeId) < 0x10000; }

private:
    friend class ResourceEngine;

    void LinkOpenHandle(ResourceHandle* handle);
    void UnlinkOpenHandle(ResourceHandle* handle);
    ResourceHandle* FindOpenHandle(std::uint32_t id) const;
    // Reports ResourceSystemErrStartFailed when the engine cannot be started.
    bool StartIfStopped(ResourceEngine* engine);
    void RestoreAfterFailedShare(ResourceHandle* handle, std::uint32_t count, Resource* resource);
    void Report(ErrorCode code) const;
    void Report(ErrorCode code, const String& text) const;

    std::uint32_t m_typeId;
    String m_name;
    BasicList<ResourceEngine*> m_engines;
    ResourceHandle* m_firstHandle = nullptr;
    bool m_shuttingDown = false;
};

} // namespace Vemo
