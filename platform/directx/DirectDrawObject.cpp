#include "platform/directx/DirectDrawObject.h"

#include "platform/directx/DirectDrawClipper.h"
#include "platform/directx/DirectDrawSurface.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/windows/Window.h"
#include "platform/win32/windows/WindowActions.h"

#include <new>
#include <optional>

namespace ddraw::detail {

namespace {

constexpr DWORD kRefreshRate = 60;

void DescribeMode(const DisplayMode& mode, DDSURFACEDESC2& desc, DWORD refreshRate) {
    const DWORD size = desc.dwSize;
    desc = DDSURFACEDESC2{};
    desc.dwSize = size;
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc.dwWidth = mode.width;
    desc.dwHeight = mode.height;
    desc.lPitch = static_cast<LONG>((mode.width * mode.format.dwRGBBitCount + 31) / 32 * 4);
    desc.dwRefreshRate = refreshRate;
    desc.ddpfPixelFormat = mode.format;
}

bool MatchesTemplate(const DisplayMode& mode, const DDSURFACEDESC2* wanted) {
    if (wanted == nullptr) {
        return true;
    }
    return ((wanted->dwFlags & DDSD_WIDTH) == 0 || wanted->dwWidth == mode.width) &&
           ((wanted->dwFlags & DDSD_HEIGHT) == 0 || wanted->dwHeight == mode.height) &&
           ((wanted->dwFlags & DDSD_PIXELFORMAT) == 0 ||
            wanted->ddpfPixelFormat.dwRGBBitCount == mode.format.dwRGBBitCount);
}

} // namespace

DirectDrawObject::DirectDrawObject() : m_device(std::make_shared<Device>()) {
    Display::Instance().liveDirectDraws.fetch_add(1);
}

DirectDrawObject::~DirectDrawObject() {
    Display::Instance().liveDirectDraws.fetch_sub(1);
}

HRESULT DirectDrawObject::QueryInterface(com::REFIID iid, void** object) {
    return Answer(iid, object,
                  {{&IID_IDirectDraw, static_cast<IDirectDraw*>(this)},
                   {&IID_IDirectDraw4, static_cast<IDirectDraw4*>(this)}});
}

win32::ULONG DirectDrawObject::Release() {
    std::optional<DisplayChange> change;
    win32::ULONG left;
    {
        Display& display = Display::Instance();
        std::lock_guard guard(display.Lock());
        left = DropReference();
        if (left != 0) {
            return left;
        }
        display.LeaveExclusive(*m_device);
        if (display.ModeSetter() == m_device.get()) {
            change = display.ChangeMode(*m_device, std::nullopt);
        }
        m_device->level = Device::Level::None;
        m_device->window = nullptr;
        delete this;
    }
    if (change.has_value()) {
        TellWindows(*change);
    }
    return left;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
    if (HRESULT answer = TakeAnswer(Call::SetCooperativeLevel); answer != DD_OK) {
        return answer;
    }
    if ((flags & ~(DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT | DDSCL_NORMAL | DDSCL_EXCLUSIVE)) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    const DWORD level = flags & (DDSCL_FULLSCREEN | DDSCL_NORMAL | DDSCL_EXCLUSIVE);
    const bool exclusive = level == (DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    if (!exclusive && level != DDSCL_NORMAL) {
        return DDERR_INVALIDPARAMS;
    }
    if (exclusive ? !win32::IsTopLevelWindow(window) : window != nullptr && !win32::IsWindow(window)) {
        return DDERR_INVALIDPARAMS;
    }
    Display& display = Display::Instance();
    std::lock_guard guard(display.Lock());
    if (exclusive) {
        if (display.Exclusive() != nullptr && display.Exclusive() != m_device.get()) {
            return DDERR_EXCLUSIVEMODEALREADYSET;
        }
        display.TakeExclusive(*m_device, window);
        return DD_OK;
    }
    display.LeaveExclusive(*m_device);
    m_device->level = Device::Level::Normal;
    m_device->window = window;
    return DD_OK;
}

HRESULT DirectDrawObject::EnumDisplayModes(DWORD flags, const DDSURFACEDESC2* templateDesc, LPVOID context,
                                           LPDDENUMMODESCALLBACK2 callback) {
    if (HRESULT answer = TakeAnswer(Call::EnumDisplayModes); answer != DD_OK) {
        return answer;
    }
    if (callback == nullptr || (flags & ~DDEDM_REFRESHRATES) != 0 ||
        (templateDesc != nullptr && !IsDescriptionSize(templateDesc->dwSize))) {
        return DDERR_INVALIDPARAMS;
    }
    const DWORD refreshRate = (flags & DDEDM_REFRESHRATES) != 0 ? kRefreshRate : 0;
    Display::ForEachClassicMode([&](const DisplayMode& mode) {
        if (!MatchesTemplate(mode, templateDesc)) {
            return true;
        }
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        DescribeMode(mode, desc, refreshRate);
        return callback(&desc, context) != DDENUMRET_CANCEL;
    });
    return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(DDSURFACEDESC2* desc) {
    if (HRESULT answer = TakeAnswer(Call::GetDisplayMode); answer != DD_OK) {
        return answer;
    }
    if (desc == nullptr || !IsDescriptionSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    Display& display = Display::Instance();
    std::lock_guard guard(display.Lock());
    DescribeMode(display.Mode(), *desc, kRefreshRate);
    return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                         DWORD flags) {
    if (HRESULT answer = TakeAnswer(Call::SetDisplayMode); answer != DD_OK) {
        return answer;
    }
    if (flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    DisplayChange change;
    {
        Display& display = Display::Instance();
        std::lock_guard guard(display.Lock());
        if (m_device->level == Device::Level::None) {
            return DDERR_NOCOOPERATIVELEVELSET;
        }
        if (display.Exclusive() != nullptr && display.Exclusive() != m_device.get()) {
            return DDERR_NOEXCLUSIVEMODE;
        }
        std::optional<DisplayMode> mode = Display::ClassicMode(width, height, bitsPerPixel);
        if (!mode.has_value() || (refreshRate != 0 && refreshRate != kRefreshRate)) {
            return DDERR_INVALIDMODE;
        }
        change = display.ChangeMode(*m_device, mode);
    }
    TellWindows(change);
    return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode() {
    if (HRESULT answer = TakeAnswer(Call::RestoreDisplayMode); answer != DD_OK) {
        return answer;
    }
    DisplayChange change;
    {
        Display& display = Display::Instance();
        std::lock_guard guard(display.Lock());
        if (display.ModeSetter() != m_device.get()) {
            return DD_OK;
        }
        change = display.ChangeMode(*m_device, std::nullopt);
    }
    TellWindows(change);
    return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(const DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                                        com::IUnknown* outer) {
    if (surface == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *surface = nullptr;
    if (HRESULT answer = TakeAnswer(Call::CreateSurface); answer != DD_OK) {
        return answer;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (desc == nullptr || !IsDescriptionSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_device->level == Device::Level::None) {
        return DDERR_NOCOOPERATIVELEVELSET;
    }
    DirectDrawSurface* made = nullptr;
    HRESULT result = DirectDrawSurface::Create(m_device, *desc, &made);
    if (result == DD_OK) {
        *surface = made;
    }
    return result;
}

HRESULT DirectDrawObject::CreateClipper(DWORD flags, IDirectDrawClipper** clipper, com::IUnknown* outer) {
    if (clipper == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = nullptr;
    if (HRESULT answer = TakeAnswer(Call::CreateClipper); answer != DD_OK) {
        return answer;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    if (flags != 0) {
        return DDERR_INVALIDPARAMS;
    }
    auto* made = new (std::nothrow) DirectDrawClipper;
    if (made == nullptr) {
        return DDERR_OUTOFMEMORY;
    }
    *clipper = made;
    return DD_OK;
}

HRESULT DirectDrawObject::GetVerticalBlankStatus(BOOL* inBlank) {
    if (HRESULT answer = TakeAnswer(Call::GetVerticalBlankStatus); answer != DD_OK) {
        return answer;
    }
    if (inBlank == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *inBlank = video::InVerticalBlank() ? win32::TRUE : win32::FALSE;
    return DD_OK;
}

HRESULT DirectDrawObject::WaitForVerticalBlank(DWORD flags, HANDLE event) {
    if (HRESULT answer = TakeAnswer(Call::WaitForVerticalBlank); answer != DD_OK) {
        return answer;
    }
    if (event != nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    switch (flags) {
    case DDWAITVB_BLOCKBEGIN:
        video::WaitForVerticalBlank(video::BlankWait::Begin);
        return DD_OK;
    case DDWAITVB_BLOCKEND:
        video::WaitForVerticalBlank(video::BlankWait::End);
        return DD_OK;
    case DDWAITVB_BLOCKBEGINEVENT:
        return DDERR_UNSUPPORTED;
    default:
        return DDERR_INVALIDPARAMS;
    }
}

} // namespace ddraw::detail
