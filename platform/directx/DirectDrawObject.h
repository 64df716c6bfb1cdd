// The DirectDraw object behind IDirectDraw and IDirectDraw4. Internal to the platform layer.
#pragma once

#include "platform/directx/DirectDraw.h"
#include "platform/directx/DirectDrawCounted.h"
#include "platform/directx/DirectDrawDisplay.h"

#include <memory>

namespace ddraw::detail {

class DirectDrawObject final : public DirectDrawCounted<IDirectDraw, IDirectDraw4> {
public:
    DirectDrawObject();

    HRESULT QueryInterface(com::REFIID iid, void** object) override;
    // The last release gives up the exclusive level and restores the mode the object set.
    win32::ULONG Release() override;

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC2* templateDesc, LPVOID context,
                             LPDDENUMMODESCALLBACK2 callback) override;
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT CreateSurface(const DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                          com::IUnknown* outer) override;
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, com::IUnknown* outer) override;
    HRESULT GetVerticalBlankStatus(BOOL* inBlank) override;
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

private:
    ~DirectDrawObject() override;

    // Shared with the surfaces made through this object, which outlive it.
    std::shared_ptr<Device> m_device;
};

} // namespace ddraw::detail
