#include "platform/win32/Version.h"

#include "platform/win32/LastError.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace win32 {

namespace {

std::atomic<seam::WindowsFamily> g_override{seam::WindowsFamily::FromEnvironment};

bool IsWindows9x() {
    switch (g_override.load()) {
    case seam::WindowsFamily::NT:
        return false;
    case seam::WindowsFamily::Windows9x:
        return true;
    case seam::WindowsFamily::FromEnvironment:
        break;
    }
    const char* chosen = std::getenv("VEMO_WINVER");
    return chosen != nullptr && strcasecmp(chosen, "9x") == 0;
}

} // namespace

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    if (IsWindows9x()) {
        // Windows 98 Second Edition: the build word also carries the version, as 9x reports it.
        info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 10;
        info->dwBuildNumber = 0x040A08AE;
        std::strcpy(info->szCSDVersion, " A");
    } else {
        // Windows 2000.
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->dwMajorVersion = 5;
        info->dwMinorVersion = 0;
        info->dwBuildNumber = 2195;
    }
    return TRUE;
}

namespace seam {

WindowsFamily OverrideWindowsFamily(WindowsFamily family) {
    return g_override.exchange(family);
}

} // namespace seam

} // namespace win32
