// One implementation of a family (Win32 files, an archive format, DirectInput...): creates and destroys the
// family's handles and keeps the list of them. Engines are owned by the system they are added to, from
// AddEngine until the system's Shutdown; an engine that never joined a system is given up with Shutdown.
//
// Virtual operations are declared in their slot order. Hooks that return false stop the step they belong to;
// Close and its hooks receive a handle that DestroyHandle may already have deleted, and must not use it after
// DestroyHandle.
#pragma once

#include "foundation/String.h"
#include "resources/error/ErrorCode.h"

#include <cstdint>

namespace Vemo {

class Resource;
class ResourceHandle;
class ResourceSearchCriterion;
class ResourceSystem;

class ResourceEngine {
public:
    ResourceEngine(std::uint32_t typeId, const String& name);
    ResourceEngine(const ResourceEngine&) = delete;
    ResourceEngine& operator=(const ResourceEngine&) = delete;

    // Updates every handle of the engine, newest first. A handle's update may close handles of the engine,
    // its own among them; the walk goes on with those that are left.
    virtual void Update();
    // The base makes a plain ResourceHandle; every real engine makes its own.
    virtual ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource);
    virtual ResourceHandle* Open(ResourceSearchCriterion* criterion, ResourceSystem* system,
                                 Resource* resource);
    // The base shares the handle itself.
    virtual ResourceHandle* ShareHandle(ResourceHandle* handle, Resource* resource);
    virtual ResourceHandle* Share(ResourceHandle* handle, ResourceSystem* system, Resource* resource);
    // Deletes the handle once its count is 0.
    virtual bool DestroyHandle(ResourceHandle* handle, Resource* resource);
    virtual bool Close(ResourceHandle* handle, ResourceSystem* system, Resource* resource);
    // Closes nothing: handles are given up by Shutdown.
    virtual ~ResourceEngine();
    virtual bool Initialize();
    virtual bool Terminate();
    virtual bool Activate();
    virtual bool Deactivate();
    virtual bool Attach();
    virtual bool Detach();
    virtual bool PreOpen(ResourceSearchCriterion* criterion, Resource* resource);
    // Links the new handle at the head of the engine's list.
    virtual bool AttachHandle(ResourceSearchCriterion* criterion, Resource* resource, ResourceHandle* handle);
    virtual bool PreShare(ResourceHandle* handle, Resource* resource);
    virtual bool PostShare(ResourceHandle* handle, Resource* resource, ResourceHandle* shared);
    // Takes a handle whose count is 0 out of the engine's list.
    virtual bool DetachHandle(ResourceHandle* handle, Resource* resource);
    virtual bool PostClose(ResourceHandle* handle, Resource* resource, bool destroyed);
    // Quick: the engine belongs to a system of the criterion's family and is the wanted engine, if one is
    // named.
    virtual bool MatchSearchCriterion(ResourceSearchCriterion* criterion);
    // Thorough: the quick match on a started engine.
    virtual bool MatchSearchCriterionThorough(ResourceSearchCriterion* criterion);

    // Runs Initialize on the given engine, or on a new base engine ("Resource Engine", type id 0) when none
    // is given. A failing engine is deleted only when it was made here; null then.
    static ResourceEngine* Create(ResourceEngine* engine = nullptr);
    // Closes every handle, stops the engine, removes it from its system, terminates and deletes it. Goes on
    // past failures; false when any step failed.
    bool Shutdown();
    bool Start();
    bool Stop();

    std::uint32_t GetTypeId() const { return m_typeId; }
    const String& GetName() const { return m_name; }
    ResourceSystem* GetSystem() const { return m_system; }
    bool IsStarted() const { return m_started; }
    ResourceHandle* GetFirstHandle() const { return m_firstHandle; }

private:
    friend class ResourceSystem;

    void LinkHandle(ResourceHandle* handle);
    void UnlinkHandle(ResourceHandle* handle);
    ResourceHandle* FindHandle(std::uint32_t id) const;
    bool CloseHandlesForShutdown();
    // Takes a handle that could not be closed away from everything that still points at it (both lists, its
    // front-ends) and destroys it.
    static bool AbandonHandle(ResourceHandle* handle);
    void Report(ErrorCode code) const;

    std::uint32_t m_typeId;
    String m_name;
    ResourceSystem* m_system = nullptr;
    ResourceHandle* m_firstHandle = nullptr;
    // While Update walks the handles: the one it updates next, moved on when that one is unlinked.
    ResourceHandle* m_updateNext = nullptr;
    bool m_started = false;
};

} // namespace Vemo
