#include "resources/hooks/Win32Wrappers.h"

#include "platform/win32/files/SystemPaths.h"
#include "platform/win32/kernel/ModuleResources.h"
#include "platform/win32/kernel/Synchronization.h"

#include <climits>
#include <vector>

namespace Vemo {

win32::HANDLE Win32CreateMutex(win32::SECURITY_ATTRIBUTES* security, bool initialOwner, const String& name) {
    return win32::CreateMutexA(security, initialOwner ? win32::TRUE : win32::FALSE, name.CStr());
}

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

win32::DWORD Win32GetLongPathName(const String& path, String& out) {
    const win32::DWORD needed = win32::GetLongPathNameA(path.CStr(), nullptr, 0);
    if (needed == 0) {
        return 0;
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    const win32::DWORD length =
        win32::GetLongPathNameA(path.CStr(), buffer.data(), static_cast<win32::DWORD>(buffer.size()));
    // A path that grew between the two calls did not fit.
    if (length == 0 || length >= buffer.size()) {
        return 0;
    }
    out.Assign(buffer.data(), length);
    return length;
}

bool Win32GetVersionEx(win32::OSVERSIONINFOA* info) {
    return win32::GetVersionExA(info) != win32::FALSE;
}

win32::LONG_PTR Win32GetWindowLong(win32::HWND window, int index) {
    return win32::GetWindowLongA(window, index);
}

int Win32LoadString(win32::HINSTANCE instance, win32::UINT id, String& out) {
    constexpr int kFirstSize = 1024;
    std::vector<char> buffer;
    int length = 0;
    for (int size = kFirstSize;; size *= 2) {
        buffer.assign(static_cast<std::size_t>(size), '\0');
        length = win32::LoadStringA(instance, id, buffer.data(), size);
        if (length == 0) {
            return 0;
        }
        if (length + 2 < size || size > INT_MAX / 2) {
            break;
        }
    }
    out.Assign(buffer.data(), static_cast<std::uint32_t>(length));
    return length;
}

bool Win32PeekMessage(win32::MSG* message, win32::HWND window, win32::UINT first, win32::UINT last,
                      win32::UINT options) {
    return win32::PeekMessageA(message, window, first, last, options) != win32::FALSE;
}

win32::ATOM Win32RegisterClassEx(const win32::WNDCLASSEXA* windowClass) {
    return win32::RegisterClassExA(windowClass);
}

win32::LSTATUS Win32RegOpenKeyEx(win32::HKEY key, const String& subKey, win32::REGSAM access,
                                 win32::HKEY* out) {
    return win32::RegOpenKeyExA(key, subKey.CStr(), 0, access, out);
}

win32::LSTATUS Win32RegQueryValueEx(win32::HKEY key, const String& valueName, win32::DWORD* type,
                                    win32::BYTE* data, win32::DWORD* size) {
    return win32::RegQueryValueExA(key, valueName.CStr(), nullptr, type, data, size);
}

win32::LSTATUS Win32RegSetValueEx(win32::HKEY key, const String& valueName, win32::DWORD type,
                                  const win32::BYTE* data, win32::DWORD size) {
    return win32::RegSetValueExA(key, valueName.CStr(), 0, type, data, size);
}

win32::LONG_PTR Win32SetWindowLong(win32::HWND window, int index, win32::LONG_PTR value) {
    return win32::SetWindowLongA(window, index, value);
}

bool Win32SetWindowText(win32::HWND window, const String& text) {
    return win32::SetWindowTextA(window, text.CStr()) != win32::FALSE;
}

} // namespace Vemo
