// The drives of the drive table (DriveTable.h) as Windows shows them: the list of drive roots, each drive's
// type, its free space and its volume information. A root is given as "X:\" (or "X:", or "X:/"); there is no
// current drive, so a null root names nothing.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/File.h"

#include <cstdint>

namespace win32 {

constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x00000002;
constexpr DWORD FILE_READ_ONLY_VOLUME = 0x00080000;

// Writes "C:\", NUL, "D:\", NUL, ..., NUL in letter order and returns the length without the last NUL. When
// the buffer is too small nothing is written and the size it needs (with the last NUL) is returned. A machine
// without drives writes an empty list and returns 0.
DWORD GetLogicalDriveStringsA(DWORD bufferLength, LPSTR buffer);

// The same drives as a mask: bit 0 for A:, bit 25 for Z:.
DWORD GetLogicalDrives();

// The drive's DRIVE_* type (DriveTable.h); DRIVE_NO_ROOT_DIR for anything that is not the root of a drive.
UINT GetDriveTypeA(LPCSTR rootPathName);

// The space of the host file system that holds the drive's folder (statvfs). Bytes per sector are 2048 on a
// CD-ROM drive and 512 elsewhere; the cluster is the host's fragment size. On a file system with more than
// 2^32 - 1 clusters, sectors per cluster is doubled (and the counts halved) until both counts fit, so their
// products stay right. ERROR_NOT_READY when a CD-ROM or removable drive's folder is missing.
// The four outputs of GetDiskFreeSpaceA for a host file system of the given fragment size and counts.
struct DiskFreeSpace {
    DWORD sectorsPerCluster;
    DWORD bytesPerSector;
    DWORD numberOfFreeClusters;
    DWORD totalNumberOfClusters;
};
DiskFreeSpace DiskFreeSpaceOf(std::uint64_t fragmentSize, std::uint64_t sectorSize,
                              std::uint64_t totalFragments, std::uint64_t freeFragments);

BOOL GetDiskFreeSpaceA(LPCSTR rootPathName, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                       LPDWORD numberOfFreeClusters, LPDWORD totalNumberOfClusters);

// The label is the drive table's; the serial number is folded from the host file system's id; the component
// length is the host's. File system names: "CDFS" (ISO 9660 and any CD-ROM drive), "UDF", "FAT" and "NTFS"
// (every other host file system). Each buffer must hold its text and a NUL (ERROR_INSUFFICIENT_BUFFER); null
// outputs are skipped.
BOOL GetVolumeInformationA(LPCSTR rootPathName, LPSTR volumeNameBuffer, DWORD volumeNameSize,
                           LPDWORD volumeSerialNumber, LPDWORD maximumComponentLength,
                           LPDWORD fileSystemFlags, LPSTR fileSystemNameBuffer, DWORD fileSystemNameSize);

// Labels come from the drive table, and the host keeps none to change: always fails, with ERROR_ACCESS_DENIED
// for a drive and ERROR_PATH_NOT_FOUND for anything else, and changes nothing.
BOOL SetVolumeLabelA(LPCSTR rootPathName, LPCSTR volumeName);

} // namespace win32
