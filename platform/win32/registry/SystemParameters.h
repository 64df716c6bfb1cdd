// The desktop settings of the emulated machine that titles change: whether a screen saver is active, and the
// wallpaper. They live in this process's session, taken at first use from the registry store's
// HKEY_CURRENT_USER "Control Panel\Desktop" (REG_SZ "ScreenSaveActive", "1" for active, anything else or
// nothing for inactive; "Wallpaper", the picture's Windows path, empty for none), and go back there only when
// a caller asks for it with SPIF_UPDATEINIFILE. Nothing here touches the host's desktop.
#pragma once

#include "platform/win32/Types.h"

#include <string>

namespace win32 {

constexpr UINT SPI_GETSCREENSAVEACTIVE = 0x0010;
constexpr UINT SPI_SETSCREENSAVEACTIVE = 0x0011;
constexpr UINT SPI_SETDESKWALLPAPER = 0x0014;

// fWinIni: also write the setting into the user's profile (the registry store); tell the other windows
// (nobody listens here, so it changes nothing).
constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
constexpr UINT SPIF_SENDCHANGE = 0x0002;

// The three settings above:
// - SPI_GETSCREENSAVEACTIVE: TRUE or FALSE into the BOOL that param points to (null:
// ERROR_INVALID_PARAMETER).
// - SPI_SETSCREENSAVEACTIVE: uiParam non-zero switches the screen saver on, 0 off.
// - SPI_SETDESKWALLPAPER: param is the picture's Windows path (null or empty: no wallpaper). A path that
// names
//   no existing file fails with the path's error (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND) and changes
//   nothing.
// With SPIF_UPDATEINIFILE a change is also stored in the registry store, the key made when missing; FALSE
// with the store's error when that fails (the session keeps the change). Any other action fails with
// ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID param, UINT winIni);

namespace seam {

// platform/testing/SystemParameters.h wraps these.
void ResetSystemParameters();
std::string SessionWallpaper();

} // namespace seam

} // namespace win32
