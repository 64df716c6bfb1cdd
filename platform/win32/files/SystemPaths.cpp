#include "platform/win32/files/SystemPaths.h"

#include "platform/win32/LastError.h"
#include "platform/win32/files/FileManagement.h"
#include "platform/win32/files/HostPath.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace win32 {

namespace {

DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD bufferLength) {
    const auto needed = static_cast<DWORD>(text.size() + 1);
    if (buffer == nullptr || bufferLength < needed) {
        return needed;
    }
    std::memmove(buffer, text.c_str(), needed);
    return needed - 1;
}

DWORD CopyWindowsPath(const std::string& hostPath, LPSTR buffer, DWORD bufferLength, bool trailingSeparator) {
    std::string windows = WindowsPathFromHost(hostPath);
    if (windows.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (trailingSeparator && windows.back() != '\\') {
        windows += '\\';
    }
    return CopyOut(windows, buffer, bufferLength);
}

DWORD SamePathIfItExists(LPCSTR path, LPSTR out, DWORD bufferLength) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Kept before the output buffer, which may be the input, is written.
    const std::string text(path);
    if (GetFileAttributesA(text.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return 0;
    }
    return CopyOut(text, out, bufferLength);
}

} // namespace

std::string detail::TemporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder != nullptr && folder[0] == '/' ? folder : "/tmp";
}

DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) {
    const std::string folder = detail::TemporaryFolder();
    const DWORD length = CopyWindowsPath(folder, buffer, bufferLength, true);
    if (length == 0) {
        std::fprintf(stderr,
                     "vemo: the temporary folder %s lies on no drive of the emulated machine (VEMO_DRIVES)\n",
                     folder.c_str());
    }
    return length;
}

DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    std::vector<char> host(256);
    while (::getcwd(host.data(), host.size()) == nullptr) {
        if (errno != ERANGE) {
            SetLastError(ErrorFromErrno(errno));
            return 0;
        }
        host.resize(host.size() * 2);
    }
    return CopyWindowsPath(host.data(), buffer, bufferLength, false);
}

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength) {
    return SamePathIfItExists(longPath, shortPath, bufferLength);
}

DWORD GetLongPathNameA(LPCSTR shortPath, LPSTR longPath, DWORD bufferLength) {
    return SamePathIfItExists(shortPath, longPath, bufferLength);
}

} // namespace win32
