#include "resources/hooks/Win32EngineHook.h"

#include "platform/win32/Version.h"
#include "resources/hooks/Win32WindowProcedure.h"
#include "resources/hooks/Win32Wrappers.h"

namespace Vemo {

bool Win32PlatformIsNT = false;

namespace {

constinit Win32EngineHook* g_installedHook = nullptr;

// The framework's windows keep their object pointer in one slot of extra bytes.
constexpr int kWindowExtraBytes = 4;

// Window coordinates wrap at 32 bits, as screen arithmetic always has.
win32::LONG Wrap(std::int64_t value) {
    return static_cast<win32::LONG>(static_cast<std::uint32_t>(value));
}

// The window rectangle CreateWindowExA is given: from the position and size asked for, each of which may be
// the client area's.
win32::RECT WindowRectangle(const Point& position, const Size& size, bool positionIsClient, bool sizeIsClient,
                            std::uint32_t style, bool hasMenu, std::uint32_t exStyle) {
    win32::RECT rect{position.x, position.y, Wrap(std::int64_t{position.x} + size.width),
                     Wrap(std::int64_t{position.y} + size.height)};
    if (!positionIsClient && !sizeIsClient) {
        return rect;
    }
    win32::AdjustWindowRectEx(&rect, style, hasMenu ? win32::TRUE : win32::FALSE, exStyle);
    if (sizeIsClient && !positionIsClient) {
        // The adjusted size, placed with its top-left corner where asked.
        win32::LONG dx = Wrap(std::int64_t{position.x} - rect.left);
        win32::LONG dy = Wrap(std::int64_t{position.y} - rect.top);
        rect = win32::RECT{position.x, position.y, Wrap(std::int64_t{rect.right} + dx),
                           Wrap(std::int64_t{rect.bottom} + dy)};
    } else if (!sizeIsClient && positionIsClient) {
        // The adjusted top-left corner, with the window size asked for.
        rect.right = Wrap(std::int64_t{rect.left} + size.width);
        rect.bottom = Wrap(std::int64_t{rect.top} + size.height);
    }
    return rect;
}

// Carries a serial number alone, to find a window in the set without touching the window itself.
class SerialProbe final : public Win32HookWindow {
public:
    explicit SerialProbe(std::uint32_t serial) : m_serial(serial) {}
    std::uint32_t GetSerial() const override { return m_serial; }
    win32::HWND GetWindowHandle() const override { return nullptr; }
    win32::LRESULT HandleMessage(win32::HWND, win32::UINT, win32::WPARAM, win32::LPARAM, bool) override {
        return 0;
    }

private:
    std::uint32_t m_serial;
};

} // namespace

Win32EngineHook::Win32EngineHook(win32::HINSTANCE instance) : m_instance(instance) {}

Win32EngineHook::~Win32EngineHook() = default;

bool Win32EngineHook::Install(win32::HINSTANCE instance) {
    return InstallHook(g_installedHook, [instance] { return new Win32EngineHook(instance); });
}

bool Win32EngineHook::Uninstall() {
    return UninstallHook(g_installedHook);
}

Win32EngineHook* Win32EngineHook::Installed() {
    return g_installedHook;
}

bool Win32EngineHook::Startup() {
    if (m_instance == nullptr) {
        RaiseError(Win32EngineHookErrNoInstance);
        return false;
    }
    if (m_registered) {
        RaiseError(Win32EngineHookErrClassRegistered);
        return false;
    }
    m_classRecord = win32::WNDCLASSEXA{};
    // The record's own size, which a 32-bit build knows as 48.
    m_classRecord.cbSize = sizeof(win32::WNDCLASSEXA);
    m_classRecord.lpfnWndProc = &Win32WindowProcedure;
    m_classRecord.cbClsExtra = 0;
    m_classRecord.cbWndExtra = kWindowExtraBytes;

    win32::OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!Win32GetVersionEx(&version)) {
        RaiseError(Win32EngineHookErrVersion);
        return false;
    }
    Win32PlatformIsNT = version.dwPlatformId == win32::VER_PLATFORM_WIN32_NT;
    return true;
}

bool Win32EngineHook::Shutdown() {
    m_windows.Clear();
    bool result = true;
    if (m_registered) {
        if (!win32::UnregisterClassA(m_className.CStr(), m_instance)) {
            RaiseError(Win32EngineHookErrUnregisterClass);
            result = false;
        }
        m_registered = false;
    }
    m_classRecord = win32::WNDCLASSEXA{};
    return result;
}

