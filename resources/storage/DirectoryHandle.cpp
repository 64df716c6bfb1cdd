#include "resources/storage/DirectoryHandle.h"

#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/AccessStatus.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/VolumeHandle.h"

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace Vemo {

namespace {

// Copy moves file data through one buffer of this size.
constexpr std::uint32_t kCopyStep = 0x100000;

void ReleaseRecord(AccessStatus* record) {
    if (record == nullptr) {
        return;
    }
    if (record->m_owner == nullptr) {
        Error().Report(ResourceSystemErrNoHandle);
        return;
    }
    record->m_owner->ReleaseAccess(record);
}

// What a copy opened, as the handle class it needs; null after reporting when nothing was opened, or (closed
// again) something of another kind.
template <class Handle>
Handle* OpenedAs(StorageSystem& system, ResourceHandle* opened) {
    if (opened == nullptr) {
        Error().Report(ResourceSystemErrOpenFailed);
        return nullptr;
    }
    auto* handle = dynamic_cast<Handle*>(opened);
    if (handle == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Destination"));
        system.Close(opened, nullptr);
    }
    return handle;
}

// A copy of a folder with everything in it. It keeps the identities of the folders it is inside, source and
// destination, from the top down to where it is: a folder met again on the way down is a link back up (or
// the destination inside the source), and entering it would never end.
class FolderCopy {
public:
    // The copy goes into destination, which it counts as a folder it is inside.
    FolderCopy(StorageSystem& system, DirectoryHandle& destination, bool mergeDirectories,
               bool overwriteFiles)
        : m_system(system), m_mergeDirectories(mergeDirectories), m_overwriteFiles(overwriteFiles) {
        Remember(destination);
    }

    // Copies the folder called name of source into destination; every entry is tried, and the result is
    // true only when all of them were copied.
    bool Enter(DirectoryHandle& destination, const String& name, DirectoryHandle* source) {
        DirectoryHandle* from = OpenSource(name, source);
        if (from == nullptr) {
            return false;
        }
        DirectoryHandle* to = LeadsBack(*from) ? nullptr : OpenDestination(destination, name);
        bool result = false;
        if (to != nullptr) {
            const std::size_t depth = m_inside.size();
            Remember(*from);
            Remember(*to);
            result = CopyEntries(*to, from);
            m_inside.resize(depth);
            m_system.Close(to, nullptr);
        }
        m_system.Close(from, nullptr);
        return result;
    }

private:
    void Remember(DirectoryHandle& folder) {
        DirectoryIdentity identity;
        if (folder.Identity(identity)) {
            m_inside.push_back(identity);
        }
    }

    // Whether the folder is one the copy is already inside; such a folder is reported and skipped.
    bool LeadsBack(DirectoryHandle& folder) {
        DirectoryIdentity identity;
        if (!folder.Identity(identity) ||
            std::find(m_inside.begin(), m_inside.end(), identity) == m_inside.end()) {
            return false;
        }
        String text = *folder.PathText(true, true);
        text.Append(": a folder this copy is already inside; skipped");
        Error().Report(StorageEngineErrAccessDenied, text);
        return true;
    }

    DirectoryHandle* OpenSource(const String& name, DirectoryHandle* source) {
        StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
        criterion.m_openExistingAllowed = 1;
        criterion.m_name = &name;
        criterion.m_parentDirectory = source;
        return OpenedAs<DirectoryHandle>(m_system, m_system.Open(&criterion, nullptr));
    }

    DirectoryHandle* OpenDestination(DirectoryHandle& destination, const String& name) {
        StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
        criterion.m_createAllowed = 1;
        criterion.m_openExistingAllowed = m_mergeDirectories;
        criterion.m_name = &name;
        criterion.m_parentDirectory = &destination;
        return OpenedAs<DirectoryHandle>(m_system, m_system.Open(&criterion, nullptr));
    }

    bool CopyEntries(DirectoryHandle& to, DirectoryHandle* from) {
        BasicList<Descriptor*> entries;
        from->EntryAt(String("*"), entries);
        bool result = true;
        for (Descriptor* entry : entries) {
            const bool copied = from->ContainsDirectory(entry->m_name)
                                    ? Enter(to, entry->m_name, from)
                                    : to.Copy(entry->m_name, from, m_mergeDirectories, m_overwriteFiles);
            result = copied && result;
            delete entry;
        }
        return result;
    }

    StorageSystem& m_system;
    const bool m_mergeDirectories;
    const bool m_overwriteFiles;
    std::vector<DirectoryIdentity> m_inside;
};

} // namespace

const String& DirectoryHandle::DirectorySeparator() {
    static const String separator("/");
    return separator;
}

DirectoryHandle::DirectoryHandle(ResourceEngine* engine) : ResourceHandle(engine), m_separator("/") {}

DirectoryHandle::~DirectoryHandle() {
    // Normally every list is empty by now: each entry holds a reference on this directory. What is left
    // belongs to a handle taken away from its holders; its entries must not point back here.
    while (!m_volumes.Empty()) {
        VolumeHandle* volume = m_volumes.Front();
        if (!RemoveVolume(volume)) {
            m_volumes.PopFront();
        }
    }
    while (!m_childDirectories.Empty()) {
        DirectoryHandle* child = m_childDirectories.Front();
        child->SetParentLink(nullptr);
        if (!RemoveChildDirectory(child)) {
            m_childDirectories.PopFront();
        }
    }
    while (!m_openFiles.Empty()) {
        FileList* list = *m_openFiles.Begin();
        if (list->Empty()) {
            m_openFiles.Erase(m_openFiles.Begin());
            delete list;
            continue;
        }
        FileHandle* file = list->Front();
        file->SetParentLink(nullptr);
        if (!RemoveFile(file)) {
            list->PopFront();
        }
    }
}

StorageSystem* DirectoryHandle::GetStorageSystem() const {
    return dynamic_cast<StorageSystem*>(GetEngine()->GetSystem());
}

bool DirectoryHandle::Delete(const String&) {
    Error().Report(StorageEngineErrDeleteFailed);
    return false;
}

bool DirectoryHandle::Move(const String& name, DirectoryHandle* source, bool mergeDirectories,
                           bool overwriteFiles) {
    if (!Copy(name, source, mergeDirectories, overwriteFiles)) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    if (!source->Delete(name)) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    return true;
}

bool DirectoryHandle::Copy(const String& name, DirectoryHandle* source, bool mergeDirectories,
                           bool overwriteFiles) {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    if (source->ContainsDirectory(name)) {
        FolderCopy copy(*system, *this, mergeDirectories, overwriteFiles);
        return copy.Enter(*this, name, source);
    }
    if (source->ContainsFile(name)) {
        return CopyFile(system, name, source, overwriteFiles);
    }
    Error().Report(StorageEngineErrNotFound, name);
    return false;
}

bool DirectoryHandle::CopyFile(StorageSystem* system, const String& name, DirectoryHandle* source,
                               bool overwriteFiles) {
    if (ContainsFile(name) && !overwriteFiles) {
        Error().Report(StorageEngineErrAccessDenied, name);
        return false;
    }
    const AccessStyle writeAlone(false, true, false, false);
    StorageSearchCriterion target(StorageSearchCriterion::kFile);
    target.m_createAllowed = 1;
    target.m_openExistingAllowed = overwriteFiles;
    target.m_name = &name;
    target.m_parentDirectory = this;
    target.m_accessStyle = &writeAlone;
    auto* destination = OpenedAs<FileHandle>(*system, system->Open(&target, nullptr));
    if (destination == nullptr) {
        return false;
    }

    const AccessStyle readShared(true, false, true, true);
    StorageSearchCriterion from(StorageSearchCriterion::kFile);
    from.m_openExistingAllowed = 1;
    from.m_name = &name;
    from.m_parentDirectory = source;
    from.m_accessStyle = &readShared;
    auto* sourceFile = OpenedAs<FileHandle>(*system, system->Open(&from, nullptr));
    if (sourceFile == nullptr) {
        system->Close(destination, nullptr);
        return false;
    }

    const std::uint64_t total = sourceFile->Size();
    destination->SetSize(total);
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kCopyStep]);
    std::uint64_t written = 0;
    bool more = buffer != nullptr;
    while (more) {
        AccessStatus* read = sourceFile->ReadAt(written, kCopyStep, buffer.get());
        more = read != nullptr && read->m_count > 0;
        if (more) {
            AccessStatus* write = destination->WriteAt(read->m_position, read->m_count, buffer.get());
            more = write != nullptr && write->m_status == AccessStatus::kDone && write->m_count == kCopyStep;
            if (write != nullptr) {
                written = write->m_position + write->m_count;
                ReleaseRecord(write);
            }
        }
        ReleaseRecord(read);
    }
    // A copy is whole or it failed: a short or failed transfer leaves only the bytes that did arrive.
    const bool complete = written == total;
    if (!complete) {
        destination->SetSize(written);
    }
    system->Close(sourceFile, nullptr);
    system->Close(destination, nullptr);
    return complete;
}

