// The window procedure of the framework's window class and the dialog procedure of its modeless dialogs. Each
// window keeps its Win32HookWindow in window-long 0 (a dialog in DWL_USER), stored when the window is created
// and cleared when it is destroyed, and hands every message to that object's HandleMessage.
#pragma once

#include "platform/win32/windows/Window.h"

namespace Vemo {

// WM_CREATE takes the object from the creation parameter (-1 when there is none or it cannot be stored) and
// clears it again when HandleMessage refuses the creation; messages before WM_CREATE go to DefWindowProcA.
win32::LRESULT Win32WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                    win32::LPARAM second);
// WM_INITDIALOG takes the object from the second parameter and always answers TRUE once it is stored; every
// other message answers FALSE, so that the dialog manager's default processing runs.
win32::INT_PTR Win32DialogProcedure(win32::HWND dialog, win32::UINT message, win32::WPARAM first,
                                    win32::LPARAM second);

} // namespace Vemo