bool Win32EngineHook::RegisterWindowClass(const String& className, std::uint32_t classStyle,
                                          win32::HCURSOR cursor, win32::HBRUSH background, win32::HICON icon,
                                          win32::HICON smallIcon, const String& menuName) {
    Win32EngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (hook->m_registered) {
        RaiseError(Win32EngineHookErrClassRegistered);
        return false;
    }
    hook->m_className = className;
    hook->m_menuName = menuName;
    win32::WNDCLASSEXA& record = hook->m_classRecord;
    record.style = classStyle;
    record.hInstance = hook->m_instance;
    record.hIcon = icon;
    record.hCursor = cursor;
    record.hbrBackground = background;
    record.lpszMenuName = hook->m_menuName.IsEmpty() ? nullptr : hook->m_menuName.CStr();
    record.lpszClassName = hook->m_className.CStr();
    record.hIconSm = smallIcon;
    if (Win32RegisterClassEx(&record) == 0) {
        RaiseError(Win32EngineHookErrRegisterClass);
        return false;
    }
    hook->m_registered = true;
    return true;
}

bool Win32EngineHook::Knows(const Win32HookWindow* window) const {
    return m_windows.Find(const_cast<Win32HookWindow*>(window)) != m_windows.End();
}

void Win32EngineHook::ShowAndActivate(win32::HWND window, bool show, bool bringToFront) {
    if (show) {
        win32::ShowWindow(window, win32::SW_SHOW);
    }
    if (bringToFront) {
        win32::SetForegroundWindow(window);
    }
}

bool Win32EngineHook::CreateWindow(Win32HookWindow* window, const String& caption, const Point* position,
                                   const Size* size, bool positionIsClient, bool sizeIsClient,
                                   std::uint32_t exStyle, std::uint32_t style, Win32HookWindow* parent,
                                   win32::HMENU menu, bool show, bool bringToFront) {
    Win32EngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (!hook->m_registered) {
        RaiseError(Win32EngineHookErrClassNotRegistered);
        return false;
    }
    if (hook->Knows(window)) {
        RaiseError(Win32EngineHookErrWindowKnown);
        return false;
    }
    win32::HWND parentHandle = parent != nullptr ? parent->GetWindowHandle() : nullptr;

    // Without a position or a size the system chooses it, and there is nothing to adjust.
    int x = win32::CW_USEDEFAULT;
    int y = win32::CW_USEDEFAULT;
    int width = win32::CW_USEDEFAULT;
    int height = win32::CW_USEDEFAULT;
    if (position != nullptr && size != nullptr) {
        win32::RECT rect = WindowRectangle(*position, *size, positionIsClient, sizeIsClient, style,
                                           menu != nullptr, exStyle);
        x = rect.left;
        y = rect.top;
        width = Wrap(std::int64_t{rect.right} - rect.left);
        height = Wrap(std::int64_t{rect.bottom} - rect.top);
    } else if (position != nullptr) {
        x = position->x;
        y = position->y;
    } else if (size != nullptr) {
        width = size->width;
        height = size->height;
    }

    win32::HWND handle =
        Win32CreateWindowEx(style, exStyle, hook->m_className, caption, x, y, width, height, parentHandle,
                            menu, hook->m_instance, static_cast<Win32HookWindow*>(window));
    if (handle == nullptr) {
        RaiseError(Win32EngineHookErrCreateWindow);
        return false;
    }
    hook->m_windows.Insert(window);
    hook->ShowAndActivate(handle, show, bringToFront);
    return true;
}

bool Win32EngineHook::CreateDialog(Win32HookWindow* window, std::uint16_t templateId, Win32HookWindow* parent,
                                   bool show, bool bringToFront) {
    Win32EngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    if (hook->Knows(window)) {
        RaiseError(Win32EngineHookErrWindowKnown);
        return false;
    }
    win32::HWND parentHandle = parent != nullptr ? parent->GetWindowHandle() : nullptr;
    win32::HWND handle =
        win32::CreateDialogParamA(hook->m_instance, win32::MAKEINTRESOURCEA(templateId), parentHandle,
                                  &Win32DialogProcedure, reinterpret_cast<win32::LPARAM>(window));
    if (handle == nullptr) {
        RaiseError(Win32EngineHookErrCreateWindow);
        return false;
    }
    hook->m_windows.Insert(window);
    hook->ShowAndActivate(handle, show, bringToFront);
    win32::SetActiveWindow(handle);
    return true;
}

bool Win32EngineHook::DestroyWindow(Win32HookWindow* window) {
    Win32EngineHook* hook = g_installedHook;
    if (hook == nullptr) {
        RaiseError(EngineHookErrNotInstalled);
        return false;
    }
    // A handler may delete the window while its native window is destroyed (its destructor then takes it out
    // of the set itself): learn what the set needs of the window before, and touch the window no more after.
    const bool known = hook->Knows(window);
    SerialProbe probe(window->GetSerial());
    bool result = true;
    if (win32::HWND handle = window->GetWindowHandle()) {
        if (!win32::DestroyWindow(handle)) {
            RaiseError(Win32EngineHookErrDestroyWindow);
            result = false;
        }
    }
    // The window procedure may have removed the hook meanwhile.
    hook = g_installedHook;
    if (hook == nullptr || !known) {
        RaiseError(Win32EngineHookErrWindowUnknown);
        return false;
    }
    hook->m_windows.EraseRange(hook->m_windows.LowerBound(&probe), hook->m_windows.UpperBound(&probe));
    return result;
}

} // namespace Vemo
