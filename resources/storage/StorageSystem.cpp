#include "resources/storage/StorageSystem.h"

#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/Directory.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/File.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/StorageEngine.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/VolumeHandle.h"

namespace Vemo {

StorageSystem::StorageSystem(std::uint32_t typeId, const String& name) : ResourceSystem(typeId, name) {}

StorageSystem::~StorageSystem() = default;

StorageSystem* StorageSystem::Create(StorageSystem* system) {
    return CreateThrough(
        system, [] { return new StorageSystem(kStorageTypeId, "Storage System"); }, &ResourceSystem::Create);
}

ResourceHandle* StorageSystem::Open(ResourceSearchCriterion* criterion, Resource* resource) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage != nullptr) {
        switch (storage->m_kind) {
        case StorageSearchCriterion::kVolume:
            return OpenVolume(storage, resource);
        case StorageSearchCriterion::kDirectory:
            return OpenDirectory(storage, resource);
        case StorageSearchCriterion::kFile:
            return OpenFile(storage, resource);
        default:
            break;
        }
    }
    Error().Report(StorageSystemErrBadKind);
    return nullptr;
}

ResourceHandle* StorageSystem::OpenVolume(StorageSearchCriterion* criterion, Resource* resource) {
    if (criterion->m_containerFile == nullptr && criterion->m_name == nullptr &&
        criterion->m_sourceVolume == nullptr) {
        Error().Report(StorageSystemErrNoName);
        return nullptr;
    }
    VolumeHandle* volume =
        criterion->m_sourceVolume != nullptr ? criterion->m_sourceVolume : FindVolume(criterion);
    if (volume != nullptr) {
        return Share(volume, resource);
    }
    return ResourceSystem::Open(criterion, resource);
}

ResourceHandle* StorageSystem::OpenDirectory(StorageSearchCriterion* criterion, Resource* resource) {
    DirectoryHandle* found = nullptr;
    if (criterion->m_sourceDirectory != nullptr) {
        found = criterion->m_sourceDirectory;
    } else if (criterion->m_parentDirectory != nullptr) {
        if (criterion->m_name == nullptr) {
            Error().Report(StorageSystemErrNoName);
            return nullptr;
        }
        for (DirectoryHandle* child : criterion->m_parentDirectory->ChildDirectories()) {
            if (child->PathText(false, false)->Compare(*criterion->m_name) == 0) {
                found = child;
                break;
            }
        }
        if (found == nullptr) {
            return ResourceSystem::Open(criterion, resource);
        }
    } else if (criterion->m_sourceVolume != nullptr) {
        found = criterion->m_sourceVolume->GetRootDirectory();
        if (found == nullptr) {
            return ResourceSystem::Open(criterion, resource);
        }
    } else {
        Error().Report(StorageSystemErrNoParent);
        return nullptr;
    }
    if (criterion->m_createAllowed && !criterion->m_openExistingAllowed) {
        Error().Report(StorageSystemErrExists);
        return nullptr;
    }
    return Share(found, resource);
}

ResourceHandle* StorageSystem::OpenFile(StorageSearchCriterion* criterion, Resource* resource) {
    if (criterion->m_sourceFile != nullptr) {
        return ResourceSystem::Open(criterion, resource);
    }
    if (criterion->m_parentDirectory == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return nullptr;
    }
    if (criterion->m_name == nullptr) {
        Error().Report(StorageSystemErrNoName);
        return nullptr;
    }
    return ResourceSystem::Open(criterion, resource);
}

VolumeHandle* StorageSystem::FindVolume(StorageSearchCriterion* criterion) {
    for (VolumeHandle* volume : m_openVolumes) {
        File* container = volume->ContainerFile();
        if (criterion->m_name != nullptr) {
            if (!volume->MatchName(*criterion->m_name)) {
                continue;
            }
            if (criterion->m_containerDirectory == nullptr) {
                if (container == nullptr) {
                    return volume;
                }
                continue;
            }
            if (container == nullptr) {
                continue;
            }
            Directory holder;
            container->ParentDirectory(holder);
            const ResourceHandle* wanted = criterion->m_containerDirectory->GetHandle();
            if (holder.GetHandle() != nullptr && holder.GetHandle() == wanted) {
                return volume;
            }
            continue;
        }
        if (criterion->m_containerFile != nullptr && container != nullptr &&
            criterion->m_containerFile->IsSame(*container)) {
            return volume;
        }
    }
    return nullptr;
}

