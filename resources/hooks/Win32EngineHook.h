// The platform hook for windows: reads the platform version once, registers the framework's one window class
// (with the shared window procedure and one pointer slot of window extra bytes), and creates, registers and
// destroys the native windows of the framework's windows, keeping the set of live ones ordered by serial.
//
// Installed by the application before anything else and removed after every other hook. Used from the
// application's thread only.
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "platform/win32/windows/Window.h"
#include "resources/ResourceEngineHook.h"
#include "resources/hooks/Win32HookWindow.h"

#include <cstdint>

namespace Vemo {

// True when the platform version query reported the Windows NT platform; set by the hook's Startup.
extern bool Win32PlatformIsNT;

class Win32EngineHook : public ResourceEngineHook {
public:
    using WindowSet = BasicSet<Win32HookWindow*, Win32WindowSort>;

    ~Win32EngineHook() override;
    bool Startup() override;
    // Forgets the windows still in the set (they are not destroyed) and unregisters the class.
    bool Shutdown() override;

    static bool Install(win32::HINSTANCE instance);
    static bool Uninstall();
    static Win32EngineHook* Installed();

    static bool RegisterWindowClass(const String& className, std::uint32_t classStyle, win32::HCURSOR cursor,
                                    win32::HBRUSH background, win32::HICON icon, win32::HICON smallIcon,
                                    const String& menuName);
    // The window's rectangle comes from position and size, each taken as the client area's when asked; a
    // missing position or size is left to the system. The window is the creation parameter: the window
    // procedure stores it and lets it learn its native handle during creation.
    static bool CreateWindow(Win32HookWindow* window, const String& caption, const Point* position,
                             const Size* size, bool positionIsClient, bool sizeIsClient,
                             std::uint32_t exStyle, std::uint32_t style, Win32HookWindow* parent,
                             win32::HMENU menu, bool show, bool bringToFront);
    // A modeless dialog from a dialog template id, with the shared dialog procedure; it is made the active
    // window.
    static bool CreateDialog(Win32HookWindow* window, std::uint16_t templateId, Win32HookWindow* parent,
                             bool show, bool bringToFront);
    // Destroys the native window when there is one (the window is still removed from the set when that
    // fails), then removes the window from the set.
    static bool DestroyWindow(Win32HookWindow* window);

    win32::HINSTANCE GetInstance() const { return m_instance; }
    const WindowSet& GetWindows() const { return m_windows; }
    bool IsClassRegistered() const { return m_registered; }
    const win32::WNDCLASSEXA& GetClassRecord() const { return m_classRecord; }

private:
    explicit Win32EngineHook(win32::HINSTANCE instance);

    bool Knows(const Win32HookWindow* window) const;
    void ShowAndActivate(win32::HWND window, bool show, bool bringToFront);

    WindowSet m_windows;
    win32::HINSTANCE m_instance;
    String m_className;
    String m_menuName;
    win32::WNDCLASSEXA m_classRecord{};
    bool m_registered = false;
};

} // namespace Vemo
