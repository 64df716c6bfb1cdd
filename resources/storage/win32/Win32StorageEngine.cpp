#include "resources/storage/win32/Win32StorageEngine.h"

#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileInfo.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/error/ErrorFacilities.h"
#include "resources/storage/AccessStyle.h"
#include "resources/storage/DirectoryHandle.h"
#include "resources/storage/FileHandle.h"
#include "resources/storage/StorageSearchCriterion.h"
#include "resources/storage/VolumeHandle.h"
#include "resources/storage/win32/Win32DirectoryHandle.h"
#include "resources/storage/win32/Win32FileHandle.h"
#include "resources/storage/win32/Win32StorageWrappers.h"
#include "resources/storage/win32/Win32VolumeHandle.h"

namespace Vemo {

namespace {

// The kind letter and number of a volume name; false for a text that is no volume name.
bool ParseVolumeName(const String& name, char& kind, std::uint32_t& number) {
    const char* text = name.CStr();
    const std::uint32_t length = name.Length();
    std::uint32_t i = 0;
    while (i < length && (text[i] == 'F' || text[i] == 'H' || text[i] == 'C' || text[i] == 'R')) {
        ++i;
    }
    if (i == 0 || i >= length || text[i] != 'D') {
        return false;
    }
    ++i;
    if (i >= length) {
        return false;
    }
    number = 0;
    for (; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        number = number * 10 + static_cast<std::uint32_t>(text[i] - '0');
        if (number > Win32StorageEngine::kMaxVolumeNumber) {
            return false;
        }
    }
    kind = text[0];
    return true;
}

bool IsDriveOfKind(char kind, char letter) {
    const char root[] = {letter, ':', '\\', '\0'};
    const win32::UINT type = Win32GetDriveType(String(root));
    switch (kind) {
    case 'H':
        return type == win32::DRIVE_FIXED;
    case 'C':
        return type == win32::DRIVE_CDROM;
    default:
        return type == win32::DRIVE_REMOVABLE || type == win32::DRIVE_REMOTE || type == win32::DRIVE_RAMDISK;
    }
}

bool HasNoReservedCharacter(const String& name) {
    return name.FindFirstOf("\\/:*?\"<>|", 0, 9) == String::kNotFound;
}

// The attribute bits of a path; none when the path cannot be queried.
win32::DWORD AttributesOf(const String& path) {
    const win32::DWORD attributes = Win32GetFileAttributes(path);
    return attributes == win32::INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}

// A folder's flags: it can be read, written and deleted; archive and hidden come from its attributes.
void SetDirectoryFlags(DirectoryHandle& directory, const String& path) {
    const win32::DWORD attributes = AttributesOf(path);
    StorageFlags& flags = directory.Flags();
    flags.m_directory = 1;
    flags.m_readable = 1;
    flags.m_writeable = 1;
    flags.m_deletable = 1;
    flags.m_archive = (attributes & win32::FILE_ATTRIBUTE_ARCHIVE) != 0;
    flags.m_hidden = (attributes & win32::FILE_ATTRIBUTE_HIDDEN) != 0;
}

} // namespace

Win32StorageEngine::Win32StorageEngine(std::uint32_t typeId, const String& name)
    : StorageEngine(typeId, name) {}

Win32StorageEngine::~Win32StorageEngine() = default;

Win32StorageEngine* Win32StorageEngine::Create(Win32StorageEngine* engine) {
    return CreateThrough(
        engine, [] { return new Win32StorageEngine(kWin32StorageTypeId, "Win32 Storage Engine"); },
        &StorageEngine::Create);
}

bool Win32StorageEngine::IsVolumeName(const String& name) {
    char kind = 0;
    std::uint32_t number = 0;
    return ParseVolumeName(name, kind, number);
}

String Win32StorageEngine::DriveOfVolume(const String& name) {
    char kind = 0;
    std::uint32_t number = 0;
    if (!ParseVolumeName(name, kind, number)) {
        return String();
    }
    String letters;
    Win32GetLogicalDrives(letters);
    const char* list = letters.CStr();
    const std::uint32_t count = letters.Length();
    if (kind == 'F') {
        if (number == 0 && count >= 1 && (list[0] == 'A' || list[0] == 'B')) {
            return String(list[0] == 'A' ? "A" : "B");
        }
        if (number == 1 && count >= 2 && list[1] == 'B') {
            return String("B");
        }
        return String();
    }
    std::uint32_t start = 0;
    while (start < count && (list[start] == 'A' || list[start] == 'B')) {
        ++start;
    }
    std::uint32_t remaining = number;
    for (std::uint32_t i = start; i < count; ++i) {
        if (!IsDriveOfKind(kind, list[i])) {
            continue;
        }
        if (remaining == 0) {
            String letter;
            letter.Append(1, list[i]);
            return letter;
        }
        --remaining;
    }
    return String();
}

Win32StorageEngine* Win32StorageEngine::PrepareRename(ResourceEngine* engine, const String& name,
                                                      DirectoryHandle* parent, ErrorCode noParentCode,
                                                      String& newPath) {
    auto* storage = dynamic_cast<Win32StorageEngine*>(engine);
    if (storage == nullptr) {
        Error().Report(StorageEngineErrNoStorageSystem);
        return nullptr;
    }
    if (!IsEntryName(name)) {
        Error().Report(StorageEngineErrBadName);
        return nullptr;
    }
    if (parent == nullptr) {
        Error().Report(noParentCode);
        return nullptr;
    }
    newPath = *parent->PathText(true, true);
    newPath.Append("\\").Append(name);
    return storage;
}

bool Win32StorageEngine::IsValidName(const String& name) {
    return HasNoReservedCharacter(name);
}

bool Win32StorageEngine::IsEntryName(const String& name) {
    return HasNoReservedCharacter(name) && name.Compare(".") != 0 && name.Compare("..") != 0;
}

bool Win32StorageEngine::CheckEntryName(const String& name, const String& folder) {
    if (IsEntryName(name)) {
        return true;
    }
    String text("\"");
    text.Append(name).Append("\" is not the name of one entry of ").Append(folder);
    Error().Report(StorageEngineErrBadName, text);
    return false;
}

win32::HANDLE Win32StorageEngine::OpenFile(const String& path, const AccessStyle* style, bool createNew) {
    const AccessStyle defaultStyle;
    const AccessStyle& used = style != nullptr ? *style : defaultStyle;
    win32::DWORD access = 0;
    if (used.m_read) {
        access |= win32::GENERIC_READ;
    }
    if (used.m_write) {
        access |= win32::GENERIC_WRITE;
    }
    win32::DWORD share = 0;
    if (used.m_shareRead) {
        share |= win32::FILE_SHARE_READ;
    }
    if (used.m_shareWrite) {
        share |= win32::FILE_SHARE_WRITE;
    }
    win32::HANDLE handle = Win32CreateFile(path, access, share, nullptr,
                                           createNew ? win32::CREATE_NEW : win32::OPEN_EXISTING, 0, nullptr);
    if (handle == win32::INVALID_HANDLE_VALUE) {
        Error().Report(StorageEngineErrOpenFailed, path);
        return nullptr;
    }
    return handle;
}

ResourceHandle* Win32StorageEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr) {
        return nullptr;
    }
    switch (storage->m_kind) {
    case StorageSearchCriterion::kVolume:
        return CreateVolumeHandle(storage->m_name);
    case StorageSearchCriterion::kDirectory:
        return CreateDirectoryHandle(*storage);
    case StorageSearchCriterion::kFile:
        return CreateFileHandle(*storage);
    default:
        return nullptr;
    }
}

