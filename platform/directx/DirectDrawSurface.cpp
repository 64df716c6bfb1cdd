#include "platform/directx/DirectDrawSurface.h"

#include "platform/directx/DirectDrawClipper.h"
#include "platform/video/FrameConversion.h"
#include "platform/video/VideoBackend.h"
#include "platform/win32/gdi/GdiSurface.h"
#include "platform/win32/windows/WindowActions.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace ddraw::detail {

namespace {

// No surface takes more memory than this.
constexpr std::uint64_t kMostSurfaceBytes = std::uint64_t{1} << 30;

constexpr DWORD kCreatableCaps = DDSCAPS_COMPLEX | DDSCAPS_FLIP | DDSCAPS_OFFSCREENPLAIN |
                                 DDSCAPS_PRIMARYSURFACE | DDSCAPS_SYSTEMMEMORY | DDSCAPS_VIDEOMEMORY |
                                 DDSCAPS_OWNDC | DDSCAPS_LOCALVIDMEM | DDSCAPS_NONLOCALVIDMEM;
constexpr DWORD kLocalVideoMemory = DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
constexpr DWORD kIndexedFlags =
    DDPF_PALETTEINDEXED1 | DDPF_PALETTEINDEXED2 | DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED8;

bool IsEmpty(const RECT& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

std::uint64_t RowBytes(std::uint64_t width, DWORD bitsPerPixel) {
    return (width * bitsPerPixel + 7) / 8;
}

// Rows of a surface's own memory are whole 32-bit words.
std::uint64_t OwnPitch(std::uint64_t width, DWORD bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool FitsMemory(std::uint64_t pitch, std::uint64_t height) {
    return pitch <= kMostSurfaceBytes && (pitch == 0 || height <= kMostSurfaceBytes / pitch);
}

DWORD IndexedFlagFor(DWORD bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return DDPF_PALETTEINDEXED1;
    case 2:
        return DDPF_PALETTEINDEXED2;
    case 4:
        return DDPF_PALETTEINDEXED4;
    case 8:
        return DDPF_PALETTEINDEXED8;
    default:
        return 0;
    }
}

HRESULT CheckPixelFormat(const DDPIXELFORMAT& format) {
    if (format.dwSize != sizeof(DDPIXELFORMAT)) {
        return DDERR_INVALIDPARAMS;
    }
    if ((format.dwFlags & (DDPF_FOURCC | DDPF_YUV)) != 0 || (format.dwFlags & DDPF_RGB) == 0) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    const DWORD bits = format.dwRGBBitCount;
    const DWORD red = format.dwRBitMask;
    const DWORD green = format.dwGBitMask;
    const DWORD blue = format.dwBBitMask;
    const DWORD fourth = format.dwRGBAlphaBitMask;
    if ((format.dwFlags & kIndexedFlags) != 0) {
        bool plain =
            (format.dwFlags & kIndexedFlags) == IndexedFlagFor(bits) && (red | green | blue | fourth) == 0;
        return plain ? DD_OK : DDERR_INVALIDPIXELFORMAT;
    }
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    const std::uint64_t all = (std::uint64_t{1} << bits) - 1;
    const bool separate = (red & green) == 0 && (red & blue) == 0 && (green & blue) == 0 &&
                          (fourth & (red | green | blue)) == 0;
    const bool fits = ((red | green | blue | fourth) & ~all) == 0;
    return red != 0 && green != 0 && blue != 0 && separate && fits ? DD_OK : DDERR_INVALIDPIXELFORMAT;
}

// The placement caps a new off-screen surface has: as asked, or local video memory; 0 for caps that
// contradict each other.
DWORD PlacementOf(DWORD caps, bool callerMemory) {
    const bool system = (caps & DDSCAPS_SYSTEMMEMORY) != 0;
    const bool video = (caps & DDSCAPS_VIDEOMEMORY) != 0;
    const bool local = (caps & DDSCAPS_LOCALVIDMEM) != 0;
    const bool nonLocal = (caps & DDSCAPS_NONLOCALVIDMEM) != 0;
    if ((system && video) || (local && nonLocal) || ((local || nonLocal) && !video) ||
        (callerMemory && video)) {
        return 0;
    }
    if (system || callerMemory) {
        return DDSCAPS_SYSTEMMEMORY;
    }
    return nonLocal ? DDSCAPS_VIDEOMEMORY | DDSCAPS_NONLOCALVIDMEM : kLocalVideoMemory;
}

win32::RGBQUAD Quad(std::uint32_t colour) {
    return win32::RGBQUAD{static_cast<win32::BYTE>(colour), static_cast<win32::BYTE>(colour >> 8),
                          static_cast<win32::BYTE>(colour >> 16), 0};
}

// The colours of an indexed surface, from the fixed system palette: 8 bits all of it; 4 bits its sixteen
// standard colours (entries 0-7 and 248-255); 2 bits black, dark grey, light grey and white; 1 bit black and
// white.
const win32::RGBQUAD* IndexedPalette(DWORD bitsPerPixel) {
    static const auto palettes = [] {
        const auto& system = video::FixedSystemPalette();
        std::array<std::array<win32::RGBQUAD, 256>, 4> made{};
        for (std::size_t index = 0; index < 256; ++index) {
            made[3][index] = Quad(system[index]);
        }
        for (std::size_t index = 0; index < 16; ++index) {
            made[2][index] = Quad(system[index < 8 ? index : index + 240]);
        }
        constexpr std::size_t kFour[] = {0, 248, 7, 255};
        for (std::size_t index = 0; index < 4; ++index) {
            made[1][index] = Quad(system[kFour[index]]);
        }
        made[0][0] = Quad(system[0]);
        made[0][1] = Quad(system[255]);
        return made;
    }();
    switch (bitsPerPixel) {
    case 1:
        return palettes[0].data();
    case 2:
        return palettes[1].data();
    case 4:
        return palettes[2].data();
    default:
        return palettes[3].data();
    }
}

} // namespace

DirectDrawSurface::DirectDrawSurface(std::shared_ptr<Device> device, Role role)
    : m_device(std::move(device)), m_role(role) {
    Display& display = Display::Instance();
    display.Add(this);
    display.liveSurfaces.fetch_add(1);
}

DirectDrawSurface::~DirectDrawSurface() {
    if (m_context != nullptr) {
        win32::DestroyDCOverBitmap(m_context);
    }
    if (m_clipper != nullptr) {
        m_clipper->Detach(this);
        m_clipper->ReleaseLocked();
    }
    if (m_role == Role::Primary && m_chain != nullptr) {
        DissolveChain();
    } else if (m_chain != nullptr) {
        auto& members = m_chain->members;
        members.erase(std::remove(members.begin(), members.end(), this), members.end());
    }
    if (m_device->primary == this) {
        m_device->primary = nullptr;
    }
    Display& display = Display::Instance();
    display.Remove(this);
    display.liveSurfaces.fetch_sub(1);
}

void DirectDrawSurface::DissolveChain() {
    std::vector<DirectDrawSurface*> backBuffers(m_chain->members.begin() + 1, m_chain->members.end());
    for (DirectDrawSurface* backBuffer : backBuffers) {
        backBuffer->m_chain.reset();
        backBuffer->m_lost = true;
    }
    m_chain.reset();
    for (DirectDrawSurface* backBuffer : backBuffers) {
        backBuffer->ReleaseLocked();
    }
}

HRESULT DirectDrawSurface::Create(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                                  DirectDrawSurface** made) {
    const DWORD caps = (desc.dwFlags & DDSD_CAPS) != 0 ? desc.ddsCaps.dwCaps : 0;
    if ((caps & ~kCreatableCaps) != 0) {
        return DDERR_INVALIDCAPS;
    }
    if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) {
        return CreatePrimary(device, desc, made);
    }
    if ((caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) != 0) {
        return DDERR_INVALIDCAPS;
    }
    return CreateOffScreen(device, desc, made);
}

