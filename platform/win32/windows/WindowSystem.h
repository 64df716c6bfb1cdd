// The process's windows, classes, activation and video backend. Internal to the platform layer.
//
// One lock guards all of it and every message queue. No window procedure and no backend event pump runs while
// it is held: code that calls out looks up what it needs, lets go of the lock, calls, and looks the window up
// again by handle afterwards (the window may be gone by then).
#pragma once

#include "platform/win32/windows/Window.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace video {
class VideoBackend;
}

namespace win32 {

class MessageQueue;
class WindowClass;
class WindowObject;

class WindowSystem {
public:
    static WindowSystem& Instance();

    std::mutex& Lock() { return m_lock; }

    // With the lock held. Null (and ERROR_INVALID_WINDOW_HANDLE as last error when asked) for a handle that
    // names no live window.
    WindowObject* Find(HWND window, bool setError = true);
    WindowObject& Add(std::unique_ptr<WindowObject> window);
    void Remove(HWND window);
    // Removes a window that no message can reach any more: its real window goes, its class loses it, and
    // activation and focus let go of it.
    void Forget(HWND window);
    HWND NewHandle();
    // Live windows in creation order.
    std::vector<WindowObject*> Windows();
    std::vector<HWND> ChildrenOf(HWND window);
    std::vector<HWND> OwnedBy(HWND window);
    bool IsSelfOrDescendant(HWND window, HWND ancestor);
    // The client area's top-left corner in screen coordinates.
    POINT ClientOrigin(const WindowObject& window);
    HWND TopLevelOf(HWND window);
    // The thread's main window: the first visible top-level window without an owner that it made; null when
    // it has none.
    HWND MainWindowOf(std::thread::id thread);

    std::shared_ptr<WindowClass> FindClass(LPCSTR name, HINSTANCE instance);
    // The class of windows the system makes itself (dialogs, the message boxes it draws), known by its
    // procedure, made on first use.
    std::shared_ptr<WindowClass> BuiltInClass(const char* name, WNDPROC procedure, UINT style,
                                              int extraSlots);
    std::vector<std::shared_ptr<WindowClass>>& Classes() { return m_classes; }
    ATOM NewAtom();

    HWND active = nullptr;
    HWND focus = nullptr;
    POINT cursor{};
    // The host's pointer is hidden: it is over a window whose class cursor hides it.
    bool pointerHidden = false;
    // Message boxes the program draws itself that are up (platform/win32/desktop/DrawnMessageBox.h): while
    // any is, the host's pointer shows over every window.
    int drawnBoxesUp = 0;
    // The async key state: what the input devices hold down right now (bit 7), toggles in bit 0.
    std::array<BYTE, 256> asyncKeys{};

    // With the lock held: the backend, chosen on first use.
    video::VideoBackend& Backend();
    // With the lock held: the backend if one was chosen yet, else null.
    video::VideoBackend* BackendIfChosen() { return m_backend.get(); }
    // With the lock held, for the testing API: replaces the backend (no window may be alive).
    void ReplaceBackend(std::unique_ptr<video::VideoBackend> backend);

private:
    WindowSystem() = default;

    std::mutex m_lock;
    std::map<std::uintptr_t, std::unique_ptr<WindowObject>> m_windows;
    std::vector<std::shared_ptr<WindowClass>> m_classes;
    std::uintptr_t m_nextHandle = 0x10010;
    ATOM m_nextAtom = 0xC000;
    std::unique_ptr<video::VideoBackend> m_backend;
};

} // namespace win32
