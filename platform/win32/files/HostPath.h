// Windows paths on the host. A path names a drive letter of the drive table and components below it,
// separated by '\' or '/'; "." and ".." are taken out as text, and ".." never climbs above the drive's root.
// Each component is looked up in the host folder without regard to case: the exact spelling when it exists,
// else the first host name in byte order that differs from it only in case. There is no current directory: a
// path without a drive letter names nothing. "\\.\X:" (a drive's device) and "\\.\vwin32" (the 9x device
// service) are device names.
//
// A drive is a confinement: a symbolic link is followed only while what it resolves to stays inside its
// drive's folder (a drive that shows "/" holds everything, so there every link is followed). A link that
// leads out, or whose target cannot be resolved, is still a name in its folder (listed, with its attributes,
// and removed by a delete), but nothing goes through it: a folder on the way that is such a link is missing,
// and a last component that is one is not found when the path is opened.
//
// The confinement holds while other processes change the drive's folders: a resolved path keeps its drive's
// folder and the folder that holds its leaf open (DriveRoot.h), and whatever works on it afterwards (opens,
// listings, attributes, renames, deletes) goes through those descriptors, never through the path's text.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/files/DriveTable.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

class DriveRoot;
class HostDescriptor;

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
    // The host folder that holds the leaf (for the root, the drive's folder itself) and the leaf, as text,
    // for messages and for the callers that hand a path to another program; the platform opens nothing by
    // them.
    std::string folder;
    std::string leaf; // the host spelling when the leaf exists, else the spelling given; empty for the root
    // The host names of the leaf below the drive's folder, '/' between them; empty for the root.
    std::string below;
    bool exists = false;
    bool leadsOut =
        false; // the leaf is a link that leads out of the drive's folder (only with LeafUse::Name)
    std::shared_ptr<const DriveRoot> root;
    std::shared_ptr<const HostDescriptor> folderDescriptor; // null when the folder is the drive's own

    bool IsRoot() const { return leaf.empty(); }
    std::string Full() const;
    // Files on a CD-ROM drive are read-only whatever the host says.
    bool IsReadOnlyVolume() const { return drive.type == DRIVE_CDROM; }
    // The folder that holds the leaf, for the *at calls on the leaf itself (fstatat, unlinkat, renameat).
    int Folder() const;
    // Opens what the path names through its drive's folder (DriveRoot::OpenBelow), with open's flags; -1
    // with errno set.
    int OpenBelow(int flags) const;
};

// What the caller does with the last component of a path.
enum class LeafUse {
    Open,    // goes through it (opens, reads, writes): a link leading out fails with ERROR_FILE_NOT_FOUND
    Name,    // works on the entry itself (attributes, delete, rename): a link leading out sets leadsOut
    Pattern, // takes it as given, without looking for it (exists stays false)
};

// Resolves the folders of a drive path: every component but the last must be an existing folder inside the
// drive; the last may be missing. Fails with ERROR_PATH_NOT_FOUND (unknown drive, missing folder, a folder
// link leading out) or ERROR_NOT_READY (the folder of a CD-ROM or removable drive is missing: no medium). A
// device name fails with ERROR_INVALID_NAME.
bool ResolveHostPath(const WindowsPath& path, HostPath& out, LeafUse use = LeafUse::Open);
bool ResolveHostPath(LPCSTR text, HostPath& out);

// The host name in the folder (a descriptor) that the Windows name designates by the case rule, or empty.
std::string FindHostName(int folder, std::string_view name);

// Calls each with the name of every entry of the folder (a descriptor), "." and ".." included, in the host's
// order; false with errno set when the folder cannot be listed.
bool ListFolder(int folder, const std::function<void(std::string_view)>& each);

// Creates a new file of a name of its own in the folder: the prefix and six letters of a random choice, never
// through a link. The descriptor (opened for reading and writing) with the name, or -1 with errno set.
int CreateUniqueFile(int folder, std::string_view prefix, unsigned mode, std::string& name);

std::string JoinHostPath(const std::string& folder, std::string_view name);

// The host path with every link, "." and ".." resolved (realpath), or empty when it cannot be resolved.
std::string RealHostPath(const std::string& path);

// The host path under which the kernel knows what a descriptor opened: a name for what was opened (to check
// it, or to say where it lies), never a way back to it. Empty when the file has been removed since, or the
// kernel does not say.
std::string OpenedHostPath(int descriptor);

// Whether an absolute host path is the folder or lies below it, as text (both without a trailing '/').
bool LiesIn(std::string_view path, std::string_view folder);

// The Windows path ("C:\dir\name") of an absolute host path, through the drive whose folder holds it (the
// longest such folder); empty when no drive shows it.
std::string WindowsPathFromHost(const std::string& hostPath);
std::string WindowsPathFromHost(const DriveTable& table, const std::string& hostPath);

namespace seam {

// Makes every later open below a drive's folder walk by hand, as on a kernel without openat2 (false: openat2
// where the kernel has it; DriveRoot.h); platform/testing/Drives.h wraps this.
void WalkBelowDrivesByHand(bool byHand);

} // namespace seam

} // namespace win32
