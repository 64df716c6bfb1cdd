// The backend with SDL2: every top-level window made on the thread that started SDL is a real window, and the
// host's events for it become window messages. Each pump of the events also shows the pictures presented
// since the last one (platform/video/FrameStore.h) through an SDL renderer per window: a windowed picture one
// pixel a pixel at the client area's corner, a full-screen one in a borderless full-screen window on the
// desktop, scaled by the renderer's logical size. While a window is shown full screen, the host's moves and
// sizes of it are not passed on: for the program it keeps the emulated mode's size.
#pragma once

#include "platform/video/SdlEventConnection.h"
#include "platform/video/VideoBackend.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace video {

struct ChangedPicture;

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
    // The X11 connection once a window exists; before that, or on another driver, none, and the events are
    // looked at now and then.
    int EventDescriptor() const override { return m_connection.Descriptor(); }
    bool EventsPending() override;
    bool NeedsPolling() const override { return m_connection.Descriptor() < 0; }
    win32::SIZE DesktopSize() const override;
    void MoveNative(win32::HWND window, const win32::RECT& client) override;
    void RestyleNative(win32::HWND window, const NativeWindowSpec& spec) override;
    // SDL captures the mouse for the window that has the keyboard focus.
    void CaptureNative(win32::HWND window) override;

    // The real window behind a window, or null; on the SDL thread only.
    SDL_Window* WindowFor(win32::HWND window) const;
    win32::HWND HandleFor(std::uint32_t windowId) const;

    // What the real window shows, read back from its renderer at the renderer's output size; none when the
    // window has shown no picture yet. On the SDL thread only.
    std::optional<Frame> ReadShown(win32::HWND window) override;

    // A message box of the host, over the owner's real window when this is the SDL thread.
    int ShowMessageBox(const MessageBoxSpec& box, std::string& failure) override;
    // Applied at once on the SDL thread, else at the next pump of the events.
    void ShowPointer(bool shown) override;

private:
    struct Native {
        SDL_Window* window = nullptr;
        SDL_Renderer* renderer = nullptr;
        SDL_Texture* texture = nullptr;
        int textureWidth = 0;
        int textureHeight = 0;
        bool fullscreen = false;
        // Where the window goes back to when it leaves full screen.
        SDL_Rect windowed{};
        bool vsync = false;
    };

    Native* NativeFor(win32::HWND window);
    void HandleEvent(const SDL_Event& event);
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void HandleKey(const SDL_KeyboardEvent& event);

    void ShowChangedFrames();
    void Show(Native& native, const ChangedPicture& changed);
    void SetFullscreen(Native& native, bool fullscreen);
    bool MakeRenderer(Native& native);
    // Whether the native window has a texture of the size; made is set when it had to be made anew.
    bool FitTexture(Native& native, int width, int height, bool& made);
    // Draws the window's texture as its picture asks; without presenting.
    void Render(Native& native);
    void DestroyRenderer(Native& native);
    void NoteVsync();
    void ApplyPointer();
    // Whether this pump reads SDL's events (see PumpEvents).
    bool PumpsHost();
    static bool SdlQueueHolds();

    bool m_started = false;
    // Asked for from any thread; applied on the SDL thread.
    std::atomic<bool> m_pointerShown{true};
    bool m_pointerApplied = true;
    std::thread::id m_thread;
    std::map<win32::HWND, Native> m_windows;
    std::map<std::uint32_t, win32::HWND> m_handles;
    SdlEventConnection m_connection;
    std::chrono::steady_clock::time_point m_lastHostPump;
};

} // namespace video
