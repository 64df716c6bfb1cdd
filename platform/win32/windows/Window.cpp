#include "platform/win32/windows/Window.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/headless/HeadlessRunLog.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/SystemKeys.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowExchange.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <cstdint>
#include <strings.h>

#include <utility>
#include <vector>

namespace win32 {

namespace {

bool NameMatches(LPCSTR wanted, const std::string& name) {
    return wanted == nullptr || strcasecmp(wanted, name.c_str()) == 0;
}

bool ClassMatches(LPCSTR wanted, const WindowClass& windowClass) {
    if (wanted == nullptr) {
        return true;
    }
    if (IS_INTRESOURCE(wanted)) {
        return windowClass.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(wanted));
    }
    return strcasecmp(wanted, windowClass.name.c_str()) == 0;
}

// The slot a window-long index names, or null (ERROR_INVALID_INDEX) when it names none.
LONG_PTR* Slot(WindowObject& window, int index) {
    if (index < 0 || index % 4 != 0 || static_cast<std::size_t>(index / 4) >= window.slots.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return nullptr;
    }
    return &window.slots[static_cast<std::size_t>(index / 4)];
}

} // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) || windowClass->cbWndExtra < 0 ||
        windowClass->cbClsExtra < 0 || windowClass->lpfnWndProc == nullptr ||
        windowClass->lpszClassName == nullptr || IS_INTRESOURCE(windowClass->lpszClassName) ||
        windowClass->lpszClassName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    for (const auto& existing : system.Classes()) {
        if (existing->instance == windowClass->hInstance &&
            strcasecmp(existing->name.c_str(), windowClass->lpszClassName) == 0) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    auto added = std::make_shared<WindowClass>();
    added->name = windowClass->lpszClassName;
    added->atom = system.NewAtom();
    added->style = windowClass->style;
    added->procedure = windowClass->lpfnWndProc;
    added->extraSlots = (windowClass->cbWndExtra + 3) / 4;
    added->instance = windowClass->hInstance;
    added->icon = windowClass->hIcon;
    added->smallIcon = windowClass->hIconSm;
    added->cursor = windowClass->hCursor;
    added->background = windowClass->hbrBackground;
    if (windowClass->lpszMenuName != nullptr && !IS_INTRESOURCE(windowClass->lpszMenuName)) {
        added->menuName = windowClass->lpszMenuName;
        added->hasMenuName = true;
    }
    system.Classes().push_back(added);
    return added->atom;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    auto& classes = system.Classes();
    for (auto entry = classes.begin(); entry != classes.end(); ++entry) {
        if ((*entry)->instance != instance || className == nullptr || !ClassMatches(className, **entry)) {
            continue;
        }
        if ((*entry)->windowCount > 0) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
        classes.erase(entry);
        return TRUE;
    }
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    std::shared_ptr<WindowClass> windowClass;
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        windowClass = system.FindClass(className, instance);
    }
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    CREATESTRUCTA creation{param,
                           instance,
                           menu,
                           parent,
                           height,
                           width,
                           y,
                           x,
                           static_cast<LONG>(style),
                           windowName != nullptr ? windowName : "",
                           className,
                           exStyle};
    return CreateWindowOfClass(windowClass, creation, nullptr);
}

BOOL DestroyWindow(HWND window) {
    MarkChildPictureChanged(window);
    return DestroyWindowTree(window);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem& system = WindowSystem::Instance();
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_CLOSE:
            SendToWindow(window, WM_CLOSE, 0, 0);
            break;
        case SC_RESTORE:
            HeadlessRunLog::Instance().Restore();
            ShowWindow(window, SW_RESTORE);
            break;
        case SC_KEYMENU:
            OpenWindowMenu(window);
            break;
        default:
            break;
        }
        return 0;
    case WM_SETTEXT: {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        object->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
        if (object->native) {
            system.Backend().SetNativeTitle(window, object->text.c_str());
        }
        return TRUE;
    }
    case WM_PAINT: {
        std::lock_guard guard(system.Lock());
        if (WindowObject* object = system.Find(window)) {
            object->Validate();
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        return DefaultKeyProcessing(window, message, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            SetFocusWindow(window);
        }
        return 0;
    default:
        return 0;
    }
}

namespace {

constexpr DWORD kPlacementStyles = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;

DWORD StyleAsSeen(const WindowObject& window) {
    DWORD style = window.style & ~kPlacementStyles;
    if (window.visible) {
        style |= WS_VISIBLE;
    }
    if (window.placement == WindowObject::Placement::Minimized) {
        style |= WS_MINIMIZE;
    } else if (window.placement == WindowObject::Placement::Maximized) {
        style |= WS_MAXIMIZE;
    }
    return style;
}

// With the lock held. The window's visibility follows WS_VISIBLE of the new style, as the style bit is the
// state itself.
void SetStyle(WindowSystem& system, WindowObject& window, DWORD style) {
    window.style = (style & ~(kPlacementStyles | WS_CHILD)) | (window.style & WS_CHILD);
    bool visible = (style & WS_VISIBLE) != 0;
    if (visible == window.visible) {
        return;
    }
    window.visible = visible;
    if (visible) {
        window.InvalidateAll();
    }
    if (window.native) {
        system.Backend().ShowNative(window.handle,
                                    visible ? video::NativeShow::Shown : video::NativeShow::Hidden);
    }
    window.queue->Wake();
}

} // namespace

