#include "platform/video/SdlVideoBackend.h"

#include "platform/win32/HostEvents.h"
#include "platform/win32/Window.h"

#include <algorithm>
#include <string>

namespace video {

namespace {

std::string g_startError;

// The characters 0x80-0x9F of Windows-1252 as Unicode; the rest of the page from 0xA0 is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

// SDL takes UTF-8 titles; window texts are Windows-1252.
std::string Utf8FromWindows1252(const char* text) {
    std::string utf8;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        char32_t unit = *c < 0x80 ? *c : *c < 0xA0 ? kWindows1252High[*c - 0x80] : *c;
        if (unit < 0x80) {
            utf8 += static_cast<char>(unit);
        } else if (unit < 0x800) {
            utf8 += static_cast<char>(0xC0 | (unit >> 6));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (unit >> 12));
            utf8 += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return utf8;
}

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

} // namespace

SdlVideoBackend::SdlVideoBackend() : m_thread(std::this_thread::get_id()) {
    // The program's own signal handling stays as it was: Ctrl+C must not turn into a window event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        g_startError = SDL_GetError();
        return;
    }
    m_started = true;
    // Keys arrive as key events only; text input would open input methods.
    SDL_StopTextInput();
}

SdlVideoBackend::~SdlVideoBackend() {
    for (auto& [handle, window] : m_windows) {
        SDL_DestroyWindow(window);
    }
    if (m_started) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
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
    SDL_Window* native = SDL_CreateWindow(Utf8FromWindows1252(spec.title).c_str(), spec.client.left,
                                          spec.client.top, width, height, WindowFlagsFor(spec));
    if (native == nullptr) {
        return false;
    }
    m_windows[window] = native;
    m_handles[SDL_GetWindowID(native)] = window;
    return true;
}

void SdlVideoBackend::DestroyNative(win32::HWND window) {
    auto found = m_windows.find(window);
    if (found == m_windows.end()) {
        return;
    }
    m_handles.erase(SDL_GetWindowID(found->second));
    SDL_DestroyWindow(found->second);
    m_windows.erase(found);
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
        SDL_SetWindowTitle(native, Utf8FromWindows1252(title).c_str());
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
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        HandleEvent(event);
    }
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
    return found != m_windows.end() ? found->second : nullptr;
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
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        win32::host::Exposed(window);
        break;
    case SDL_WINDOWEVENT_MOVED:
        win32::host::Moved(window, event.data1, event.data2);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        win32::host::Resized(window, event.data1, event.data2);
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

} // namespace video
