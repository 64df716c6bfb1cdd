// Thin wrappers of Win32 calls that take Vemo::String arguments: an empty String is passed as "", the other
// arguments go through unchanged, and BOOL results come back as bool. This is the window and message part;
// the storage, font and registry parts sit beside their callers' calls.
#pragma once

#include "foundation/String.h"
#include "platform/win32/Version.h"
#include "platform/win32/Window.h"

namespace Vemo {

// The style comes before the extended style, unlike CreateWindowExA.
win32::HWND Win32CreateWindowEx(win32::DWORD style, win32::DWORD exStyle, const String& className,
                                const String& caption, int x, int y, int width, int height,
                                win32::HWND parent, win32::HMENU menu, win32::HINSTANCE instance,
                                win32::LPVOID param);
win32::LRESULT Win32DefWindowProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                  win32::LPARAM lParam);
win32::LRESULT Win32DispatchMessage(const win32::MSG* message);
win32::HWND Win32FindWindow(const String& className, const String& windowName);
// True for a message other than WM_QUIT; false for WM_QUIT and also for a failure, which GetMessageA answers
// with -1 (a failed call must not read as a message to handle).
bool Win32GetMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last);
bool Win32GetVersionEx(win32::OSVERSIONINFOA* info);
win32::LONG_PTR Win32GetWindowLong(win32::HWND window, int index);
bool Win32PeekMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last,
                      win32::UINT options);
win32::ATOM Win32RegisterClassEx(const win32::WNDCLASSEXA* windowClass);
win32::LONG_PTR Win32SetWindowLong(win32::HWND window, int index, win32::LONG_PTR value);
bool Win32SetWindowText(win32::HWND window, const String& text);

} // namespace Vemo
