#include "platform/video/SdlVideoBackend.h"

#include "platform/video/CodePageText.h"
#include "platform/video/FrameStore.h"
#include "platform/win32/input/HostEvents.h"
#include "platform/win32/windows/Window.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace video {

namespace {

std::string g_startError;

// The keypad's keys without Num Lock: the navigation keys printed on them.
win32::BYTE KeypadNavigationKey(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_KP_0:
        return win32::VK_INSERT;
    case SDL_SCANCODE_KP_1:
        return win32::VK_END;
    case SDL_SCANCODE_KP_2:
        return win32::VK_DOWN;
    case SDL_SCANCODE_KP_3:
        return win32::VK_NEXT;
    case SDL_SCANCODE_KP_4:
        return win32::VK_LEFT;
    case SDL_SCANCODE_KP_5:
        return win32::VK_CLEAR;
    case SDL_SCANCODE_KP_6:
        return win32::VK_RIGHT;
    case SDL_SCANCODE_KP_7:
        return win32::VK_HOME;
    case SDL_SCANCODE_KP_8:
        return win32::VK_UP;
    case SDL_SCANCODE_KP_9:
        return win32::VK_PRIOR;
    case SDL_SCANCODE_KP_PERIOD:
        return win32::VK_DELETE;
    default:
        return 0;
    }
}

Uint32 WindowFlagsFor(const NativeWindowSpec& spec) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if ((spec.style & win32::WS_THICKFRAME) != 0) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if ((spec.style & win32::WS_CAPTION) != win32::WS_CAPTION) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    if ((spec.exStyle & win32::WS_EX_TOPMOST) != 0) {
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    }
    return flags;
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != '\0';
}

// The drivers of the displays the environment names; empty when it names none.
std::string DisplayDrivers() {
    std::string drivers;
    for (const auto& [variable, driver] :
         {std::pair{"DISPLAY", "x11"}, std::pair{"WAYLAND_DISPLAY", "wayland"}}) {
        if (IsSet(variable)) {
            if (!drivers.empty()) {
                drivers += ',';
            }
            drivers += driver;
        }
    }
    return drivers;
}

} // namespace

SdlVideoBackend::SdlVideoBackend() : m_thread(std::this_thread::get_id()) {
    // The program handles its termination signals itself (platform/win32/kernel/TerminationSignals.h):
    // SDL's handlers would turn Ctrl+C into a quit event that nothing reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Without a graphics card (a virtual machine, Xvfb) the renderer runs on Mesa's software rasterizer, which
    // would start a thread per core and wake every one of them for each present. A present here is one
    // textured rectangle, which the presenting thread draws in less time than the others take to wake; a
    // still screen would spend most of its time waking them. A player's own setting stands.
    ::setenv("LP_NUM_THREADS", "0", 0);
    // Only the displays the environment names will do: left to itself, SDL falls back to its offscreen
    // driver, whose windows nobody sees. A driver named in SDL_VIDEODRIVER (which wins over the hint) is the
    // player's own choice.
    if (!IsSet("SDL_VIDEODRIVER")) {
        const std::string drivers = DisplayDrivers();
        if (drivers.empty()) {
            g_startError = "no display is named";
            return;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_startError = SDL_GetError();
        return;
    }
    m_started = true;
    if (const char* driver = SDL_GetCurrentVideoDriver(); driver != nullptr && std::strcmp(driver, "x11") == 0) {
        SdlEventConnection::EndProgramWhenLost();
    }
    // Keys arrive as key events only; text input would open input methods.
    SDL_StopTextInput();
}

SdlVideoBackend::~SdlVideoBackend() {
    for (auto& [handle, native] : m_windows) {
        DestroyRenderer(native);
        SDL_DestroyWindow(native.window);
    }
    SetPresentsWaitForBlank(false);
    if (m_started) {
        // Sound may still play through SDL: only the last subsystem to stop ends SDL.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
            SDL_Quit();
        }
    }
}

const char* SdlVideoBackend::StartError() const {
    return g_startError.c_str();
}

bool SdlVideoBackend::OwnsCurrentThread() const {
    return std::this_thread::get_id() == m_thread;
}

