#include "platform/win32/windows/SystemKeys.h"

#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"

#include <atomic>

namespace win32 {

namespace {

// The window that saw Alt go down with no other key since, on this thread.
thread_local HWND t_altAlone = nullptr;
std::atomic<std::size_t> g_windowMenuRequests{0};

bool IsRepeat(LPARAM keyData) {
    return (keyData & KF_REPEAT_BIT) != 0;
}

} // namespace

LRESULT DefaultKeyProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool alt = wParam == VK_MENU;
    if (message == WM_SYSKEYUP) {
        const bool alone = alt && t_altAlone == window;
        t_altAlone = nullptr;
        if (alone) {
            SendToWindow(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
        }
        return 0;
    }
    if (!alt) {
        t_altAlone = nullptr;
    } else if (!IsRepeat(lParam)) {
        t_altAlone = window;
    }
    return 0;
}

void OpenWindowMenu(HWND) {
    ++g_windowMenuRequests;
}

std::size_t WindowMenuRequests() {
    return g_windowMenuRequests;
}

} // namespace win32