bool StorageSystem::AttachHandle(ResourceSearchCriterion* criterion, ResourceEngine* engine,
                                 Resource* resource, ResourceHandle* handle) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    const std::uint32_t kind = storage != nullptr ? storage->m_kind : 0;
    if (kind == StorageSearchCriterion::kVolume) {
        if (auto* volume = dynamic_cast<VolumeHandle*>(handle)) {
            m_openVolumes.PushBack(volume);
        }
    } else if (kind == StorageSearchCriterion::kDirectory) {
        auto* directory = dynamic_cast<DirectoryHandle*>(handle);
        if (directory != nullptr && storage->m_parentDirectory != nullptr) {
            auto* parent = dynamic_cast<DirectoryHandle*>(Share(storage->m_parentDirectory, nullptr));
            if (parent == nullptr) {
                return false;
            }
            directory->SetParentLink(parent);
            parent->AddChildDirectory(directory);
        } else if (directory != nullptr && storage->m_sourceVolume != nullptr) {
            auto* volume = dynamic_cast<VolumeHandle*>(Share(storage->m_sourceVolume, nullptr));
            if (volume == nullptr) {
                return false;
            }
            directory->SetVolumeLink(volume);
            volume->SetRootDirectory(directory);
        }
    } else if (kind == StorageSearchCriterion::kFile) {
        auto* file = dynamic_cast<FileHandle*>(handle);
        DirectoryHandle* parent = storage->m_parentDirectory;
        if (parent == nullptr && storage->m_sourceFile != nullptr) {
            parent = storage->m_sourceFile->Parent();
        }
        if (file != nullptr && parent != nullptr) {
            auto* held = dynamic_cast<DirectoryHandle*>(Share(parent, nullptr));
            if (held == nullptr) {
                return false;
            }
            file->SetParentLink(held);
            held->AddFile(file);
        }
    }
    return ResourceSystem::AttachHandle(criterion, engine, resource, handle);
}

bool StorageSystem::DetachResource(ResourceHandle* handle, ResourceEngine* engine, Resource* resource) {
    // At count 2 the one holder outside the tree is letting go: the tree's own links come down. Each link is
    // cleared before the other end is called, so the nested closes do not come back here for it.
    if (handle->GetReferenceCount() == 2) {
        if (auto* directory = dynamic_cast<DirectoryHandle*>(handle)) {
            if (DirectoryHandle* parent = directory->Parent()) {
                directory->SetParentLink(nullptr);
                parent->RemoveChildDirectory(directory);
                Close(parent, nullptr);
            }
            if (VolumeHandle* volume = directory->Volume()) {
                directory->SetVolumeLink(nullptr);
                volume->SetRootDirectory(nullptr);
                Close(volume, nullptr);
            }
        } else if (auto* file = dynamic_cast<FileHandle*>(handle)) {
            if (DirectoryHandle* parent = file->Parent()) {
                file->SetParentLink(nullptr);
                parent->RemoveFile(file);
                Close(parent, nullptr);
            }
        }
    }
    if (!ResourceSystem::DetachResource(handle, engine, resource)) {
        return false;
    }
    auto* volume = dynamic_cast<VolumeHandle*>(handle);
    if (volume != nullptr && volume->GetReferenceCount() == 0) {
        for (auto entry = m_openVolumes.Begin(); entry != m_openVolumes.End(); ++entry) {
            if ((*entry)->GetId() == volume->GetId()) {
                m_openVolumes.Erase(entry);
                break;
            }
        }
    }
    return true;
}

bool StorageSystem::AddingEngine(ResourceEngine* engine) {
    auto* storage = dynamic_cast<StorageEngine*>(engine);
    if (storage == nullptr) {
        return false;
    }
    m_storageEngines.PushBack(storage);
    return true;
}

bool StorageSystem::EngineRemoved(ResourceEngine* engine) {
    for (auto entry = m_storageEngines.Begin(); entry != m_storageEngines.End(); ++entry) {
        if ((*entry)->GetTypeId() == engine->GetTypeId()) {
            m_storageEngines.Erase(entry);
            return true;
        }
    }
    Error().Report(ResourceSystemErrEngineHasNoSystem, engine->GetName());
    return false;
}

} // namespace Vemo
