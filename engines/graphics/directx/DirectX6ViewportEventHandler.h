// The window event handler through which a DirectX 6 viewport handle hears its window: it passes the eight
// window messages the viewport handles on to it unchanged, while it has a handle.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/directx/DirectXViewportEventHandler.h"

namespace Vemo {

class DirectX6ViewportHandle;

class DirectX6ViewportEventHandler : public DirectXViewportEventHandler {
public:
    explicit DirectX6ViewportEventHandler(DirectX6ViewportHandle* handle = nullptr);
    // The handle forgets it as its own handler when it is that one; then it leaves its viewport and window.
    ~DirectX6ViewportEventHandler() override;

    void OnActivate(win32::UINT state, bool minimized, win32::HWND other) override;
    // True (the window may close) without a handle.
    bool OnClose() override;
    void OnDestroy() override;
    void OnDisplayChange(win32::WPARAM bitsPerPixel, win32::UINT width, win32::UINT height) override;
    void OnMove(int x, int y) override;
    void OnPaint(win32::WPARAM first) override;
    void OnSize(win32::WPARAM type, win32::UINT width, win32::UINT height) override;
    void OnShowWindow(bool shown, win32::LPARAM status) override;

    DirectX6ViewportHandle* GetHandle() const { return m_handle; }
    void SetHandle(DirectX6ViewportHandle* handle) { m_handle = handle; }

private:
    DirectX6ViewportHandle* m_handle;
};

} // namespace Vemo