bool SdlVideoBackend::CreateNative(win32::HWND window, const NativeWindowSpec& spec) {
    if (!m_started) {
        return false;
    }
    int width = std::max(1, static_cast<int>(spec.client.right - spec.client.left));
    int height = std::max(1, static_cast<int>(spec.client.bottom - spec.client.top));
    SDL_Window* native = SDL_CreateWindow(Utf8FromAnsi(spec.title).c_str(), spec.client.left, spec.client.top,
                                          width, height, WindowFlagsFor(spec));
    if (native == nullptr) {
        return false;
    }
    m_windows[window] = Native{native};
    m_handles[SDL_GetWindowID(native)] = window;
    if (m_connection.Descriptor() < 0) {
        m_connection = SdlEventConnection::Of(native);
    }
    return true;
}

void SdlVideoBackend::DestroyNative(win32::HWND window) {
    auto found = m_windows.find(window);
    if (found == m_windows.end()) {
        return;
    }
    m_handles.erase(SDL_GetWindowID(found->second.window));
    DestroyRenderer(found->second);
    SDL_DestroyWindow(found->second.window);
    m_windows.erase(found);
    NoteVsync();
}

void SdlVideoBackend::ShowNative(win32::HWND window, NativeShow show) {
    SDL_Window* native = WindowFor(window);
    if (native == nullptr) {
        return;
    }
    Uint32 flags = SDL_GetWindowFlags(native);
    switch (show) {
    case NativeShow::Hidden:
        SDL_HideWindow(native);
        break;
    case NativeShow::Shown:
        SDL_ShowWindow(native);
        if ((flags & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED)) != 0) {
            SDL_RestoreWindow(native);
        }
        break;
    case NativeShow::Minimized:
        SDL_ShowWindow(native);
        SDL_MinimizeWindow(native);
        break;
    case NativeShow::Maximized:
        SDL_ShowWindow(native);
        SDL_MaximizeWindow(native);
        break;
    }
}

void SdlVideoBackend::SetNativeTitle(win32::HWND window, const char* title) {
    if (SDL_Window* native = WindowFor(window)) {
        SDL_SetWindowTitle(native, Utf8FromAnsi(title).c_str());
    }
}

void SdlVideoBackend::RaiseNative(win32::HWND window) {
    if (SDL_Window* native = WindowFor(window)) {
        SDL_RaiseWindow(native);
    }
}

void SdlVideoBackend::PumpEvents() {
    if (!m_started || !OwnsCurrentThread()) {
        return;
    }
    ApplyPointer();
    if (PumpsHost()) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            HandleEvent(event);
        }
    }
    ShowChangedFrames();
}

// SDL's pump reads the display connection, a handful of system calls even when nothing came, and a step looks
// at its messages more than once. The pump is left out when nothing can have come: the connection shows
// nothing to read, neither Xlib nor SDL holds events taken in meanwhile, and SDL's own timed work (the focus
// changes it holds back, the screen saver it keeps off) had a pump within the last few steps.
bool SdlVideoBackend::PumpsHost() {
    constexpr auto kLongestWithoutPump = std::chrono::milliseconds(50);
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastHostPump < kLongestWithoutPump && !m_connection.MayHaveEvents() && !SdlQueueHolds()) {
        return false;
    }
    m_lastHostPump = now;
    return true;
}

bool SdlVideoBackend::EventsPending() {
    if (!m_started || !OwnsCurrentThread()) {
        return false;
    }
    return SdlQueueHolds() || m_connection.EventsPending();
}

// SDL's own queue: events made or pushed since the last pump (its poll sentinel is none).
bool SdlVideoBackend::SdlQueueHolds() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1) > 0 ||
           SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_POLLSENTINEL + 1, SDL_LASTEVENT) > 0;
}

void SdlVideoBackend::MoveNative(win32::HWND window, const win32::RECT& client) {
    Native* native = NativeFor(window);
    if (native == nullptr || !OwnsCurrentThread()) {
        return;
    }
    SDL_Rect place{client.left, client.top, std::max(1, static_cast<int>(client.right - client.left)),
                   std::max(1, static_cast<int>(client.bottom - client.top))};
    if (native->fullscreen) {
        native->windowed = place;
        return;
    }
    SDL_SetWindowPosition(native->window, place.x, place.y);
    SDL_SetWindowSize(native->window, place.w, place.h);
}

