// What the storage front-ends (Volume, Directory, File) share: a typed view of the handle kept beside the
// Resource's own, the open through the storage system with its failure reports, and the open of another
// front-end on a handle this one reaches. THandle is VolumeHandle, DirectoryHandle or FileHandle.
#pragma once

#include "resources/Resource.h"

namespace Vemo {

class Directory;
class DirectoryHandle;
class StorageSearchCriterion;
class StorageSystem;
class String;

template <class THandle>
class StorageResource : public Resource {
public:
    bool IsOpen() const override;
    // Also keeps the handle as a THandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;

protected:
    THandle* TypedHandle() const { return m_typedHandle; }
    // Reports ResourceSystemErrNoHandle when the front-end is closed.
    THandle* Handle() const;

    // Refuses an open front-end (ResourceSystemErrAlreadyOpen) and a missing system
    // (ResourceSystemErrNoSystem).
    StorageSystem* PrepareOpen() const;
    // As PrepareOpen, and between the two refuses a closed source front-end: ResourceSystemErrNoHandle with
    // the source's class name.
    StorageSystem* PrepareOpenFrom(const ResourceHandle* source, const char* sourceClass) const;
    // The storage system's open, the handle taken on success.
    bool OpenHandle(StorageSystem* system, StorageSearchCriterion& criterion);
    // OpenHandle; on failure ResourceSystemErrOpenFailed, then the family's StorageSystemErr...OpenFailed
    // with the path text.
    bool OpenThrough(StorageSystem* system, StorageSearchCriterion& criterion, const String& pathText);
    // Opens the entry called name inside parent, with the rest of the criterion as given; the failure text
    // is the entry's full path.
    bool OpenNamed(StorageSearchCriterion& criterion, const String* name, const Directory& parent);

    // The checks before an open of another front-end into out: this one open, out closed (else
    // ResourceSystemErrAlreadyOpen with outClass), a storage system.
    StorageSystem* PrepareOpenInto(const Resource& out, const char* outClass) const;
    // Gives out a shared reference on handle; ResourceSystemErrShareFailed when the system refuses.
    bool ShareInto(StorageSystem* system, ResourceHandle* handle, Resource& out) const;
    // ShareInto for a parent directory, which a root lacks: StorageSystemErrNoParent.
    bool ShareParentInto(StorageSystem* system, DirectoryHandle* parent, Directory& out) const;

private:
    THandle* m_typedHandle = nullptr;
};

class FileHandle;
class VolumeHandle;

extern template class StorageResource<VolumeHandle>;
extern template class StorageResource<DirectoryHandle>;
extern template class StorageResource<FileHandle>;

} // namespace Vemo
