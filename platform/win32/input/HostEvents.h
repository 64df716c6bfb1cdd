// Events of the host (a video backend, or the testing API standing in for one) turned into window messages,
// and into the state of the DirectInput devices. Internal to the platform layer. Call without the window
// system's lock; coordinates are client coordinates of the given top-level window, sizes client sizes. Events
// for a window that no longer exists are dropped.
#pragma once

#include "platform/win32/Types.h"

namespace win32::host {

enum class MouseButton { Left, Right, Middle };

// Mouse input goes to the window holding the capture, else to the deepest visible child under the point, in
// its client coordinates.
void MouseMoved(HWND topLevel, int x, int y);
// The pointer to a point of the screen, over a window or none: the window it is over (see WindowFromPoint) is
// told, or the window holding the capture.
void PointerMoved(int screenX, int screenY);
// clickCount is the host's count of quick clicks on the spot: an even count makes a double click for a class
// with CS_DBLCLKS.
void MouseButtonChanged(HWND topLevel, MouseButton button, bool down, int x, int y, int clickCount);

// The wheel turned by delta (WHEEL_DELTA a notch, forward positive); WM_MOUSEWHEEL goes to the focus window,
// else the active window, else the given window.
void MouseWheelTurned(HWND topLevel, int delta);

// A key of the keyboard, named by its USB HID usage (the host's scan code). virtualKey overrides the table's
// virtual key (the host's layout may put another letter on the key); 0 keeps the table's. The message goes to
// the focus window, else the active window, else the given window.
void KeyChanged(HWND topLevel, int usage, BYTE virtualKey, bool down, bool repeat);
// The same for a virtual key, with the scan code of the key that usually carries it.
void VirtualKeyChanged(HWND topLevel, BYTE virtualKey, bool down, bool repeat);

void Moved(HWND topLevel, int clientX, int clientY);
void Resized(HWND topLevel, int clientWidth, int clientHeight);
void Minimized(HWND topLevel);
void Maximized(HWND topLevel);
void Restored(HWND topLevel);
void FocusGained(HWND topLevel);
void FocusLost(HWND topLevel);
// The user asked to close the window (its close box): WM_SYSCOMMAND SC_CLOSE is posted, which the default
// processing turns into WM_CLOSE.
void CloseRequested(HWND topLevel);
void Exposed(HWND topLevel);

} // namespace win32::host
