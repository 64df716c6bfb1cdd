#include "resources/hooks/Win32WindowProcedure.h"

#include "platform/win32/LastError.h"
#include "resources/hooks/Win32HookWindow.h"
#include "resources/hooks/Win32Wrappers.h"

namespace Vemo {

namespace {

// Stores the object in the slot; false only when the store failed (a stored 0 and a failure both answer 0).
bool StoreObject(win32::HWND window, int index, Win32HookWindow* object) {
    win32::SetLastError(win32::ERROR_SUCCESS);
    win32::LONG_PTR previous = Win32SetWindowLong(window, index, reinterpret_cast<win32::LONG_PTR>(object));
    return previous != 0 || win32::GetLastError() == win32::ERROR_SUCCESS;
}

Win32HookWindow* StoredObject(win32::HWND window, int index) {
    return reinterpret_cast<Win32HookWindow*>(Win32GetWindowLong(window, index));
}

} // namespace

win32::LRESULT Win32WindowProcedure(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                    win32::LPARAM second) {
    if (message == win32::WM_CREATE) {
        const auto* creation = reinterpret_cast<const win32::CREATESTRUCTA*>(second);
        auto* object =
            creation != nullptr ? static_cast<Win32HookWindow*>(creation->lpCreateParams) : nullptr;
        if (object == nullptr || !StoreObject(window, 0, object)) {
            return -1;
        }
        win32::LRESULT result = object->HandleMessage(window, message, first, second, true);
        if (result == -1) {
            Win32SetWindowLong(window, 0, 0);
        }
        return result;
    }
    Win32HookWindow* object = StoredObject(window, 0);
    win32::LRESULT result = object != nullptr ? object->HandleMessage(window, message, first, second, true)
                                              : Win32DefWindowProc(window, message, first, second);
    if (message == win32::WM_DESTROY) {
        Win32SetWindowLong(window, 0, 0);
    }
    return result;
}

win32::INT_PTR Win32DialogProcedure(win32::HWND dialog, win32::UINT message, win32::WPARAM first,
                                    win32::LPARAM second) {
    if (message == win32::WM_INITDIALOG) {
        auto* object = reinterpret_cast<Win32HookWindow*>(second);
        if (object == nullptr || !StoreObject(dialog, win32::DWL_USER, object)) {
            return win32::FALSE;
        }
        if (object->HandleMessage(dialog, message, first, second, false) == -1) {
            Win32SetWindowLong(dialog, win32::DWL_USER, 0);
        }
        return win32::TRUE;
    }
    if (Win32HookWindow* object = StoredObject(dialog, win32::DWL_USER)) {
        object->HandleMessage(dialog, message, first, second, false);
    }
    if (message == win32::WM_DESTROY) {
        Win32SetWindowLong(dialog, win32::DWL_USER, 0);
    }
    return win32::FALSE;
}

} // namespace Vemo
