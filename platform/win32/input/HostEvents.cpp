#include "platform/win32/input/HostEvents.h"

#include "platform/directx/DirectInputHost.h"
#include "platform/win32/Rects.h"
#include "platform/win32/input/Cursor.h"
#include "platform/win32/windows/Keyboard.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

namespace win32::host {

namespace {

bool IsDown(const std::array<BYTE, 256>& keys, BYTE key) {
    return (keys[key] & 0x80) != 0;
}

WPARAM MouseKeyFlags(const std::array<BYTE, 256>& keys) {
    WPARAM flags = 0;
    flags |= IsDown(keys, VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= IsDown(keys, VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= IsDown(keys, VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= IsDown(keys, VK_SHIFT) ? MK_SHIFT : 0;
    flags |= IsDown(keys, VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

// The deepest visible child of the window under a point given in the window's client coordinates; the
// point comes back in the found window's client coordinates. Children made later lie above earlier ones.
WindowObject* HitTest(WindowSystem& system, WindowObject* window, POINT& point) {
    std::vector<HWND> children = system.ChildrenOf(window->handle);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        WindowObject* object = system.Find(*child, false);
        if (object == nullptr || !object->visible || object->destroying ||
            (object->style & WS_DISABLED) != 0 || !RectContains(object->rect, point)) {
            continue;
        }
        RECT client = object->ClientRect();
        POINT inner{point.x - client.left, point.y - client.top};
        if (!RectContains(RECT{0, 0, client.right - client.left, client.bottom - client.top}, inner)) {
            // On the child's frame: the child takes no client message for it.
            return nullptr;
        }
        point = inner;
        return HitTest(system, object, point);
    }
    return window;
}

// With the lock held: the top-level window an event is for, if it still exists.
WindowObject* TopLevel(WindowSystem& system, HWND topLevel) {
    WindowObject* object = system.Find(topLevel, false);
    if (object == nullptr || object->IsChild() || object->destroying || !object->created) {
        return nullptr;
    }
    return object;
}

// With the lock held: the pointer takes the look of the window's class cursor.
void ShowPointerOver(WindowSystem& system, const WindowObject& window) {
    const bool hidden = system.drawnBoxesUp == 0 && CursorHidesPointer(window.windowClass->cursor);
    if (hidden != system.pointerHidden) {
        system.pointerHidden = hidden;
        system.Backend().ShowPointer(!hidden);
    }
}

// With the lock held: the mouse message at the screen point goes to the window holding the capture, else to
// the deepest visible child of the window (null: none) under it.
void PostMouseAt(WindowSystem& system, WindowObject* window, POINT cursor, UINT message,
                 bool usesDoubleClicks) {
    // The mouse moves only when the cursor does.
    if (message == WM_MOUSEMOVE && cursor.x == system.cursor.x && cursor.y == system.cursor.y) {
        return;
    }
    // The first position after the cursor was off every window is no motion.
    if (system.cursor.x != -1 || system.cursor.y != -1) {
        dinput::host::MouseMoved(cursor.x - system.cursor.x, cursor.y - system.cursor.y);
    }
    system.cursor = cursor;
    WindowObject* target = CaptureHolder(system);
    POINT point = cursor;
    if (target == nullptr && window != nullptr) {
        const POINT origin = system.ClientOrigin(*window);
        point = POINT{cursor.x - origin.x, cursor.y - origin.y};
        target = HitTest(system, window, point);
    } else if (target != nullptr) {
        const POINT origin = system.ClientOrigin(*target);
        point = POINT{cursor.x - origin.x, cursor.y - origin.y};
    }
    if (target != nullptr || window != nullptr) {
        ShowPointerOver(system, target != nullptr ? *target : *window);
    }
    if (target == nullptr || target->queue->IsClosed()) {
        return;
    }
    if (usesDoubleClicks && (target->windowClass->style & CS_DBLCLKS) != 0) {
        message += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    }
    LPARAM position = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
    target->queue->PostInput(MakeMessage(target->handle, message, MouseKeyFlags(system.asyncKeys), position));
}

void PostMouse(HWND topLevel, int x, int y, UINT message, bool usesDoubleClicks) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* window = TopLevel(system, topLevel);
    if (window == nullptr) {
        return;
    }
    const POINT origin = system.ClientOrigin(*window);
    PostMouseAt(system, window, POINT{origin.x + x, origin.y + y}, message, usesDoubleClicks);
}

// With the lock held: input for the focus window, else the active window, else the given window.
void PostToFocus(WindowSystem& system, HWND topLevel, UINT message, WPARAM first, LPARAM second) {
    HWND target = system.focus != nullptr ? system.focus : system.active;
    if (target == nullptr) {
        target = topLevel;
    }
    WindowObject* object = system.Find(target, false);
    if (object == nullptr || object->destroying || object->queue->IsClosed()) {
        return;
    }
    object->queue->PostInput(MakeMessage(target, message, first, second));
}

void PostKey(HWND topLevel, KeyDescription key, bool down, bool repeat) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    auto& keys = system.asyncKeys;
    bool wasDown = IsDown(keys, key.virtualKey);
    bool altBefore = IsDown(keys, VK_MENU);
    NoteKeyInState(keys, key.virtualKey, key.scanCode, key.extended, down);
    dinput::host::KeyChanged(key.scanCode, key.extended, down);
    bool alt = down ? IsDown(keys, VK_MENU) : altBefore;
    bool control = IsDown(keys, VK_CONTROL);

    // With Alt held (and not Control, which makes it AltGr), and for F10 and Alt itself, keys are system
    // keys.
    bool system_key = (alt && !control) || key.virtualKey == VK_F10 || key.virtualKey == VK_MENU;
    UINT message = down ? (system_key ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system_key ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM data = 1 | (static_cast<LPARAM>(key.scanCode) << 16);
    data |= key.extended ? KF_EXTENDED_BIT : 0;
    data |= alt ? KF_ALTDOWN_BIT : 0;
    data |= (!down || repeat || wasDown) ? KF_REPEAT_BIT : 0;
    data |= down ? 0 : KF_UP_BIT;

    PostToFocus(system, topLevel, message, key.virtualKey, data);
}

} // namespace

void MouseMoved(HWND topLevel, int x, int y) {
    PostMouse(topLevel, x, y, WM_MOUSEMOVE, false);
}

void PointerMoved(int screenX, int screenY) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    const POINT cursor{screenX, screenY};
    PostMouseAt(system, TopLevelWindowAt(system, cursor), cursor, WM_MOUSEMOVE, false);
}

void MouseButtonChanged(HWND topLevel, MouseButton button, bool down, int x, int y, int clickCount) {
    BYTE key = button == MouseButton::Left    ? VK_LBUTTON
               : button == MouseButton::Right ? VK_RBUTTON
                                              : VK_MBUTTON;
    UINT downMessage = button == MouseButton::Left    ? WM_LBUTTONDOWN
                       : button == MouseButton::Right ? WM_RBUTTONDOWN
                                                      : WM_MBUTTONDOWN;
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        if (down) {
            system.asyncKeys[key] |= 0x80;
        } else {
            system.asyncKeys[key] &= 0x7F;
        }
        dinput::host::MouseButtonChanged(static_cast<int>(button), down);
    }
    bool doubleClick = down && clickCount >= 2 && clickCount % 2 == 0;
    PostMouse(topLevel, x, y, down ? downMessage : downMessage + 1, doubleClick);
}

void MouseWheelTurned(HWND topLevel, int delta) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    dinput::host::MouseWheelTurned(delta);
    WPARAM first = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(system.asyncKeys)), static_cast<WORD>(delta));
    LPARAM second = MAKELPARAM(static_cast<WORD>(system.cursor.x), static_cast<WORD>(system.cursor.y));
    PostToFocus(system, topLevel, WM_MOUSEWHEEL, first, second);
}

