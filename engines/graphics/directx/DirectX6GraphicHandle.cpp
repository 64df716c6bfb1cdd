#include "engines/graphics/directx/DirectX6GraphicHandle.h"

#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/directx/DirectDrawFormats.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/SurfaceBusyRetry.h"
#include "platform/win32/kernel/Thread.h"
#include "resources/error/Error.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace Vemo {

namespace {

using ddraw::DDBLTFX;
using ddraw::DDSURFACEDESC2;
using win32::HRESULT;

constexpr std::uint32_t kCopyMode = 3;
// No handle allocates more pixel memory than this.
constexpr std::uint64_t kMostOwnMemory = std::uint64_t{1} << 30;

// The raster operation of each blit and fill mode; 0 where DirectDraw has none and the software path draws.
constexpr win32::DWORD kRasterOperations[16] = {
    ddraw::BLACKNESS,
    ddraw::SRCAND,
    ddraw::SRCERASE,
    ddraw::SRCCOPY,
    0,
    0,
    ddraw::SRCINVERT,
    ddraw::SRCPAINT,
    ddraw::NOTSRCERASE,
    0,
    ddraw::DSTINVERT,
    0,
    ddraw::NOTSRCCOPY,
    ddraw::MERGEPAINT,
    0,
    ddraw::WHITENESS,
};

win32::DWORD RasterOperationOf(std::uint32_t mode) {
    return mode < 16 ? kRasterOperations[mode] : 0;
}

// What DirectDraw answers for work it cannot do in hardware; the software path does it instead.
bool IsNoHardwareAnswer(HRESULT result) {
    switch (result) {
    case ddraw::DDERR_NOALPHAHW:
    case ddraw::DDERR_NOBLTHW:
    case ddraw::DDERR_NODDROPSHW:
    case ddraw::DDERR_NOMIRRORHW:
    case ddraw::DDERR_NORASTEROPHW:
    case ddraw::DDERR_NOROTATIONHW:
    case ddraw::DDERR_NOSTRETCHHW:
    case ddraw::DDERR_NOZBUFFERHW:
    case ddraw::DDERR_UNSUPPORTED:
    case ddraw::DDERR_INVALIDPARAMS:
        return true;
    default:
        return false;
    }
}

enum class Blitted { Done, InSoftware, Failed };

// One call of DirectDraw's blitter under the retry rule; a failure other than the no-hardware answers is
// reported.
template <class Call>
Blitted CallBlitter(Call call) {
    const HRESULT result = RetryWhileBusy(call);
    if (win32::SUCCEEDED(result)) {
        return Blitted::Done;
    }
    if (IsNoHardwareAnswer(result)) {
        return Blitted::InSoftware;
    }
    DirectXGraphicEngine::ReportDirectDrawFailure(result);
    return Blitted::Failed;
}

DDBLTFX Effects(win32::DWORD rasterOperation, win32::DWORD fillColor) {
    DDBLTFX effects{};
    effects.dwSize = sizeof(DDBLTFX);
    effects.dwROP = rasterOperation;
    effects.dwFillColor = fillColor;
    return effects;
}

win32::RECT Moved(const Rect& rect, const Point& by) {
    return win32::RECT{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

} // namespace

DirectX6GraphicHandle::DirectX6GraphicHandle(DirectX6GraphicEngine* engine)
    : DirectXGraphicHandle(engine), m_engine(engine) {}

DirectX6GraphicHandle::~DirectX6GraphicHandle() = default;

bool DirectX6GraphicHandle::IsAvailable() {
    return m_surface != nullptr && !IsLost();
}

bool DirectX6GraphicHandle::SetClipRect(const Rect& rect) {
    GraphicHandle::SetClipRect(rect);
    KeepClipInSurface();
    return !m_clipRect.IsEmpty();
}

bool DirectX6GraphicHandle::SetColorKeyPixel(std::uint32_t pixel) {
    m_colorKeyPixel = pixel;
    return m_surface == nullptr || ApplyColorKey();
}

bool DirectX6GraphicHandle::HasBlitter() {
    return true;
}

bool DirectX6GraphicHandle::Clear() {
    if (m_readOnly) {
        return false;
    }
    m_clipRect.Set(0, 0, m_width, m_height);
    KeepClipInSurface();
    return ClearImpl();
}

bool DirectX6GraphicHandle::SetPaletteEntryImpl(PixelValue color, std::uint32_t index) {
    const std::uint32_t entry = index & 0xFF;
    if (entry >= m_palette.size() || entry >= m_pixelFormat.colorCount) {
        return false;
    }
    m_palette[entry] = color;
    return true;
}

PixelValue DirectX6GraphicHandle::GetPaletteEntryImpl(std::uint32_t index) {
    const std::uint32_t entry = index & 0xFF;
    if (entry >= m_palette.size() || entry >= m_pixelFormat.colorCount) {
        return PixelValue();
    }
    return m_palette[entry];
}

bool DirectX6GraphicHandle::Lock() {
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return false;
    }
    m_lock.Enter();
    if (++m_lockCount > 1) {
        return true;
    }
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    const HRESULT result = RetryWhileBusy([&] {
        return m_surface->Lock(nullptr, &description, ddraw::DDLOCK_WAIT | ddraw::DDLOCK_NOSYSLOCK, nullptr);
    });
    if (win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        --m_lockCount;
        m_ownerThread = 0;
        m_lock.Leave();
        return false;
    }
    m_ownerThread = win32::GetCurrentThreadId();
    m_surfaceSize =
        Size(static_cast<std::int32_t>(description.dwWidth), static_cast<std::int32_t>(description.dwHeight));
    if (!m_fixedMemory) {
        auto* bits = static_cast<std::uint8_t*>(description.lpSurface);
        m_pitch = description.lPitch;
        m_pixels = nullptr;
        if (bits != nullptr) {
            std::uint32_t x = static_cast<std::uint32_t>(m_origin.x);
            const std::uint32_t offset = ByteOffsetFromPixel(x, m_pixelFormat.depth);
            m_pixels = bits + static_cast<std::ptrdiff_t>(m_origin.y) * m_pitch + offset;
        }
    }
    KeepClipInSurface();
    return true;
}

bool DirectX6GraphicHandle::Unlock() {
    if (m_lockCount == 0) {
        RaiseError(GraphicSystemErrNoPixelMemory);
        return false;
    }
    if (m_ownerThread != win32::GetCurrentThreadId()) {
        return false;
    }
    if (--m_lockCount > 0) {
        m_lock.Leave();
        return true;
    }
    if (!m_fixedMemory) {
        m_pitch = 0;
        m_pixels = nullptr;
    }
    bool unlocked = false;
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
    } else if (const HRESULT result = m_surface->Unlock(nullptr); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
    } else {
        unlocked = true;
    }
    m_ownerThread = 0;
    m_lock.Leave();
    return unlocked;
}

