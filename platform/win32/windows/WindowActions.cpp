#include "platform/win32/windows/WindowActions.h"

#include "platform/win32/windows/WindowExchange.h"

#include "platform/video/FrameStore.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/MessageQueue.h"
#include "platform/win32/windows/WindowClass.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

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
        sent.sender->Wake();
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
        mine->Sleep(lock, std::nullopt);
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

// The object of a new window, entered into the system (with its native window when it is a top-level one
// made on the backend's thread); null, with the last error set where one applies, when the parent does not
// fit the style or no native window could be made.
HWND AddWindowObject(WindowSystem& system, const std::shared_ptr<WindowClass>& windowClass,
                     const CREATESTRUCTA& creation, DLGPROC dialogProcedure) {
    DWORD style = static_cast<DWORD>(creation.style);
    bool child = (style & WS_CHILD) != 0;
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
    HWND handle = object->handle;
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
    return handle;
}

// Asks a new top-level window for its size limits (WM_GETMINMAXINFO) and keeps its size within them.
void ApplySizeLimits(WindowSystem& system, HWND handle) {
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

// WM_NCCREATE, then WM_CREATE; false when the window refused either, and is then gone.
bool SendCreationMessages(WindowSystem& system, HWND handle, CREATESTRUCTA& record) {
    if (SendToWindow(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&record)) == 0) {
        SendToWindow(handle, WM_NCDESTROY, 0, 0);
        DiscardWindow(handle);
        return false;
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
        return false;
    }
    return true;
}

// Marks the window created and sends its first size and position, then shows it when its style asks; false
// when its own creation messages destroyed it.
bool CompleteCreation(WindowSystem& system, HWND handle, DWORD style) {
    LPARAM sizeParam;
    LPARAM moveParam;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(handle, false);
        if (object == nullptr || object->destroying) {
            return false;
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
    return true;
}

using Placement = WindowObject::Placement;

// What a show command does to a window.
struct ShowPlan {
    bool wasVisible = false;
    bool visible = true;
    bool activate = false;
    bool deactivate = false;
    // The placement to take; none when it stays as it is.
    std::optional<Placement> placement;
};

// The effect of the command itself; false for a command that does not exist.
bool ReadShowCommand(int command, ShowPlan& plan) {
    switch (command) {
    case SW_HIDE:
        plan.visible = false;
        return true;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        plan.placement = Placement::Normal;
        plan.activate = true;
        return true;
    case SW_SHOWNOACTIVATE:
        plan.placement = Placement::Normal;
        return true;
    case SW_SHOWMINIMIZED:
        plan.placement = Placement::Minimized;
        plan.activate = true;
        return true;
    case SW_MINIMIZE:
        plan.placement = Placement::Minimized;
        plan.deactivate = true;
        return true;
    case SW_SHOWMINNOACTIVE:
        plan.placement = Placement::Minimized;
        return true;
    case SW_SHOWMAXIMIZED:
        plan.placement = Placement::Maximized;
        plan.activate = true;
        return true;
    case SW_SHOW:
        plan.activate = true;
        return true;
    case SW_SHOWNA:
        return true;
    default:
        return false;
    }
}

// The size and move messages a new placement sends once the lock is let go.
struct PlacementMessages {
    WPARAM sizeType = SIZE_RESTORED;
    LPARAM sizeParam = 0;
    LPARAM moveParam = 0;
    bool moved = false;
};

// Shows or hides the window and gives it its new placement, on its native window too; false when the window
// is gone.
bool ApplyShowPlan(WindowSystem& system, HWND window, const ShowPlan& plan, PlacementMessages& messages) {
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window, false);
    if (object == nullptr) {
        return false;
    }
    if (plan.visible && !object->visible) {
        object->InvalidateAll();
    }
    object->visible = plan.visible;
    if (plan.placement.has_value()) {
        if (object->placement == Placement::Normal) {
            object->restoreRect = object->rect;
        }
        RECT before = object->rect;
        switch (*plan.placement) {
        case Placement::Normal:
            object->rect = object->restoreRect;
            messages.sizeType = SIZE_RESTORED;
            break;
        case Placement::Maximized:
            object->rect = MaximizedRect(system, *object);
            messages.sizeType = SIZE_MAXIMIZED;
            break;
        case Placement::Minimized:
            messages.sizeType = SIZE_MINIMIZED;
            break;
        }
        object->placement = *plan.placement;
        if (object->visible) {
            object->InvalidateAll();
        }
        messages.sizeParam = *plan.placement == Placement::Minimized ? 0 : ClientSizeParam(*object);
        messages.moved = before.left != object->rect.left || before.top != object->rect.top;
        RECT client = object->ClientRect();
        messages.moveParam = MAKELPARAM(static_cast<WORD>(client.left), static_cast<WORD>(client.top));
    }
    if (object->native) {
        system.Backend().ShowNative(window, NativeShowFor(*object));
    }
    object->queue->Wake();
    return true;
}

