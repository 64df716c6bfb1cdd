#include "resources/Directory.h"

#include "foundation/String.h"
#include "resources/DirectoryHandle.h"
#include "resources/Error.h"
#include "resources/ErrorCodes.h"
#include "resources/Path.h"
#include "resources/StorageSearchCriterion.h"
#include "resources/StorageSystem.h"
#include "resources/SystemAccessors.h"
#include "resources/Volume.h"
#include "resources/VolumeHandle.h"

namespace Vemo {

Directory::Directory() = default;

Directory::~Directory() {
    ReleaseHandle();
}

bool Directory::IsOpen() const {
    return GetHandle() != nullptr && m_directoryHandle != nullptr;
}

void Directory::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_directoryHandle = dynamic_cast<DirectoryHandle*>(handle);
}

DirectoryHandle* Directory::Handle() const {
    if (m_directoryHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
    }
    return m_directoryHandle;
}

bool Directory::OpenThrough(StorageSystem* system, StorageSearchCriterion& criterion,
                            const String& fullPath) {
    if (ResourceHandle* handle = system->Open(&criterion, this)) {
        SetHandle(handle);
        return true;
    }
    Error().Report(ResourceSystemErrOpenFailed);
    Error().Report(StorageSystemErrDirectoryOpenFailed, fullPath);
    return false;
}

bool Directory::OpenByPath(const Path& path, bool create, bool openExisting, bool volumeAlone) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    String name;
    path.GetText(name, false, false);
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_createAllowed = create;
    criterion.m_openExistingAllowed = openExisting;
    criterion.m_name = &name;

    // Opening a Path that is a volume name alone goes through that volume; creating one is left to the
    // storage system to refuse, as there is no parent to create it in.
    Volume volume;
    if (Directory* parent = path.GetDirectory()) {
        if (parent->GetDirectoryHandle() == nullptr) {
            Error().Report(ResourceSystemErrNoHandle, String("Path parent"));
            return false;
        }
        criterion.m_parentDirectory = parent->GetDirectoryHandle();
    } else if (volumeAlone) {
        if (!volume.Open(path, create) || volume.GetVolumeHandle() == nullptr) {
            Error().Report(ResourceSystemErrNoHandle, String("Volume"));
            return false;
        }
        criterion.m_sourceVolume = volume.GetVolumeHandle();
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    String fullPath;
    return OpenThrough(system, criterion, path.GetText(fullPath, true, false));
}

bool Directory::OpenNamed(const String* name, const Directory& parent, bool create, bool openExisting) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    if (parent.GetDirectoryHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_createAllowed = create;
    criterion.m_openExistingAllowed = openExisting;
    criterion.m_name = name;
    criterion.m_parentDirectory = parent.GetDirectoryHandle();
    if (ResourceHandle* handle = system->Open(&criterion, this)) {
        SetHandle(handle);
        return true;
    }
    Error().Report(ResourceSystemErrOpenFailed);
    const Path named(name, &parent);
    String fullPath;
    Error().Report(StorageSystemErrDirectoryOpenFailed, named.GetText(fullPath, true, false));
    return false;
}

bool Directory::Create(const Path& path, bool openExisting) {
    return OpenByPath(path, true, openExisting, false);
}

bool Directory::Create(const String* name, const Directory& parent, bool openExisting) {
    return OpenNamed(name, parent, true, openExisting);
}

bool Directory::Open(const Path& path, bool create) {
    return OpenByPath(path, create, true, true);
}

bool Directory::Open(const String* name, const Directory& parent, bool create) {
    return OpenNamed(name, parent, create, true);
}

bool Directory::Open(const Directory& other) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    if (other.m_directoryHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Directory"));
        return false;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_sourceDirectory = other.m_directoryHandle;
    return OpenThrough(system, criterion, *other.m_directoryHandle->PathText(true, false));
}

bool Directory::OpenRoot(const Volume& volume) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    VolumeHandle* volumeHandle = volume.GetVolumeHandle();
    if (volumeHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Volume"));
        return false;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_sourceVolume = volumeHandle;
    return OpenThrough(system, criterion, *volumeHandle->PathText(true, false));
}

bool Directory::Delete(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->Delete(name);
}

