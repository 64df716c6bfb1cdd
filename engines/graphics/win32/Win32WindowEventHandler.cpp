#include "engines/graphics/win32/Win32WindowEventHandler.h"

#include "engines/graphics/win32/Win32Window.h"

namespace Vemo {

namespace {

// Handler serials: their own counter, separate from the windows'; the first handler is 1.
std::uint32_t g_handlerCounter = 0;

} // namespace

Win32WindowEventHandler::Win32WindowEventHandler() : m_serial(++g_handlerCounter) {}

Win32WindowEventHandler::~Win32WindowEventHandler() {
    if (m_window != nullptr) {
        m_window->RemoveEventHandler(this);
    }
}

void Win32WindowEventHandler::OnActivate(win32::UINT, bool, win32::HWND) {}
void Win32WindowEventHandler::OnActivateApp(bool, win32::DWORD) {}
void Win32WindowEventHandler::OnChar(win32::WPARAM, win32::LPARAM) {}
bool Win32WindowEventHandler::OnClose() {
    return true;
}
void Win32WindowEventHandler::OnCommand(win32::UINT, win32::UINT, win32::HWND) {}
bool Win32WindowEventHandler::OnCreate(win32::CREATESTRUCTA*) {
    return true;
}
void Win32WindowEventHandler::OnDestroy() {}
void Win32WindowEventHandler::OnDisplayChange(win32::WPARAM, win32::UINT, win32::UINT) {}
void Win32WindowEventHandler::OnEnterMenuLoop(bool) {}
void Win32WindowEventHandler::OnEnterSizeMove() {}
bool Win32WindowEventHandler::OnEraseBackground(win32::HDC) {
    return false;
}
void Win32WindowEventHandler::OnExitMenuLoop(bool) {}
void Win32WindowEventHandler::OnExitSizeMove() {}
void Win32WindowEventHandler::OnGetMinMaxInfo(win32::MINMAXINFO*) {}
bool Win32WindowEventHandler::OnInitDialog(win32::HWND) {
    return true;
}
void Win32WindowEventHandler::OnKeyDown(win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnKeyUp(win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnMove(int, int) {}
void Win32WindowEventHandler::OnPaint(win32::WPARAM) {}
bool Win32WindowEventHandler::OnPower(win32::WPARAM) {
    return true;
}
bool Win32WindowEventHandler::OnPowerBroadcast(win32::WPARAM, win32::LPARAM) {
    return true;
}
bool Win32WindowEventHandler::OnSetCursor(win32::HWND, win32::UINT, win32::UINT) {
    return false;
}
void Win32WindowEventHandler::OnSize(win32::WPARAM, win32::UINT, win32::UINT) {}
void Win32WindowEventHandler::OnShowWindow(bool, win32::LPARAM) {}
bool Win32WindowEventHandler::OnSysCommand(win32::WPARAM, int, int) {
    return false;
}
void Win32WindowEventHandler::OnSysKeyDown(win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnSysKeyUp(win32::WPARAM, win32::LPARAM) {}
win32::HBRUSH Win32WindowEventHandler::OnCtlColorEdit(win32::HDC, win32::HWND) {
    return nullptr;
}
win32::HBRUSH Win32WindowEventHandler::OnCtlColorStatic(win32::HDC, win32::HWND) {
    return nullptr;
}
void Win32WindowEventHandler::OnOtherMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnUserMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnAppMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnRegisteredMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) {}
void Win32WindowEventHandler::OnReservedMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM) {}

} // namespace Vemo