ResourceHandle* Win32StorageEngine::CreateVolumeHandle(const String* name) {
    if (name == nullptr) {
        return nullptr;
    }
    const String drive = DriveOfVolume(*name);
    if (drive.IsEmpty()) {
        Error().Report(StorageEngineErrNoDevice, *name);
        return nullptr;
    }
    auto* volume = new Win32VolumeHandle(this);
    volume->SetNames(*name, drive);
    volume->SetSeparator(String(":"));
    volume->Flags().m_readable = 1;
    // Nothing is written to a CD.
    volume->Flags().m_writeable = name->Compare(0, 2, "CD", 2) != 0;
    return volume;
}

ResourceHandle* Win32StorageEngine::CreateDirectoryHandle(StorageSearchCriterion& criterion) {
    if (criterion.m_name != nullptr && criterion.m_parentDirectory != nullptr) {
        const String& name = *criterion.m_name;
        String path = *criterion.m_parentDirectory->PathText(true, true);
        if (!CheckEntryName(name, path)) {
            return nullptr;
        }
        path.Append("\\").Append(name);
        if (!criterion.m_parentDirectory->ContainsDirectory(name)) {
            if (!criterion.m_createAllowed) {
                Error().Report(StorageEngineErrNoDirectory, path);
                return nullptr;
            }
            if (!Win32CreateDirectory(path, nullptr)) {
                Error().Report(StorageEngineErrCreateDirectoryFailed, path);
                return nullptr;
            }
        } else if (!criterion.m_openExistingAllowed) {
            Error().Report(StorageEngineErrDirectoryExists, path);
            return nullptr;
        }
        auto* directory = new Win32DirectoryHandle(this);
        directory->SetNames(name, name);
        SetDirectoryFlags(*directory, path);
        return directory;
    }
    if (criterion.m_sourceVolume != nullptr) {
        String root = *criterion.m_sourceVolume->PathText(true, true);
        root.Append(":\\");
        auto* directory = new Win32DirectoryHandle(this);
        SetDirectoryFlags(*directory, root);
        return directory;
    }
    return nullptr;
}