HRESULT DirectDrawSurface::CreatePrimary(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                                         DirectDrawSurface** made) {
    const DWORD caps = desc.ddsCaps.dwCaps;
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_LPSURFACE | DDSD_PITCH)) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    const bool flip = (caps & DDSCAPS_FLIP) != 0;
    if ((caps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY | DDSCAPS_NONLOCALVIDMEM)) != 0 ||
        flip != ((caps & DDSCAPS_COMPLEX) != 0)) {
        return DDERR_INVALIDCAPS;
    }
    const bool exclusive = device->level == Device::Level::Exclusive;
    DWORD backBuffers = 0;
    if (flip) {
        if ((desc.dwFlags & DDSD_BACKBUFFERCOUNT) == 0 || desc.dwBackBufferCount == 0) {
            return DDERR_INVALIDPARAMS;
        }
        if (!exclusive) {
            return DDERR_NOEXCLUSIVEMODE;
        }
        backBuffers = desc.dwBackBufferCount;
    }
    if (device->primary != nullptr) {
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    }
    const DisplayMode mode = Display::Instance().Mode();
    const DWORD width = exclusive ? mode.width : 0;
    const DWORD height = exclusive ? mode.height : 0;
    const std::uint64_t pitch = OwnPitch(width, mode.format.dwRGBBitCount);
    if (!FitsMemory(pitch, std::uint64_t{height} * (std::uint64_t{backBuffers} + 1))) {
        return DDERR_OUTOFVIDEOMEMORY;
    }
    auto chain = flip ? std::make_shared<FlipChain>() : nullptr;
    std::vector<DirectDrawSurface*> surfaces;
    for (DWORD index = 0; index <= backBuffers; ++index) {
        auto* surface =
            new (std::nothrow) DirectDrawSurface(device, index == 0 ? Role::Primary : Role::BackBuffer);
        if (surface == nullptr) {
            break;
        }
        surfaces.push_back(surface);
        surface->m_width = width;
        surface->m_height = height;
        surface->m_pitch = static_cast<LONG>(pitch);
        surface->m_format = mode.format;
        surface->m_displayFormat = true;
        surface->m_madeIn = mode;
        surface->m_exclusive = exclusive;
        surface->m_chain = chain;
        if (index == 0) {
            surface->m_caps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | kLocalVideoMemory |
                              (flip ? DDSCAPS_FRONTBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX : 0);
        } else {
            surface->m_caps =
                (index == 1 ? DDSCAPS_BACKBUFFER : 0) | DDSCAPS_FLIP | DDSCAPS_COMPLEX | kLocalVideoMemory;
        }
        if (chain != nullptr) {
            chain->members.push_back(surface);
        }
        if (!surface->Allocate()) {
            break;
        }
    }
    DirectDrawSurface* front = surfaces.empty() ? nullptr : surfaces.front();
    if (surfaces.size() != backBuffers + 1 || surfaces.back()->m_memory.size() != pitch * height) {
        if (front != nullptr) {
            // The front holds the back buffers made so far and takes them with it.
            front->ReleaseLocked();
        }
        return DDERR_OUTOFVIDEOMEMORY;
    }
    device->primary = front;
    front->Present(front->Whole());
    *made = front;
    return DD_OK;
}

