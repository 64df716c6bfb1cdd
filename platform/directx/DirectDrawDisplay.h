// The one display that every DirectDraw object shares: its mode, the object holding the exclusive level, the
// live surfaces, the lock that serialises every DirectDraw call, and the answers tests make calls give.
// Internal to the platform layer.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/win32/windows/WindowActions.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <set>

namespace ddraw::detail {

class DirectDrawSurface;

// The calls that tests can make answer a result of their choosing. QueryInterface is that of any object.
enum class Call {
    DirectDrawCreate,
    QueryInterface,
    SetCooperativeLevel,
    EnumDisplayModes,
    GetDisplayMode,
    SetDisplayMode,
    RestoreDisplayMode,
    CreateSurface,
    CreateClipper,
    GetVerticalBlankStatus,
    WaitForVerticalBlank,
    Lock,
    Unlock,
    Blt,
    Flip,
    GetAttachedSurface,
    SetColorKey,
    IsLost,
    Restore,
    GetSurfaceDesc,
    SetSurfaceDesc,
    SetClipper,
    GetDC,
    ReleaseDC,
    SetHWnd,
};

// The call answers result instead of doing anything: the next time only, or every time until cleared.
void SetAnswer(Call call, HRESULT result, bool always);
void ClearAnswers();
// The answer a test chose for this call, used up when it was for once; DD_OK for none.
HRESULT TakeAnswer(Call call);

struct DisplayMode {
    DWORD width = 0;
    DWORD height = 0;
    DDPIXELFORMAT format{};
};

// dwSize of a DDSURFACEDESC2 as callers give it.
bool IsDescriptionSize(DWORD size);
bool SameLayout(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);
// The pixel format of a display of that depth (8, 16, 24 or 32 bits).
DDPIXELFORMAT DisplayFormat(DWORD bitsPerPixel);

// What a DirectDraw object is to the display: its cooperative level and the primary it made.
struct Device {
    enum class Level { None, Normal, Exclusive };
    Level level = Level::None;
    HWND window = nullptr;
    DirectDrawSurface* primary = nullptr;
};

// A change of the display mode that the windows are told of once the lock is let go.
struct DisplayChange {
    DWORD bitsPerPixel = 0;
    DWORD width = 0;
    DWORD height = 0;
};

class Display {
public:
    static Display& Instance();

    std::mutex& Lock() { return m_lock; }

    // With the lock held, all of them.
    DisplayMode Mode() const;
    // The classic mode of that size and depth, if it is one the display accepts.
    static std::optional<DisplayMode> ClassicMode(DWORD width, DWORD height, DWORD bitsPerPixel);
    // The classic modes, less those of the depths the display refuses.
    template <class Visit>
    static void ForEachClassicMode(Visit visit);
    // The mode becomes the device's (none: back to the desktop mode); every surface not on caller memory is
    // lost.
    DisplayChange ChangeMode(Device& device, const std::optional<DisplayMode>& mode);
    Device* ModeSetter() const { return m_modeSetter; }
    Device* Exclusive() const { return m_exclusive; }
    void TakeExclusive(Device& device, HWND window);
    // The device gives up the exclusive level: the surfaces made at it are lost and its window leaves full
    // screen.
    void LeaveExclusive(Device& device);

    void Add(DirectDrawSurface* surface) { m_surfaces.insert(surface); }
    void Remove(DirectDrawSurface* surface) { m_surfaces.erase(surface); }

    std::atomic<int> liveDirectDraws{0};
    std::atomic<int> liveSurfaces{0};
    std::atomic<int> liveClippers{0};

private:
    Display() = default;

    std::mutex m_lock;
    std::optional<DisplayMode> m_setMode;
    Device* m_modeSetter = nullptr;
    Device* m_exclusive = nullptr;
    std::set<DirectDrawSurface*> m_surfaces;
};

// Posts WM_DISPLAYCHANGE to every top-level window; without the lock.
void TellWindows(const DisplayChange& change);

template <class Visit>
void Display::ForEachClassicMode(Visit visit) {
    constexpr DWORD kSizes[][2] = {{640, 480}, {800, 600}, {1024, 768}};
    constexpr DWORD kDepths[] = {8, 16, 24, 32};
    for (const auto& size : kSizes) {
        for (DWORD depth : kDepths) {
            if (!win32::DisplayAcceptsDepth(depth)) {
                continue;
            }
            if (!visit(DisplayMode{size[0], size[1], DisplayFormat(depth)})) {
                return;
            }
        }
    }
}

} // namespace ddraw::detail
