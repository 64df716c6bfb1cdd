// Loadable libraries: shared objects of the host, loaded with dlopen and searched with dlsym.
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/kernel/Module.h"

namespace win32 {

constexpr DWORD ERROR_PROC_NOT_FOUND = 127;

// An export of a library; cast to the function's own type before calling. The type is the one function
// pointer type that compilers let a cast turn into any other without a warning.
using FARPROC = void (*)();

// A name without '\' or '/' ("libcorvintale.so") is looked for in the program's own folder first, as Windows
// does, then as the host's loader finds libraries (LD_LIBRARY_PATH, the system's folders); a Windows path
// with a drive is mapped through the drive table (HostPath.h). Every symbol is bound at once, and the
// library's symbols are not offered to libraries loaded later. Each load counts: the library stays until as
// many FreeLibrary calls. Null with ERROR_MOD_NOT_FOUND for any other text, a library that is not found, or
// one that cannot be loaded.
HMODULE LoadLibraryA(LPCSTR fileName);
// FALSE with ERROR_INVALID_HANDLE for a handle LoadLibraryA did not give, or one freed as often as loaded.
BOOL FreeLibrary(HMODULE module);
// The export of that name from the library itself (not from the libraries it loaded in turn); null with
// ERROR_PROC_NOT_FOUND when the library has none (an ordinal in place of a name is not offered), or
// ERROR_INVALID_HANDLE as above.
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

} // namespace win32