LONG_PTR GetWindowLongA(HWND window, int index) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return 0;
    }
    if (index == GWL_STYLE) {
        return static_cast<LONG>(StyleAsSeen(*object));
    }
    if (index == GWL_EXSTYLE) {
        return static_cast<LONG>(object->exStyle);
    }
    if (index == GWL_WNDPROC) {
        return reinterpret_cast<LONG_PTR>(object->procedure);
    }
    if (index == GWL_USERDATA) {
        return object->userData;
    }
    LONG_PTR* slot = Slot(*object, index);
    return slot != nullptr ? *slot : 0;
}

LONG_PTR SetWindowLongA(HWND window, int index, LONG_PTR value) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return 0;
    }
    if (index == GWL_STYLE) {
        LONG previous = static_cast<LONG>(StyleAsSeen(*object));
        SetStyle(system, *object, static_cast<DWORD>(value));
        return previous;
    }
    if (index == GWL_EXSTYLE) {
        LONG previous = static_cast<LONG>(object->exStyle);
        object->exStyle = static_cast<DWORD>(value);
        return previous;
    }
    if (index == GWL_WNDPROC) {
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        WNDPROC previous = object->procedure;
        object->procedure = reinterpret_cast<WNDPROC>(value);
        return reinterpret_cast<LONG_PTR>(previous);
    }
    if (index == GWL_USERDATA) {
        return std::exchange(object->userData, value);
    }
    LONG_PTR* slot = Slot(*object, index);
    if (slot == nullptr) {
        return 0;
    }
    LONG_PTR previous = *slot;
    *slot = value;
    return previous;
}

BOOL ShowWindow(HWND window, int command) {
    const BOOL wasVisible = ApplyShowCommand(window, command);
    MarkChildPictureChanged(window);
    return wasVisible;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    WindowSystem& system = WindowSystem::Instance();
    bool wasDisabled;
    bool loseFocus = false;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        wasDisabled = (object->style & WS_DISABLED) != 0;
        if (wasDisabled == (enable == FALSE)) {
            return wasDisabled ? TRUE : FALSE;
        }
        object->style ^= WS_DISABLED;
        loseFocus =
            enable == FALSE && system.focus != nullptr && system.IsSelfOrDescendant(system.focus, window);
    }
    if (loseFocus) {
        SetFocusWindow(nullptr);
    }
    SendToWindow(window, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window);
    return object != nullptr && (object->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

HWND SetFocus(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND previous;
    {
        std::lock_guard guard(system.Lock());
        if (window != nullptr && system.Find(window) == nullptr) {
            return nullptr;
        }
        previous = system.focus;
    }
    SetFocusWindow(window);
    return previous;
}

HWND GetFocus() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.focus;
}

HWND GetWindow(HWND window, UINT relation) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    if (system.Find(window) == nullptr || relation != GW_CHILD) {
        return nullptr;
    }
    std::vector<HWND> children = system.ChildrenOf(window);
    return children.empty() ? nullptr : children.front();
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

BOOL SetForegroundWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND topLevel;
    {
        std::lock_guard guard(system.Lock());
        if (system.Find(window) == nullptr) {
            return FALSE;
        }
        topLevel = system.TopLevelOf(window);
    }
    ActivateWindow(topLevel);
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(topLevel, false);
    if (object == nullptr) {
        return FALSE;
    }
    if (object->native && object->visible) {
        system.Backend().RaiseNative(topLevel);
    }
    return TRUE;
}

HWND SetActiveWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND previous;
    HWND topLevel = nullptr;
    {
        std::lock_guard guard(system.Lock());
        if (window != nullptr) {
            if (system.Find(window) == nullptr) {
                return nullptr;
            }
            topLevel = system.TopLevelOf(window);
        }
        previous = system.active;
    }
    ActivateWindow(topLevel);
    return previous;
}

BOOL GetCursorPos(POINT* point) {
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    *point = system.cursor;
    return TRUE;
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
    {
        WindowSystem& system = WindowSystem::Instance();
        std::lock_guard guard(system.Lock());
        if (system.Find(window) == nullptr) {
            return FALSE;
        }
    }
    return SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : "")) != 0
               ? TRUE
               : FALSE;
}

HWND FindLocalWindow(LPCSTR className, LPCSTR windowName) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    for (WindowObject* window : system.Windows()) {
        if (window->IsChild() || window->destroying) {
            continue;
        }
        if (ClassMatches(className, *window->windowClass) && NameMatches(windowName, window->text)) {
            return window->handle;
        }
    }
    return nullptr;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
    if (HWND found = FindLocalWindow(className, windowName)) {
        return found;
    }
    // An atom names a class of this process only.
    if (className == nullptr || IS_INTRESOURCE(className)) {
        return nullptr;
    }
    return exchange::FindInOtherProcesses(className, windowName);
}

BOOL AdjustWindowRectEx(RECT* rect, DWORD style, BOOL menu, DWORD exStyle) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The edges wrap at 32 bits, as the rest of the screen arithmetic does: a rectangle at the end of the
    // range gives a wrapped frame, never an overflow.
    const RECT insets = FrameInsetsFor(style, menu != FALSE, exStyle);
    const auto moved = [](LONG edge, LONG by) {
        return static_cast<LONG>(static_cast<std::uint32_t>(edge) + static_cast<std::uint32_t>(by));
    };
    rect->left = moved(rect->left, -insets.left);
    rect->top = moved(rect->top, -insets.top);
    rect->right = moved(rect->right, insets.right);
    rect->bottom = moved(rect->bottom, insets.bottom);
    return TRUE;
}

} // namespace win32
