#include "engines/graphics/win32/Win32Window.h"

#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/Win32EngineHook.h"
#include "resources/hooks/Win32Wrappers.h"

#include <vector>

namespace Vemo {

namespace {

// Window serials: the first window is 1.
std::uint32_t g_windowCounter = 0;

using win32::HIWORD;
using win32::LOWORD;

int SignedLow(win32::LPARAM value) {
    return static_cast<win32::SHORT>(LOWORD(static_cast<win32::DWORD_PTR>(value)));
}
int SignedHigh(win32::LPARAM value) {
    return static_cast<win32::SHORT>(HIWORD(static_cast<win32::DWORD_PTR>(value)));
}

} // namespace

Win32Window::Win32Window() : m_serial(++g_windowCounter) {}

Win32Window::~Win32Window() {
    if (m_window != nullptr) {
        // WM_DESTROY must not ask the hook a second time.
        m_created = false;
        bool destroyed = Win32EngineHook::Installed() != nullptr
                             ? Win32EngineHook::DestroyWindow(this)
                             : win32::DestroyWindow(m_window) != win32::FALSE;
        if (!destroyed) {
            RaiseError(Win32EngineHookErrDestroyWindow);
        }
        m_window = nullptr;
    } else if (Win32EngineHook* hook = Win32EngineHook::Installed();
               hook != nullptr && hook->GetWindows().Find(this) != hook->GetWindows().End()) {
        // A dialog whose handlers refused WM_INITDIALOG never learnt its handle, yet the hook keeps it in its
        // set; the set must not keep the address of an object that is gone. Without a handle the hook only
        // takes the window out of its set.
        Win32EngineHook::DestroyWindow(this);
    }
    for (Win32WindowEventHandler* handler : m_handlers) {
        handler->m_window = nullptr;
    }
    m_handlers.Clear();
    *m_alive = false;
}

bool Win32Window::Create(const String& caption, const Point* position, const Size* size,
                         bool positionIsClient, bool sizeIsClient, std::uint32_t exStyle, std::uint32_t style,
                         Win32Window* parent, win32::HMENU menu, bool show, bool bringToFront) {
    if (m_window != nullptr) {
        RaiseError(Win32EngineHookErrWindowKnown);
        return false;
    }
    if (Win32EngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!Win32EngineHook::CreateWindow(this, caption, position, size, positionIsClient, sizeIsClient, exStyle,
                                       style, parent, menu, show, bringToFront)) {
        RaiseError(Win32EngineHookErrCreateWindow);
        return false;
    }
    m_created = true;
    return true;
}

bool Win32Window::CreateDialog(std::uint16_t templateId, Win32Window* parent, bool show, bool bringToFront) {
    if (m_window != nullptr) {
        RaiseError(Win32EngineHookErrWindowKnown);
        return false;
    }
    if (Win32EngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!Win32EngineHook::CreateDialog(this, templateId, parent, show, bringToFront)) {
        RaiseError(Win32EngineHookErrCreateWindow);
        return false;
    }
    m_created = true;
    return true;
}

bool Win32Window::Destroy() {
    m_created = false;
    if (m_window == nullptr) {
        RaiseError(Win32EngineHookErrWindowUnknown);
        return false;
    }
    if (Win32EngineHook::Installed() == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!Win32EngineHook::DestroyWindow(this)) {
        RaiseError(Win32EngineHookErrDestroyWindow);
        return false;
    }
    return true;
}

std::size_t Win32Window::AddEventHandler(Win32WindowEventHandler* handler) {
    if (handler->m_window != nullptr) {
        handler->m_window->RemoveEventHandler(handler);
    }
    m_handlers.PushBack(handler);
    handler->m_window = this;
    return m_handlers.Size();
}

void Win32Window::RemoveEventHandler(Win32WindowEventHandler* handler) {
    for (auto entry = m_handlers.Begin(); entry != m_handlers.End(); ++entry) {
        if ((*entry)->m_serial == handler->m_serial) {
            (*entry)->m_window = nullptr;
            m_handlers.Erase(entry);
            return;
        }
    }
}

bool Win32Window::HasEventHandler(const Win32WindowEventHandler* handler) const {
    return FindHandler(handler->m_serial) != nullptr;
}

Win32WindowEventHandler* Win32Window::FindHandler(std::uint32_t serial) const {
    for (Win32WindowEventHandler* handler : m_handlers) {
        if (handler->m_serial == serial) {
            return handler;
        }
    }
    return nullptr;
}

template <class Call>
bool Win32Window::ForEachHandler(Call call) {
    std::vector<std::uint32_t> attached;
    attached.reserve(m_handlers.Size());
    for (Win32WindowEventHandler* handler : m_handlers) {
        attached.push_back(handler->m_serial);
    }
    std::shared_ptr<bool> alive = m_alive;
    for (std::uint32_t serial : attached) {
        // Looked up again before each call: a handler that left (or was destroyed) meanwhile is not called.
        if (Win32WindowEventHandler* handler = FindHandler(serial)) {
            call(*handler);
            if (!*alive) {
                return false;
            }
        }
    }
    return true;
}

void Win32Window::Destroyed() {
    // A window that Windows destroys itself (not through Destroy) leaves the hook's set here.
    if (m_created) {
        m_window = nullptr;
        if (Win32EngineHook::Installed() != nullptr) {
            Win32EngineHook::DestroyWindow(this);
        }
    }
    m_window = nullptr;
}

win32::LRESULT Win32Window::HandleMessage(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                          win32::LPARAM second, bool callDefault) {
    const Answer answer = Dispatch(window, message, first, second);
    if (answer.has_value()) {
        return *answer;
    }
    return callDefault ? Win32DefWindowProc(window, message, first, second) : 0;
}

template <class Ask>
Win32Window::Agreement Win32Window::AskHandlers(Ask ask) {
    Agreement agreement;
    agreement.alive = ForEachHandler([&](Win32WindowEventHandler& handler) {
        const bool yes = ask(handler);
        agreement.all = yes && agreement.all;
        agreement.any = yes || agreement.any;
    });
    return agreement;
}

Win32Window::Answer Win32Window::Dispatch(win32::HWND window, win32::UINT message, win32::WPARAM first,
                                          win32::LPARAM second) {
    using H = Win32WindowEventHandler;
    switch (message) {
    case win32::WM_CREATE:
    case win32::WM_INITDIALOG:
        return DispatchCreation(window, message, first, second);
    case win32::WM_DESTROY:
        if (ForEachHandler([](H& h) { h.OnDestroy(); })) {
            Destroyed();
        }
        return std::nullopt;
    case win32::WM_CLOSE: {
        // A window its handlers destroyed is past closing.
        const Agreement closing = AskHandlers([](H& h) { return h.OnClose(); });
        return closing.alive && !closing.all ? Answer(0) : std::nullopt;
    }
    case win32::WM_ERASEBKGND:
        return AskHandlers([&](H& h) { return h.OnEraseBackground(reinterpret_cast<win32::HDC>(first)); }).any
                   ? 1
                   : 0;
    case win32::WM_SETCURSOR: {
        const Agreement setting = AskHandlers([&](H& h) {
            return h.OnSetCursor(reinterpret_cast<win32::HWND>(first), LOWORD(second), HIWORD(second));
        });
        return setting.alive && setting.any ? Answer(1) : std::nullopt;
    }
    case win32::WM_POWER:
        return AskHandlers([&](H& h) { return h.OnPower(first); }).all ? 1 : -1;
    case win32::WM_SYSCOMMAND: {
        const Agreement swallowed = AskHandlers(
            [&](H& h) { return h.OnSysCommand(first & 0xFFF0, SignedLow(second), SignedHigh(second)); });
        return swallowed.alive && swallowed.any ? Answer(0) : std::nullopt;
    }
    case win32::WM_POWERBROADCAST:
        return AskHandlers([&](H& h) { return h.OnPowerBroadcast(first, second); }).all
                   ? 1
                   : win32::BROADCAST_QUERY_DENY;
    case win32::WM_CTLCOLOREDIT:
    case win32::WM_CTLCOLORSTATIC:
        return DispatchControlColor(message, first, second);
    default:
        if (!Notify(message, first, second)) {
            NotifyRange(window, message, first, second);
        }
        return std::nullopt;
    }
}

Win32Window::Answer Win32Window::DispatchCreation(win32::HWND window, win32::UINT message,
                                                  win32::WPARAM first, win32::LPARAM second) {
    const Agreement created = AskHandlers([&](Win32WindowEventHandler& h) {
        return message == win32::WM_CREATE ? h.OnCreate(reinterpret_cast<win32::CREATESTRUCTA*>(second))
                                           : h.OnInitDialog(reinterpret_cast<win32::HWND>(first));
    });
    // A window object destroyed during its own creation must not stay stored in the new window.
    if (!created.alive || !created.all) {
        return -1;
    }
    m_window = window;
    return std::nullopt;
}

// Only the last handler's brush counts.
Win32Window::Answer Win32Window::DispatchControlColor(win32::UINT message, win32::WPARAM first,
                                                      win32::LPARAM second) {
    win32::HBRUSH brush = nullptr;
    auto context = reinterpret_cast<win32::HDC>(first);
    auto control = reinterpret_cast<win32::HWND>(second);
    const bool alive = ForEachHandler([&](Win32WindowEventHandler& h) {
        brush = message == win32::WM_CTLCOLOREDIT ? h.OnCtlColorEdit(context, control)
                                                  : h.OnCtlColorStatic(context, control);
    });
    if (!alive || brush == nullptr) {
        return std::nullopt;
    }
    return reinterpret_cast<win32::LRESULT>(brush);
}

bool Win32Window::Notify(win32::UINT message, win32::WPARAM first, win32::LPARAM second) {
    using H = Win32WindowEventHandler;
    switch (message) {
    case win32::WM_MOVE:
        ForEachHandler([&](H& h) { h.OnMove(SignedLow(second), SignedHigh(second)); });
        return true;
    case win32::WM_SIZE:
        ForEachHandler([&](H& h) { h.OnSize(first, LOWORD(second), HIWORD(second)); });
        return true;
    case win32::WM_ACTIVATE:
        ForEachHandler([&](H& h) {
            h.OnActivate(LOWORD(first), HIWORD(first) != 0, reinterpret_cast<win32::HWND>(second));
        });
        return true;
    case win32::WM_PAINT:
        ForEachHandler([&](H& h) { h.OnPaint(first); });
        return true;
    case win32::WM_SHOWWINDOW:
        ForEachHandler([&](H& h) { h.OnShowWindow(first != 0, second); });
        return true;
    case win32::WM_ACTIVATEAPP:
        ForEachHandler([&](H& h) { h.OnActivateApp(first != 0, static_cast<win32::DWORD>(second)); });
        return true;
    case win32::WM_GETMINMAXINFO:
        ForEachHandler([&](H& h) { h.OnGetMinMaxInfo(reinterpret_cast<win32::MINMAXINFO*>(second)); });
        return true;
    case win32::WM_DISPLAYCHANGE:
        ForEachHandler([&](H& h) { h.OnDisplayChange(first, LOWORD(second), HIWORD(second)); });
        return true;
    case win32::WM_KEYDOWN:
        ForEachHandler([&](H& h) { h.OnKeyDown(first, second); });
        return true;
    case win32::WM_KEYUP:
        ForEachHandler([&](H& h) { h.OnKeyUp(first, second); });
        return true;
    case win32::WM_CHAR:
        ForEachHandler([&](H& h) { h.OnChar(first, second); });
        return true;
    case win32::WM_SYSKEYDOWN:
        ForEachHandler([&](H& h) { h.OnSysKeyDown(first, second); });
        return true;
    case win32::WM_SYSKEYUP:
        ForEachHandler([&](H& h) { h.OnSysKeyUp(first, second); });
        return true;
    case win32::WM_COMMAND:
        ForEachHandler(
            [&](H& h) { h.OnCommand(HIWORD(first), LOWORD(first), reinterpret_cast<win32::HWND>(second)); });
        return true;
    case win32::WM_ENTERMENULOOP:
        ForEachHandler([&](H& h) { h.OnEnterMenuLoop(first != 0); });
        return true;
    case win32::WM_EXITMENULOOP:
        ForEachHandler([&](H& h) { h.OnExitMenuLoop(first != 0); });
        return true;
    case win32::WM_ENTERSIZEMOVE:
        ForEachHandler([](H& h) { h.OnEnterSizeMove(); });
        return true;
    case win32::WM_EXITSIZEMOVE:
        ForEachHandler([](H& h) { h.OnExitSizeMove(); });
        return true;
    default:
        return false;
    }
}

void Win32Window::NotifyRange(win32::HWND window, win32::UINT message, win32::WPARAM first,
                              win32::LPARAM second) {
    using H = Win32WindowEventHandler;
    if (message < win32::WM_USER) {
        ForEachHandler([&](H& h) { h.OnOtherMessage(window, message, first, second); });
    } else if (message < win32::WM_APP) {
        ForEachHandler([&](H& h) { h.OnUserMessage(window, message, first, second); });
    } else if (message < 0xC000) {
        ForEachHandler([&](H& h) { h.OnAppMessage(window, message, first, second); });
    } else if (message <= 0xFFFF) {
        ForEachHandler([&](H& h) { h.OnRegisteredMessage(window, message, first, second); });
    } else {
        ForEachHandler([&](H& h) { h.OnReservedMessage(window, message, first, second); });
    }
}

} // namespace Vemo
