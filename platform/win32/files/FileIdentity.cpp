#include "platform/win32/files/FileIdentity.h"

#include "platform/win32/HostDescriptor.h"
#include "platform/win32/LastError.h"
#include "platform/win32/files/HostPath.h"
#include "platform/win32/files/TitleFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace win32 {

BOOL GetFileIdentityA(LPCSTR fileName, FILE_IDENTITY* identity) {
    if (identity == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WindowsPath path;
    HostPath host;
    if (!ParseWindowsPath(fileName, path) || !ResolveHostPath(path, host, LeafUse::Open)) {
        return FALSE;
    }
    const HostDescriptor reached(OpenTitleFile(host, O_PATH, TitleFileKind::FileOrFolder));
    if (reached.Get() < 0) {
        return FALSE;
    }
    struct stat info {};
    if (::fstat(reached.Get(), &info) != 0) {
        SetLastError(ErrorFromErrno(errno));
        return FALSE;
    }
    identity->device = info.st_dev;
    identity->index = info.st_ino;
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

} // namespace win32
