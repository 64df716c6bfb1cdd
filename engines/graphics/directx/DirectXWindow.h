// A window that registers itself with the DirectX engine hook: either as the window that holds the display
// (the application's main window, whose window the DirectDraw cooperative level is set on), or as one more
// window of the hook's window set (the windows a viewport opens).
#pragma once

#include "engines/graphics/win32/Win32Window.h"
#include "resources/hooks/DirectXHookWindow.h"

namespace Vemo {

class DirectXWindow : public Win32Window, public DirectXHookWindow {
public:
    // main: the window is to hold the display.
    explicit DirectXWindow(bool main);
    // Leaves the hook (the display or the window set) before the native window goes.
    ~DirectXWindow() override;

    // Registers with the hook first, then creates the native window; a failed creation undoes the
    // registration.
    bool Create(const String& caption, const Point* position, const Size* size, bool positionIsClient,
                bool sizeIsClient, std::uint32_t exStyle, std::uint32_t style, Win32Window* parent,
                win32::HMENU menu, bool show, bool bringToFront) override;
    // Destroys the native window, then leaves the hook; both are attempted whatever the other does.
    bool Destroy() override;

    std::uint32_t GetSerial() const override { return Win32Window::GetSerial(); }
    win32::HWND GetWindowHandle() const override { return Win32Window::GetWindowHandle(); }
    DirectXWindow* GetDirectXWindow() override { return this; }

private:
    bool LeaveHook(bool main);
};

} // namespace Vemo
