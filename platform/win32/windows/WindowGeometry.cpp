#include "platform/win32/windows/WindowGeometry.h"

#include "platform/win32/LastError.h"
#include "platform/win32/Rects.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <mutex>
#include <vector>

namespace win32 {

namespace {

bool IsShownAt(const WindowObject& window, const RECT& rect, POINT point) {
    return window.visible && window.created && !window.destroying && !window.IsMinimized() &&
           RectContains(rect, point);
}

// The stacking rank of a top-level window: higher lies above.
int Layer(const WindowSystem& system, const WindowObject& window) {
    return ((window.exStyle & WS_EX_TOPMOST) != 0 ? 2 : 0) + (window.handle == system.active ? 1 : 0);
}

// With the lock held: the deepest visible child under the point (screen coordinates), or the window itself.
WindowObject* DeepestAt(WindowSystem& system, WindowObject& window, POINT point) {
    const POINT origin = system.ClientOrigin(window);
    const POINT inParent{point.x - origin.x, point.y - origin.y};
    std::vector<HWND> children = system.ChildrenOf(window.handle);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        WindowObject* object = system.Find(*child, false);
        if (object != nullptr && (object->style & WS_DISABLED) == 0 &&
            IsShownAt(*object, object->rect, inParent)) {
            return DeepestAt(system, *object, point);
        }
    }
    return &window;
}

} // namespace

RECT WindowRectOnScreen(WindowSystem& system, const WindowObject& window) {
    const POINT origin = system.ClientOrigin(window);
    const RECT client = window.ClientRect();
    const LONG dx = origin.x - client.left;
    const LONG dy = origin.y - client.top;
    return RECT{window.rect.left + dx, window.rect.top + dy, window.rect.right + dx, window.rect.bottom + dy};
}

WindowObject* TopLevelWindowAt(WindowSystem& system, POINT point) {
    WindowObject* found = nullptr;
    for (WindowObject* window : system.Windows()) {
        if (window->IsChild() || !IsShownAt(*window, window->rect, point)) {
            continue;
        }
        // Windows come in creation order: a later one of the same layer lies above.
        if (found == nullptr || Layer(system, *window) >= Layer(system, *found)) {
            found = window;
        }
    }
    return found;
}

namespace {

// A rectangle of a window, as measure reads it with the lock held.
template <class Measure>
BOOL MeasureWindow(HWND window, RECT* rect, Measure measure) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    const WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return FALSE;
    }
    *rect = measure(system, *object);
    return TRUE;
}

} // namespace

BOOL GetWindowRect(HWND window, RECT* rect) {
    return MeasureWindow(window, rect, &WindowRectOnScreen);
}

BOOL GetClientRect(HWND window, RECT* rect) {
    return MeasureWindow(window, rect, [](WindowSystem&, const WindowObject& object) {
        return RECT{0, 0, object.ClientWidth(), object.ClientHeight()};
    });
}

BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu) {
    return AdjustWindowRectEx(rect, style, menu, 0);
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && RectContains(*rect, point) ? TRUE : FALSE;
}

HWND WindowFromPoint(POINT point) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* topLevel = TopLevelWindowAt(system, point);
    return topLevel != nullptr ? DeepestAt(system, *topLevel, point)->handle : nullptr;
}

std::vector<HWND> LiveTopLevelWindows() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    std::vector<HWND> topLevels;
    for (WindowObject* object : system.Windows()) {
        if (!object->IsChild() && object->created && !object->destroying) {
            topLevels.push_back(object->handle);
        }
    }
    return topLevels;
}

HWND GetParent(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    const WindowObject* object = system.Find(window);
    return object != nullptr ? object->parent : nullptr;
}

} // namespace win32