bool DirectX6GraphicHandle::IsLocked() {
    return m_lockCount != 0;
}

bool DirectX6GraphicHandle::IsLost() {
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return true;
    }
    return !m_fixedMemory && m_surface->IsLost() == ddraw::DDERR_SURFACELOST;
}

bool DirectX6GraphicHandle::Restore() {
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return false;
    }
    if (m_fixedMemory || !IsLost()) {
        return true;
    }
    const HRESULT result = m_surface->Restore();
    if (result == ddraw::DDERR_WRONGMODE || result == ddraw::DDERR_NOEXCLUSIVEMODE) {
        // The display mode changed under the surface: it is made again as it was.
        DDSURFACEDESC2 description = EmptySurfaceDescription();
        ddraw::IDirectDraw4* directDraw = m_engine->GetDirectDraw();
        if (directDraw == nullptr || !m_engine->FillSurfaceDescription(description, *this)) {
            return false;
        }
        ddraw::IDirectDrawSurface4* made = nullptr;
        if (const HRESULT created = directDraw->CreateSurface(&description, &made, nullptr);
            win32::FAILED(created)) {
            DirectXGraphicEngine::ReportDirectDrawFailure(created);
            return false;
        }
        ReleaseSurface();
        m_surface = made;
        if (!ReadSurfaceFormat()) {
            return false;
        }
    } else if (win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    RestoredGraphicEvent restored;
    NotifyGraphics(restored);
    if (!restored.m_handled) {
        const Rect clip = m_clipRect;
        Clear();
        SetClipRect(clip);
    }
    return true;
}

