// A DirectDraw clipper: the window that the primaries it is set on belong to. Internal to the platform layer.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/directx/DirectDrawCounted.h"

#include <vector>

namespace ddraw::detail {

class DirectDrawSurface;

class DirectDrawClipper final : public DirectDrawCounted<IDirectDrawClipper> {
public:
    DirectDrawClipper();

    HRESULT QueryInterface(com::REFIID iid, void** object) override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;

    // With the display's lock held, all of them.
    HWND Window() const { return m_window; }
    void Attach(DirectDrawSurface* surface);
    void Detach(DirectDrawSurface* surface);

private:
    ~DirectDrawClipper() override;

    HWND m_window = nullptr;
    std::vector<DirectDrawSurface*> m_surfaces;
};

} // namespace ddraw::detail