HRESULT DirectDrawSurface::CreateOffScreen(const std::shared_ptr<Device>& device, const DDSURFACEDESC2& desc,
                                           DirectDrawSurface** made) {
    if ((desc.dwFlags & DDSD_WIDTH) == 0 || (desc.dwFlags & DDSD_HEIGHT) == 0 || desc.dwWidth == 0 ||
        desc.dwHeight == 0) {
        return DDERR_INVALIDPARAMS;
    }
    const DWORD caps = (desc.dwFlags & DDSD_CAPS) != 0 ? desc.ddsCaps.dwCaps : 0;
    const bool callerMemory = (desc.dwFlags & DDSD_LPSURFACE) != 0;
    const DWORD placement = PlacementOf(caps, callerMemory);
    if (placement == 0) {
        return DDERR_INVALIDCAPS;
    }
    const DisplayMode mode = Display::Instance().Mode();
    const bool displayFormat = (desc.dwFlags & DDSD_PIXELFORMAT) == 0;
    if (!displayFormat) {
        if (HRESULT check = CheckPixelFormat(desc.ddpfPixelFormat); check != DD_OK) {
            return check;
        }
    }
    const DDPIXELFORMAT format = displayFormat ? mode.format : desc.ddpfPixelFormat;
    const DWORD bits = format.dwRGBBitCount;
    std::uint64_t pitch = OwnPitch(desc.dwWidth, bits);
    if (callerMemory) {
        const std::uint64_t given =
            static_cast<std::uint64_t>(std::abs(static_cast<std::int64_t>(desc.lPitch)));
        if ((desc.dwFlags & DDSD_PITCH) == 0 || desc.lpSurface == nullptr ||
            given < RowBytes(desc.dwWidth, bits)) {
            return DDERR_INVALIDPARAMS;
        }
    } else if (!FitsMemory(pitch, desc.dwHeight)) {
        return (placement & DDSCAPS_VIDEOMEMORY) != 0 ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
    }
    auto* surface = new (std::nothrow) DirectDrawSurface(device, Role::OffScreen);
    if (surface == nullptr) {
        return DDERR_OUTOFMEMORY;
    }
    surface->m_width = desc.dwWidth;
    surface->m_height = desc.dwHeight;
    surface->m_format = format;
    surface->m_displayFormat = displayFormat;
    surface->m_madeIn = mode;
    surface->m_caps = DDSCAPS_OFFSCREENPLAIN | placement | (caps & DDSCAPS_OWNDC);
    if (callerMemory) {
        surface->m_callerMemory = true;
        surface->m_callerBits = static_cast<std::uint8_t*>(desc.lpSurface);
        surface->m_pitch = desc.lPitch;
    } else {
        surface->m_pitch = static_cast<LONG>(pitch);
        if (!surface->Allocate()) {
            surface->ReleaseLocked();
            return DDERR_OUTOFMEMORY;
        }
    }
    *made = surface;
    return DD_OK;
}