bool DirectoryHandle::IsEmpty() {
    return true;
}
bool DirectoryHandle::ContainsDirectory(const String&) {
    return false;
}
bool DirectoryHandle::ContainsFile(const String&) {
    return false;
}
std::uint32_t DirectoryHandle::EntryAt(const String&, BasicList<Descriptor*>&) {
    return 0;
}
bool DirectoryHandle::MayReplace(const String&) {
    return false;
}
bool DirectoryHandle::FollowLink(const String&, String& out) {
    out = String();
    return true;
}
bool DirectoryHandle::IsReadable() {
    return m_flags.m_readable != 0;
}
bool DirectoryHandle::IsWriteable() {
    return m_flags.m_writeable != 0;
}
bool DirectoryHandle::IsDeletable() {
    return m_flags.m_deletable != 0;
}
bool DirectoryHandle::IsArchive() {
    return m_flags.m_archive != 0;
}
bool DirectoryHandle::IsHidden() {
    return m_flags.m_hidden != 0;
}

bool DirectoryHandle::SetName(const String& name) {
    m_nativeName = name;
    m_name = m_nativeName;
    return true;
}

const String* DirectoryHandle::PathText(bool withParents, bool native) {
    String text;
    if (withParents) {
        const String* leading = nullptr;
        const String* separator = nullptr;
        if (m_parent != nullptr) {
            leading = m_parent->PathText(true, native);
            if (leading != nullptr) {
                text = *leading;
            }
            separator = m_parent->PathPart(native);
        } else if (m_volume != nullptr) {
            leading = m_volume->PathText(true, native);
            if (leading != nullptr) {
                text = *leading;
            }
            separator = m_volume->PathPart(native);
        }
        if (separator != nullptr) {
            text.Append(*separator);
        }
    }
    text.Append(native ? m_nativeName : m_name);
    m_pathCache = text;
    return &m_pathCache;
}

