// The emulated machine's Windows folder, where titles install screen savers and wallpapers and where
// "SYSTEM.INI" lies (Profile.h).
//
// Settings:
//   VEMO_WINDIR  the host folder that is the Windows folder; an absolute path. Default (unset or empty):
//                $XDG_DATA_HOME/vemo/windows, with $HOME/.local/share when XDG_DATA_HOME is unset, empty or
//                not absolute. Read at every call; the folder, and the folders above it, are made when
//                missing. It must lie on a drive of the emulated machine (DriveTable.h), which gives its
//                Windows path. Tests point it at a temporary folder.
#pragma once

#include "platform/win32/Types.h"

#include <string>

namespace win32 {

// The Windows path of the Windows folder ("C:\home\user\.local\share\vemo\windows"), without a trailing '\'
// unless it is a drive's root. With a buffer of more than its length it is copied with its zero and its
// length returned; otherwise nothing is copied and the size needed, zero included, is returned. 0 when the
// folder cannot be made or lies on no drive (ERROR_PATH_NOT_FOUND, or the host's reason), said once on the
// standard error for each setting that fails.
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);

namespace detail {

// The host folder the settings name for the Windows folder, as an absolute path without a trailing '/', or an
// empty text with the reason in why. Neither made nor looked at.
std::string ConfiguredWindowsFolder(std::string& why);

// The Windows folder as GetWindowsDirectoryA finds it: its host path, made when missing, and its Windows
// path; false with the last error set when it cannot be had.
bool FindWindowsDirectory(std::string& hostPath, std::string& windowsPath);

} // namespace detail

} // namespace win32
