#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowSystem.h"

namespace win32 {

namespace {

constexpr char kDialogClassName[] = "#32770";
// Slots of the dialog class: the message result, the dialog procedure and the user value.
constexpr int kDialogSlots = 3;

// The dialog manager: the dialog procedure sees each message first; what it leaves (answers FALSE to) gets
// the default processing.
LRESULT DialogManagerProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongA(dialog, DWL_DLGPROC));
    if (procedure != nullptr) {
        INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (handled != FALSE) {
            switch (message) {
            case WM_INITDIALOG:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
                return handled;
            default:
                return GetWindowLongA(dialog, DWL_MSGRESULT);
            }
        }
    }
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;
    case WM_CLOSE:
        // A dialog is closed by whoever made it: closing asks for Cancel, as its Cancel button would.
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    default:
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

std::shared_ptr<WindowClass> DialogClass() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.BuiltInClass(kDialogClassName, DialogManagerProcedure, CS_DBLCLKS, kDialogSlots);
}

} // namespace

HWND CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC dialogProc,
                        LPARAM initParam) {
    if (templateName == nullptr || !IS_INTRESOURCE(templateName)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    if (dialogProc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    CREATESTRUCTA creation{nullptr,
                           instance,
                           nullptr,
                           parent,
                           CW_USEDEFAULT,
                           CW_USEDEFAULT,
                           CW_USEDEFAULT,
                           CW_USEDEFAULT,
                           static_cast<LONG>(WS_POPUP | WS_CAPTION | WS_SYSMENU),
                           "",
                           kDialogClassName,
                           WS_EX_DLGMODALFRAME};
    HWND dialog = CreateWindowOfClass(DialogClass(), creation, dialogProc);
    if (dialog == nullptr) {
        return nullptr;
    }
    // No template means no control to give the focus to.
    SendToWindow(dialog, WM_INITDIALOG, 0, initParam);
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.Find(dialog, false) != nullptr ? dialog : nullptr;
}

} // namespace win32
