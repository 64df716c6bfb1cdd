// Thin wrappers of Win32 calls that take Vemo::String arguments: an empty String is passed as "", the other
// arguments go through unchanged, and BOOL results come back as bool. This is the window, message, registry,
// string, mutex and path part; the storage and font parts sit beside their callers' calls.
#pragma once

#include "foundation/String.h"
#include "platform/win32/Version.h"
#include "platform/win32/registry/Registry.h"
#include "platform/win32/windows/Window.h"

namespace Vemo {

// The style comes before the extended style, unlike CreateWindowExA.
win32::HANDLE Win32CreateMutex(win32::SECURITY_ATTRIBUTES* security, bool initialOwner, const String& name);
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
// Asks for the length first, then reads into a buffer of that size and one more; 0 (out unchanged) on
// failure.
win32::DWORD Win32GetLongPathName(const String& path, String& out);
bool Win32GetVersionEx(win32::OSVERSIONINFOA* info);
win32::LONG_PTR Win32GetWindowLong(win32::HWND window, int index);
// Loads into a buffer of 1024 characters, doubled while the text may have been cut short: while it fills
// the buffer, or all of it but the one byte a double-byte character cut at the end would leave. 0 (out
// unchanged) when the module has no such string.
int Win32LoadString(win32::HINSTANCE instance, win32::UINT id, String& out);
bool Win32PeekMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last,
                      win32::UINT options);
win32::ATOM Win32RegisterClassEx(const win32::WNDCLASSEXA* windowClass);
// The reserved arguments are 0 and null.
win32::LSTATUS Win32RegOpenKeyEx(win32::HKEY key, const String& subKey, win32::REGSAM access,
                                 win32::HKEY* out);
win32::LSTATUS Win32RegQueryValueEx(win32::HKEY key, const String& valueName, win32::DWORD* type,
                                    win32::BYTE* data, win32::DWORD* size);
win32::LSTATUS Win32RegSetValueEx(win32::HKEY key, const String& valueName, win32::DWORD type,
                                  const win32::BYTE* data, win32::DWORD size);
win32::LONG_PTR Win32SetWindowLong(win32::HWND window, int index, win32::LONG_PTR value);
bool Win32SetWindowText(win32::HWND window, const String& text);

} // namespace Vemo