void KeyChanged(HWND topLevel, int usage, BYTE virtualKey, bool down, bool repeat) {
    KeyDescription key = DescribeUsage(usage);
    if (virtualKey != 0) {
        key.virtualKey = virtualKey;
    }
    if (key.virtualKey == 0) {
        return;
    }
    PostKey(topLevel, key, down, repeat);
}

void VirtualKeyChanged(HWND topLevel, BYTE virtualKey, bool down, bool repeat) {
    PostKey(topLevel, DescribeVirtualKey(virtualKey), down, repeat);
}

void Moved(HWND topLevel, int clientX, int clientY) {
    WindowSystem& system = WindowSystem::Instance();
    {
        std::lock_guard guard(system.Lock());
        WindowObject* window = TopLevel(system, topLevel);
        if (window == nullptr || window->IsMinimized()) {
            return;
        }
        RECT client = window->ClientRect();
        LONG dx = clientX - client.left;
        LONG dy = clientY - client.top;
        if (dx == 0 && dy == 0) {
            return;
        }
        window->rect = RECT{window->rect.left + dx, window->rect.top + dy, window->rect.right + dx,
                            window->rect.bottom + dy};
    }
    SendToWindow(topLevel, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(clientX), static_cast<WORD>(clientY)));
}

void Resized(HWND topLevel, int clientWidth, int clientHeight) {
    WindowSystem& system = WindowSystem::Instance();
    WPARAM sizeType;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* window = TopLevel(system, topLevel);
        if (window == nullptr || window->IsMinimized()) {
            return;
        }
        if (window->ClientWidth() == clientWidth && window->ClientHeight() == clientHeight) {
            return;
        }
        RECT insets = window->FrameInsets();
        window->rect.right = window->rect.left + insets.left + clientWidth + insets.right;
        window->rect.bottom = window->rect.top + insets.top + clientHeight + insets.bottom;
        if (window->visible) {
            window->InvalidateAll();
        }
        sizeType = window->placement == WindowObject::Placement::Maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
        window->queue->Wake();
    }
    SendToWindow(topLevel, WM_SIZE, sizeType,
                 MAKELPARAM(static_cast<WORD>(clientWidth), static_cast<WORD>(clientHeight)));
}