template <class Software>
bool DirectX6GraphicHandle::BlitThrough(GraphicHandle* source, const Rect& to, const Rect& of,
                                        std::uint32_t mode, bool scaled, Software software) {
    auto* from = dynamic_cast<DirectX6GraphicHandle*>(source);
    const win32::DWORD rasterOperation = RasterOperationOf(mode);
    if ((scaled && m_blitMode != 1 && m_blitMode != 2) || rasterOperation == 0 || from == nullptr) {
        return software();
    }
    if (m_surface == nullptr) {
        Error().Report(GraphicSystemErrNoSurface, String("Destination"));
        return false;
    }
    if (from->m_surface == nullptr) {
        Error().Report(GraphicSystemErrNoSurface, String("Source"));
        return false;
    }
    if (IsLost() || from->IsLost()) {
        return false;
    }
    if ((scaled && m_blitMode != 1) || HeldByCallingThread() || from->HeldByCallingThread() ||
        m_pixelFormat.format != from->m_pixelFormat.format) {
        return software();
    }
    const win32::RECT target = Moved(to, m_origin);
    const win32::RECT origin = Moved(of, from->m_origin);
    win32::DWORD flags = ddraw::DDBLT_WAIT | ddraw::DDBLT_ASYNC;
    flags |= from->m_colorKeyEnabled ? ddraw::DDBLT_KEYSRC : 0;
    flags |= mode != kCopyMode ? ddraw::DDBLT_ROP : 0;
    const DDBLTFX effects = Effects(rasterOperation, 0);
    switch (CallBlitter([&] { return m_surface->Blt(&target, from->m_surface, &origin, flags, &effects); })) {
    case Blitted::Done:
        return true;
    case Blitted::InSoftware:
        return software();
    case Blitted::Failed:
        break;
    }
    return false;
}

bool DirectX6GraphicHandle::BlitImpl(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                                     std::uint32_t mode) {
    return BlitThrough(source, destination, sourceRect, mode, true,
                       [&] { return GraphicHandle::BlitImpl(destination, source, sourceRect, mode); });
}

bool DirectX6GraphicHandle::BlitRectImpl(const Point& destination, GraphicHandle* source,
                                         const Rect& sourceRect, std::uint32_t mode) {
    Point at = destination;
    Rect cut = sourceRect;
    if (!CutToSourceSurface(source, at, cut)) {
        return true;
    }
    const Rect to(at, Size(cut.right - cut.left, cut.bottom - cut.top));
    return BlitThrough(source, to, cut, mode, false,
                       [&] { return GraphicHandle::BlitRectImpl(at, source, cut, mode); });
}

bool DirectX6GraphicHandle::ClearImpl() {
    if (m_width == 0 || m_height == 0) {
        return true;
    }
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return false;
    }
    if (IsLost()) {
        return false;
    }
    if (HeldByCallingThread()) {
        return GraphicHandle::ClearImpl();
    }
    const win32::RECT area = Moved(Rect(0, 0, m_width, m_height), m_origin);
    const DDBLTFX effects = Effects(0, 0);
    switch (CallBlitter([&] {
        return m_surface->Blt(&area, nullptr, nullptr, ddraw::DDBLT_WAIT | ddraw::DDBLT_COLORFILL, &effects);
    })) {
    case Blitted::Done:
        return true;
    case Blitted::InSoftware:
        return GraphicHandle::ClearImpl();
    case Blitted::Failed:
        break;
    }
    return false;
}

bool DirectX6GraphicHandle::FillRectImpl(const Rect& rect, std::uint32_t pixel, bool filled,
                                         std::uint32_t mode) {
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return false;
    }
    if (IsLost()) {
        return false;
    }
    const win32::DWORD rasterOperation = RasterOperationOf(mode);
    if (rasterOperation == 0 || !filled || HeldByCallingThread()) {
        return GraphicHandle::FillRectImpl(rect, pixel, filled, mode);
    }
    Rect cut;
    rect.Intersect(cut, m_clipRect);
    if (cut.IsEmpty()) {
        return false;
    }
    const win32::RECT area = Moved(cut, m_origin);
    win32::DWORD flags = ddraw::DDBLT_WAIT | ddraw::DDBLT_COLORFILL | ddraw::DDBLT_ASYNC;
    flags |= mode != kCopyMode ? ddraw::DDBLT_ROP : 0;
    const DDBLTFX effects = Effects(rasterOperation, pixel);
    switch (CallBlitter([&] { return m_surface->Blt(&area, nullptr, nullptr, flags, &effects); })) {
    case Blitted::Done:
        return true;
    case Blitted::InSoftware:
        return GraphicHandle::FillRectImpl(rect, pixel, filled, mode);
    case Blitted::Failed:
        break;
    }
    return false;
}

ddraw::IDirectDrawSurface4* DirectX6GraphicHandle::GetSurface() {
    return m_surface;
}