bool Directory::Move(const Path& source, bool mergeDirectories, bool overwriteFiles) {
    DirectoryHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    Directory* holder = source.GetDirectory();
    if (holder == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return false;
    }
    if (holder->GetDirectoryHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    String name;
    source.GetText(name, false, false);
    return handle->Move(name, holder->GetDirectoryHandle(), mergeDirectories, overwriteFiles);
}

bool Directory::Move(const String& name, const Directory& source, bool mergeDirectories,
                     bool overwriteFiles) {
    DirectoryHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    if (source.m_directoryHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    return handle->Move(name, source.m_directoryHandle, mergeDirectories, overwriteFiles);
}

bool Directory::Copy(const Path& source, bool mergeDirectories, bool overwriteFiles) {
    DirectoryHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    Directory* holder = source.GetDirectory();
    if (holder == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return false;
    }
    if (holder->GetDirectoryHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    String name;
    source.GetText(name, false, false);
    return handle->Copy(name, holder->GetDirectoryHandle(), mergeDirectories, overwriteFiles);
}

bool Directory::Copy(const String& name, const Directory& source, bool mergeDirectories,
                     bool overwriteFiles) {
    DirectoryHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    if (source.m_directoryHandle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    return handle->Copy(name, source.m_directoryHandle, mergeDirectories, overwriteFiles);
}

bool Directory::IsEmpty() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsEmpty();
}

bool Directory::ContainsDirectory(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->ContainsDirectory(name);
}

bool Directory::ContainsFile(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->ContainsFile(name);
}

bool Directory::Contains(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && (handle->ContainsFile(name) || handle->ContainsDirectory(name));
}

std::uint32_t Directory::EntryAt(const String& pattern, BasicList<Descriptor*>& list) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr ? handle->EntryAt(pattern, list) : 0;
}

StorageSystem* Directory::PrepareOpenInto(const Resource& out, const char* outClass) {
    if (m_directoryHandle == nullptr) {
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

bool Directory::ShareInto(StorageSystem* system, ResourceHandle* handle, Resource& out) {
    ResourceHandle* shared = system->Share(handle, &out);
    if (shared == nullptr) {
        Error().Report(ResourceSystemErrShareFailed);
        return false;
    }
    out.SetHandle(shared);
    return true;
}

DirectoryHandle* Directory::TopHandle() const {
    DirectoryHandle* top = m_directoryHandle;
    while (top->Parent() != nullptr) {
        top = top->Parent();
    }
    return top;
}

bool Directory::RootDirectory(Directory& out) {
    StorageSystem* system = PrepareOpenInto(out, "Directory");
    return system != nullptr && ShareInto(system, TopHandle(), out);
}

bool Directory::GetVolume(Volume& out) {
    StorageSystem* system = PrepareOpenInto(out, "Volume");
    if (system == nullptr) {
        return false;
    }
    VolumeHandle* volume = TopHandle()->Volume();
    if (volume == nullptr) {
        Error().Report(StorageSystemErrNoVolume);
        return false;
    }
    return ShareInto(system, volume, out);
}

bool Directory::ParentDirectory(Directory& out) {
    StorageSystem* system = PrepareOpenInto(out, "Directory");
    if (system == nullptr) {
        return false;
    }
    DirectoryHandle* parent = m_directoryHandle->Parent();
    if (parent == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return false;
    }
    return ShareInto(system, parent, out);
}

bool Directory::IsReadable() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsReadable();
}

bool Directory::IsWriteable() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsWriteable();
}

bool Directory::IsDeletable() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsDeletable();
}

bool Directory::IsArchive() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsArchive();
}

bool Directory::IsHidden() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->IsHidden();
}

bool Directory::SetName(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->SetName(name);
}

const String* Directory::PathText(bool withParents, bool native) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr ? handle->PathText(withParents, native) : nullptr;
}

const String* Directory::PathPart(bool native) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr ? handle->PathPart(native) : nullptr;
}

DirectoryHandle* Directory::Parent() {
    DirectoryHandle* handle = Handle();
    return handle != nullptr ? handle->Parent() : nullptr;
}

bool Directory::Changed() {
    Error().Report(ResourceSystemErrNotSupported, String("Directory::Changed"));
    return false;
}

void Directory::ChangeHook() {}

} // namespace Vemo
