#include "platform/win32/files/ReplaceFile.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
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

// Gives the file what the replaced one has: its group where the host lets this process set it (a group it is
// no member of stays ours, silently), and its permission bits.
BOOL TakeAccessOf(const std::string& file, const struct stat& replaced) {
    HostDescriptor descriptor(
        ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
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
    if (::stat(replaced.Full().c_str(), &kept) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    // The move refuses it too; its bits on the replacement would keep the caller from removing that.
    if (replaced.IsReadOnlyVolume() || (kept.st_mode & S_IWUSR) == 0) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!TakeAccessOf(replacement.Full(), kept)) {
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
    if (!host.exists || host.IsRoot() || ::lstat(host.Full().c_str(), &entry) != 0 ||
        !S_ISLNK(entry.st_mode)) {
        out = fileName;
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    // The path is taken through the link's own drive, whose real folder must hold the file.
    DriveEntry drive = host.drive;
    drive.hostFolder = RealHostPath(drive.hostFolder);
    DriveTable own;
    const std::string target = RealHostPath(host.Full());
    std::string followed;
    if (!host.leadsOut && !target.empty() && !drive.hostFolder.empty() && own.Add(drive)) {
        followed = WindowsPathFromHost(own, target);
    }
    WindowsPath check;
    if (followed.empty() || !ParseWindowsPath(followed.c_str(), check)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    out = followed;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

} // namespace win32
