#include "resources/storage/win32/Win32StorageWrappers.h"

#include "platform/win32/CodePage.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/Volume.h"

namespace Vemo {

namespace {

constexpr win32::DWORD kNameBufferSize = 260;

} // namespace

bool Win32CopyFile(const String& source, const String& target, bool failIfExists) {
    return win32::CopyFileA(source.CStr(), target.CStr(), failIfExists ? win32::TRUE : win32::FALSE) != 0;
}

bool Win32CreateDirectory(const String& path, win32::SECURITY_ATTRIBUTES* security) {
    return win32::CreateDirectoryA(path.CStr(), security) != 0;
}

win32::HANDLE Win32CreateFile(const String& path, win32::DWORD access, win32::DWORD share,
                              win32::SECURITY_ATTRIBUTES* security, win32::DWORD disposition,
                              win32::DWORD flags, win32::HANDLE templateFile) {
    return win32::CreateFileA(path.CStr(), access, share, security, disposition, flags, templateFile);
}

bool Win32DeleteFile(const String& path) {
    return win32::DeleteFileA(path.CStr()) != 0;
}

win32::HANDLE Win32FindFirstFile(const String& pattern, win32::WIN32_FIND_DATAA* found) {
    return win32::FindFirstFileA(pattern.CStr(), found);
}

bool Win32FindNextFile(win32::HANDLE search, win32::WIN32_FIND_DATAA* found) {
    return win32::FindNextFileA(search, found) != 0;
}

bool Win32GetDiskFreeSpace(const String& root, win32::DWORD* sectorsPerCluster, win32::DWORD* bytesPerSector,
                           win32::DWORD* freeClusters, win32::DWORD* totalClusters) {
    return win32::GetDiskFreeSpaceA(root.CStr(), sectorsPerCluster, bytesPerSector, freeClusters,
                                    totalClusters) != 0;
}

win32::UINT Win32GetDriveType(const String& root) {
    return win32::GetDriveTypeA(root.CStr());
}

win32::DWORD Win32GetFileAttributes(const String& path) {
    return win32::GetFileAttributesA(path.CStr());
}

bool Win32GetFileIdentity(const String& path, win32::FILE_IDENTITY* identity) {
    return win32::GetFileIdentityA(path.CStr(), identity) != 0;
}

void Win32GetLogicalDrives(String& out) {
    char buffer[kNameBufferSize] = {};
    const win32::DWORD length = win32::GetLogicalDriveStringsA(kNameBufferSize, buffer);
    out = String();
    if (length >= kNameBufferSize) {
        return;
    }
    // Each root is "X:\" and a NUL.
    for (win32::DWORD entry = 0; entry < length && buffer[entry] != '\0'; entry += 4) {
        out.Append(1, win32::FoldCase(buffer[entry]));
    }
}

bool Win32GetVolumeInformation(const String& root, String& volumeName, win32::DWORD* serial,
                               win32::DWORD* maximumComponentLength, win32::DWORD* flags,
                               String& fileSystemName) {
    char name[kNameBufferSize] = {};
    char fileSystem[kNameBufferSize] = {};
    const bool done =
        win32::GetVolumeInformationA(root.CStr(), name, kNameBufferSize, serial, maximumComponentLength,
                                     flags, fileSystem, kNameBufferSize) != 0;
    if (done) {
        volumeName = String(name);
        fileSystemName = String(fileSystem);
    }
    return done;
}

bool Win32MoveFile(const String& source, const String& target) {
    return win32::MoveFileA(source.CStr(), target.CStr()) != 0;
}

bool Win32RemoveDirectory(const String& path) {
    return win32::RemoveDirectoryA(path.CStr()) != 0;
}

bool Win32SetVolumeLabel(const String& root, const String& label) {
    return win32::SetVolumeLabelA(root.CStr(), label.CStr()) != 0;
}

} // namespace Vemo