namespace {

void PlacementChanged(HWND topLevel, WindowObject::Placement placement) {
    WindowSystem& system = WindowSystem::Instance();
    WPARAM sizeType;
    LPARAM sizeParam;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* window = TopLevel(system, topLevel);
        if (window == nullptr || window->placement == placement) {
            return;
        }
        if (window->placement == WindowObject::Placement::Normal) {
            window->restoreRect = window->rect;
        }
        window->placement = placement;
        sizeType = placement == WindowObject::Placement::Minimized   ? SIZE_MINIMIZED
                   : placement == WindowObject::Placement::Maximized ? SIZE_MAXIMIZED
                                                                     : SIZE_RESTORED;
        sizeParam = placement == WindowObject::Placement::Minimized
                        ? 0
                        : MAKELPARAM(static_cast<WORD>(window->ClientWidth()),
                                     static_cast<WORD>(window->ClientHeight()));
    }
    SendToWindow(topLevel, WM_SIZE, sizeType, sizeParam);
}

} // namespace

void Minimized(HWND topLevel) {
    PlacementChanged(topLevel, WindowObject::Placement::Minimized);
}

void Maximized(HWND topLevel) {
    PlacementChanged(topLevel, WindowObject::Placement::Maximized);
}

void Restored(HWND topLevel) {
    PlacementChanged(topLevel, WindowObject::Placement::Normal);
}

void FocusGained(HWND topLevel) {
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        if (TopLevel(system, topLevel) == nullptr) {
            return;
        }
    }
    ActivateWindow(topLevel);
}

void FocusLost(HWND topLevel) {
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        if (system.active != topLevel) {
            return;
        }
    }
    ActivateWindow(nullptr);
}

void CloseRequested(HWND topLevel) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (WindowObject* window = TopLevel(system, topLevel)) {
        PostCloseBox(*window);
    }
}

void Exposed(HWND topLevel) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* window = TopLevel(system, topLevel);
    if (window == nullptr || !window->visible) {
        return;
    }
    window->InvalidateAll();
    window->queue->Wake();
}

} // namespace win32::host
