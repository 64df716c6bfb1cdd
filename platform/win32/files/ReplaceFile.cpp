#include "platform/win32/files/ReplaceFile.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/DriveRoot.h"
#include "platform/win32/files/DriveTable.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/HostPath.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// The host entry of an existing name, the entry itself rather than what a link in its place leads to.
bool ResolveExisting(LPCSTR name, HostPath& out) {
    WindowsPath path;
    if (!ParseWindowsPath(name, path) || !ResolveHostPath(path, out, LeafUse::Name)) {
        return false;
    }
    if (!out.exists || out.IsRoot()) {
        SetLastError(out.IsRoot() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
        return false;
    }
    return true;
}

// What the replaced file has to hand on, looked at through a descriptor of its own: a link in its place is
// followed only while it stays inside its drive, so a file outside never lends its mode or group. A link that
// leads to nothing or out of the drive has nothing to hand on: ERROR_FILE_NOT_FOUND.
bool StatReplaced(const HostPath& replaced, struct stat& kept) {
    // O_PATH looks at a FIFO or a device without opening it.
    const HostDescriptor file(replaced.OpenBelow(O_PATH | O_CLOEXEC));
    if (file.Get() < 0 || ::fstat(file.Get(), &kept) != 0) {
        SetLastError(errno == ENOENT || errno == EXDEV ? ERROR_FILE_NOT_FOUND : ErrorFromErrno(errno));
        return false;
    }
    return true;
}

// Gives the file what the replaced one has: its group where the host lets this process set it (a group it is
// no member of stays ours, silently), and its permission bits. The file is the entry of its folder itself,
// never what a link in its place leads to.
BOOL TakeAccessOf(const HostPath& file, const struct stat& replaced) {
    HostDescriptor descriptor(::openat(file.Folder(), file.leaf.c_str(),
                                       O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat own {};
    if (descriptor.Get() < 0 || ::fstat(descriptor.Get(), &own) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    if (!S_ISREG(own.st_mode)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (own.st_gid != replaced.st_gid) {
        static_cast<void>(::fchown(descriptor.Get(), static_cast<uid_t>(-1), replaced.st_gid));
    }
    if (::fchmod(descriptor.Get(), replaced.st_mode & 0777) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return TRUE;
}

// The Windows path, on the link's own drive, of what a descriptor opened below that drive; empty when the
// drive does not show it.
std::string WindowsPathOnDrive(const HostPath& link, int opened) {
    DriveEntry drive = link.drive;
    drive.hostFolder = OpenedHostPath(link.root->Descriptor());
    const std::string target = OpenedHostPath(opened);
    DriveTable own;
    if (drive.hostFolder.empty() || target.empty() || !own.Add(drive)) {
        return {};
    }
    return WindowsPathFromHost(own, target);
}

} // namespace

BOOL ReplaceFileA(LPCSTR replacedFileName, LPCSTR replacementFileName, LPCSTR backupFileName,
                  DWORD replaceFlags, LPVOID, LPVOID) {
    if (backupFileName != nullptr || replaceFlags != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    HostPath replaced;
    HostPath replacement;
    if (!ResolveExisting(replacedFileName, replaced) || !ResolveExisting(replacementFileName, replacement)) {
        return FALSE;
    }
    struct stat kept {};
    if (!StatReplaced(replaced, kept)) {
        return FALSE;
    }
    // The move refuses it too; its bits on the replacement would keep the caller from removing that.
    if (replaced.IsReadOnlyVolume() || (kept.st_mode & S_IWUSR) == 0) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!TakeAccessOf(replacement, kept)) {
        return FALSE;
    }
    return MoveFileExA(replacementFileName, replacedFileName, MOVEFILE_REPLACE_EXISTING);
}

BOOL FollowFileLinkA(LPCSTR fileName, std::string& out) {
    WindowsPath path;
    HostPath host;
    if (!ParseWindowsPath(fileName, path) || !ResolveHostPath(path, host, LeafUse::Name)) {
        return FALSE;
    }
    struct stat entry {};
    if (!host.exists || host.IsRoot() ||
        ::fstatat(host.Folder(), host.leaf.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISLNK(entry.st_mode)) {
        out = fileName;
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    // Opened through the drive's folder, the link is followed only while it stays inside the drive.
    const HostDescriptor reached(host.OpenBelow(O_PATH | O_CLOEXEC));
    const std::string followed = reached.Get() < 0 ? std::string() : WindowsPathOnDrive(host, reached.Get());
    WindowsPath check;
    if (followed.empty() || !ParseWindowsPath(followed.c_str(), check)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    out = followed;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

} // namespace win32