ResourceHandle* Win32StorageEngine::CreateFileHandle(StorageSearchCriterion& criterion) {
    String name;
    DirectoryHandle* parent = nullptr;
    if (criterion.m_name != nullptr && criterion.m_parentDirectory != nullptr) {
        name = *criterion.m_name;
        parent = criterion.m_parentDirectory;
        if (!CheckEntryName(name, *parent->PathText(true, true))) {
            return nullptr;
        }
    } else if (criterion.m_sourceFile != nullptr) {
        name = *criterion.m_sourceFile->PathText(false, false);
        parent = criterion.m_sourceFile->Parent();
    }
    if (parent == nullptr) {
        return nullptr;
    }
    String path = *parent->PathText(true, true);
    path.Append(*parent->PathPart(true)).Append(name);
    const AccessStyle defaultStyle;
    const AccessStyle& style = criterion.m_accessStyle != nullptr ? *criterion.m_accessStyle : defaultStyle;

    win32::HANDLE opened = nullptr;
    if (!parent->ContainsFile(name)) {
        if (!criterion.m_createAllowed) {
            Error().Report(StorageEngineErrNotFound, path);
            return nullptr;
        }
        opened = OpenFile(path, &style, true);
        if (opened == nullptr) {
            Error().Report(StorageEngineErrCreateFileFailed, path);
            return nullptr;
        }
    } else {
        if (!criterion.m_openExistingAllowed) {
            Error().Report(StorageEngineErrFileExists, path);
            return nullptr;
        }
        opened = OpenFile(path, &style, false);
        if (opened == nullptr) {
            Error().Report(StorageEngineErrOpenFailed, path);
            return nullptr;
        }
    }
    auto* file = new Win32FileHandle(this);
    file->SetOsHandle(opened);
    file->SetNames(name, name);
    const win32::DWORD attributes = AttributesOf(path);
    const bool changeable = (attributes & win32::FILE_ATTRIBUTE_READONLY) == 0 && parent->IsWriteable();
    StorageFlags& flags = file->Flags();
    flags.m_readable = 1;
    flags.m_writeable = changeable;
    flags.m_deletable = changeable;
    flags.m_archive = (attributes & win32::FILE_ATTRIBUTE_ARCHIVE) != 0;
    flags.m_hidden = (attributes & win32::FILE_ATTRIBUTE_HIDDEN) != 0;
    file->SetAccessStyle(style);
    return file;
}

bool Win32StorageEngine::DestroyHandle(ResourceHandle* handle, Resource*) {
    if (handle->GetReferenceCount() != 0) {
        return true;
    }
    if (auto* file = dynamic_cast<Win32FileHandle*>(handle)) {
        file->CloseOsHandle();
        delete file;
    } else if (dynamic_cast<VolumeHandle*>(handle) != nullptr ||
               dynamic_cast<DirectoryHandle*>(handle) != nullptr) {
        delete handle;
    }
    return true;
}

bool Win32StorageEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    auto* storage = dynamic_cast<StorageSearchCriterion*>(criterion);
    if (storage == nullptr) {
        return false;
    }
    auto sameEngine = [this](const ResourceHandle* handle) {
        return handle->GetEngine()->GetTypeId() == GetTypeId();
    };
    switch (storage->m_kind) {
    case StorageSearchCriterion::kVolume:
        if (storage->m_name != nullptr && storage->m_containerDirectory == nullptr) {
            return IsVolumeName(*storage->m_name);
        }
        return storage->m_sourceVolume != nullptr && sameEngine(storage->m_sourceVolume);
    case StorageSearchCriterion::kDirectory:
        if (storage->m_parentDirectory != nullptr && storage->m_name != nullptr) {
            return sameEngine(storage->m_parentDirectory);
        }
        return storage->m_sourceVolume != nullptr && sameEngine(storage->m_sourceVolume);
    case StorageSearchCriterion::kFile:
        if (storage->m_parentDirectory != nullptr && storage->m_name != nullptr) {
            return sameEngine(storage->m_parentDirectory);
        }
        return storage->m_sourceFile != nullptr && sameEngine(storage->m_sourceFile);
    default:
        return false;
    }
}

bool Win32StorageEngine::MatchSearchCriterionThorough(ResourceSearchCriterion*) {
    Error().Report(ResourceSystemErrNotSupported, String("Win32StorageEngine::MatchSearchCriterionThorough"));
    return false;
}

} // namespace Vemo
