// The cursors CreateCursor made. Internal to the platform layer.
#pragma once

#include "platform/win32/windows/Window.h"

namespace win32 {

// Whether the cursor hides the pointer: every bit of its AND plane set and of its XOR plane clear. False
// for null and for a handle CreateCursor did not give. Takes only the cursors' own lock, so it may be called
// with the window system's lock held.
bool CursorHidesPointer(HCURSOR cursor);

} // namespace win32
