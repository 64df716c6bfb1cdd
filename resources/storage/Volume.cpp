#include "resources/storage/Volume.h"

#include "foundation/String.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Directory.h"
#include "resources/storage/File.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/VolumeHandle.h"

namespace Vemo {

Volume::Volume() = default;

Volume::~Volume() {
    ReleaseHandle();
}

bool Volume::Open(const Volume& other) {
    VolumeHandle* source = other.GetVolumeHandle();
    StorageSystem* system = PrepareOpenFrom(source, "Volume");
    if (system == nullptr) {
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    criterion.m_sourceVolume = source;
    return OpenThrough(system, criterion, *source->PathText(true, false));
}

bool Volume::Open(const Path& path, bool create) {
    StorageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    String name;
    path.GetText(name, false, false);
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    criterion.m_createAllowed = create;
    criterion.m_name = &name;
    criterion.m_containerDirectory = path.GetDirectory();
    String fullPath;
    return OpenThrough(system, criterion, path.GetText(fullPath, true, false));
}

bool Volume::Open(const File& file) {
    StorageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    criterion.m_containerFile = const_cast<File*>(&file);
    if (OpenHandle(system, criterion)) {
        return true;
    }
    Error().Report(ResourceSystemErrOpenFailed);
    const String* text = const_cast<File&>(file).PathText(true, false);
    Error().Report(StorageSystemErrVolumeOpenFailed, text);
    return false;
}

bool Volume::Open(const String* name, const Directory* directory, bool create) {
    StorageSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kVolume);
    criterion.m_createAllowed = create;
    criterion.m_name = name;
    criterion.m_containerDirectory = const_cast<Directory*>(directory);
    const Path named(name, directory);
    String fullPath;
    return OpenThrough(system, criterion, named.GetText(fullPath, true, false));
}

bool Volume::Lock() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Lock();
}

bool Volume::Unlock() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Unlock();
}

bool Volume::Insert() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Insert();
}

bool Volume::Remove() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Remove();
}

bool Volume::IsReadable() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Readable();
}

bool Volume::IsWriteable() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Writeable();
}

bool Volume::IsLockable() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Lockable();
}

bool Volume::IsRemovable() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Removable();
}

bool Volume::Verify() {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->Verify();
}

const String* Volume::PathText(bool withContainer, bool native) {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->PathText(withContainer, native) : nullptr;
}

const String* Volume::PathPart(bool native) {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->PathPart(native) : nullptr;
}

File* Volume::ContainerFile() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->ContainerFile() : nullptr;
}

std::uint64_t Volume::Size() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->Size() : 0;
}

std::uint64_t Volume::Free() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->Free() : 0;
}

std::uint32_t Volume::ClusterSize() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->ClusterSize() : 0;
}

std::uint32_t Volume::ReadAhead() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->ReadAhead() : 0;
}

bool Volume::SetLabel(const String& label) {
    VolumeHandle* handle = Handle();
    return handle != nullptr && handle->SetLabel(label);
}

const String* Volume::Label() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->Label() : nullptr;
}

std::uint32_t Volume::Serial() {
    VolumeHandle* handle = Handle();
    return handle != nullptr ? handle->Serial() : 0;
}

bool Volume::Changed() {
    Error().Report(ResourceSystemErrNotSupported, String("Volume::Changed"));
    return false;
}

void Volume::ChangeHook() {}

} // namespace Vemo
