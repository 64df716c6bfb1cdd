#include "resources/storage/Directory.h"

#include "foundation/String.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/Volume.h"
#include "resources/storage/VolumeHandle.h"

namespace Vemo {

Directory::Directory() = default;

Directory::~Directory() {
    ReleaseHandle();
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
        // A Path whose text ended in "/" holds the directory itself, with an empty name: that directory is
        // shared, as any directory already open is, rather than opened again under an empty name.
        if (name.IsEmpty()) {
            criterion.m_sourceDirectory = parent->GetDirectoryHandle();
        } else {
            criterion.m_parentDirectory = parent->GetDirectoryHandle();
        }
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
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_createAllowed = create;
    criterion.m_openExistingAllowed = openExisting;
    return StorageResource::OpenNamed(criterion, name, parent);
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
    DirectoryHandle* source = other.GetDirectoryHandle();
    StorageSystem* system = PrepareOpenFrom(source, "Directory");
    if (system == nullptr) {
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_sourceDirectory = source;
    return OpenThrough(system, criterion, *source->PathText(true, false));
}

bool Directory::OpenRoot(const Volume& volume) {
    VolumeHandle* volumeHandle = volume.GetVolumeHandle();
    StorageSystem* system = PrepareOpenFrom(volumeHandle, "Volume");
    if (system == nullptr) {
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

bool Directory::TransferFrom(const Path& source, bool mergeDirectories, bool overwriteFiles,
                             bool (DirectoryHandle::*transfer)(const String&, DirectoryHandle*, bool, bool)) {
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
    return (handle->*transfer)(name, holder->GetDirectoryHandle(), mergeDirectories, overwriteFiles);
}

bool Directory::TransferFrom(const String& name, const Directory& source, bool mergeDirectories,
                             bool overwriteFiles,
                             bool (DirectoryHandle::*transfer)(const String&, DirectoryHandle*, bool, bool)) {
    DirectoryHandle* handle = Handle();
    if (handle == nullptr) {
        return false;
    }
    if (source.GetDirectoryHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Parent"));
        return false;
    }
    return (handle->*transfer)(name, source.GetDirectoryHandle(), mergeDirectories, overwriteFiles);
}

bool Directory::Move(const Path& source, bool mergeDirectories, bool overwriteFiles) {
    return TransferFrom(source, mergeDirectories, overwriteFiles, &DirectoryHandle::Move);
}

bool Directory::Move(const String& name, const Directory& source, bool mergeDirectories,
                     bool overwriteFiles) {
    return TransferFrom(name, source, mergeDirectories, overwriteFiles, &DirectoryHandle::Move);
}

bool Directory::Copy(const Path& source, bool mergeDirectories, bool overwriteFiles) {
    return TransferFrom(source, mergeDirectories, overwriteFiles, &DirectoryHandle::Copy);
}

bool Directory::Copy(const String& name, const Directory& source, bool mergeDirectories,
                     bool overwriteFiles) {
    return TransferFrom(name, source, mergeDirectories, overwriteFiles, &DirectoryHandle::Copy);
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

bool Directory::MayReplace(const String& name) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->MayReplace(name);
}

bool Directory::FollowLink(const String& name, String& out) {
    DirectoryHandle* handle = Handle();
    return handle != nullptr && handle->FollowLink(name, out);
}

DirectoryHandle* Directory::TopHandle() const {
    DirectoryHandle* top = TypedHandle();
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
    return system != nullptr && ShareParentInto(system, TypedHandle()->Parent(), out);
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
