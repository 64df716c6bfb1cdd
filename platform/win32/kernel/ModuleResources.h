// The resources of the program's module: its strings and its icon. The program carries no resource section
// here: its strings are those tests register (platform/testing/StringTables.h), and its one icon is the
// application icon.
#pragma once

#include "platform/win32/Types.h"

#include <string>

namespace win32 {

// The application icon's integer resource id, 32512.
inline LPCSTR const IDI_APPLICATION = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(32512));

// Copies the string with the id into the buffer: at most bufferMax - 1 bytes (never half of a double-byte
// character) and a NUL, and returns the bytes copied. 0 with ERROR_RESOURCE_NAME_NOT_FOUND for a string the
// module does not have (an empty string counts as none, as on Windows), with ERROR_INVALID_PARAMETER for a
// null buffer or a bufferMax below 1. A null instance is the program's.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);

// The icon of the program's own module with the integer id 32512: one fixed handle. Every other instance or
// name gives null with ERROR_RESOURCE_NAME_NOT_FOUND.
HICON LoadIconA(HINSTANCE instance, LPCSTR name);

namespace seam {

// Gives the module the string (null takes it away again); platform/testing/StringTables.h wraps this.
void SetModuleString(HINSTANCE instance, UINT id, const std::string* text);

} // namespace seam

} // namespace win32
