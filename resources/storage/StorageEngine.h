// The base of every storage engine. It makes plain volume, directory and file handles from a storage
// criterion, checks the access styles of the handles already open on a file before another one is opened, and
// gives the engine-neutral rule for entry names. Real engines make their own handles.
#pragma once

#include "resources/ResourceEngine.h"

#include <cstdint>

namespace Vemo {

class StorageEngine : public ResourceEngine {
public:
    StorageEngine(std::uint32_t typeId, const String& name);
    ~StorageEngine() override;

    // A handle of the criterion's kind, unattached, with count 0; null when the criterion names nothing the
    // kind can be made from.
    ResourceHandle* CreateHandle(ResourceSearchCriterion* criterion, Resource* resource) override;
    // For a file: refuses creating in a directory that cannot be written and an access style that conflicts
    // with a handle already open on the file (StorageEngineErrAccessDenied), and a criterion that names no
    // file (StorageSystemErrNoName).
    bool PreOpen(ResourceSearchCriterion* criterion, Resource* resource) override;
    // The base rule: neither ":" nor "/" (the separators of a path text); the empty name is valid.
    virtual bool IsValidName(const String& name);

    // Runs the engine base's factory on the given engine, or on a new base "Storage Engine".
    static StorageEngine* Create(StorageEngine* engine = nullptr);
};

} // namespace Vemo
