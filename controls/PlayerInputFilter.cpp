#include "controls/PlayerInputFilter.h"

#include "platform/win32/WindowMessages.h"
#include "platform/win32/windows/Window.h"

namespace {

constexpr win32::WPARAM kEscape = 27;

} // namespace

bool PlayerInputFilter::HandleMessage(const win32::MSG& message) {
    switch (message.message) {
    case win32::WM_RBUTTONDOWN:
    case win32::WM_RBUTTONUP:
    case win32::WM_RBUTTONDBLCLK:
        return true;
    case win32::WM_KEYDOWN:
    case win32::WM_KEYUP:
        return message.wParam == kEscape;
    default:
        return false;
    }
}

bool PlayerInputFilter::SubclassPlayerIn(win32::HWND hostWindow) {
    const win32::HWND playerWindow = win32::GetWindow(hostWindow, win32::GW_CHILD);
    return Subclass(playerWindow != nullptr ? playerWindow : hostWindow);
}
