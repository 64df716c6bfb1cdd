#include "platform/win32/desktop/DisplaySettings.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowSystem.h"

#include <cstring>
#include <strings.h>

namespace win32 {

namespace {

constexpr char kPrimaryDisplay[] = "\\\\.\\DISPLAY1";
constexpr DWORD kRefreshRate = 60;

} // namespace

BOOL EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNumber, DEVMODEA* mode) {
    if (mode == nullptr || (deviceName != nullptr && strcasecmp(deviceName, kPrimaryDisplay) != 0) ||
        (modeNumber != ENUM_CURRENT_SETTINGS && modeNumber != ENUM_REGISTRY_SETTINGS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const video::DesktopMode desktop = CurrentDesktopMode();
    const DEVMODEA empty{};
    *mode = empty;
    std::memcpy(mode->dmDeviceName, kPrimaryDisplay, sizeof(kPrimaryDisplay));
    mode->dmSize = sizeof(DEVMODEA);
    mode->dmFields = DM_POSITION | DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
    mode->dmBitsPerPel = static_cast<DWORD>(desktop.bitsPerPixel);
    mode->dmPelsWidth = static_cast<DWORD>(desktop.size.cx);
    mode->dmPelsHeight = static_cast<DWORD>(desktop.size.cy);
    mode->dmDisplayFrequency = kRefreshRate;
    return TRUE;
}

bool DisplayAcceptsDepth(DWORD bitsPerPixel) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.Backend().AcceptsDepth(static_cast<int>(bitsPerPixel));
}

} // namespace win32
