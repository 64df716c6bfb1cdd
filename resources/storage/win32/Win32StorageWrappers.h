// Thin wrappers of the Win32 storage calls that take Vemo::String arguments: an empty String is passed as "",
// the other arguments go through unchanged, and BOOL results come back as bool. The storage engine reaches
// the kernel through these.
#pragma once

#include "foundation/String.h"
#include "platform/win32/Types.h"
#include "platform/win32/files/File.h"
#include "platform/win32/files/FileIdentity.h"
#include "platform/win32/files/Find.h"

namespace Vemo {

bool Win32CopyFile(const String& source, const String& target, bool failIfExists);
bool Win32CreateDirectory(const String& path, win32::SECURITY_ATTRIBUTES* security);
win32::HANDLE Win32CreateFile(const String& path, win32::DWORD access, win32::DWORD share,
                              win32::SECURITY_ATTRIBUTES* security, win32::DWORD disposition,
                              win32::DWORD flags, win32::HANDLE templateFile);
bool Win32DeleteFile(const String& path);
win32::HANDLE Win32FindFirstFile(const String& pattern, win32::WIN32_FIND_DATAA* found);
bool Win32FindNextFile(win32::HANDLE search, win32::WIN32_FIND_DATAA* found);
bool Win32GetDiskFreeSpace(const String& root, win32::DWORD* sectorsPerCluster, win32::DWORD* bytesPerSector,
                           win32::DWORD* freeClusters, win32::DWORD* totalClusters);
win32::UINT Win32GetDriveType(const String& root);
win32::DWORD Win32GetFileAttributes(const String& path);
bool Win32GetFileIdentity(const String& path, win32::FILE_IDENTITY* identity);
// out becomes the drive letters, upper case, in the order the machine lists them.
void Win32GetLogicalDrives(String& out);
// Both names are read into buffers of 260 characters.
bool Win32GetVolumeInformation(const String& root, String& volumeName, win32::DWORD* serial,
                               win32::DWORD* maximumComponentLength, win32::DWORD* flags,
                               String& fileSystemName);
bool Win32MoveFile(const String& source, const String& target);
bool Win32RemoveDirectory(const String& path);
bool Win32SetVolumeLabel(const String& root, const String& label);

} // namespace Vemo