const String* DirectoryHandle::PathPart(bool native) {
    return native ? &m_separator : &DirectorySeparator();
}

DirectoryHandle* DirectoryHandle::Parent() {
    return m_parent;
}
VolumeHandle* DirectoryHandle::Volume() {
    return m_volume;
}

bool DirectoryHandle::Identity(DirectoryIdentity&) {
    return false;
}

std::uint64_t DirectoryHandle::SkipReadLimit() {
    if (m_parent != nullptr) {
        return m_parent->SkipReadLimit();
    }
    return m_volume != nullptr ? m_volume->SkipReadLimit() : 0;
}

bool DirectoryHandle::AddVolume(VolumeHandle* volume) {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    auto* held = dynamic_cast<VolumeHandle*>(system->Share(volume, nullptr));
    if (held == nullptr) {
        return false;
    }
    m_volumes.PushBack(held);
    return true;
}

bool DirectoryHandle::RemoveVolume(VolumeHandle* volume) {
    for (auto entry = m_volumes.Begin(); entry != m_volumes.End(); ++entry) {
        if ((*entry)->GetId() == volume->GetId()) {
            VolumeHandle* held = *entry;
            m_volumes.Erase(entry);
            if (StorageSystem* system = GetStorageSystem()) {
                system->Close(held, nullptr);
            }
            return true;
        }
    }
    Error().Report(StorageEngineErrVolumeNotListed, *volume->PathText(false, false));
    return false;
}

