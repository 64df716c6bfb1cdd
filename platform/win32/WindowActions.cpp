#include "platform/win32/WindowActions.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/Time.h"
#include "platform/win32/WindowClass.h"
#include "platform/win32/WindowObject.h"
#include "platform/win32/WindowSystem.h"

#include <algorithm>
#include <optional>

namespace win32 {

namespace {

// Answers one message sent from another thread, on the owning thread. With the lock held.
void Deliver(std::unique_lock<std::mutex>& lock, SentMessage& sent) {
    WindowObject* window = WindowSystem::Instance().Find(sent.window, false);
    LRESULT result = 0;
    if (window != nullptr && window->procedure != nullptr) {
        WNDPROC procedure = window->procedure;
        lock.unlock();
        result = procedure(sent.window, sent.message, sent.wParam, sent.lParam);
        lock.lock();
    }
    sent.result = result;
    sent.done = true;
    if (sent.sender != nullptr) {
        sent.sender->Wake().notify_all();
    }
}

LRESULT SendAcrossThreads(std::unique_lock<std::mutex>& lock, MessageQueue& target, HWND window, UINT message,
                          WPARAM wParam, LPARAM lParam) {
    if (target.IsClosed()) {
        return 0;
    }
    std::shared_ptr<MessageQueue> mine = MessageQueue::ForCurrentThread();
    auto sent = std::make_shared<SentMessage>();
    sent->window = window;
    sent->message = message;
    sent->wParam = wParam;
    sent->lParam = lParam;
    sent->sender = mine;
    target.Send(sent);
    while (!sent->done) {
        // While waiting, this thread still answers what others send to it, so two threads sending to each
        // other do not wait for ever.
        if (std::shared_ptr<SentMessage> incoming = mine->TakeSent()) {
            Deliver(lock, *incoming);
            continue;
        }
        mine->Wake().wait(lock);
    }
    return sent->result;
}

// The windows of the tree under the window, parents before their children.
void CollectTree(WindowSystem& system, HWND window, std::vector<HWND>& tree) {
    tree.push_back(window);
    for (HWND child : system.ChildrenOf(window)) {
        CollectTree(system, child, tree);
    }
}

// Where activation goes when the active window goes away: its owner when that is visible, else nowhere.
HWND SuccessorOf(WindowSystem& system, HWND window) {
    WindowObject* object = system.Find(window, false);
    if (object == nullptr || object->IsChild()) {
        return nullptr;
    }
    WindowObject* owner = system.Find(object->parent, false);
    if (owner != nullptr && owner->visible && !owner->destroying && !owner->IsMinimized()) {
        return owner->handle;
    }
    return nullptr;
}

video::NativeShow NativeShowFor(const WindowObject& window) {
    if (!window.visible) {
        return video::NativeShow::Hidden;
    }
    switch (window.placement) {
    case WindowObject::Placement::Minimized:
        return video::NativeShow::Minimized;
    case WindowObject::Placement::Maximized:
        return video::NativeShow::Maximized;
    default:
        return video::NativeShow::Shown;
    }
}

// The rectangle of a maximised window: its client area fills the desktop (or its parent's client area).
RECT MaximizedRect(WindowSystem& system, const WindowObject& window) {
    SIZE area = system.Backend().DesktopSize();
    if (window.IsChild()) {
        if (WindowObject* parent = system.Find(window.parent, false)) {
            area = SIZE{parent->ClientWidth(), parent->ClientHeight()};
        }
    }
    RECT insets = window.FrameInsets();
    return RECT{-insets.left, -insets.top, area.cx + insets.right, area.cy + insets.bottom};
}

LPARAM ClientSizeParam(const WindowObject& window) {
    return MAKELPARAM(static_cast<WORD>(window.ClientWidth()), static_cast<WORD>(window.ClientHeight()));
}

// Where and how large a window is made when the caller leaves it to the system.
constexpr int kDefaultPosition = 32;

RECT InitialRect(WindowSystem& system, const CREATESTRUCTA& creation) {
    bool child = (static_cast<DWORD>(creation.style) & WS_CHILD) != 0;
    int x = creation.x;
    int y = creation.y;
    int width = creation.cx;
    int height = creation.cy;
    if (x == CW_USEDEFAULT) {
        x = child ? 0 : kDefaultPosition;
        y = child ? 0 : kDefaultPosition;
    }
    if (width == CW_USEDEFAULT) {
        SIZE desktop = system.Backend().DesktopSize();
        width = child ? 0 : desktop.cx * 3 / 4;
        height = child ? 0 : desktop.cy * 3 / 4;
    }
    return RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
}

// A window that never finished creation leaves without WM_DESTROY of its own.
void DiscardWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    system.Forget(window);
}

} // namespace

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, timeGetTime(), WindowSystem::Instance().cursor};
}

