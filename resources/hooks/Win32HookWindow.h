// A framework window as the engine hooks see it from below the graphics layer: its serial number, its native
// window and the message handling that the shared window procedure hands messages to. Vemo::Win32Window
// implements it; the hooks, the window procedure and the window sets know windows only through it.
#pragma once

#include "platform/win32/windows/Window.h"

#include <cstdint>

namespace Vemo {

class Win32HookWindow {
public:
    Win32HookWindow() = default;
    Win32HookWindow(const Win32HookWindow&) = delete;
    Win32HookWindow& operator=(const Win32HookWindow&) = delete;
    virtual ~Win32HookWindow();

    // From the process-wide window counter: the window's identity in every window set.
    virtual std::uint32_t GetSerial() const = 0;
    // Null until the window procedure has seen WM_CREATE (WM_INITDIALOG) for the window, and again once it is
    // destroyed.
    virtual win32::HWND GetWindowHandle() const = 0;
    // The window's answer to a message; callDefault asks for DefWindowProcA where the window does not answer
    // itself (the window procedure), a plain 0 otherwise (the dialog procedure).
    virtual win32::LRESULT HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                         win32::LPARAM second, bool callDefault) = 0;
};

// Orders window sets by serial number, ascending.
struct Win32WindowSort {
    bool operator()(const Win32HookWindow* a, const Win32HookWindow* b) const {
        return a->GetSerial() < b->GetSerial();
    }
};

} // namespace Vemo
