// The backend with SDL2: every top-level window made on the thread that started SDL is a real window, and the
// host's events for it become window messages.
#pragma once

#include "platform/video/VideoBackend.h"

#include <SDL.h>

#include <cstdint>
#include <map>
#include <thread>

namespace video {

class SdlVideoBackend : public VideoBackend {
public:
    SdlVideoBackend();
    ~SdlVideoBackend() override;

    SdlVideoBackend(const SdlVideoBackend&) = delete;
    SdlVideoBackend& operator=(const SdlVideoBackend&) = delete;

    // Whether SDL's video started; without it no real window can be made.
    bool Started() const { return m_started; }
    const char* StartError() const;

    const char* Name() const override { return "sdl"; }
    bool OwnsCurrentThread() const override;
    bool CreateNative(win32::HWND window, const NativeWindowSpec& spec) override;
    void DestroyNative(win32::HWND window) override;
    void ShowNative(win32::HWND window, NativeShow show) override;
    void SetNativeTitle(win32::HWND window, const char* title) override;
    void RaiseNative(win32::HWND window) override;
    void PumpEvents() override;
    bool NeedsPolling() const override { return true; }
    win32::SIZE DesktopSize() const override;

    // The real window behind a window, or null; on the SDL thread only.
    SDL_Window* WindowFor(win32::HWND window) const;
    win32::HWND HandleFor(std::uint32_t windowId) const;

private:
    void HandleEvent(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void HandleKey(const SDL_KeyboardEvent& event);

    bool m_started = false;
    std::thread::id m_thread;
    std::map<win32::HWND, SDL_Window*> m_windows;
    std::map<std::uint32_t, win32::HWND> m_handles;
};

} // namespace video
