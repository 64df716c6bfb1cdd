// Module handles. The program is the one module of this host: it has no loadable libraries of its own.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;

// With no name, the program's instance handle: one fixed, non-null value for the life of the process. A named
// module gives null with ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleA(LPCSTR moduleName);

} // namespace win32
