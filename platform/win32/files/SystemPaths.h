// The paths the kernel hands out: the temporary folder, the current folder, and the short and long forms of
// a path. Every path here is a Windows path of the emulated machine (HostPath.h); a host folder that no drive
// shows has none.
//
// Each call copies its text and a NUL into the buffer and returns the text's length; when the buffer is too
// small (or null) nothing is copied and the size it needs, NUL included, is returned. 0 on failure.
#pragma once

#include "platform/win32/Types.h"

#include <string>

namespace win32 {

// The host's temporary folder ($TMPDIR when it names an absolute folder, else /tmp) as a Windows path with a
// "\" at its end. Fails with ERROR_PATH_NOT_FOUND when no drive shows it.
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);

// The process's current folder as a Windows path: "C:\Titles\Demo", or "C:\" for a drive's root. Fails with
// ERROR_PATH_NOT_FOUND when no drive shows it.
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);

// This machine's file systems keep no 8.3 aliases: a path that exists is its own short and long form, and
// comes back as given. A path that does not exist fails with ERROR_FILE_NOT_FOUND (or ERROR_PATH_NOT_FOUND
// when a folder on its way is missing); a null path with ERROR_INVALID_PARAMETER. The input and the output
// may be the same buffer.
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD bufferLength);
DWORD GetLongPathNameA(LPCSTR shortPath, LPSTR longPath, DWORD bufferLength);

namespace detail {

// The host's temporary folder that GetTempPathA shows: $TMPDIR when it is an absolute path, else /tmp.
std::string TemporaryFolder();

} // namespace detail

} // namespace win32