bool DirectX6GraphicHandle::BlitsInHardware() {
    return true;
}

bool DirectX6GraphicHandle::ReadSurfaceFormat() {
    return ReadFormatFromSurface() && ApplyColorKey();
}

void DirectX6GraphicHandle::SetOrigin(const Point& origin) {
    m_origin = origin;
    KeepClipInSurface();
}

void DirectX6GraphicHandle::ReleaseSurface() {
    ReleaseInterface(m_surface);
}

bool DirectX6GraphicHandle::HeldByCallingThread() const {
    return m_lockCount != 0 && m_ownerThread == win32::GetCurrentThreadId();
}

Rect DirectX6GraphicHandle::SurfaceArea() const {
    Rect area(Clamped(-std::int64_t{m_origin.x}), Clamped(-std::int64_t{m_origin.y}),
              Clamped(std::int64_t{m_surfaceSize.width} - m_origin.x),
              Clamped(std::int64_t{m_surfaceSize.height} - m_origin.y));
    Rect inside;
    area.Intersect(inside, Rect(0, 0, m_width, m_height));
    return inside;
}

void DirectX6GraphicHandle::KeepClipInSurface() {
    if (m_surface != nullptr) {
        m_clipRect.Intersect(m_clipRect, SurfaceArea());
    }
}

bool DirectX6GraphicHandle::CutToSourceSurface(GraphicHandle* source, Point& destination, Rect& sourceRect) {
    auto* from = dynamic_cast<DirectX6GraphicHandle*>(source);
    if (from == nullptr || from->m_surface == nullptr) {
        return true;
    }
    Rect cut;
    sourceRect.Intersect(cut, from->SurfaceArea());
    if (cut.IsEmpty()) {
        return false;
    }
    destination.x += cut.left - sourceRect.left;
    destination.y += cut.top - sourceRect.top;
    sourceRect = cut;
    return true;
}

bool DirectX6GraphicHandle::ReadFormatFromSurface() {
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    if (const HRESULT result = m_surface->GetSurfaceDesc(&description); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    const win32::DWORD caps = description.ddsCaps.dwCaps;
    if ((caps & ddraw::DDSCAPS_VIDEOMEMORY) == 0) {
        m_placement = 3;
    } else {
        m_placement = (caps & ddraw::DDSCAPS_LOCALVIDMEM) != 0 ? 1 : 2;
    }
    const ddraw::DDPIXELFORMAT& format = description.ddpfPixelFormat;
    if ((format.dwFlags & (kIndexedPixelFlags | ddraw::DDPF_RGB | ddraw::DDPF_YUV)) == 0) {
        return false;
    }
    m_pixelFormat = FormatOf(format);
    m_surfaceSize =
        Size(static_cast<std::int32_t>(description.dwWidth), static_cast<std::int32_t>(description.dwHeight));
    KeepClipInSurface();
    return true;
}

bool DirectX6GraphicHandle::ApplyColorKey() {
    const ddraw::DDCOLORKEY key{m_colorKeyPixel, m_colorKeyPixel};
    if (const HRESULT result = m_surface->SetColorKey(ddraw::DDCKEY_SRCBLT, &key); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    return true;
}

bool DirectX6GraphicHandle::AllocateMemory(std::int32_t pitch) {
    const std::uint64_t rowBytes = static_cast<std::uint64_t>(std::llabs(pitch));
    const std::uint64_t bytes = rowBytes * static_cast<std::uint64_t>(std::max(m_height, 0));
    if (bytes > kMostOwnMemory) {
        return false;
    }
    m_ownMemory.reset(new (std::nothrow) std::uint8_t[bytes]());
    if (m_ownMemory == nullptr) {
        return false;
    }
    std::uint8_t* first = m_ownMemory.get();
    if (pitch < 0 && m_height > 0) {
        first += rowBytes * static_cast<std::uint64_t>(m_height - 1);
    }
    UseCallerMemory(first, pitch);
    m_ownsMemory = true;
    return true;
}

void DirectX6GraphicHandle::UseCallerMemory(void* memory, std::int32_t pitch) {
    m_pixels = static_cast<std::uint8_t*>(memory);
    m_pitch = pitch;
    m_fixedMemory = true;
    m_ownsMemory = false;
}

void DirectX6GraphicHandle::MakePalette() {
    m_palette.assign(std::min<std::uint32_t>(m_pixelFormat.colorCount, 256), PixelValue());
}

} // namespace Vemo
