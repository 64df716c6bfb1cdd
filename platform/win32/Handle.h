// Closing kernel handles. Every kernel object the process opens (file, find search, mutex, thread, process,
// device) is named by a handle of its own; a handle stays valid until it is closed.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// Takes the handle out of the handle table, dropping the table's reference to its object; FALSE with
// ERROR_INVALID_HANDLE for a handle that is not open.
BOOL CloseHandle(HANDLE handle);

} // namespace win32
