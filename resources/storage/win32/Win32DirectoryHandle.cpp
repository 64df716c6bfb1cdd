#include "resources/storage/win32/Win32DirectoryHandle.h"

#include "foundation/Win32String.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/Find.h"
#include "platform/win32/files/ReplaceFile.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/storage/Descriptor.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"
#include "resources/storage/win32/Win32StorageWrappers.h"

#include <algorithm>
#include <string>

namespace Vemo {

namespace {

bool IsDotEntry(const char* name) {
    return (name[0] == '.' && name[1] == '\0') || (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

std::uint64_t FileTimeValue(const win32::FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

win32::DWORD AttributesOf(const String& path) {
    return Win32GetFileAttributes(path);
}

bool IsDirectoryAttribute(win32::DWORD attributes) {
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           (attributes & win32::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

Win32DirectoryHandle::Win32DirectoryHandle(ResourceEngine* engine) : DirectoryHandle(engine) {
    m_separator = String("\\");
}

Win32DirectoryHandle::~Win32DirectoryHandle() = default;

String Win32DirectoryHandle::EntryPath(const String& name) {
    String path = *PathText(true, true);
    path.Append("\\").Append(name);
    return path;
}

const String* Win32DirectoryHandle::PathText(bool withParents, bool native) {
    return DirectoryHandle::PathText(withParents, native);
}

bool Win32DirectoryHandle::ContainsDirectory(const String& name) {
    if (name.Compare(".") == 0 || name.Compare("..") == 0) {
        return false;
    }
    return IsDirectoryAttribute(AttributesOf(EntryPath(name)));
}

bool Win32DirectoryHandle::MayReplace(const String& name) {
    const String path = EntryPath(name);
    const win32::DWORD attributes = AttributesOf(path);
    if (attributes == win32::INVALID_FILE_ATTRIBUTES) {
        return true;
    }
    if ((attributes & (win32::FILE_ATTRIBUTE_READONLY | win32::FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        return false;
    }
    // Asking for delete access is refused exactly while some handle on the file does not share delete.
    const win32::HANDLE probe = Win32CreateFile(
        path, win32::DELETE, win32::FILE_SHARE_READ | win32::FILE_SHARE_WRITE | win32::FILE_SHARE_DELETE,
        nullptr, win32::OPEN_EXISTING, 0, nullptr);
    if (probe == win32::INVALID_HANDLE_VALUE) {
        return win32::GetLastError() != win32::ERROR_SHARING_VIOLATION;
    }
    win32::CloseHandle(probe);
    return true;
}

bool Win32DirectoryHandle::FollowLink(const String& name, String& out) {
    out = String();
    const String path = EntryPath(name);
    std::string followed;
    if (!win32::FollowFileLinkA(path.CStr(), followed)) {
        return false;
    }
    if (followed == path.CStr()) {
        return true;
    }
    // Past the drive's "X:\", in the separators of a path text.
    std::string text = followed.substr(std::min<std::size_t>(3, followed.size()));
    std::replace(text.begin(), text.end(), '\\', '/');
    out = String(text.c_str());
    return true;
}

bool Win32DirectoryHandle::ContainsFile(const String& name) {
    const win32::DWORD attributes = AttributesOf(EntryPath(name));
    return attributes != win32::INVALID_FILE_ATTRIBUTES &&
           (attributes & win32::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32DirectoryHandle::IsEmpty() {
    String pattern = *PathText(true, true);
    pattern.Append("\\*");
    win32::WIN32_FIND_DATAA found{};
    win32::HANDLE search = Win32FindFirstFile(pattern, &found);
    if (search == win32::INVALID_HANDLE_VALUE) {
        return true;
    }
    bool another = false;
    do {
        if (!IsDotEntry(found.cFileName)) {
            another = true;
            break;
        }
    } while (Win32FindNextFile(search, &found));
    win32::FindClose(search);
    return !another;
}

std::uint32_t Win32DirectoryHandle::EntryAt(const String& pattern, BasicList<Descriptor*>& list) {
    String searched = *PathText(true, true);
    searched.Append("\\").Append(pattern);
    win32::WIN32_FIND_DATAA found{};
    win32::HANDLE search = Win32FindFirstFile(searched, &found);
    if (search == win32::INVALID_HANDLE_VALUE) {
        return 0;
    }
    const bool writeable = IsWriteable();
    std::uint32_t count = 0;
    do {
        // "." and ".." are no entries, wherever the host lists them.
        if (IsDotEntry(found.cFileName)) {
            continue;
        }
        Win32String name;
        name.Assign(found.cFileName, win32::MAX_PATH);
        win32::DWORD attributes = AttributesOf(EntryPath(name));
        if (attributes == win32::INVALID_FILE_ATTRIBUTES) {
            attributes = found.dwFileAttributes;
        }
        auto* entry = new Descriptor;
        entry->m_name = name;
        entry->m_flags.m_directory = (attributes & win32::FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry->m_flags.m_readable = 1;
        entry->m_flags.m_writeable = (attributes & win32::FILE_ATTRIBUTE_READONLY) == 0 && writeable;
        entry->m_flags.m_deletable = entry->m_flags.m_writeable;
        entry->m_flags.m_archive = (attributes & win32::FILE_ATTRIBUTE_ARCHIVE) != 0;
        entry->m_flags.m_hidden = (attributes & win32::FILE_ATTRIBUTE_HIDDEN) != 0;
        entry->m_creationTime = FileTimeValue(found.ftCreationTime);
        entry->m_lastWriteTime = FileTimeValue(found.ftLastWriteTime);
        entry->m_lastAccessTime = FileTimeValue(found.ftLastAccessTime);
        entry->m_size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        list.PushBack(entry);
        ++count;
    } while (Win32FindNextFile(search, &found));
    win32::FindClose(search);
    return count;
}

bool Win32DirectoryHandle::Delete(const String& name) {
    if (!Win32StorageEngine::CheckEntryName(name, *PathText(true, true))) {
        return false;
    }
    const String path = EntryPath(name);
    const win32::DWORD attributes = AttributesOf(path);
    if (!IsDirectoryAttribute(attributes)) {
        return Win32DeleteFile(path);
    }
    // A link to a folder goes by itself: what it points at is no part of this tree.
    if ((attributes & win32::FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return Win32RemoveDirectory(path);
    }
    return DeleteTree(name, path);
}

bool Win32DirectoryHandle::DeleteTree(const String& name, const String& path) {
    StorageSystem* system = GetStorageSystem();
    if (system == nullptr) {
        Error().Report(ResourceSystemErrNoSystem);
        return false;
    }
    StorageSearchCriterion criterion(StorageSearchCriterion::kDirectory);
    criterion.m_openExistingAllowed = 1;
    criterion.m_name = &name;
    criterion.m_parentDirectory = this;
    ResourceHandle* opened = system->Open(&criterion, nullptr);
    if (opened == nullptr) {
        Error().Report(ResourceSystemErrOpenFailed);
        return false;
    }
    auto* subdirectory = dynamic_cast<Win32DirectoryHandle*>(opened);
    if (subdirectory == nullptr) {
        Error().Report(ResourceSystemErrNoHandle, String("Subdir"));
        system->Close(opened, nullptr);
        return false;
    }
    BasicList<Descriptor*> entries;
    subdirectory->EntryAt(String("*"), entries);
    for (Descriptor* entry : entries) {
        subdirectory->Delete(entry->m_name);
        delete entry;
    }
    system->Close(subdirectory, nullptr);
    return Win32RemoveDirectory(path);
}

bool Win32DirectoryHandle::Copy(const String& name, DirectoryHandle* source, bool mergeDirectories,
                                bool overwriteFiles) {
    if (!Win32StorageEngine::CheckEntryName(name, *PathText(true, true))) {
        return false;
    }
    auto* from = dynamic_cast<Win32DirectoryHandle*>(source);
    if (from == nullptr || source->GetEngine()->GetTypeId() != GetEngine()->GetTypeId() ||
        !source->ContainsFile(name)) {
        return DirectoryHandle::Copy(name, source, mergeDirectories, overwriteFiles);
    }
    const String sourcePath = from->EntryPath(name);
    const String targetPath = EntryPath(name);
    if (!Win32CopyFile(sourcePath, targetPath, !overwriteFiles)) {
        Error().Report(StorageEngineErrAccessDenied, sourcePath);
        return false;
    }
    return true;
}

bool Win32DirectoryHandle::Move(const String& name, DirectoryHandle* source, bool mergeDirectories,
                                bool overwriteFiles) {
    if (!Win32StorageEngine::CheckEntryName(name, *PathText(true, true))) {
        return false;
    }
    auto* from = dynamic_cast<Win32DirectoryHandle*>(source);
    if (from == nullptr || source->GetEngine()->GetTypeId() != GetEngine()->GetTypeId() ||
        !source->ContainsFile(name)) {
        return DirectoryHandle::Move(name, source, mergeDirectories, overwriteFiles);
    }
    const String sourcePath = from->EntryPath(name);
    const String targetPath = EntryPath(name);
    if (sourcePath.CStr()[0] != targetPath.CStr()[0]) {
        return DirectoryHandle::Move(name, source, mergeDirectories, overwriteFiles);
    }
    win32::DWORD flags = win32::MOVEFILE_COPY_ALLOWED;
    if (ContainsFile(name)) {
        if (!overwriteFiles) {
            Error().Report(StorageEngineErrFileExists);
            return false;
        }
        // The old file goes only as part of a move that succeeds.
        flags |= win32::MOVEFILE_REPLACE_EXISTING;
    }
    if (!win32::MoveFileExA(sourcePath.CStr(), targetPath.CStr(), flags)) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    return true;
}

bool Win32DirectoryHandle::Identity(DirectoryIdentity& out) {
    win32::FILE_IDENTITY identity;
    if (!Win32GetFileIdentity(*PathText(true, true), &identity)) {
        return false;
    }
    out.m_device = identity.device;
    out.m_index = identity.index;
    return true;
}

bool Win32DirectoryHandle::SetName(const String& name) {
    String newPath;
    if (Win32StorageEngine::PrepareRename(GetEngine(), name, Parent(), StorageEngineErrNoParent, newPath) ==
        nullptr) {
        return false;
    }
    const String oldPath = *PathText(true, true);
    if (!Win32MoveFile(oldPath, newPath)) {
        Error().Report(StorageEngineErrAccessDenied);
        return false;
    }
    m_nativeName = name;
    m_name = m_nativeName;
    return true;
}

} // namespace Vemo
