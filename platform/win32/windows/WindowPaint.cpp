#include "platform/win32/LastError.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <algorithm>
#include <cstring>

namespace win32 {

namespace {

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// With the lock held.
void Invalidate(WindowObject& window, const RECT* rect, BOOL erase) {
    if (erase) {
        window.eraseBackground = true;
    }
    if (rect == nullptr) {
        window.InvalidateAll();
    } else if (!IsEmpty(*rect)) {
        if (!window.needsPaint) {
            window.needsPaint = true;
            window.invalidArea = *rect;
        } else if (!IsEmpty(window.invalidArea)) {
            RECT& area = window.invalidArea;
            area = RECT{std::min(area.left, rect->left), std::min(area.top, rect->top),
                        std::max(area.right, rect->right), std::max(area.bottom, rect->bottom)};
        }
    }
    window.queue->Wake();
}

// The part of the client area to paint, in client coordinates.
RECT PaintArea(const WindowObject& window) {
    RECT client{0, 0, window.ClientWidth(), window.ClientHeight()};
    if (!window.needsPaint) {
        return RECT{};
    }
    if (IsEmpty(window.invalidArea)) {
        return client;
    }
    RECT area{std::max(window.invalidArea.left, client.left), std::max(window.invalidArea.top, client.top),
              std::min(window.invalidArea.right, client.right),
              std::min(window.invalidArea.bottom, client.bottom)};
    return IsEmpty(area) ? RECT{} : area;
}

} // namespace

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (window == nullptr) {
        for (WindowObject* object : system.Windows()) {
            Invalidate(*object, nullptr, erase);
        }
        return TRUE;
    }
    WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return FALSE;
    }
    Invalidate(*object, rect, erase);
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    bool paint;
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        paint = object->needsPaint && object->visible;
    }
    if (paint) {
        SendToWindow(window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (paint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::memset(paint, 0, sizeof(*paint));
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return nullptr;
    }
    paint->rcPaint = PaintArea(*object);
    paint->fErase = object->eraseBackground ? TRUE : FALSE;
    object->Validate();
    return nullptr;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return paint != nullptr && system.Find(window) != nullptr ? TRUE : FALSE;
}

} // namespace win32
