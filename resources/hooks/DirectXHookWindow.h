// A DirectX window as the DirectX engine hook sees it from below the graphics layer: its serial number, its
// native window, the hook it is registered with and whether it holds the display (the application's main
// window). The hook writes the last two when it registers and releases the window. Vemo::DirectXWindow
// implements it, and hands itself out to the graphic engines that draw into the main window.
#pragma once

#include "platform/win32/Types.h"

#include <cstdint>

namespace Vemo {

class DirectXEngineHook;
class DirectXWindow;

class DirectXHookWindow {
public:
    explicit DirectXHookWindow(bool main) : m_main(main) {}
    DirectXHookWindow(const DirectXHookWindow&) = delete;
    DirectXHookWindow& operator=(const DirectXHookWindow&) = delete;
    virtual ~DirectXHookWindow();

    // The Win32 window serial, shared by the Win32 and DirectX window sets.
    virtual std::uint32_t GetSerial() const = 0;
    // Null while the native window does not exist.
    virtual win32::HWND GetWindowHandle() const = 0;
    // The window object itself; null for a window that is no DirectXWindow.
    virtual DirectXWindow* GetDirectXWindow();

    // Null while the window is not registered with the hook.
    DirectXEngineHook* GetDirectXHook() const { return m_hook; }
    // The window is, or is to become, the window that holds the display.
    bool IsMain() const { return m_main; }

private:
    friend class DirectXEngineHook;

    DirectXEngineHook* m_hook = nullptr;
    bool m_main;
};

struct DirectXWindowSort {
    bool operator()(const DirectXHookWindow* a, const DirectXHookWindow* b) const {
        return a->GetSerial() < b->GetSerial();
    }
};

} // namespace Vemo
