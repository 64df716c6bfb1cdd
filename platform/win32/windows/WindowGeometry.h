// Where windows are: their rectangles, the frame around a client area, the window under a screen point and a
// window's parent. Part of the window calls of platform/win32/windows/Window.h.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// The window rectangle in screen coordinates (for a child as well).
BOOL GetWindowRect(HWND window, RECT* rect);
// The client area in its own coordinates: (0, 0, width, height).
BOOL GetClientRect(HWND window, RECT* rect);
// AdjustWindowRectEx without extended styles.
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
// Right and bottom edges are outside.
BOOL PtInRect(const RECT* rect, POINT point);
// The deepest visible window under a screen point, null over no window. Of the top-level windows under it,
// topmost windows lie above the others, the active window above the rest of its kind, and a later window
// above an earlier one; a child lies above its parent and a later child above an earlier one. A disabled
// child is passed over: what lies beneath it is found.
HWND WindowFromPoint(POINT point);
// The parent of a child window, the owner of an owned top-level window, else null.
HWND GetParent(HWND window);

} // namespace win32
