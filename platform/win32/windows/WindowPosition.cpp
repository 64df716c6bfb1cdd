#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>

namespace win32 {

namespace {

// What a change of position sends once the lock is let go.
struct PositionChange {
    bool sized = false;
    bool moved = false;
    bool minimized = false;
    bool topLevel = false;
    WPARAM sizeType = SIZE_RESTORED;
    LPARAM sizeParam = 0;
    LPARAM moveParam = 0;
};

void ApplyZOrder(WindowObject& window, HWND insertAfter) {
    if (insertAfter == HWND_TOPMOST) {
        window.exStyle |= WS_EX_TOPMOST;
    } else if (insertAfter == HWND_NOTOPMOST) {
        window.exStyle &= ~WS_EX_TOPMOST;
    }
}

// With the lock held: the new rectangle, style on the host and paint state; what to send afterwards.
PositionChange ApplyPosition(WindowSystem& system, WindowObject& window, HWND insertAfter, int x, int y,
                             int width, int height, UINT flags) {
    PositionChange change;
    change.minimized = window.IsMinimized();
    change.topLevel = !window.IsChild();
    const RECT before = window.ClientRect();
    const DWORD exStyleBefore = window.exStyle;
    // A minimised window keeps its place on the task bar; the rectangle it is restored to moves instead.
    RECT& target = change.minimized ? window.restoreRect : window.rect;
    if ((flags & SWP_NOMOVE) == 0) {
        target = RECT{x, y, x + (target.right - target.left), y + (target.bottom - target.top)};
    }
    if ((flags & SWP_NOSIZE) == 0) {
        target.right = target.left + std::max(width, 0);
        target.bottom = target.top + std::max(height, 0);
    }
    if ((flags & SWP_NOZORDER) == 0) {
        ApplyZOrder(window, insertAfter);
    }
    const RECT after = window.ClientRect();
    const bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
    change.sized = frameChanged || after.right - after.left != before.right - before.left ||
                   after.bottom - after.top != before.bottom - before.top;
    change.moved = frameChanged || after.left != before.left || after.top != before.top;
    change.sizeType = window.placement == WindowObject::Placement::Maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    change.sizeParam =
        MAKELPARAM(static_cast<WORD>(window.ClientWidth()), static_cast<WORD>(window.ClientHeight()));
    change.moveParam = MAKELPARAM(static_cast<WORD>(after.left), static_cast<WORD>(after.top));
    if (window.native) {
        video::VideoBackend& backend = system.Backend();
        if (frameChanged || window.exStyle != exStyleBefore) {
            video::NativeWindowSpec spec;
            spec.title = window.text.c_str();
            spec.client = after;
            spec.style = window.style;
            spec.exStyle = window.exStyle;
            backend.RestyleNative(window.handle, spec);
        }
        if (!change.minimized && (change.sized || change.moved)) {
            backend.MoveNative(window.handle, after);
        }
    }
    if ((flags & SWP_NOREDRAW) == 0 && change.sized && window.visible) {
        window.InvalidateAll();
        window.queue->Wake();
    }
    return change;
}

BOOL PlacementIs(HWND window, WindowObject::Placement placement) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window, false);
    return object != nullptr && object->placement == placement ? TRUE : FALSE;
}

} // namespace

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    WindowSystem& system = WindowSystem::Instance();
    PositionChange change;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        change = ApplyPosition(system, *object, insertAfter, x, y, width, height, flags);
    }
    const bool activate = (flags & SWP_NOACTIVATE) == 0;
    if ((flags & SWP_HIDEWINDOW) != 0) {
        ApplyShowCommand(window, SW_HIDE);
    } else if ((flags & SWP_SHOWWINDOW) != 0) {
        ApplyShowCommand(window, activate ? SW_SHOW : SW_SHOWNA);
    }
    if (!change.minimized && change.sized) {
        SendToWindow(window, WM_SIZE, change.sizeType, change.sizeParam);
    }
    if (!change.minimized && change.moved) {
        SendToWindow(window, WM_MOVE, 0, change.moveParam);
    }
    if (activate && change.topLevel && (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW)) == 0 &&
        IsWindowVisible(window)) {
        ActivateWindow(window);
    }
    MarkChildPictureChanged(window);
    return TRUE;
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(window, nullptr, x, y, width, height, flags);
}

HMENU GetMenu(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window);
    return object != nullptr && !object->IsChild() ? object->menu : nullptr;
}

BOOL IsWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.Find(window, false) != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window, false);
    while (object != nullptr) {
        if (!object->visible) {
            return FALSE;
        }
        if (!object->IsChild()) {
            return TRUE;
        }
        object = system.Find(object->parent, false);
    }
    return FALSE;
}

BOOL IsIconic(HWND window) {
    return PlacementIs(window, WindowObject::Placement::Minimized);
}

BOOL IsZoomed(HWND window) {
    return PlacementIs(window, WindowObject::Placement::Maximized);
}

} // namespace win32
