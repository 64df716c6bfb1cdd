// Makes the emulated machine a Windows 2000, Windows 98, Windows NT 4.0 or Win32s one (the families of
// platform/win32/Version.h) for as long as the override exists, whatever VEMO_WINVER says.
#pragma once

#include "platform/win32/Version.h"

namespace platform::testing {

class WindowsVersionOverride {
public:
    explicit WindowsVersionOverride(win32::seam::WindowsFamily family);
    // Puts back the choice that was in force before.
    ~WindowsVersionOverride();
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;

private:
    win32::seam::WindowsFamily m_previous;
};

} // namespace platform::testing
