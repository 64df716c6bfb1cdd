#include "platform/win32/files/TitleFile.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace win32 {

namespace {

int Fail(DWORD error) {
    SetLastError(error);
    return -1;
}

DWORD OpenError(int error) {
    switch (error) {
    case ENOENT:
    case EXDEV: // a link on the way leads out of the drive
    case ELOOP:
        return ERROR_FILE_NOT_FOUND;
    case ENXIO: // a FIFO without a reader, a socket, a device without its hardware
    case EAGAIN:
    case EISDIR:
    case ENOTDIR:
        return ERROR_ACCESS_DENIED;
    default:
        return ErrorFromErrno(error);
    }
}

bool Takes(TitleFileKind kind, mode_t mode) {
    switch (kind) {
    case TitleFileKind::File:
        return S_ISREG(mode);
    case TitleFileKind::Folder:
        return S_ISDIR(mode);
    case TitleFileKind::FileOrFolder:
        return S_ISREG(mode) || S_ISDIR(mode);
    }
    return false;
}

} // namespace

int OpenTitleFile(const HostPath& host, int flags, TitleFileKind kind) {
    if (!host.exists) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    const bool look = (flags & O_PATH) != 0;
    int hostFlags = flags | O_CLOEXEC | (look ? 0 : O_NONBLOCK | O_NOCTTY);
    if (kind == TitleFileKind::Folder) {
        hostFlags |= O_DIRECTORY;
    }
    HostDescriptor descriptor(host.OpenBelow(hostFlags));
    if (descriptor.Get() < 0) {
        return Fail(OpenError(errno));
    }
    struct stat info {};
    if (::fstat(descriptor.Get(), &info) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    if (!Takes(kind, info.st_mode)) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    if (!look && ::fcntl(descriptor.Get(), F_SETFL, ::fcntl(descriptor.Get(), F_GETFL) & ~O_NONBLOCK) != 0) {
        return Fail(ErrorFromErrno(errno));
    }
    return descriptor.Release();
}

int OpenTitleFile(LPCSTR path, TitleFileKind kind, HostPath* resolved) {
    HostPath host;
    if (!ResolveHostPath(path, host)) {
        return -1;
    }
    const int descriptor = OpenTitleFile(host, O_RDONLY, kind);
    if (resolved != nullptr) {
        *resolved = std::move(host);
    }
    return descriptor;
}

} // namespace win32
