#include "resources/storage/StorageResource.h"

#include "foundation/String.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/VolumeHandle.h"

namespace Vemo {

namespace {

ErrorCode OpenFailedCode(const VolumeHandle*) {
    return StorageSystemErrVolumeOpenFailed;
}

ErrorCode OpenFailedCode(const DirectoryHandle*) {
    return StorageSystemErrDirectoryOpenFailed;
}

ErrorCode OpenFailedCode(const FileHandle*) {
    return StorageSystemErrFileOpenFailed;
}

} // namespace

template <class THandle>
bool StorageResource<THandle>::IsOpen() const {
    return GetHandle() != nullptr && m_typedHandle != nullptr;
}

template <class THandle>
void StorageResource<THandle>::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_typedHandle = dynamic_cast<THandle*>(handle);
}

template <class THandle>
THandle* StorageResource<THandle>::Handle() const {
    if (m_typedHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
    }
    return m_typedHandle;
}

template <class THandle>
StorageSystem* StorageResource<THandle>::PrepareOpen() const {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return nullptr;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
    }
    return system;
}

template <class THandle>
StorageSystem* StorageResource<THandle>::PrepareOpenFrom(const ResourceHandle* source,
                                                         const char* sourceClass) const {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return nullptr;
    }
    if (source == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String(sourceClass));
        return nullptr;
    }
    return PrepareOpen();
}

template <class THandle>
bool StorageResource<THandle>::OpenHandle(StorageSystem* system, StorageSearchCriterion& criterion) {
    ResourceHandle* handle = system->Open(&criterion, this);
    if (handle == nullptr) {
        return false;
    }
    SetHandle(handle);
    return true;
}

template <class THandle>
bool StorageResource<THandle>::OpenThrough(StorageSystem* system, StorageSearchCriterion& criterion,
                                           const String& pathText) {
    if (OpenHandle(system, criterion)) {
        return true;
    }
    Error().Report(ResourceSystemErrOpenFailed);
    Error().Report(OpenFailedCode(m_typedHandle), pathText);
    return false;
}

template <class THandle>
bool StorageResource<THandle>::OpenNamed(StorageSearchCriterion& criterion, const String* name,
                                         const Directory& parent) {
    StorageSystem* system = PrepareOpenFrom(parent.GetDirectoryHandle(), "Parent");
    if (system == nullptr) {
        return false;
    }
    criterion.m_name = name;
    criterion.m_parentDirectory = parent.GetDirectoryHandle();
    if (OpenHandle(system, criterion)) {
        return true;
    }
    Error().Report(ResourceSystemErrOpenFailed);
    // Built only now: the Path opens a Directory of its own on the parent.
    const Path named(name, &parent);
    String fullPath;
    Error().Report(OpenFailedCode(m_typedHandle), named.GetText(fullPath, true, false));
    return false;
}

template <class THandle>
StorageSystem* StorageResource<THandle>::PrepareOpenInto(const Resource& out, const char* outClass) const {
    if (m_typedHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
        return nullptr;
    }
    if (out.GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen, String(outClass));
        return nullptr;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
    }
    return system;
}

template <class THandle>
bool StorageResource<THandle>::ShareInto(StorageSystem* system, ResourceHandle* handle, Resource& out) const {
    ResourceHandle* shared = system->Share(handle, &out);
    if (shared == nullptr) {
        Error().Report(ResourceSystemErrShareFailed);
        return false;
    }
    out.SetHandle(shared);
    return true;
}

template <class THandle>
bool StorageResource<THandle>::ShareParentInto(StorageSystem* system, DirectoryHandle* parent,
                                               Directory& out) const {
    if (parent == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return false;
    }
    return ShareInto(system, parent, out);
}

template class StorageResource<VolumeHandle>;
template class StorageResource<DirectoryHandle>;
template class StorageResource<FileHandle>;

} // namespace Vemo
