// What the window system asks of a video backend: real windows behind its top-level windows, and their
// events. Internal to the platform layer.
//
// The window system calls the window operations with its lock held; a backend must not call back into the
// window system from them. PumpEvents is called without the lock and hands the host's events to
// platform/win32/HostEvents.h.
#pragma once

#include "platform/win32/Types.h"

#include <memory>

namespace video {

struct NativeWindowSpec {
    const char* title = "";
    // The client area in screen coordinates; the host draws its own frame around it.
    win32::RECT client{};
    win32::DWORD style = 0;
    win32::DWORD exStyle = 0;
};

enum class NativeShow { Hidden, Shown, Minimized, Maximized };

class VideoBackend {
public:
    virtual ~VideoBackend();

    virtual const char* Name() const = 0;

    // Whether this thread may make real windows and read their events (SDL keeps to the thread that started
    // it); windows made on other threads are kept without a real window.
    virtual bool OwnsCurrentThread() const = 0;
    virtual bool CreateNative(win32::HWND window, const NativeWindowSpec& spec) = 0;
    virtual void DestroyNative(win32::HWND window) = 0;
    virtual void ShowNative(win32::HWND window, NativeShow show) = 0;
    virtual void SetNativeTitle(win32::HWND window, const char* title) = 0;
    virtual void RaiseNative(win32::HWND window) = 0;

    // Reads the host's pending events and turns them into window messages. Without the lock.
    virtual void PumpEvents() = 0;
    // A thread waiting for messages must wake now and then to pump (the host cannot wake it).
    virtual bool NeedsPolling() const = 0;

    virtual win32::SIZE DesktopSize() const = 0;
};

// The backend VEMO_VIDEO asks for: "headless", "sdl", or by default sdl when a display is available. By
// default a failed SDL start falls back to headless; when sdl was asked for by name, the failure is said on
// stderr and no top-level window can be created.
std::unique_ptr<VideoBackend> MakeVideoBackend();

} // namespace video