HWND CreateWindowOfClass(const std::shared_ptr<WindowClass>& windowClass, const CREATESTRUCTA& creation,
                         DLGPROC dialogProcedure) {
    WindowSystem& system = WindowSystem::Instance();
    DWORD style = static_cast<DWORD>(creation.style);
    bool child = (style & WS_CHILD) != 0;
    HWND handle;
    {
        std::lock_guard guard(system.Lock());
        std::shared_ptr<MessageQueue> queue = MessageQueue::ForCurrentThread();
        HWND parent = creation.hwndParent;
        if (child && parent == nullptr) {
            SetLastError(ERROR_TLW_WITH_WSCHILD);
            return nullptr;
        }
        if (parent != nullptr) {
            WindowObject* parentObject = system.Find(parent);
            if (parentObject == nullptr) {
                return nullptr;
            }
            // A top-level window is owned by the top-level window of the one named.
            if (!child) {
                parent = system.TopLevelOf(parent);
            }
        }
        auto object = std::make_unique<WindowObject>();
        object->handle = system.NewHandle();
        object->windowClass = windowClass;
        object->procedure = windowClass->procedure;
        object->isDialog = dialogProcedure != nullptr;
        object->instance = creation.hInstance;
        object->menu = creation.hMenu;
        object->style = style & ~WS_VISIBLE;
        object->exStyle = creation.dwExStyle;
        object->text = creation.lpszName != nullptr ? creation.lpszName : "";
        object->parent = parent;
        object->queue = queue;
        object->rect = InitialRect(system, creation);
        object->restoreRect = object->rect;
        object->slots.assign(static_cast<std::size_t>(windowClass->extraSlots), 0);
        if (dialogProcedure != nullptr) {
            object->slots[DWL_DLGPROC / 4] = reinterpret_cast<LONG_PTR>(dialogProcedure);
        }
        handle = object->handle;
        WindowObject& added = system.Add(std::move(object));
        windowClass->windowCount++;

        video::VideoBackend& backend = system.Backend();
        if (!child && backend.OwnsCurrentThread()) {
            video::NativeWindowSpec spec;
            spec.title = added.text.c_str();
            RECT client = added.ClientRect();
            spec.client = client;
            spec.style = added.style;
            spec.exStyle = added.exStyle;
            if (!backend.CreateNative(handle, spec)) {
                system.Forget(handle);
                SetLastError(ERROR_NOT_SUPPORTED);
                return nullptr;
            }
            added.native = true;
        }
    }

    CREATESTRUCTA record = creation;
    if (!child) {
        MINMAXINFO limits{};
        SIZE desktop;
        {
            std::lock_guard guard(system.Lock());
            desktop = system.Backend().DesktopSize();
        }
        limits.ptMaxSize = POINT{desktop.cx, desktop.cy};
        limits.ptMaxTrackSize = POINT{0x7FFF, 0x7FFF};
        SendToWindow(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
        std::lock_guard guard(system.Lock());
        if (WindowObject* object = system.Find(handle, false)) {
            RECT& rect = object->rect;
            LONG width = std::clamp(rect.right - rect.left, std::max(limits.ptMinTrackSize.x, LONG{0}),
                                    std::max(limits.ptMaxTrackSize.x, limits.ptMinTrackSize.x));
            LONG height = std::clamp(rect.bottom - rect.top, std::max(limits.ptMinTrackSize.y, LONG{0}),
                                     std::max(limits.ptMaxTrackSize.y, limits.ptMinTrackSize.y));
            rect.right = rect.left + width;
            rect.bottom = rect.top + height;
            object->restoreRect = rect;
        }
    }

    if (SendToWindow(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&record)) == 0) {
        SendToWindow(handle, WM_NCDESTROY, 0, 0);
        DiscardWindow(handle);
        return nullptr;
    }
    if (SendToWindow(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&record)) == -1) {
        {
            std::lock_guard guard(system.Lock());
            if (WindowObject* object = system.Find(handle, false)) {
                object->destroying = true;
            }
        }
        SendToWindow(handle, WM_DESTROY, 0, 0);
        SendToWindow(handle, WM_NCDESTROY, 0, 0);
        DiscardWindow(handle);
        return nullptr;
    }

    LPARAM sizeParam;
    LPARAM moveParam;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(handle, false);
        if (object == nullptr || object->destroying) {
            // Destroyed by its own creation messages.
            return nullptr;
        }
        object->created = true;
        sizeParam = ClientSizeParam(*object);
        RECT client = object->ClientRect();
        moveParam = MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top));
    }
    SendToWindow(handle, WM_SIZE, SIZE_RESTORED, sizeParam);
    SendToWindow(handle, WM_MOVE, 0, moveParam);
    if ((style & WS_VISIBLE) != 0) {
        ApplyShowCommand(handle, SW_SHOW);
    }
    std::lock_guard guard(system.Lock());
    return system.Find(handle, false) != nullptr ? handle : nullptr;
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSystem& system = WindowSystem::Instance();
    std::unique_lock lock(system.Lock());
    WindowObject* object = system.Find(window);
    if (object == nullptr) {
        return 0;
    }
    if (!object->queue->IsCurrentThread()) {
        std::shared_ptr<MessageQueue> target = object->queue;
        return SendAcrossThreads(lock, *target, window, message, wParam, lParam);
    }
    WNDPROC procedure = object->procedure;
    lock.unlock();
    return procedure != nullptr ? procedure(window, message, wParam, lParam) : 0;
}

