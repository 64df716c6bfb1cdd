#include "platform/win32/files/Volume.h"

#include "platform/win32/LastError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>

namespace win32 {

namespace {

constexpr std::uint64_t kMaximumCount = 0xFFFFFFFF;

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The letter of a root path ("X:\", "X:/" or "X:"), or 0.
char RootLetter(LPCSTR root) {
    if (root == nullptr) {
        return 0;
    }
    std::size_t length = std::strlen(root);
    bool letter = (root[0] >= 'A' && root[0] <= 'Z') || (root[0] >= 'a' && root[0] <= 'z');
    if (!letter || length < 2 || root[1] != ':' || length > 3 ||
        (length == 3 && root[2] != '\\' && root[2] != '/')) {
        return 0;
    }
    return root[0] >= 'a' ? static_cast<char>(root[0] - 'a' + 'A') : root[0];
}

// The drive of a root whose folder is there; otherwise false with the last error set.
bool FindMountedDrive(LPCSTR root, DriveEntry& out) {
    if (root == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    char letter = RootLetter(root);
    const DriveEntry* entry = letter != 0 ? table->Find(letter) : nullptr;
    if (entry == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    struct stat info {};
    if (::stat(entry->hostFolder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        bool removable = entry->type == DRIVE_CDROM || entry->type == DRIVE_REMOVABLE;
        SetLastError(removable ? ERROR_NOT_READY : ERROR_PATH_NOT_FOUND);
        return false;
    }
    out = *entry;
    return true;
}

void Store(LPDWORD target, DWORD value) {
    if (target != nullptr) {
        *target = value;
    }
}

bool CopyText(const std::string& text, LPSTR buffer, DWORD size) {
    if (buffer == nullptr) {
        return true;
    }
    if (text.size() + 1 > size) {
        return false;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

const char* FileSystemName(const struct statfs& info, const DriveEntry& drive) {
    constexpr long kIso9660 = 0x9660;
    constexpr long kUdf = 0x15013346;
    constexpr long kMsdos = 0x4D44;
    switch (static_cast<long>(info.f_type)) {
    case kIso9660:
        return "CDFS";
    case kUdf:
        return "UDF";
    case kMsdos:
        return "FAT";
    default:
        return drive.type == DRIVE_CDROM ? "CDFS" : "NTFS";
    }
}

DWORD SerialNumber(const struct statvfs& info, const std::string& folder) {
    std::uint64_t id = info.f_fsid;
    if (id == 0) {
        // Some host file systems report no id; the device number is as stable for the run.
        struct stat folderInfo {};
        if (::stat(folder.c_str(), &folderInfo) == 0) {
            id = folderInfo.st_dev;
        }
    }
    return static_cast<DWORD>(id ^ (id >> 32));
}

} // namespace

DiskFreeSpace DiskFreeSpaceOf(std::uint64_t fragmentSize, std::uint64_t sectorSize,
                              std::uint64_t totalFragments, std::uint64_t freeFragments) {
    if (fragmentSize == 0) {
        fragmentSize = sectorSize;
    }
    if (fragmentSize < sectorSize || fragmentSize % sectorSize != 0) {
        sectorSize = fragmentSize;
    }
    std::uint64_t sectors = fragmentSize / sectorSize;
    while (totalFragments > kMaximumCount && sectors * sectorSize <= kMaximumCount / 2) {
        sectors *= 2;
        totalFragments /= 2;
        freeFragments /= 2;
    }
    return DiskFreeSpace{static_cast<DWORD>(sectors), static_cast<DWORD>(sectorSize),
                         static_cast<DWORD>(std::min(freeFragments, kMaximumCount)),
                         static_cast<DWORD>(std::min(totalFragments, kMaximumCount))};
}

DWORD GetLogicalDriveStringsA(DWORD bufferLength, LPSTR buffer) {
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    std::string list;
    for (const DriveEntry& entry : table->Entries()) {
        list += entry.letter;
        list += ":\\";
        list += '\0';
    }
    SetLastError(ERROR_SUCCESS);
    DWORD needed = static_cast<DWORD>(list.size() + 1);
    if (buffer == nullptr || bufferLength < needed) {
        if (list.empty() && buffer != nullptr && bufferLength > 0) {
            buffer[0] = '\0';
        }
        return list.empty() ? 0 : needed;
    }
    std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    return needed - 1;
}

DWORD GetLogicalDrives() {
    DWORD mask = 0;
    for (const DriveEntry& entry : CurrentDriveTable()->Entries()) {
        mask |= DWORD{1} << (entry.letter - 'A');
    }
    SetLastError(ERROR_SUCCESS);
    return mask;
}

UINT GetDriveTypeA(LPCSTR rootPathName) {
    char letter = RootLetter(rootPathName);
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    const DriveEntry* entry = letter != 0 ? table->Find(letter) : nullptr;
    return entry != nullptr ? entry->type : DRIVE_NO_ROOT_DIR;
}

BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD numberOfFreeClusters, LPDWORD totalNumberOfClusters) {
    DriveEntry drive;
    if (!FindMountedDrive(rootPathName, drive)) {
        return FALSE;
    }
    struct statvfs info {};
    if (::statvfs(drive.hostFolder.c_str(), &info) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    std::uint64_t fragment = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    DiskFreeSpace space =
        DiskFreeSpaceOf(fragment, drive.type == DRIVE_CDROM ? 2048 : 512, info.f_blocks, info.f_bavail);
    Store(sectorsPerCluster, space.sectorsPerCluster);
    Store(bytesPerSector, space.bytesPerSector);
    Store(numberOfFreeClusters, space.numberOfFreeClusters);
    Store(totalNumberOfClusters, space.totalNumberOfClusters);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL GetVolumeInformationA(LPCSTR rootPathName, LPSTR volumeNameBuffer, DWORD volumeNameSize,
                           LPDWORD volumeSerialNumber, LPDWORD maximumComponentLength,
                           LPDWORD fileSystemFlags, LPSTR fileSystemNameBuffer, DWORD fileSystemNameSize) {
    DriveEntry drive;
    if (!FindMountedDrive(rootPathName, drive)) {
        return FALSE;
    }
    struct statvfs info {};
    struct statfs type {};
    if (::statvfs(drive.hostFolder.c_str(), &info) != 0 || ::statfs(drive.hostFolder.c_str(), &type) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    if (!CopyText(drive.label, volumeNameBuffer, volumeNameSize) ||
        !CopyText(FileSystemName(type, drive), fileSystemNameBuffer, fileSystemNameSize)) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    bool readOnly = drive.type == DRIVE_CDROM || (info.f_flag & ST_RDONLY) != 0;
    Store(volumeSerialNumber, SerialNumber(info, drive.hostFolder));
    Store(maximumComponentLength, static_cast<DWORD>(info.f_namemax));
    Store(fileSystemFlags, FILE_CASE_PRESERVED_NAMES | (readOnly ? FILE_READ_ONLY_VOLUME : 0));
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL SetVolumeLabelA(LPCSTR rootPathName, LPCSTR) {
    char letter = RootLetter(rootPathName);
    std::shared_ptr<const DriveTable> table = CurrentDriveTable();
    return Fail(letter != 0 && table->Find(letter) != nullptr ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
}

} // namespace win32
