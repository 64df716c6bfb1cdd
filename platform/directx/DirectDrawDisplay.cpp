#include "platform/directx/DirectDrawDisplay.h"

#include "platform/directx/DirectDrawSurface.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/WindowActions.h"

#include <map>

namespace ddraw::detail {

namespace {

struct Answer {
    HRESULT result = DD_OK;
    bool always = false;
};

std::mutex g_answersLock;
std::map<Call, Answer> g_answers;

} // namespace

void SetAnswer(Call call, HRESULT result, bool always) {
    std::lock_guard guard(g_answersLock);
    g_answers[call] = Answer{result, always};
}

void ClearAnswers() {
    std::lock_guard guard(g_answersLock);
    g_answers.clear();
}

HRESULT TakeAnswer(Call call) {
    std::lock_guard guard(g_answersLock);
    auto found = g_answers.find(call);
    if (found == g_answers.end()) {
        return DD_OK;
    }
    HRESULT result = found->second.result;
    if (!found->second.always) {
        g_answers.erase(found);
    }
    return result;
}

bool IsDescriptionSize(DWORD size) {
    return size == sizeof(DDSURFACEDESC2) || size == kSurfaceDescriptionSize32;
}

bool SameLayout(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b) {
    constexpr DWORD kLayoutFlags =
        DDPF_RGB | DDPF_PALETTEINDEXED1 | DDPF_PALETTEINDEXED2 | DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED8;
    return (a.dwFlags & kLayoutFlags) == (b.dwFlags & kLayoutFlags) && a.dwRGBBitCount == b.dwRGBBitCount &&
           a.dwRBitMask == b.dwRBitMask && a.dwGBitMask == b.dwGBitMask && a.dwBBitMask == b.dwBBitMask &&
           a.dwRGBAlphaBitMask == b.dwRGBAlphaBitMask;
}

DDPIXELFORMAT DisplayFormat(DWORD bitsPerPixel) {
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = bitsPerPixel;
    switch (bitsPerPixel) {
    case 8:
        format.dwFlags |= DDPF_PALETTEINDEXED8;
        break;
    case 16:
        format.dwRBitMask = 0xF800;
        format.dwGBitMask = 0x07E0;
        format.dwBBitMask = 0x001F;
        break;
    default:
        format.dwRBitMask = 0xFF0000;
        format.dwGBitMask = 0x00FF00;
        format.dwBBitMask = 0x0000FF;
        break;
    }
    return format;
}

Display& Display::Instance() {
    // Never destroyed: surfaces may be released by exit-time destructors.
    static Display* display = new Display;
    return *display;
}

DisplayMode Display::Mode() const {
    if (m_setMode.has_value()) {
        return *m_setMode;
    }
    video::DesktopMode desktop = win32::CurrentDesktopMode();
    DisplayMode mode;
    mode.width = static_cast<DWORD>(desktop.size.cx);
    mode.height = static_cast<DWORD>(desktop.size.cy);
    mode.format = DisplayFormat(static_cast<DWORD>(desktop.bitsPerPixel));
    return mode;
}

std::optional<DisplayMode> Display::ClassicMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    std::optional<DisplayMode> found;
    ForEachClassicMode([&](const DisplayMode& mode) {
        if (mode.width == width && mode.height == height && mode.format.dwRGBBitCount == bitsPerPixel) {
            found = mode;
            return false;
        }
        return true;
    });
    return found;
}

DisplayChange Display::ChangeMode(Device& device, const std::optional<DisplayMode>& mode) {
    m_setMode = mode;
    m_modeSetter = mode.has_value() ? &device : nullptr;
    for (DirectDrawSurface* surface : m_surfaces) {
        surface->Lose();
    }
    DisplayMode now = Mode();
    return DisplayChange{now.format.dwRGBBitCount, now.width, now.height};
}

void Display::TakeExclusive(Device& device, HWND window) {
    if (m_exclusive == &device && device.window != window && device.window != nullptr) {
        video::EndFullscreen(device.window);
    }
    m_exclusive = &device;
    device.level = Device::Level::Exclusive;
    device.window = window;
}

void Display::LeaveExclusive(Device& device) {
    if (m_exclusive != &device) {
        return;
    }
    for (DirectDrawSurface* surface : m_surfaces) {
        if (surface->MadeAtExclusiveLevel() && &surface->Owner() == &device) {
            surface->Lose();
        }
    }
    if (device.window != nullptr) {
        video::EndFullscreen(device.window);
    }
    m_exclusive = nullptr;
}

void TellWindows(const DisplayChange& change) {
    win32::PostToTopLevelWindows(
        win32::WM_DISPLAYCHANGE, change.bitsPerPixel,
        win32::MAKELPARAM(static_cast<win32::WORD>(change.width), static_cast<win32::WORD>(change.height)));
}

} // namespace ddraw::detail