void DeliverSentMessages(std::unique_lock<std::mutex>& lock, MessageQueue& queue) {
    while (std::shared_ptr<SentMessage> sent = queue.TakeSent()) {
        Deliver(lock, *sent);
    }
}

void SetFocusWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND previous;
    {
        std::lock_guard guard(system.Lock());
        if (window != nullptr && system.Find(window, false) == nullptr) {
            return;
        }
        previous = system.focus;
        if (previous == window) {
            return;
        }
        system.focus = window;
    }
    if (previous != nullptr) {
        SendToWindow(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    bool stillFocused;
    {
        std::lock_guard guard(system.Lock());
        stillFocused = window != nullptr && system.focus == window && system.Find(window, false) != nullptr;
    }
    if (stillFocused) {
        SendToWindow(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
}

void ActivateWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND previous;
    bool previousMinimized = false;
    bool minimized = false;
    std::vector<HWND> topLevels;
    {
        std::lock_guard guard(system.Lock());
        if (window != nullptr) {
            window = system.TopLevelOf(window);
            WindowObject* object = system.Find(window, false);
            if (object == nullptr || object->destroying) {
                return;
            }
            minimized = object->IsMinimized();
        }
        previous = system.active;
        if (previous == window) {
            return;
        }
        if (WindowObject* object = system.Find(previous, false)) {
            previousMinimized = object->IsMinimized();
        }
        system.active = window;
        if ((previous == nullptr) != (window == nullptr)) {
            for (WindowObject* object : system.Windows()) {
                if (!object->IsChild() && object->created) {
                    topLevels.push_back(object->handle);
                }
            }
        }
    }
    if (previous != nullptr) {
        SendToWindow(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, previousMinimized ? 1 : 0),
                     reinterpret_cast<LPARAM>(window));
    }
    for (HWND topLevel : topLevels) {
        SendToWindow(topLevel, WM_ACTIVATEAPP, window != nullptr ? TRUE : FALSE, 0);
    }
    if (window != nullptr) {
        SendToWindow(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimized ? 1 : 0),
                     reinterpret_cast<LPARAM>(previous));
    } else {
        SetFocusWindow(nullptr);
    }
}

