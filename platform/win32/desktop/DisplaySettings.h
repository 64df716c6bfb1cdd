// The display's settings as the program asks for them: the emulated desktop mode
// (platform/video/VideoBackend.h), 1920x1080 at 32 bits unless a test sets another, refreshed at 60 Hz.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The display fields of Windows' record, in its order; the printer fields are not kept.
struct DEVMODEA {
    BYTE dmDeviceName[32];
    WORD dmSpecVersion;
    WORD dmDriverVersion;
    WORD dmSize;
    WORD dmDriverExtra;
    // Which of the fields below are filled in (DM_ flags).
    DWORD dmFields;
    POINT dmPosition;
    DWORD dmBitsPerPel;
    DWORD dmPelsWidth;
    DWORD dmPelsHeight;
    DWORD dmDisplayFlags;
    DWORD dmDisplayFrequency;
};

constexpr DWORD DM_POSITION = 0x00000020;
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;

constexpr DWORD ENUM_CURRENT_SETTINGS = static_cast<DWORD>(-1);
constexpr DWORD ENUM_REGISTRY_SETTINGS = static_cast<DWORD>(-2);

// The one display is the primary one: a null device name or "\\.\DISPLAY1". ENUM_CURRENT_SETTINGS and
// ENUM_REGISTRY_SETTINGS both give the desktop mode, with the record's size (dmSize) and its device name
// filled in; the modes by index are not listed (FALSE), nor are other devices or a null record.
BOOL EnumDisplaySettingsA(LPCSTR deviceName, DWORD modeNumber, DEVMODEA* mode);

} // namespace win32
