// The state of one window, as the window system keeps it. Internal to the platform layer; every member is
// read and written with the window system's lock held.
#pragma once

#include "platform/win32/windows/Window.h"

#include <memory>
#include <string>
#include <vector>

namespace win32 {

class MessageQueue;
class WindowClass;

class WindowObject {
public:
    enum class Placement { Normal, Minimized, Maximized };

    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    WNDPROC procedure = nullptr;
    bool isDialog = false;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string text;
    // The parent of a child window, or the owner of an owned top-level window.
    HWND parent = nullptr;
    std::shared_ptr<MessageQueue> queue;

    // The window rectangle: screen coordinates for a top-level window, the parent's client coordinates for a
    // child. The rectangle to go back to when a minimised or maximised window is restored.
    RECT rect{};
    RECT restoreRect{};
    Placement placement = Placement::Normal;
    bool visible = false;
    // The window has to be painted (WM_PAINT); invalidArea is the part of the client area to paint, in client
    // coordinates, where only parts were invalidated: an empty rectangle means all of it.
    bool needsPaint = false;
    RECT invalidArea{};
    // The background is to be erased by the next paint (InvalidateRect with erase).
    bool eraseBackground = false;
    // Set once creation has succeeded; a window that fails creation never reaches this.
    bool created = false;
    bool destroying = false;
    // A real window of the video backend stands behind this one.
    bool native = false;

    std::vector<LONG_PTR> slots;
    LONG_PTR userData = 0;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    // The whole client area needs painting.
    void InvalidateAll() {
        needsPaint = true;
        invalidArea = RECT{};
    }
    void Validate() {
        needsPaint = false;
        invalidArea = RECT{};
        eraseBackground = false;
    }
    bool IsMinimized() const { return placement == Placement::Minimized; }

    // Frame widths on each side between the window rectangle and its client area.
    RECT FrameInsets() const;
    // The client area in the coordinates of the window rectangle's own frame of reference.
    RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
};

// The frame this host draws around a client area of a window with these styles: the insets on each side.
RECT FrameInsetsFor(DWORD style, bool hasMenu, DWORD exStyle);

} // namespace win32
