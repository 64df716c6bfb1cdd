// The system of the storage family. On top of the generic open, share and close protocol it checks that a
// storage criterion names enough to be opened, shares a volume or a directory that is already open instead of
// opening it again (files are always opened anew, and the engine checks their access styles), and keeps the
// tree of open handles: each directory and file holds a reference on its parent (a root on its volume), and
// the parent one on it. The links are made when a handle is attached and taken down when its last holder
// outside the tree lets go.
#pragma once

#include "foundation/BasicList.h"
#include "resources/ResourceSystem.h"

#include <cstdint>

namespace Vemo {

class StorageEngine;
class StorageSearchCriterion;
class VolumeHandle;

class StorageSystem : public ResourceSystem {
public:
    StorageSystem(std::uint32_t typeId, const String& name);

    // Storage System codes 1 (exists, only creating allowed), 2 (no parent), 3 (no name), 4 (bad kind).
    ResourceHandle* Open(ResourceSearchCriterion* criterion, Resource* resource) override;
    ~StorageSystem() override;
    bool AddingEngine(ResourceEngine* engine) override;
    // ResourceSystemErrEngineHasNoSystem with the engine's name when it is not listed.
    bool EngineRemoved(ResourceEngine* engine) override;
    bool AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine, Resource* resource,
                      ResourceHandle* handle) override;
    bool DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) override;

    // The open volume that a volume criterion designates: by name (lying in the criterion's container
    // directory, or in no file at all), or by the file it lies in. Null when none is open.
    VolumeHandle* FindVolume(StorageSearchCriterion* criterion);

    // Runs the system base's factory on the given system, or on a new "Storage System" of the storage family.
    static StorageSystem* Create(StorageSystem* system = nullptr);

    const BasicList<StorageEngine*>& GetStorageEngines() const { return m_storageEngines; }
    const BasicList<VolumeHandle*>& GetOpenVolumes() const { return m_openVolumes; }

private:
    ResourceHandle* OpenVolume(StorageSearchCriterion* criterion, Resource* resource);
    ResourceHandle* OpenDirectory(StorageSearchCriterion* criterion, Resource* resource);
    ResourceHandle* OpenFile(StorageSearchCriterion* criterion, Resource* resource);

    BasicList<StorageEngine*> m_storageEngines;
    BasicList<VolumeHandle*> m_openVolumes;
};

} // namespace Vemo
