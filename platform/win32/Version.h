// The version of the emulated Windows.
//
// Windows 2000 (NT 5.0) by default. VEMO_WINVER (without regard to case) makes it another: "9x" a Windows 98
// machine, so that tests and users reach both of the runtime's code paths, and "nt4" (Windows NT 4.0) or
// "win32s" (Win32s on Windows 3.1), the platforms the program refuses to run on. Any other text is the
// default. Tests override the choice without the environment (platform/testing/WindowsVersion.h).
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize; // set by the caller to the record's size, 148
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    CHAR szCSDVersion[128];
};

static_assert(sizeof(OSVERSIONINFOA) == 148);

// FALSE with ERROR_INSUFFICIENT_BUFFER unless the size field is 148.
BOOL GetVersionExA(OSVERSIONINFOA* info);

namespace seam {

enum class WindowsFamily {
    FromEnvironment, // VEMO_WINVER decides
    NT,
    Windows9x,
    NT4,
    Win32s,
};

// Returns the override it replaces.
WindowsFamily OverrideWindowsFamily(WindowsFamily family);

} // namespace seam

} // namespace win32
