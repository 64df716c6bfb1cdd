// Test-only look at the host's pointer.
#pragma once

namespace win32::testing {

// Whether the host's pointer is hidden now: it was last over a window whose class cursor hides it.
bool PointerHidden();

} // namespace win32::testing