bool DirectoryHandle::AddChildDirectory(DirectoryHandle* directory) {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    auto* held = dynamic_cast<DirectoryHandle*>(system->Share(directory, nullptr));
    if (held == nullptr) {
        return false;
    }
    m_childDirectories.PushBack(held);
    return true;
}

bool DirectoryHandle::RemoveChildDirectory(DirectoryHandle* directory) {
    for (auto entry = m_childDirectories.Begin(); entry != m_childDirectories.End(); ++entry) {
        if ((*entry)->GetId() == directory->GetId()) {
            DirectoryHandle* held = *entry;
            m_childDirectories.Erase(entry);
            if (StorageSystem* system = GetStorageSystem()) {
                system->Close(held, nullptr);
            }
            return true;
        }
    }
    Error().Report(StorageEngineErrDirectoryNotListed, *directory->PathText(false, false));
    return false;
}

BasicSet<DirectoryHandle::FileList*>::Iterator DirectoryHandle::FindOpenFiles(const String& name) {
    for (auto list = m_openFiles.Begin(); list != m_openFiles.End(); ++list) {
        if (!(*list)->Empty() && (*list)->Front()->PathText(false, false)->Compare(name) == 0) {
            return list;
        }
    }
    return m_openFiles.End();
}

const DirectoryHandle::FileList* DirectoryHandle::OpenFilesNamed(const String& name) {
    auto list = FindOpenFiles(name);
    return list == m_openFiles.End() ? nullptr : *list;
}

bool DirectoryHandle::AddFile(FileHandle* file) {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    auto* held = dynamic_cast<FileHandle*>(system->Share(file, nullptr));
    if (held == nullptr) {
        return false;
    }
    const String name = *held->PathText(false, false);
    auto list = FindOpenFiles(name);
    if (list != m_openFiles.End()) {
        (*list)->PushBack(held);
    } else {
        auto* added = new FileList;
        added->PushBack(held);
        m_openFiles.Insert(added);
    }
    return true;
}

bool DirectoryHandle::RemoveFile(FileHandle* file) {
    const String name = *file->PathText(false, false);
    auto list = FindOpenFiles(name);
    if (list == m_openFiles.End()) {
        Error().Report(StorageEngineErrFileNotListed, name);
        return false;
    }
    FileList* files = *list;
    for (auto entry = files->Begin(); entry != files->End(); ++entry) {
        if ((*entry)->GetId() == file->GetId()) {
            FileHandle* held = *entry;
            files->Erase(entry);
            if (files->Empty()) {
                m_openFiles.Erase(list);
                delete files;
            }
            if (StorageSystem* system = GetStorageSystem()) {
                system->Close(held, nullptr);
            }
            return true;
        }
    }
    Error().Report(StorageEngineErrHandleNotListed, name);
    return false;
}

void DirectoryHandle::SetNames(const String& name, const String& nativeName) {
    m_name = name;
    m_nativeName = nativeName;
}

void DirectoryHandle::ForgetVolume(const VolumeHandle* volume) {
    if (m_volume == volume) {
        m_volume = nullptr;
    }
}

void DirectoryHandle::ForgetFile(const FileHandle* file) {
    for (auto list = m_openFiles.Begin(); list != m_openFiles.End(); ++list) {
        FileList* files = *list;
        for (auto entry = files->Begin(); entry != files->End(); ++entry) {
            if (*entry == file) {
                files->Erase(entry);
                if (files->Empty()) {
                    m_openFiles.Erase(list);
                    delete files;
                }
                return;
            }
        }
    }
}

} // namespace Vemo