bool DirectDrawSurface::Allocate() {
    try {
        m_memory.assign(static_cast<std::size_t>(m_pitch) * m_height, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

PixelView DirectDrawSurface::View() const {
    return PixelView{Bits(), m_pitch, static_cast<int>(m_width), static_cast<int>(m_height),
                     static_cast<int>(m_format.dwRGBBitCount)};
}

void DirectDrawSurface::Describe(DDSURFACEDESC2& desc) const {
    const DWORD size = desc.dwSize;
    desc = DDSURFACEDESC2{};
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc.dwWidth = m_width;
    desc.dwHeight = m_height;
    desc.lPitch = m_pitch;
    desc.ddpfPixelFormat = m_format;
    desc.ddsCaps.dwCaps = m_caps;
    if (m_role == Role::Primary && m_chain != nullptr) {
        desc.dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc.dwBackBufferCount = static_cast<DWORD>(m_chain->members.size() - 1);
    }
    if (m_hasKey) {
        desc.dwFlags |= DDSD_CKSRCBLT;
        desc.ddckCKSrcBlt = m_key;
    }
    if (m_callerMemory) {
        desc.dwFlags |= DDSD_LPSURFACE;
        desc.lpSurface = m_callerBits;
    }
}

std::vector<DirectDrawSurface*> DirectDrawSurface::ChainOrSelf() {
    if (m_chain != nullptr) {
        return m_chain->members;
    }
    return {this};
}

HWND DirectDrawSurface::ShownWindow() const {
    if (m_role != Role::Primary) {
        return nullptr;
    }
    if (m_exclusive) {
        bool holdsDisplay =
            m_device->level == Device::Level::Exclusive && Display::Instance().Exclusive() == m_device.get();
        return holdsDisplay ? m_device->window : nullptr;
    }
    return m_clipper != nullptr ? m_clipper->Window() : nullptr;
}

void DirectDrawSurface::Present(const RECT& changed) {
    HWND window = ShownWindow();
    if (window == nullptr || m_lost) {
        return;
    }
    video::PixelSource source;
    source.bits = Bits();
    source.pitch = m_pitch;
    source.width = static_cast<int>(m_width);
    source.height = static_cast<int>(m_height);
    source.bitsPerPixel = static_cast<int>(m_format.dwRGBBitCount);
    source.redMask = m_format.dwRBitMask;
    source.greenMask = m_format.dwGBitMask;
    source.blueMask = m_format.dwBBitMask;
    video::Present(window, source, changed, m_exclusive);
}

void DirectDrawSurface::Lose() {
    if (m_callerMemory) {
        return;
    }
    for (DirectDrawSurface* member : ChainOrSelf()) {
        member->m_lost = true;
    }
}

void DirectDrawSurface::FollowClipper() {
    if (m_role != Role::Primary || m_exclusive) {
        return;
    }
    HWND window = ShownWindow();
    win32::SIZE client{};
    if (window == nullptr || !win32::ClientSizeOf(window, client)) {
        return;
    }
    const DWORD width = std::max(m_width, static_cast<DWORD>(std::max(client.cx, LONG{0})));
    const DWORD height = std::max(m_height, static_cast<DWORD>(std::max(client.cy, LONG{0})));
    if ((width != m_width || height != m_height) && !Busy()) {
        const std::uint64_t pitch = OwnPitch(width, m_format.dwRGBBitCount);
        std::vector<std::uint8_t> grown;
        try {
            grown.assign(static_cast<std::size_t>(pitch) * height, 0);
        } catch (const std::bad_alloc&) {
            grown.clear();
        }
        if (!grown.empty()) {
            for (DWORD y = 0; y < m_height; ++y) {
                std::memcpy(grown.data() + pitch * y, m_memory.data() + static_cast<std::size_t>(m_pitch) * y,
                            static_cast<std::size_t>(m_pitch));
            }
            m_memory = std::move(grown);
            m_pitch = static_cast<LONG>(pitch);
            m_width = width;
            m_height = height;
        }
    }
    Present(Whole());
}

HRESULT DirectDrawSurface::QueryInterface(com::REFIID iid, void** object) {
    return Answer(iid, object,
                  {{&IID_IDirectDrawSurface4, static_cast<IDirectDrawSurface4*>(this)},
                   {&IID_IDirectDrawSurface, static_cast<IDirectDrawSurface*>(this)}});
}

HRESULT DirectDrawSurface::Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) {
    if (HRESULT answer = TakeAnswer(Call::Lock); answer != DD_OK) {
        return answer;
    }
    constexpr DWORD kLockFlags = DDLOCK_WAIT | DDLOCK_READONLY | DDLOCK_WRITEONLY | DDLOCK_NOSYSLOCK;
    if (desc == nullptr || !IsDescriptionSize(desc->dwSize) || event != nullptr ||
        (flags & ~kLockFlags) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_lost) {
        return DDERR_SURFACELOST;
    }
    if (Busy()) {
        return DDERR_SURFACEBUSY;
    }
    const RECT area = rect != nullptr ? *rect : Whole();
    if (rect != nullptr && (IsEmpty(area) || !Inside(area, Whole()))) {
        return DDERR_INVALIDRECT;
    }
    Describe(*desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    std::uint8_t* bits = Bits();
    desc->lpSurface = bits == nullptr
                          ? nullptr
                          : bits + static_cast<std::ptrdiff_t>(area.top) * m_pitch +
                                static_cast<std::ptrdiff_t>(RowBytes(area.left, m_format.dwRGBBitCount));
    m_locked = true;
    m_lockedReadOnly = (flags & DDLOCK_READONLY) != 0;
    m_lockedArea = area;
    return DD_OK;
}

HRESULT DirectDrawSurface::Unlock(const RECT* /*rect*/) {
    if (HRESULT answer = TakeAnswer(Call::Unlock); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (!m_locked) {
        return DDERR_NOTLOCKED;
    }
    m_locked = false;
    if (!m_lockedReadOnly) {
        Present(m_lockedArea);
    }
    return DD_OK;
}

HRESULT DirectDrawSurface::Blt(const RECT* destRect, IDirectDrawSurface4* source, const RECT* sourceRect,
                               DWORD flags, const DDBLTFX* fx) {
    if (HRESULT answer = TakeAnswer(Call::Blt); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    return BltLocked(destRect, source != nullptr ? From(source) : nullptr, sourceRect, flags, fx);
}

HRESULT DirectDrawSurface::BltLocked(const RECT* destRect, DirectDrawSurface* source, const RECT* sourceRect,
                                     DWORD flags, const DDBLTFX* fx) {
    constexpr DWORD kBltFlags = DDBLT_ASYNC | DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_ROP | DDBLT_WAIT;
    if ((flags & ~kBltFlags) != 0) {
        return DDERR_UNSUPPORTED;
    }
    const bool fill = (flags & DDBLT_COLORFILL) != 0;
    const bool rop = (flags & DDBLT_ROP) != 0;
    if ((fill || rop) && (fx == nullptr || fx->dwSize != sizeof(DDBLTFX))) {
        return DDERR_INVALIDPARAMS;
    }
    std::optional<RasterFunction> function;
    if (rop) {
        function = FunctionOfRasterOperation(fx->dwROP);
        if (!function.has_value()) {
            return DDERR_NORASTEROPHW;
        }
    }
    const bool fromSource = !fill && (!function.has_value() || function->UsesSource());
    if (fromSource && source == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    if (m_lost || (fromSource && source->m_lost)) {
        return DDERR_SURFACELOST;
    }
    if (Busy() || (fromSource && source->Busy())) {
        return DDERR_SURFACEBUSY;
    }
    if (destRect == nullptr && IsEmpty(Whole())) {
        return DD_OK;
    }
    const RECT destArea = destRect != nullptr ? *destRect : Whole();
    if (IsEmpty(destArea) || (m_clipper == nullptr && !Inside(destArea, Whole()))) {
        return DDERR_INVALIDRECT;
    }
    // A destination with a clipper is cut to itself.
    const RECT clip = Intersection(destArea, Whole());
    if (!fromSource) {
        if (!IsEmpty(clip)) {
            Fill(View(), clip, fill ? fx->dwFillColor : 0, function);
        }
    } else {
        // Pixels are copied as they are, never converted between layouts.
        if (!SameLayout(m_format, source->m_format)) {
            return DDERR_UNSUPPORTED;
        }
        const RECT sourceArea = sourceRect != nullptr ? *sourceRect : source->Whole();
        if (IsEmpty(sourceArea) || !Inside(sourceArea, source->Whole())) {
            return DDERR_INVALIDRECT;
        }
        std::optional<SourceKey> key;
        if ((flags & DDBLT_KEYSRC) != 0) {
            if (!source->m_hasKey) {
                return DDERR_COLORKEYNOTSET;
            }
            key = SourceKey{source->m_key.dwColorSpaceLowValue, source->m_key.dwColorSpaceHighValue};
        }
        if (!IsEmpty(clip)) {
            Copy(View(), destArea, clip, source->View(), sourceArea, key, function);
        }
    }
    if (!IsEmpty(clip)) {
        Present(clip);
    }
    return DD_OK;
}

HRESULT DirectDrawSurface::CheckFlip(IDirectDrawSurface4* target, std::size_t& steps) {
    if (m_chain == nullptr || m_chain->members.front() != this) {
        return DDERR_NOTFLIPPABLE;
    }
    if (m_lost) {
        return DDERR_SURFACELOST;
    }
    if (m_device->level != Device::Level::Exclusive || Display::Instance().Exclusive() != m_device.get()) {
        return DDERR_NOEXCLUSIVEMODE;
    }
    const auto& members = m_chain->members;
    steps = 1;
    if (target != nullptr) {
        auto found = std::find(members.begin() + 1, members.end(), From(target));
        if (found == members.end()) {
            return DDERR_INVALIDPARAMS;
        }
        steps = static_cast<std::size_t>(found - members.begin());
    }
    for (const DirectDrawSurface* member : members) {
        if (member->Busy()) {
            return DDERR_SURFACEBUSY;
        }
    }
    return DD_OK;
}

HRESULT DirectDrawSurface::Flip(IDirectDrawSurface4* target, DWORD flags) {
    if (HRESULT answer = TakeAnswer(Call::Flip); answer != DD_OK) {
        return answer;
    }
    if ((flags & ~(DDFLIP_WAIT | DDFLIP_NOVSYNC)) != 0) {
        return DDERR_INVALIDPARAMS;
    }
    std::unique_lock lock(Display::Instance().Lock());
    std::size_t steps = 0;
    if (HRESULT check = CheckFlip(target, steps); check != DD_OK) {
        return check;
    }
    if ((flags & DDFLIP_NOVSYNC) == 0) {
        lock.unlock();
        video::WaitForVerticalBlank(video::BlankWait::Begin);
        lock.lock();
        if (HRESULT check = CheckFlip(target, steps); check != DD_OK) {
            return check;
        }
    }
    auto& members = m_chain->members;
    std::vector<std::vector<std::uint8_t>> pictures;
    for (DirectDrawSurface* member : members) {
        pictures.push_back(std::move(member->m_memory));
    }
    std::rotate(pictures.begin(), pictures.begin() + static_cast<std::ptrdiff_t>(steps), pictures.end());
    for (std::size_t index = 0; index < members.size(); ++index) {
        members[index]->m_memory = std::move(pictures[index]);
    }
    Present(Whole());
    return DD_OK;
}

HRESULT DirectDrawSurface::GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** attached) {
    if (caps == nullptr || attached == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *attached = nullptr;
    if (HRESULT answer = TakeAnswer(Call::GetAttachedSurface); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_chain == nullptr) {
        return DDERR_NOTFOUND;
    }
    const auto& members = m_chain->members;
    auto self = std::find(members.begin(), members.end(), this);
    DirectDrawSurface* next = std::next(self) == members.end() ? members.front() : *std::next(self);
    if (next == this || (next->m_caps & caps->dwCaps) != caps->dwCaps) {
        return DDERR_NOTFOUND;
    }
    next->AddRef();
    *attached = next;
    return DD_OK;
}

HRESULT DirectDrawSurface::SetColorKey(DWORD flags, const DDCOLORKEY* key) {
    if (HRESULT answer = TakeAnswer(Call::SetColorKey); answer != DD_OK) {
        return answer;
    }
    if ((flags & DDCKEY_SRCBLT) == 0) {
        return DDERR_INVALIDPARAMS;
    }
    if ((flags & ~(DDCKEY_SRCBLT | DDCKEY_COLORSPACE)) != 0) {
        return DDERR_UNSUPPORTED;
    }
    std::lock_guard guard(Display::Instance().Lock());
    m_hasKey = key != nullptr;
    if (key != nullptr) {
        m_key.dwColorSpaceLowValue = key->dwColorSpaceLowValue;
        m_key.dwColorSpaceHighValue =
            (flags & DDCKEY_COLORSPACE) != 0 ? key->dwColorSpaceHighValue : key->dwColorSpaceLowValue;
    }
    return DD_OK;
}

HRESULT DirectDrawSurface::IsLost() {
    if (HRESULT answer = TakeAnswer(Call::IsLost); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    return m_lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT DirectDrawSurface::CheckRestore() const {
    Display& display = Display::Instance();
    if (m_exclusive &&
        (m_device->level != Device::Level::Exclusive || display.Exclusive() != m_device.get())) {
        return DDERR_NOEXCLUSIVEMODE;
    }
    if (m_displayFormat) {
        const DisplayMode now = display.Mode();
        const bool sameSize = now.width == m_madeIn.width && now.height == m_madeIn.height;
        if (!SameLayout(now.format, m_madeIn.format) || (m_exclusive && !sameSize)) {
            return DDERR_WRONGMODE;
        }
    }
    return DD_OK;
}

HRESULT DirectDrawSurface::Restore() {
    if (HRESULT answer = TakeAnswer(Call::Restore); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (!m_lost) {
        return DD_OK;
    }
    if (HRESULT check = CheckRestore(); check != DD_OK) {
        return check;
    }
    const std::vector<DirectDrawSurface*> members = ChainOrSelf();
    for (const DirectDrawSurface* member : members) {
        if (member->Busy()) {
            return DDERR_SURFACEBUSY;
        }
    }
    for (DirectDrawSurface* member : members) {
        std::fill(member->m_memory.begin(), member->m_memory.end(), std::uint8_t{0});
        member->m_lost = false;
    }
    members.front()->Present(members.front()->Whole());
    return DD_OK;
}

HRESULT DirectDrawSurface::GetSurfaceDesc(DDSURFACEDESC2* desc) {
    if (HRESULT answer = TakeAnswer(Call::GetSurfaceDesc); answer != DD_OK) {
        return answer;
    }
    if (desc == nullptr || !IsDescriptionSize(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    std::lock_guard guard(Display::Instance().Lock());
    Describe(*desc);
    return DD_OK;
}

HRESULT DirectDrawSurface::SetSurfaceDesc(const DDSURFACEDESC2* desc, DWORD flags) {
    if (HRESULT answer = TakeAnswer(Call::SetSurfaceDesc); answer != DD_OK) {
        return answer;
    }
    constexpr DWORD kSettable = DDSD_LPSURFACE | DDSD_PITCH | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    if (desc == nullptr || !IsDescriptionSize(desc->dwSize) || flags != 0 ||
        (desc->dwFlags & DDSD_LPSURFACE) == 0 || (desc->dwFlags & ~kSettable) != 0 ||
        desc->lpSurface == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_role != Role::OffScreen || (m_caps & DDSCAPS_VIDEOMEMORY) != 0) {
        return DDERR_INVALIDCAPS;
    }
    if (Busy()) {
        return DDERR_SURFACEBUSY;
    }
    const DWORD width = (desc->dwFlags & DDSD_WIDTH) != 0 ? desc->dwWidth : m_width;
    const DWORD height = (desc->dwFlags & DDSD_HEIGHT) != 0 ? desc->dwHeight : m_height;
    const bool newFormat = (desc->dwFlags & DDSD_PIXELFORMAT) != 0;
    if (newFormat) {
        if (HRESULT check = CheckPixelFormat(desc->ddpfPixelFormat); check != DD_OK) {
            return check;
        }
    }
    const DDPIXELFORMAT format = newFormat ? desc->ddpfPixelFormat : m_format;
    const std::int64_t pitch = (desc->dwFlags & DDSD_PITCH) != 0
                                   ? desc->lPitch
                                   : static_cast<std::int64_t>(OwnPitch(width, format.dwRGBBitCount));
    if (width == 0 || height == 0 ||
        static_cast<std::uint64_t>(std::abs(pitch)) < RowBytes(width, format.dwRGBBitCount) ||
        pitch > INT32_MAX) {
        return DDERR_INVALIDPARAMS;
    }
    m_width = width;
    m_height = height;
    m_format = format;
    m_displayFormat = m_displayFormat && !newFormat;
    m_pitch = static_cast<LONG>(pitch);
    m_callerMemory = true;
    m_callerBits = static_cast<std::uint8_t*>(desc->lpSurface);
    std::vector<std::uint8_t>().swap(m_memory);
    m_lost = false;
    return DD_OK;
}

HRESULT DirectDrawSurface::SetClipper(IDirectDrawClipper* clipper) {
    if (HRESULT answer = TakeAnswer(Call::SetClipper); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    auto* next = static_cast<DirectDrawClipper*>(clipper);
    if (next != m_clipper) {
        if (next != nullptr) {
            next->AddRef();
            next->Attach(this);
        }
        if (m_clipper != nullptr) {
            m_clipper->Detach(this);
            m_clipper->ReleaseLocked();
        }
        m_clipper = next;
    }
    FollowClipper();
    return DD_OK;
}

HRESULT DirectDrawSurface::GetDC(HDC* context) {
    if (context == nullptr) {
        return DDERR_INVALIDPARAMS;
    }
    *context = nullptr;
    if (HRESULT answer = TakeAnswer(Call::GetDC); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_lost) {
        return DDERR_SURFACELOST;
    }
    if (m_context != nullptr) {
        return DDERR_DCALREADYCREATED;
    }
    if (m_locked) {
        return DDERR_SURFACEBUSY;
    }
    if (Bits() == nullptr || m_width == 0 || m_height == 0) {
        return DDERR_CANTCREATEDC;
    }
    const DWORD bits = m_format.dwRGBBitCount;
    const bool indexed = (m_format.dwFlags & kIndexedFlags) != 0;
    win32::GdiBitmapTarget target{Bits(),
                                  m_pitch,
                                  m_width,
                                  m_height,
                                  bits,
                                  m_format.dwRBitMask,
                                  m_format.dwGBitMask,
                                  m_format.dwBBitMask,
                                  indexed ? IndexedPalette(bits) : nullptr,
                                  indexed ? 1u << bits : 0u};
    m_context = win32::CreateDCOverBitmap(target);
    if (m_context == nullptr) {
        return DDERR_CANTCREATEDC;
    }
    *context = m_context;
    return DD_OK;
}

HRESULT DirectDrawSurface::ReleaseDC(HDC context) {
    if (HRESULT answer = TakeAnswer(Call::ReleaseDC); answer != DD_OK) {
        return answer;
    }
    std::lock_guard guard(Display::Instance().Lock());
    if (m_context == nullptr) {
        return DDERR_NODC;
    }
    if (context != m_context) {
        return DDERR_INVALIDPARAMS;
    }
    win32::DestroyDCOverBitmap(m_context);
    m_context = nullptr;
    Present(Whole());
    return DD_OK;
}

} // namespace ddraw::detail