BOOL ApplyShowCommand(HWND window, int command) {
    WindowSystem& system = WindowSystem::Instance();
    using Placement = WindowObject::Placement;
    bool wasVisible;
    bool visible = true;
    bool activate = false;
    bool deactivate = false;
    std::optional<Placement> placement;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        wasVisible = object->visible;
        switch (command) {
        case SW_HIDE:
            visible = false;
            break;
        case SW_SHOWNORMAL:
        case SW_RESTORE:
        case SW_SHOWDEFAULT:
            placement = Placement::Normal;
            activate = true;
            break;
        case SW_SHOWNOACTIVATE:
            placement = Placement::Normal;
            break;
        case SW_SHOWMINIMIZED:
            placement = Placement::Minimized;
            activate = true;
            break;
        case SW_MINIMIZE:
            placement = Placement::Minimized;
            deactivate = true;
            break;
        case SW_SHOWMINNOACTIVE:
            placement = Placement::Minimized;
            break;
        case SW_SHOWMAXIMIZED:
            placement = Placement::Maximized;
            activate = true;
            break;
        case SW_SHOW:
            activate = true;
            break;
        case SW_SHOWNA:
            break;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (object->IsChild()) {
            activate = false;
            deactivate = false;
        }
        if (!visible && system.active == window) {
            deactivate = true;
        }
        if (placement == object->placement) {
            placement.reset();
        }
    }

    if (visible != wasVisible) {
        SendToWindow(window, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    }

    WPARAM sizeType = SIZE_RESTORED;
    LPARAM sizeParam = 0;
    LPARAM moveParam = 0;
    bool moved = false;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window, false);
        if (object == nullptr) {
            return wasVisible ? TRUE : FALSE;
        }
        if (visible && !object->visible) {
            object->needsPaint = true;
        }
        object->visible = visible;
        if (placement.has_value()) {
            if (object->placement == Placement::Normal) {
                object->restoreRect = object->rect;
            }
            RECT before = object->rect;
            switch (*placement) {
            case Placement::Normal:
                object->rect = object->restoreRect;
                sizeType = SIZE_RESTORED;
                break;
            case Placement::Maximized:
                object->rect = MaximizedRect(system, *object);
                sizeType = SIZE_MAXIMIZED;
                break;
            case Placement::Minimized:
                sizeType = SIZE_MINIMIZED;
                break;
            }
            object->placement = *placement;
            object->needsPaint = object->visible;
            sizeParam = *placement == Placement::Minimized ? 0 : ClientSizeParam(*object);
            moved = before.left != object->rect.left || before.top != object->rect.top;
            RECT client = object->ClientRect();
            moveParam = MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top));
        }
        if (object->native) {
            system.Backend().ShowNative(window, NativeShowFor(*object));
        }
        object->queue->Wake().notify_all();
    }

    if (placement.has_value()) {
        SendToWindow(window, WM_SIZE, sizeType, sizeParam);
        if (moved) {
            SendToWindow(window, WM_MOVE, 0, moveParam);
        }
    }
    if (activate && visible) {
        ActivateWindow(window);
    } else if (deactivate) {
        HWND successor;
        {
            std::lock_guard guard(system.Lock());
            successor = system.active == window ? SuccessorOf(system, window) : system.active;
        }
        ActivateWindow(successor);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL DestroyWindowTree(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::vector<HWND> owned;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        if (!object->queue->IsCurrentThread()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (object->destroying) {
            return TRUE;
        }
        object->destroying = true;
        owned = system.OwnedBy(window);
    }
    for (HWND ownedWindow : owned) {
        DestroyWindowTree(ownedWindow);
    }

    std::vector<HWND> tree;
    HWND successor = nullptr;
    bool loseActivation;
    bool loseFocus;
    {
        std::lock_guard guard(system.Lock());
        CollectTree(system, window, tree);
        for (HWND member : tree) {
            WindowObject* object = system.Find(member, false);
            object->destroying = true;
            object->visible = false;
        }
        loseActivation = system.active != nullptr && system.IsSelfOrDescendant(system.active, window);
        loseFocus = system.focus != nullptr && system.IsSelfOrDescendant(system.focus, window);
        if (loseActivation) {
            successor = SuccessorOf(system, window);
        }
        if (WindowObject* object = system.Find(window, false); object != nullptr && object->native) {
            system.Backend().ShowNative(window, video::NativeShow::Hidden);
        }
    }
    if (loseActivation) {
        ActivateWindow(successor);
    }
    if (loseFocus) {
        std::unique_lock lock(system.Lock());
        bool stillInside = system.focus != nullptr && system.IsSelfOrDescendant(system.focus, window);
        lock.unlock();
        if (stillInside) {
            SetFocusWindow(nullptr);
        }
    }

    for (HWND member : tree) {
        SendToWindow(member, WM_DESTROY, 0, 0);
    }
    for (auto member = tree.rbegin(); member != tree.rend(); ++member) {
        SendToWindow(*member, WM_NCDESTROY, 0, 0);
    }

    std::lock_guard guard(system.Lock());
    // Children made while the tree was being destroyed go with it.
    tree.clear();
    if (system.Find(window, false) != nullptr) {
        CollectTree(system, window, tree);
    }
    for (HWND member : tree) {
        system.Forget(member);
    }
    return TRUE;
}

} // namespace win32
