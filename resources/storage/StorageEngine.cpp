#include "resources/storage/StorageEngine.h"

#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/VolumeHandle.h"

namespace Vemo {

StorageEngine::StorageEngine(std::uint32_t typeId, const String& name) : ResourceEngine(typeId, name) {}

StorageEngine::~StorageEngine() = default;

ResourceHandle* StorageEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr) {
        return nullptr;
    }
    switch (storage->m_kind) {
    case StorageSearchCriterion::kVolume: {
        if (storage->m_name == nullptr) {
            return nullptr;
        }
        auto* volume = new VolumeHandle(this);
        volume->SetNames(*storage->m_name, *storage->m_name);
        return volume;
    }
    case StorageSearchCriterion::kDirectory: {
        if (storage->m_name != nullptr && storage->m_parentDirectory != nullptr) {
            auto* directory = new DirectoryHandle(this);
            directory->SetNames(*storage->m_name, *storage->m_name);
            return directory;
        }
        if (storage->m_sourceVolume != nullptr) {
            auto* root = new DirectoryHandle(this);
            root->Flags().m_directory = 1;
            return root;
        }
        return nullptr;
    }
    case StorageSearchCriterion::kFile: {
        String name;
        if (storage->m_name != nullptr && storage->m_parentDirectory != nullptr) {
            name = *storage->m_name;
        } else if (storage->m_sourceFile != nullptr) {
            name = *storage->m_sourceFile->PathText(false, false);
        } else {
            return nullptr;
        }
        auto* file = new FileHandle(this);
        file->SetNames(name, name);
        if (storage->m_accessStyle != nullptr) {
            file->SetAccessStyle(*storage->m_accessStyle);
        }
        return file;
    }
    default:
        return nullptr;
    }
}

bool StorageEngine::PreOpen(ResourceSearchCriterion* criterion, Resource* resource) {
    if (!ResourceEngine::PreOpen(criterion, resource)) {
        return false;
    }
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr || storage->m_kind != StorageSearchCriterion::kFile) {
        return true;
    }
    const AccessStyle defaultStyle;
    const AccessStyle& style = storage->m_accessStyle != nullptr ? *storage->m_accessStyle : defaultStyle;

    String name;
    DirectoryHandle* directory = storage->m_parentDirectory;
    if (storage->m_name != nullptr) {
        name = *storage->m_name;
    } else if (storage->m_sourceFile != nullptr) {
        name = *storage->m_sourceFile->PathText(false, false);
        directory = storage->m_sourceFile->Parent();
    } else {
        Error().Report(StorageSystemErrNoName);
        return false;
    }
    if (directory == nullptr) {
        // The system refuses file criteria without a directory before it gets here; nothing to check against.
        return true;
    }
    if (storage->m_createAllowed && !directory->IsWriteable() && !directory->ContainsFile(name)) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    const BasicList<FileHandle*>* open = directory->OpenFilesNamed(name);
    if (open == nullptr) {
        return true;
    }
    for (FileHandle* handle : *open) {
        if (style.ConflictsWith(*handle->GetAccessStyle())) {
            Error().Report(StorageEngineErrAccessDenied);
            return false;
        }
    }
    return true;
}

bool StorageEngine::IsValidName(const String& name) {
    return name.FindFirstOf(":/", 0, 2) == String::kNotFound;
}

StorageEngine* StorageEngine::Create(StorageEngine* engine) {
    return CreateThrough(
        engine, [] { return new StorageEngine(kStorageTypeId, "Storage Engine"); }, &ResourceEngine::Create);
}

} // namespace Vemo
