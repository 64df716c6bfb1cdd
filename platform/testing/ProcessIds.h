// Test-only process ids, for the names of new files that a killed or a running writer left behind.
#pragma once

#include "platform/win32/Types.h"

namespace win32::testing {

// The id of a process that was started and has ended.
DWORD EndedProcessId();
// The id of a process other than this one that still runs (this one's parent).
DWORD OtherRunningProcessId();

} // namespace win32::testing
