// The mouse capture: the window that holds it gets the mouse messages wherever the pointer goes, in its own
// client coordinates (outside the client area too), until it lets go or the system takes the capture away.
// The window that loses the capture is sent WM_CAPTURECHANGED with the new holder (null for none) in lParam;
// a window that takes it again while it holds it is sent nothing. Part of the window calls of
// platform/win32/windows/Window.h.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The window that held the capture before; null, and nothing changed, for a window that does not exist.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
// Null while no live window holds the capture.
HWND GetCapture();

} // namespace win32
