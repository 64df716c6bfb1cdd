// The top-level windows of other processes on the same desktop (platform/win32/windows/Window.h,
// FindWindowA), reached over local sockets. Internal to the platform layer; call without the window system's
// lock.
//
// A desktop is a folder of sockets ($XDG_RUNTIME_DIR, else a private folder in /tmp, then
// "vemo-desktop-" and the desktop's name), one socket a process, named by its process id. A process opens
// its socket when it makes its first top-level window and answers two questions on it, each on a connection
// of its own: which of its top-level windows has a class and title, and to post a message to one of them.
// The socket goes with the process; one left by a process that died is removed by the next process that
// finds nobody behind it.
#pragma once

#include "platform/win32/Types.h"

namespace win32::exchange {

// Starts answering the other processes of the desktop (once; nothing on the "private" desktop).
void Publish();

// The first top-level window, of the other processes of the desktop in the order of their ids, whose class
// and title (null: any) match without regard to case: a handle of this process standing for it; null when
// there is none.
HWND FindInOtherProcesses(LPCSTR className, LPCSTR windowName);

// Whether the handle stands for a window of another process.
bool StandsForOtherProcess(HWND window);
// Posts to the window that the handle stands for; FALSE with ERROR_INVALID_WINDOW_HANDLE when its process or
// the window is gone.
BOOL PostToOtherProcess(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace win32::exchange