void SdlVideoBackend::RestyleNative(win32::HWND window, const NativeWindowSpec& spec) {
    Native* native = NativeFor(window);
    if (native == nullptr || !OwnsCurrentThread()) {
        return;
    }
    Uint32 flags = WindowFlagsFor(spec);
    SDL_SetWindowBordered(native->window, (flags & SDL_WINDOW_BORDERLESS) != 0 ? SDL_FALSE : SDL_TRUE);
    SDL_SetWindowResizable(native->window, (flags & SDL_WINDOW_RESIZABLE) != 0 ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowAlwaysOnTop(native->window, (flags & SDL_WINDOW_ALWAYS_ON_TOP) != 0 ? SDL_TRUE : SDL_FALSE);
}

void SdlVideoBackend::CaptureNative(win32::HWND window) {
    if (!OwnsCurrentThread()) {
        return;
    }
    // Drivers without a capture (the dummy one) refuse it; the program's own capture still holds.
    SDL_CaptureMouse(window != nullptr && NativeFor(window) != nullptr ? SDL_TRUE : SDL_FALSE);
}

void SdlVideoBackend::ShowChangedFrames() {
    for (const ChangedPicture& changed : FrameStore::Instance().TakeChanged()) {
        if (Native* native = NativeFor(changed.window)) {
            Show(*native, changed);
        }
    }
}

// Only the changed part goes to the texture; a texture made anew takes the whole picture.
void SdlVideoBackend::Show(Native& native, const ChangedPicture& changed) {
    if (!MakeRenderer(native)) {
        return;
    }
    if (changed.fullscreen != native.fullscreen) {
        SetFullscreen(native, changed.fullscreen);
    }
    if (changed.fullscreen && changed.width > 0 && changed.height > 0) {
        SDL_RenderSetLogicalSize(native.renderer, changed.width, changed.height);
    } else {
        SDL_RenderSetLogicalSize(native.renderer, 0, 0);
    }
    bool made = false;
    if (FitTexture(native, changed.width, changed.height, made)) {
        std::optional<Frame> whole;
        if (made) {
            whole = FrameStore::Instance().Shown(changed.window);
        }
        if (whole && whole->width == changed.width && whole->height == changed.height) {
            SDL_UpdateTexture(native.texture, nullptr, whole->pixels.data(), whole->width * 4);
        } else {
            const SDL_Rect area{changed.area.left, changed.area.top, changed.part.width, changed.part.height};
            SDL_UpdateTexture(native.texture, &area, changed.part.pixels.data(), changed.part.width * 4);
        }
    }
    Render(native);
    SDL_RenderPresent(native.renderer);
    if (native.vsync) {
        NoteBlankWaited();
    }
}

void SdlVideoBackend::SetFullscreen(Native& native, bool fullscreen) {
    if (fullscreen) {
        SDL_GetWindowPosition(native.window, &native.windowed.x, &native.windowed.y);
        SDL_GetWindowSize(native.window, &native.windowed.w, &native.windowed.h);
        SDL_SetWindowFullscreen(native.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(native.window, 0);
        SDL_SetWindowSize(native.window, native.windowed.w, native.windowed.h);
        SDL_SetWindowPosition(native.window, native.windowed.x, native.windowed.y);
    }
    native.fullscreen = fullscreen;
}

bool SdlVideoBackend::MakeRenderer(Native& native) {
    if (native.renderer != nullptr) {
        return true;
    }
    // A renderer that presents at the display's blank is the vertical blank; without one (no accelerated
    // renderer, as under SDL's dummy driver) the blank is paced on the platform clock.
    native.renderer =
        SDL_CreateRenderer(native.window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (native.renderer != nullptr) {
        SDL_RendererInfo info;
        native.vsync =
            SDL_GetRendererInfo(native.renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    } else {
        native.renderer = SDL_CreateRenderer(native.window, -1, SDL_RENDERER_SOFTWARE);
        native.vsync = false;
    }
    NoteVsync();
    return native.renderer != nullptr;
}

bool SdlVideoBackend::FitTexture(Native& native, int width, int height, bool& made) {
    if (width <= 0 || height <= 0) {
        if (native.texture != nullptr) {
            SDL_DestroyTexture(native.texture);
            native.texture = nullptr;
        }
        return false;
    }
    if (native.texture != nullptr && native.textureWidth == width && native.textureHeight == height) {
        return true;
    }
    if (native.texture != nullptr) {
        SDL_DestroyTexture(native.texture);
    }
    native.texture = SDL_CreateTexture(native.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                       width, height);
    made = true;
    native.textureWidth = width;
    native.textureHeight = height;
    return native.texture != nullptr;
}

void SdlVideoBackend::Render(Native& native) {
    SDL_SetRenderDrawColor(native.renderer, 0, 0, 0, 255);
    SDL_RenderClear(native.renderer);
    if (native.texture == nullptr) {
        return;
    }
    if (native.fullscreen) {
        SDL_RenderCopy(native.renderer, native.texture, nullptr, nullptr);
    } else {
        SDL_Rect place{0, 0, native.textureWidth, native.textureHeight};
        SDL_RenderCopy(native.renderer, native.texture, nullptr, &place);
    }
}

void SdlVideoBackend::DestroyRenderer(Native& native) {
    if (native.texture != nullptr) {
        SDL_DestroyTexture(native.texture);
        native.texture = nullptr;
    }
    if (native.renderer != nullptr) {
        SDL_DestroyRenderer(native.renderer);
        native.renderer = nullptr;
    }
    native.vsync = false;
}

void SdlVideoBackend::NoteVsync() {
    bool any = false;
    for (auto& [handle, native] : m_windows) {
        any = any || native.vsync;
    }
    SetPresentsWaitForBlank(any);
}

std::optional<Frame> SdlVideoBackend::ReadShown(win32::HWND window) {
    Native* native = NativeFor(window);
    if (native == nullptr || native->renderer == nullptr || !OwnsCurrentThread()) {
        return std::nullopt;
    }
    Frame frame;
    frame.fullscreen = native->fullscreen;
    SDL_GetRendererOutputSize(native->renderer, &frame.width, &frame.height);
    frame.pixels.assign(static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height), 0);
    // The whole output is read, the picture drawn over all of it (a logical size would limit the read to its
    // letterboxed area); what a renderer shows is only defined until it presents, so it is drawn again first.
    SDL_RenderSetLogicalSize(native->renderer, 0, 0);
    Render(*native);
    bool read = SDL_RenderReadPixels(native->renderer, nullptr, SDL_PIXELFORMAT_RGB888, frame.pixels.data(),
                                     frame.width * 4) == 0;
    if (native->fullscreen) {
        SDL_RenderSetLogicalSize(native->renderer, native->textureWidth, native->textureHeight);
        Render(*native);
    }
    SDL_RenderPresent(native->renderer);
    if (!read) {
        return std::nullopt;
    }
    for (std::uint32_t& pixel : frame.pixels) {
        pixel &= 0x00FFFFFF;
    }
    return frame;
}

win32::SIZE SdlVideoBackend::DesktopSize() const {
    SDL_DisplayMode mode;
    if (m_started && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
        return win32::SIZE{mode.w, mode.h};
    }
    return win32::SIZE{1920, 1080};
}

SDL_Window* SdlVideoBackend::WindowFor(win32::HWND window) const {
    auto found = m_windows.find(window);
    return found != m_windows.end() ? found->second.window : nullptr;
}

SdlVideoBackend::Native* SdlVideoBackend::NativeFor(win32::HWND window) {
    auto found = m_windows.find(window);
    return found != m_windows.end() ? &found->second : nullptr;
}

win32::HWND SdlVideoBackend::HandleFor(std::uint32_t windowId) const {
    auto found = m_handles.find(windowId);
    return found != m_handles.end() ? found->second : nullptr;
}

void SdlVideoBackend::HandleEvent(const SDL_Event& event) {
    using win32::host::MouseButton;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        if (win32::HWND window = HandleFor(event.motion.windowID)) {
            win32::host::MouseMoved(window, event.motion.x, event.motion.y);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        win32::HWND window = HandleFor(event.button.windowID);
        if (window == nullptr) {
            break;
        }
        MouseButton button;
        switch (event.button.button) {
        case SDL_BUTTON_LEFT:
            button = MouseButton::Left;
            break;
        case SDL_BUTTON_RIGHT:
            button = MouseButton::Right;
            break;
        case SDL_BUTTON_MIDDLE:
            button = MouseButton::Middle;
            break;
        default:
            return;
        }
        win32::host::MouseButtonChanged(window, button, event.type == SDL_MOUSEBUTTONDOWN, event.button.x,
                                        event.button.y, event.button.clicks);
        break;
    }
    case SDL_MOUSEWHEEL:
        if (win32::HWND window = HandleFor(event.wheel.windowID)) {
            const int notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            win32::host::MouseWheelTurned(window, notches * win32::WHEEL_DELTA);
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        HandleKey(event.key);
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    default:
        break;
    }
}

void SdlVideoBackend::HandleKey(const SDL_KeyboardEvent& event) {
    win32::HWND window = HandleFor(event.windowID);
    SDL_Scancode scancode = event.keysym.scancode;
    SDL_Keycode symbol = event.keysym.sym;
    // Letters and digits follow the host's layout, as virtual keys follow the Windows one.
    win32::BYTE virtualKey = 0;
    if (symbol >= SDLK_a && symbol <= SDLK_z) {
        virtualKey = static_cast<win32::BYTE>('A' + (symbol - SDLK_a));
    } else if (symbol >= SDLK_0 && symbol <= SDLK_9 &&
               !(scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_0)) {
        virtualKey = static_cast<win32::BYTE>(symbol);
    } else if ((event.keysym.mod & KMOD_NUM) == 0) {
        virtualKey = KeypadNavigationKey(scancode);
    }
    win32::host::KeyChanged(window, static_cast<int>(scancode), virtualKey, event.type == SDL_KEYDOWN,
                            event.repeat != 0);
}

void SdlVideoBackend::HandleWindowEvent(const SDL_WindowEvent& event) {
    win32::HWND window = HandleFor(event.windowID);
    if (window == nullptr) {
        return;
    }
    const Native* native = NativeFor(window);
    const bool fullscreen = native != nullptr && native->fullscreen;
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        FrameStore::Instance().MarkChanged(window);
        win32::host::Exposed(window);
        break;
    case SDL_WINDOWEVENT_MOVED:
        if (!fullscreen) {
            win32::host::Moved(window, event.data1, event.data2);
        }
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        FrameStore::Instance().MarkChanged(window);
        if (!fullscreen) {
            win32::host::Resized(window, event.data1, event.data2);
        }
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        win32::host::Minimized(window);
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        win32::host::Maximized(window);
        break;
    case SDL_WINDOWEVENT_RESTORED:
        win32::host::Restored(window);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        win32::host::FocusGained(window);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        win32::host::FocusLost(window);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        win32::host::CloseRequested(window);
        break;
    default:
        break;
    }
}

int SdlVideoBackend::ShowMessageBox(const MessageBoxSpec& box, std::string& failure) {
    const std::string title = Utf8FromAnsi(box.caption);
    const std::string message = Utf8FromAnsi(box.text);
    const bool withCancel = box.buttons == win32::MB_OKCANCEL;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
             static_cast<Uint32>(withCancel ? 0 : SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT),
         win32::IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, win32::IDCANCEL, "Cancel"},
    };
    SDL_Window* parent = OwnsCurrentThread() ? WindowFor(box.owner) : nullptr;
    const SDL_MessageBoxData data{SDL_MESSAGEBOX_INFORMATION, parent,  title.c_str(), message.c_str(),
                                  withCancel ? 2 : 1,         buttons, nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        failure = SDL_GetError();
        return 0;
    }
    // Closed by its close box: as Windows answers it.
    if (pressed < 0) {
        return withCancel ? win32::IDCANCEL : win32::IDOK;
    }
    return pressed;
}

void SdlVideoBackend::ShowPointer(bool shown) {
    m_pointerShown = shown;
    if (m_started && OwnsCurrentThread()) {
        ApplyPointer();
    }
}

void SdlVideoBackend::ApplyPointer() {
    const bool wanted = m_pointerShown.load();
    if (wanted != m_pointerApplied) {
        SDL_ShowCursor(wanted ? SDL_ENABLE : SDL_DISABLE);
        m_pointerApplied = wanted;
    }
}

} // namespace video
