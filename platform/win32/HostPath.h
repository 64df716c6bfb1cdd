// Windows paths on the host. A path names a drive letter of the drive table and components below it,
// separated by '\' or '/'; "." and ".." are taken out as text, and ".." never climbs above the drive's root.
// Each component is looked up in the host folder without regard to case: the exact spelling when it exists,
// else the first host name in byte order that differs from it only in case. There is no current directory: a
// path without a drive letter names nothing. "\\.\X:" (a drive's device) and "\\.\vwin32" (the 9x device
// service) are device names.
#pragma once

#include "platform/win32/DriveTable.h"
#include "platform/win32/Types.h"

#include <string>
#include <string_view>
#include <vector>

namespace win32 {

enum class PathKind {
    Drive,        // X:\...
    VolumeDevice, // \\.\X:
    VWin32Device, // \\.\vwin32
};

struct WindowsPath {
    PathKind kind = PathKind::Drive;
    char drive = 0; // upper case; for Drive and VolumeDevice
    std::vector<std::string> components;
    bool endsWithSeparator = false; // the text ended in '\' or '/' after a component
};

// Splits a path text. Fails with ERROR_INVALID_NAME for a component holding a character Windows does not
// allow in names (control characters and < > : " | ? *; '*' and '?' are allowed in the last component when
// wildcardLeaf is set), ERROR_FILE_NOT_FOUND for an unknown device name and ERROR_PATH_NOT_FOUND for a path
// without a drive letter or a null text.
bool ParseWindowsPath(LPCSTR text, WindowsPath& out, bool wildcardLeaf = false);

// Where a drive path lies on the host.
struct HostPath {
    DriveEntry drive;
    std::string folder; // the host folder that holds the leaf; for the root, the drive's folder itself
    std::string leaf;   // the host spelling when the leaf exists, else the spelling given; empty for the root
    bool exists = false;

    bool IsRoot() const { return leaf.empty(); }
    std::string Full() const;
    // Files on a CD-ROM drive are read-only whatever the host says.
    bool IsReadOnlyVolume() const { return drive.type == DRIVE_CDROM; }
};

// Resolves the folders of a drive path: every component but the last must be an existing folder; the last may
// be missing. Fails with ERROR_PATH_NOT_FOUND (unknown drive, missing folder) or ERROR_NOT_READY (the folder
// of a CD-ROM or removable drive is missing: no medium). A device name fails with ERROR_INVALID_NAME. Without
// lookUpLeaf the last component is taken as given and not looked for (exists stays false).
bool ResolveHostPath(const WindowsPath& path, HostPath& out, bool lookUpLeaf = true);
bool ResolveHostPath(LPCSTR text, HostPath& out);

// The host name in the folder that the Windows name designates by the case rule, or empty.
std::string FindHostName(const std::string& folder, std::string_view name);

std::string JoinHostPath(const std::string& folder, std::string_view name);

// The Windows path ("C:\dir\name") of an absolute host path, through the drive whose folder holds it (the
// longest such folder); empty when no drive shows it.
std::string WindowsPathFromHost(const std::string& hostPath);

} // namespace win32
