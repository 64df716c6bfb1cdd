#include "platform/win32/files/FileManagement.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/FileFaults.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/OpenFiles.h"
#include "platform/win32/files/TitleFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace win32 {

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

BOOL Succeed() {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

struct Resolved {
    WindowsPath path;
    HostPath host;
};

// Most calls here work on the entry itself: a link that leads out of its drive is still a name they handle.
bool Resolve(LPCSTR name, Resolved& out, LeafUse use = LeafUse::Name) {
    return ParseWindowsPath(name, out.path) && ResolveHostPath(out.path, out.host, use);
}

// One directory entry as the host has it: the entry itself and, for a symbolic link, what it points to.
struct Entry {
    struct stat own {};
    struct stat target {}; // the entry itself when it is no link or a dangling one
    bool isLink = false;

    bool IsFolder() const { return S_ISDIR(target.st_mode); }
    bool IsPlainFolder() const { return !isLink && S_ISDIR(own.st_mode); }
};

bool StatEntry(const HostPath& host, Entry& out) {
    if (::fstatat(host.Folder(), host.leaf.c_str(), &out.own, AT_SYMLINK_NOFOLLOW) != 0) {
        return false;
    }
    out.isLink = S_ISLNK(out.own.st_mode);
    if (!out.isLink || ::fstatat(host.Folder(), host.leaf.c_str(), &out.target, 0) != 0) {
        out.target = out.own;
    }
    return true;
}

// A link has no write bit of its own: only the volume makes it read-only.
bool IsReadOnly(const Entry& entry, const HostPath& host) {
    return host.IsReadOnlyVolume() || (!entry.isLink && (entry.own.st_mode & S_IWUSR) == 0);
}

// Removing or renaming the entry is blocked by an open handle on it that does not share delete.
bool IsDeleteBlocked(const Entry& entry) {
    return !entry.isLink && OpenFiles::IsDeleteBlocked(entry.own.st_dev, entry.own.st_ino);
}

bool SameEntry(const HostPath& a, const HostPath& b) {
    struct stat first {};
    struct stat second {};
    return a.leaf == b.leaf && ::fstat(a.Folder(), &first) == 0 && ::fstat(b.Folder(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// An entry of a folder, by the folder's descriptor and the entry's name.
struct FolderEntry {
    int folder;
    std::string name;
};

FolderEntry EntryOf(const HostPath& host) {
    return {host.Folder(), host.leaf};
}

int Rename(const FolderEntry& from, const FolderEntry& to) {
    return ::renameat(from.folder, from.name.c_str(), to.folder, to.name.c_str()) == 0 ? 0 : errno;
}

// Renames without replacing what is there; hosts whose file system cannot promise that fall back to a check.
int RenameNoReplace(const FolderEntry& from, const FolderEntry& to) {
    if (::renameat2(from.folder, from.name.c_str(), to.folder, to.name.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    struct stat info {};
    if (::fstatat(to.folder, to.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return EEXIST;
    }
    return Rename(from, to);
}

using Descriptor = HostDescriptor;

int CopyData(int from, int to) {
    std::vector<char> buffer(1 << 18);
    for (;;) {
        ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0 ? 0 : errno;
        }
        for (ssize_t done = 0; done < got;) {
            ssize_t put = ::write(to, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                return put == 0 ? EIO : errno;
            }
            done += put;
        }
    }
}

// Writes the source's data, permission bits and times into a new file beside the target, then puts it in the
// target's place; on any failure the new file is removed and the target is untouched. Returns an errno value.
int CopyIntoPlace(int source, const struct stat& sourceInfo, bool readOnly, const FolderEntry& target,
                  bool replace) {
    FolderEntry temporary{target.folder, {}};
    Descriptor copy(CreateUniqueFile(target.folder, ".vemo-copy-", 0600, temporary.name));
    if (copy.Get() < 0) {
        return errno;
    }
    mode_t mode = sourceInfo.st_mode & 0777;
    if (readOnly) {
        mode &= ~static_cast<mode_t>(0222);
    }
    const struct timespec times[2] = {sourceInfo.st_atim, sourceInfo.st_mtim};
    int error = CopyData(source, copy.Get());
    if (error == 0 && (::fchmod(copy.Get(), mode) != 0 || ::futimens(copy.Get(), times) != 0)) {
        error = errno;
    }
    if (error == 0) {
        error = replace ? Rename(temporary, target) : RenameNoReplace(temporary, target);
    }
    if (error != 0) {
        ::unlinkat(temporary.folder, temporary.name.c_str(), 0);
    }
    return error;
}

// The move between host file systems: the file is copied into place, then the source entry is removed.
BOOL MoveByCopy(const Resolved& from, const Entry& entry, const FolderEntry& target, bool replace) {
    if (entry.IsFolder()) {
        return Fail(ERROR_NOT_SAME_DEVICE);
    }
    // The copy would read what the link leads to, outside the drive.
    if (from.host.leadsOut) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    Descriptor source(OpenTitleFile(from.host, O_RDONLY, TitleFileKind::File));
    if (source.Get() < 0) {
        return FALSE;
    }
    struct stat sourceInfo {};
    if (::fstat(source.Get(), &sourceInfo) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    bool readOnly = !entry.isLink && (entry.own.st_mode & S_IWUSR) == 0;
    if (int error = CopyIntoPlace(source.Get(), sourceInfo, readOnly, target, replace); error != 0) {
        return Fail(ErrorFromErrno(error));
    }
    if (::unlinkat(from.host.Folder(), from.host.leaf.c_str(), 0) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return Succeed();
}

// Checks a target that exists before a file replaces it.
DWORD CheckReplaceable(const Resolved& to, const Entry& target) {
    if (target.IsFolder()) {
        return ERROR_ACCESS_DENIED;
    }
    if (IsReadOnly(target, to.host)) {
        return ERROR_ACCESS_DENIED;
    }
    if (IsDeleteBlocked(target)) {
        return ERROR_SHARING_VIOLATION;
    }
    return ERROR_SUCCESS;
}

} // namespace

DWORD GetFileAttributesA(LPCSTR fileName) {
    Resolved resolved;
    if (!Resolve(fileName, resolved)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    HostFileInfo info;
    if (!resolved.host.exists || !QueryHostFile(resolved.host.Folder(), resolved.host.leaf,
                                                resolved.host.leaf, resolved.host.IsReadOnlyVolume(), info)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (resolved.path.endsWithSeparator && (info.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_FILE_ATTRIBUTES;
    }
    SetLastError(ERROR_SUCCESS);
    return info.attributes;
}

BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES) {
    Resolved resolved;
    if (!Resolve(pathName, resolved)) {
        return FALSE;
    }
    const HostPath& host = resolved.host;
    if (host.IsRoot() || host.IsReadOnlyVolume()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (host.exists) {
        return Fail(ERROR_ALREADY_EXISTS);
    }
    if (::mkdirat(host.Folder(), host.leaf.c_str(), 0777) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return Succeed();
}

BOOL DeleteFileA(LPCSTR fileName) {
    Resolved resolved;
    if (!Resolve(fileName, resolved)) {
        return FALSE;
    }
    const HostPath& host = resolved.host;
    Entry entry;
    if (host.IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!host.exists || !StatEntry(host, entry)) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (entry.IsFolder() || IsReadOnly(entry, host)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (IsDeleteBlocked(entry)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    if (::unlinkat(host.Folder(), host.leaf.c_str(), 0) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return Succeed();
}

BOOL RemoveDirectoryA(LPCSTR pathName) {
    Resolved resolved;
    if (!Resolve(pathName, resolved)) {
        return FALSE;
    }
    const HostPath& host = resolved.host;
    Entry entry;
    if (host.IsRoot() || host.IsReadOnlyVolume()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!host.exists || !StatEntry(host, entry)) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (entry.isLink) {
        if (!entry.IsFolder()) {
            return Fail(ERROR_DIRECTORY);
        }
        return ::unlinkat(host.Folder(), host.leaf.c_str(), 0) == 0 ? Succeed() : Fail(ErrorFromErrno(errno));
    }
    if (!entry.IsPlainFolder()) {
        return Fail(ERROR_DIRECTORY);
    }
    if (IsReadOnly(entry, host)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (::unlinkat(host.Folder(), host.leaf.c_str(), AT_REMOVEDIR) != 0) {
        return Fail(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : ErrorFromErrno(errno));
    }
    return Succeed();
}

BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    Resolved from;
    Resolved to;
    if (!Resolve(existingFileName, from) || !Resolve(newFileName, to)) {
        return FALSE;
    }
    Entry entry;
    if (from.host.IsRoot() || to.host.IsRoot()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!from.host.exists || !StatEntry(from.host, entry)) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (from.host.IsReadOnlyVolume() || to.host.IsReadOnlyVolume()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (IsDeleteBlocked(entry)) {
        return Fail(ERROR_SHARING_VIOLATION);
    }
    if (const DWORD fault = FileFaults::Armed(FileFault::Rename); fault != ERROR_SUCCESS) {
        return Fail(fault);
    }
    const FolderEntry source = EntryOf(from.host);
    FolderEntry target = EntryOf(to.host);
    bool replace = false;
    if (to.host.exists && SameEntry(from.host, to.host)) {
        // The entry itself: only its spelling can change.
        target.name = to.path.components.back();
        if (target.name == source.name) {
            return Succeed();
        }
    } else if (to.host.exists) {
        Entry existing;
        if (!StatEntry(to.host, existing)) {
            return Fail(ErrorFromErrno(errno));
        }
        if ((flags & MOVEFILE_REPLACE_EXISTING) == 0) {
            return Fail(ERROR_ALREADY_EXISTS);
        }
        if (entry.IsPlainFolder()) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (DWORD error = CheckReplaceable(to, existing); error != ERROR_SUCCESS) {
            return Fail(error);
        }
        replace = true;
        // rename() leaves both names in place when they are links of one file; the move still has to end
        // with the source name gone.
        if (existing.own.st_dev == entry.own.st_dev && existing.own.st_ino == entry.own.st_ino) {
            return ::unlinkat(source.folder, source.name.c_str(), 0) == 0 ? Succeed()
                                                                          : Fail(ErrorFromErrno(errno));
        }
    }
    int error = replace ? Rename(source, target) : RenameNoReplace(source, target);
    if (error == EXDEV) {
        if ((flags & MOVEFILE_COPY_ALLOWED) == 0) {
            return Fail(ERROR_NOT_SAME_DEVICE);
        }
        return MoveByCopy(from, entry, target, replace);
    }
    if (error != 0) {
        return Fail(error == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(error));
    }
    return Succeed();
}

BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName) {
    return MoveFileExA(existingFileName, newFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists) {
    Resolved from;
    Resolved to;
    if (!Resolve(existingFileName, from, LeafUse::Open) || !Resolve(newFileName, to)) {
        return FALSE;
    }
    if (from.host.IsRoot() || !from.host.exists) {
        return Fail(from.host.IsRoot() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    }
    if (to.host.IsRoot() || to.host.IsReadOnlyVolume()) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    Descriptor source(OpenTitleFile(from.host, O_RDONLY, TitleFileKind::File));
    if (source.Get() < 0) {
        return FALSE;
    }
    struct stat sourceInfo {};
    if (::fstat(source.Get(), &sourceInfo) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    // The source is read as a handle opened for reading that shares reading would read it.
    OpenRecord reading{true,
                       sourceInfo.st_dev,
                       sourceInfo.st_ino,
                       from.host.drive.letter,
                       true,
                       false,
                       FILE_SHARE_READ | FILE_SHARE_DELETE};
    if (!OpenFiles::Enter(&reading)) {
        return FALSE;
    }
    OpenFiles::Leave(&reading);
    if (to.host.exists) {
        Entry existing;
        if (!StatEntry(to.host, existing)) {
            return Fail(ErrorFromErrno(errno));
        }
        if (existing.target.st_dev == sourceInfo.st_dev && existing.target.st_ino == sourceInfo.st_ino) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
        if (failIfExists) {
            return Fail(ERROR_FILE_EXISTS);
        }
        if (existing.IsFolder() || IsReadOnly(existing, to.host)) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (OpenFiles::IsOpen(existing.target.st_dev, existing.target.st_ino)) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
    }
    const bool readOnly = from.host.IsReadOnlyVolume() || (sourceInfo.st_mode & S_IWUSR) == 0;
    int error = CopyIntoPlace(source.Get(), sourceInfo, readOnly, EntryOf(to.host), !failIfExists);
    if (error != 0) {
        return Fail(error == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(error));
    }
    return Succeed();
}

} // namespace win32
