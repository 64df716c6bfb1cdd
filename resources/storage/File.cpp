#include "resources/storage/File.h"

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

namespace Vemo {

File::File() = default;

File::~File() {
    ReleaseHandle();
}

bool File::OpenByPath(const Path& path, const AccessStyle* style, bool create, bool openExisting) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    Directory* parent = path.GetDirectory();
    if (parent == nullptr) {
        Error().Report(StorageSystemErrNoParent);
        return false;
    }
    if (parent->GetDirectoryHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Path parent"));
        return false;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    String name;
    path.GetText(name, false, false);
    StorageSearchCriterion criterion(StorageSearchCriterion::kFile);
    criterion.m_createAllowed = create;
    criterion.m_openExistingAllowed = openExisting;
    criterion.m_name = &name;
    criterion.m_parentDirectory = parent->GetDirectoryHandle();
    criterion.m_accessStyle = style;
    String fullPath;
    return OpenThrough(system, criterion, path.GetText(fullPath, true, false));
}

bool File::OpenNamed(const String* name, const Directory& parent, const AccessStyle* style, bool create,
                     bool openExisting) {
    StorageSearchCriterion criterion(StorageSearchCriterion::kFile);
    criterion.m_createAllowed = create;
    criterion.m_openExistingAllowed = openExisting;
    criterion.m_accessStyle = style;
    return StorageResource::OpenNamed(criterion, name, parent);
}

bool File::Create(const Path& path, const AccessStyle* style, bool openExisting) {
    return OpenByPath(path, style, true, openExisting);
}

bool File::Create(const String* name, const Directory& parent, const AccessStyle* style, bool openExisting) {
    return OpenNamed(name, parent, style, true, openExisting);
}

bool File::Open(const Path& path, const AccessStyle* style, bool create) {
    return OpenByPath(path, style, create, true);
}

bool File::Open(const String* name, const Directory& parent, const AccessStyle* style, bool create) {
    return OpenNamed(name, parent, style, create, true);
}

bool File::Open(const File& other, const AccessStyle* style) {
    FileHandle* source = other.GetFileHandle();
    StorageSystem* system = PrepareOpenFrom(source, "File");
    if (system == nullptr) {
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kFile);
    criterion.m_openExistingAllowed = 1;
    criterion.m_sourceFile = source;
    criterion.m_accessStyle = style;
    return OpenThrough(system, criterion, *source->PathText(true, false));
}

bool File::Share(const File& other) {
    if (GetHandle() != nullptr) {
        Error().Report(ResourceSystemErrAlreadyOpen);
        return false;
    }
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    if (other.GetFileHandle() == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("File"));
        return false;
    }
    return ShareInto(system, other.GetHandle(), *this);
}

AccessStatus* File::Read(std::uint64_t count, void* buffer) {
    return ReadAt(Position(), count, buffer);
}

AccessStatus* File::ReadAt(std::uint64_t position, std::uint64_t count, void* buffer) {
    FileHandle* handle = Handle();
    return handle != nullptr ? handle->ReadAt(position, count, buffer) : nullptr;
}

bool File::ReadInto(std::uint64_t position, std::uint64_t count, void* buffer, AccessStatus& record) {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->ReadInto(position, count, buffer, record);
}

AccessStatus* File::Write(std::uint64_t count, const void* buffer) {
    return WriteAt(Position(), count, buffer);
}

AccessStatus* File::WriteAt(std::uint64_t position, std::uint64_t count, const void* buffer) {
    FileHandle* handle = Handle();
    return handle != nullptr ? handle->WriteAt(position, count, buffer) : nullptr;
}

bool File::SetSize(std::uint64_t size) {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->SetSize(size);
}

std::uint64_t File::Size() {
    FileHandle* handle = Handle();
    return handle != nullptr ? handle->Size() : 0;
}

std::uint64_t File::Position() {
    FileHandle* handle = Handle();
    return handle != nullptr ? handle->Position() : 0;
}

bool File::IsReadable() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->IsReadable();
}

bool File::IsWriteable() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->IsWriteable();
}

bool File::IsDeletable() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->IsDeletable();
}

bool File::IsArchive() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->IsArchive();
}

bool File::IsHidden() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->IsHidden();
}

bool File::SetName(const String& name) {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->SetName(name);
}

bool File::Flush() {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->Flush();
}

bool File::Replace(const String& name) {
    FileHandle* handle = Handle();
    return handle != nullptr && handle->Replace(name);
}

const String* File::PathText(bool withParents, bool native) {
    FileHandle* handle = Handle();
    return handle != nullptr ? handle->PathText(withParents, native) : nullptr;
}

bool File::ParentDirectory(Directory& out) {
    StorageSystem* system = PrepareOpenInto(out, "Directory");
    return system != nullptr && ShareParentInto(system, TypedHandle()->Parent(), out);
}

bool File::Changed() {
    Error().Report(ResourceSystemErrNotSupported, String("File::Changed"));
    return false;
}

void File::ChangeHook() {}

bool File::IsSame(const File& other) const {
    FileHandle* mine = TypedHandle();
    FileHandle* theirs = other.TypedHandle();
    if (mine == nullptr) {
        return theirs == nullptr;
    }
    if (theirs == nullptr) {
        return false;
    }
    return mine->GetName().Compare(theirs->GetName()) == 0 && mine->Parent() == theirs->Parent();
}

} // namespace Vemo
