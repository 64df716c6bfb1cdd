#include "platform/win32/windows/Capture.h"

#include "platform/video/VideoBackend.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"
#include "platform/win32/windows/WindowObject.h"
#include "platform/win32/windows/WindowSystem.h"

#include <mutex>

namespace win32 {

namespace {

// Guarded by the window system's lock.
HWND g_holder = nullptr;

} // namespace

WindowObject* CaptureHolder(WindowSystem& system) {
    if (g_holder == nullptr) {
        return nullptr;
    }
    WindowObject* holder = system.Find(g_holder, false);
    if (holder == nullptr || holder->destroying) {
        // A destroyed window lets go of the capture without being told.
        g_holder = nullptr;
        system.Backend().CaptureNative(nullptr);
        return nullptr;
    }
    return holder;
}

bool ChangeCapture(HWND window, HWND& previous) {
    WindowSystem& system = WindowSystem::Instance();
    {
        std::lock_guard guard(system.Lock());
        if (window != nullptr && system.Find(window) == nullptr) {
            return false;
        }
        WindowObject* holder = CaptureHolder(system);
        previous = holder != nullptr ? holder->handle : nullptr;
        if (previous == window) {
            return true;
        }
        g_holder = window;
        system.Backend().CaptureNative(window);
    }
    if (previous != nullptr) {
        SendToWindow(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    }
    return true;
}

HWND SetCapture(HWND window) {
    HWND previous = nullptr;
    return ChangeCapture(window, previous) ? previous : nullptr;
}

BOOL ReleaseCapture() {
    HWND previous = nullptr;
    ChangeCapture(nullptr, previous);
    return TRUE;
}

HWND GetCapture() {
    WindowSystem& system = WindowSystem::Instance();
    std::lock_guard guard(system.Lock());
    WindowObject* holder = CaptureHolder(system);
    return holder != nullptr ? holder->handle : nullptr;
}

} // namespace win32