// Activates the window shown, or passes activation on from the window hidden or minimised.
void PassActivation(WindowSystem& system, HWND window, const ShowPlan& plan) {
    if (plan.activate && plan.visible) {
        ActivateWindow(window);
    } else if (plan.deactivate) {
        HWND successor;
        {
            std::lock_guard guard(system.Lock());
            successor = system.active == window ? SuccessorOf(system, window) : system.active;
        }
        ActivateWindow(successor);
    }
}

} // namespace

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return MSG{window, message, wParam, lParam, timeGetTime(), WindowSystem::Instance().cursor};
}

void PostCloseBox(WindowObject& topLevel) {
    if (topLevel.queue->IsClosed()) {
        return;
    }
    const POINT cursor = WindowSystem::Instance().cursor;
    topLevel.queue->Post(MakeMessage(topLevel.handle, WM_SYSCOMMAND, SC_CLOSE,
                                     MAKELPARAM(static_cast<WORD>(cursor.x), static_cast<WORD>(cursor.y))));
}

HWND CreateWindowOfClass(const std::shared_ptr<WindowClass>& windowClass, const CREATESTRUCTA& creation,
                         DLGPROC dialogProcedure) {
    WindowSystem& system = WindowSystem::Instance();
    HWND handle = AddWindowObject(system, windowClass, creation, dialogProcedure);
    if (handle == nullptr) {
        return nullptr;
    }
    DWORD style = static_cast<DWORD>(creation.style);
    if ((style & WS_CHILD) == 0) {
        ApplySizeLimits(system, handle);
    }
    CREATESTRUCTA record = creation;
    if (!SendCreationMessages(system, handle, record) || !CompleteCreation(system, handle, style)) {
        return nullptr;
    }
    if ((style & WS_CHILD) == 0) {
        exchange::Publish();
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

void MarkChildPictureChanged(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    HWND topLevel;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window, false);
        if (object == nullptr || !object->IsChild()) {
            return;
        }
        topLevel = system.TopLevelOf(window);
    }
    video::FrameStore::Instance().MarkChanged(topLevel);
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
    ShowPlan plan;
    {
        std::lock_guard guard(system.Lock());
        WindowObject* object = system.Find(window);
        if (object == nullptr) {
            return FALSE;
        }
        plan.wasVisible = object->visible;
        if (!ReadShowCommand(command, plan)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        if (object->IsChild()) {
            plan.activate = false;
            plan.deactivate = false;
        }
        if (!plan.visible && system.active == window) {
            plan.deactivate = true;
        }
        if (plan.placement == object->placement) {
            plan.placement.reset();
        }
    }

    if (plan.visible != plan.wasVisible) {
        SendToWindow(window, WM_SHOWWINDOW, plan.visible ? TRUE : FALSE, 0);
    }
    PlacementMessages messages;
    if (!ApplyShowPlan(system, window, plan, messages)) {
        return plan.wasVisible ? TRUE : FALSE;
    }
    if (plan.placement.has_value()) {
        SendToWindow(window, WM_SIZE, messages.sizeType, messages.sizeParam);
        if (messages.moved) {
            SendToWindow(window, WM_MOVE, 0, messages.moveParam);
        }
    }
    PassActivation(system, window, plan);
    return plan.wasVisible ? TRUE : FALSE;
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

bool ClientSizeOf(HWND window, SIZE& size) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window, false);
    if (object == nullptr) {
        return false;
    }
    size = SIZE{object->ClientWidth(), object->ClientHeight()};
    return true;
}

bool IsTopLevelWindow(HWND window) {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* object = system.Find(window, false);
    return object != nullptr && !object->IsChild();
}

void PostToTopLevelWindows(UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND window : LiveTopLevelWindows()) {
        PostMessageA(window, message, wParam, lParam);
    }
}

video::DesktopMode CurrentDesktopMode() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    return system.Backend().Desktop();
}

} // namespace win32
