#include "platform/win32/Version.h"

#include "platform/win32/LastError.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace win32 {

namespace {

std::atomic<seam::WindowsFamily> g_override{seam::WindowsFamily::FromEnvironment};

seam::WindowsFamily ChosenFamily() {
    const seam::WindowsFamily chosen = g_override.load();
    if (chosen != seam::WindowsFamily::FromEnvironment) {
        return chosen;
    }
    const char* setting = std::getenv("VEMO_WINVER");
    if (setting == nullptr) {
        return seam::WindowsFamily::NT;
    }
    if (strcasecmp(setting, "9x") == 0) {
        return seam::WindowsFamily::Windows9x;
    }
    if (strcasecmp(setting, "nt4") == 0) {
        return seam::WindowsFamily::NT4;
    }
    if (strcasecmp(setting, "win32s") == 0) {
        return seam::WindowsFamily::Win32s;
    }
    return seam::WindowsFamily::NT;
}

} // namespace

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    switch (ChosenFamily()) {
    case seam::WindowsFamily::Windows9x:
        // Windows 98 Second Edition: the build word also carries the version, as 9x reports it.
        info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 10;
        info->dwBuildNumber = 0x040A08AE;
        std::strcpy(info->szCSDVersion, " A");
        break;
    case seam::WindowsFamily::NT4:
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 0;
        info->dwBuildNumber = 1381;
        std::strcpy(info->szCSDVersion, "Service Pack 6");
        break;
    case seam::WindowsFamily::Win32s:
        // Win32s reports the Windows 3.1 under it.
        info->dwPlatformId = VER_PLATFORM_WIN32s;
        info->dwMajorVersion = 3;
        info->dwMinorVersion = 10;
        info->dwBuildNumber = 0;
        break;
    default:
        // Windows 2000.
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->dwMajorVersion = 5;
        info->dwMinorVersion = 0;
        info->dwBuildNumber = 2195;
        break;
    }
    return TRUE;
}

namespace seam {

WindowsFamily OverrideWindowsFamily(WindowsFamily family) {
    return g_override.exchange(family);
}

} // namespace seam

} // namespace win32
