// A DirectDraw surface: an off-screen plain surface, a primary (the front of a flipping chain among them), or
// a back buffer of a chain. Internal to the platform layer.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/directx/DirectDrawBlitter.h"
#include "platform/directx/DirectDrawCounted.h"
#include "platform/directx/DirectDrawDisplay.h"

#include <memory>
#include <mutex>
#include <vector>

namespace ddraw::detail {

class DirectDrawClipper;

// The surfaces of a flipping chain in order, the front first; each holds the chain.
struct FlipChain {
    std::vector<DirectDrawSurface*> members;
};

class DirectDrawSurface final : public DirectDrawCounted<IDirectDrawSurface4, IDirectDrawSurface> {
public:
    enum class Role { OffScreen, Primary, BackBuffer };

    // CreateSurface's work, with the display's lock held: a new surface with one reference.
    static HRESULT Create(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                          DirectDrawSurface** made);
    // Every surface behind IDirectDrawSurface4 is one of these.
    static DirectDrawSurface* From(IDirectDrawSurface4* surface) {
        return static_cast<DirectDrawSurface*>(surface);
    }

    HRESULT QueryInterface(com::REFIID iid, void** object) override;

    HRESULT Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(const RECT* rect) override;
    HRESULT Blt(const RECT* destRect, IDirectDrawSurface4* source, const RECT* sourceRect, DWORD flags,
                const DDBLTFX* fx) override;
    HRESULT Flip(IDirectDrawSurface4* target, DWORD flags) override;
    HRESULT GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** attached) override;
    HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) override;
    HRESULT IsLost() override;
    HRESULT Restore() override;
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) override;
    HRESULT SetSurfaceDesc(const DDSURFACEDESC2* desc, DWORD flags) override;
    HRESULT SetClipper(IDirectDrawClipper* clipper) override;
    HRESULT GetDC(HDC* context) override;
    HRESULT ReleaseDC(HDC context) override;

    // With the display's lock held, all of them.
    // Lost, unless on caller memory; a surface of a flipping chain loses the whole chain.
    void Lose();
    bool IsLostLocked() const { return m_lost; }
    bool MadeAtExclusiveLevel() const { return m_exclusive; }
    Device& Owner() const { return *m_device; }
    // A primary whose clipper now names another window (or none) belongs to it from now on.
    void FollowClipper();

private:
    DirectDrawSurface(std::shared_ptr<Device> device, Role role);
    ~DirectDrawSurface() override;

    static HRESULT CreatePrimary(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                                 DirectDrawSurface** made);
    static HRESULT CreateOffScreen(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                                   DirectDrawSurface** made);

    std::uint8_t* Bits() const {
        return m_callerMemory ? m_callerBits : const_cast<std::uint8_t*>(m_memory.data());
    }
    PixelView View() const;
    RECT Whole() const { return RECT{0, 0, static_cast<LONG>(m_width), static_cast<LONG>(m_height)}; }
    bool Busy() const { return m_locked || m_context != nullptr; }
    // Own memory of the surface's size, cleared; false when there is not enough.
    bool Allocate();
    void Describe(DDSURFACEDESC2& desc) const;
    std::vector<DirectDrawSurface*> ChainOrSelf();
    // The window this surface is shown in: a primary's, none for other surfaces.
    HWND ShownWindow() const;
    // What changed of a shown surface reaches its window.
    void Present(const RECT& changed);
    HRESULT BltLocked(const RECT* destRect, DirectDrawSurface* source, const RECT* sourceRect, DWORD flags,
                      const DDBLTFX* fx);
    HRESULT CheckFlip(IDirectDrawSurface4* target, std::size_t& steps);
    HRESULT CheckRestore() const;
    void DissolveChain();

    std::shared_ptr<Device> m_device;
    Role m_role;
    DWORD m_caps = 0;
    DWORD m_width = 0;
    DWORD m_height = 0;
    DDPIXELFORMAT m_format{};
    // The surface took the display's format, in this mode.
    bool m_displayFormat = false;
    DisplayMode m_madeIn;
    // Made at the exclusive level (a full-screen primary or a surface of its chain).
    bool m_exclusive = false;
    std::vector<std::uint8_t> m_memory;
    LONG m_pitch = 0;
    bool m_callerMemory = false;
    std::uint8_t* m_callerBits = nullptr;
    bool m_hasKey = false;
    DDCOLORKEY m_key{};
    bool m_locked = false;
    bool m_lockedReadOnly = false;
    RECT m_lockedArea{};
    bool m_lost = false;
    HDC m_context = nullptr;
    DirectDrawClipper* m_clipper = nullptr;
    std::shared_ptr<FlipChain> m_chain;
};

} // namespace ddraw::detail
