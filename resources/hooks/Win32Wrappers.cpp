#include "resources/hooks/Win32Wrappers.h"

namespace Vemo {

win32::HWND Win32CreateWindowEx(win32::DWORD style, win32::DWORD exStyle, const String& className,
                                const String& caption, int x, int y, int width, int height,
                                win32::HWND parent, win32::HMENU menu, win32::HINSTANCE instance,
                                win32::LPVOID param) {
    return win32::CreateWindowExA(exStyle, className.CStr(), caption.CStr(), style, x, y, width, height,
                                  parent, menu, instance, param);
}

win32::LRESULT Win32DefWindowProc(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                  win32::LPARAM lParam) {
    return win32::DefWindowProcA(window, message, wParam, lParam);
}

win32::LRESULT Win32DispatchMessage(const win32::MSG* message) {
    return win32::DispatchMessageA(message);
}

win32::HWND Win32FindWindow(const String& className, const String& windowName) {
    return win32::FindWindowA(className.CStr(), windowName.CStr());
}

bool Win32GetMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last) {
    return win32::GetMessageA(message, window, first, last) > 0;
}

bool Win32GetVersionEx(win32::OSVERSIONINFOA* info) {
    return win32::GetVersionExA(info) != win32::FALSE;
}

win32::LONG_PTR Win32GetWindowLong(win32::HWND window, int index) {
    return win32::GetWindowLongA(window, index);
}

bool Win32PeekMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last,
                      win32::UINT options) {
    return win32::PeekMessageA(message, window, first, last, options) != win32::FALSE;
}

win32::ATOM Win32RegisterClassEx(const win32::WNDCLASSEXA* windowClass) {
    return win32::RegisterClassExA(windowClass);
}

win32::LONG_PTR Win32SetWindowLong(win32::HWND window, int index, win32::LONG_PTR value) {
    return win32::SetWindowLongA(window, index, value);
}

bool Win32SetWindowText(win32::HWND window, const String& text) {
    return win32::SetWindowTextA(window, text.CStr()) != win32::FALSE;
}

} // namespace Vemo
