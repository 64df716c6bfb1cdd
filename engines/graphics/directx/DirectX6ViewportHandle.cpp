#include "engines/graphics/directx/DirectX6ViewportHandle.h"

#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportEvent.h"
#include "engines/graphics/directx/DirectDrawFormats.h"
#include "engines/graphics/directx/DirectX6GraphicEngine.h"
#include "engines/graphics/directx/DirectX6ViewportEventHandler.h"
#include "engines/graphics/directx/DirectX6ViewportGraphicHandle.h"
#include "engines/graphics/directx/DirectXErrorCodes.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/graphics/directx/MyViewportDisplayModes.h"
#include "engines/graphics/directx/SurfaceBusyRetry.h"
#include "engines/image/effects/CrossFadeEffect.h"
#include "platform/quicktime/QuickTime.h"
#include "platform/win32/windows/Window.h"
#include "resources/ResourceSystem.h"
#include "resources/error/Error.h"
#include "resources/hooks/QuickTimeHookPointer.h"
#include "resources/hooks/Win32Wrappers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace Vemo {

namespace {

using ddraw::DDSURFACEDESC2;
using win32::HRESULT;

constexpr win32::DWORD kBorderedStyle = 0x06880000;
constexpr win32::DWORD kPopupStyle = 0x86080000;
constexpr win32::DWORD kCaptionStyle = 0x00C00000;
constexpr win32::DWORD kSizingFrameStyle = 0x00840000;
constexpr win32::DWORD kFullscreenStyle = win32::WS_CLIPSIBLINGS | win32::WS_CLIPCHILDREN;
constexpr win32::DWORD kExclusiveLevel =
    ddraw::DDSCL_FULLSCREEN | ddraw::DDSCL_ALLOWREBOOT | ddraw::DDSCL_EXCLUSIVE;
constexpr std::uint32_t kPresentCopy = 2;
constexpr std::uint32_t kPresentFlip = 3;
constexpr std::uint32_t kCopyMode = 3;
constexpr win32::UINT kDrawFormat = win32::DT_WORDBREAK | win32::DT_NOPREFIX | win32::DT_EDITCONTROL;
constexpr win32::UINT kMeasureFormat = win32::DT_CALCRECT | win32::DT_NOPREFIX | win32::DT_EDITCONTROL;
constexpr win32::WPARAM kSizeMaxShow = 3;
constexpr std::int32_t kQuickTimePortFlags = 2;
constexpr std::uint32_t kNotFound = 0xFFFFFFFF;

win32::DWORD StyleOf(const ViewportDescription& description) {
    win32::DWORD style = description.bordered ? kBorderedStyle : kPopupStyle;
    style |= description.caption ? kCaptionStyle : 0;
    style |= description.sizingFrame ? kSizingFrameStyle : 0;
    return style;
}

String Decimal(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    return String(text);
}

void ReportAt(ErrorCode code, std::uint64_t index) {
    Error().Report(code, Decimal(index));
}

std::int32_t Clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// Lets the window system's queue be seen after a change of the display, without taking anything from it.
void LookAtMessages() {
    win32::MSG message;
    Win32PeekMessage(&message, nullptr, 0, 0, win32::PM_NOREMOVE);
}

// The bytes of the substring that start and count name, cut to the text.
struct Characters {
    const char* text = nullptr;
    int count = 0;
};

Characters Substring(const String& text, std::uint32_t start, std::uint32_t count) {
    const std::uint32_t length = text.Length();
    const std::uint32_t from = std::min(start, length);
    const std::uint32_t taken = std::min({count, length - from, static_cast<std::uint32_t>(INT32_MAX)});
    return Characters{text.CStr() + from, static_cast<int>(taken)};
}

// The rectangle's width and height, each held to the 32-bit range.
Size SizeOf(const Rect& rect) {
    return Size(Clamped(std::int64_t{rect.right} - rect.left), Clamped(std::int64_t{rect.bottom} - rect.top));
}

win32::RECT ToRect(const Rect& rect) {
    return win32::RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// Where text of the measured size stands in the rectangle, and the DrawTextA flag of its horizontal
// alignment; every alignment above the named ones centres (halves rounded toward zero).
win32::RECT AlignedArea(const Rect& rect, const Size& measured, GraphicSystem::VerticalAlignment vertical,
                        GraphicSystem::HorizontalAlignment horizontal, win32::UINT& alignment) {
    win32::RECT area{};
    switch (horizontal) {
    case GraphicSystem::HorizontalAlignment::Left:
        area.left = rect.left;
        alignment = win32::DT_LEFT;
        break;
    case GraphicSystem::HorizontalAlignment::Right:
        area.left = Clamped(std::int64_t{rect.right} - measured.width);
        alignment = win32::DT_RIGHT;
        break;
    default:
        area.left = Clamped(rect.left + (std::int64_t{rect.right} - rect.left - measured.width) / 2);
        alignment = win32::DT_CENTER;
        break;
    }
    switch (vertical) {
    case GraphicSystem::VerticalAlignment::Top:
        area.top = rect.top;
        break;
    case GraphicSystem::VerticalAlignment::Bottom:
        area.top = Clamped(std::int64_t{rect.bottom} - measured.height);
        break;
    default:
        area.top = Clamped(rect.top + (std::int64_t{rect.bottom} - rect.top - measured.height) / 2);
        break;
    }
    area.right = Clamped(std::int64_t{area.left} + measured.width);
    area.bottom = Clamped(std::int64_t{area.top} + measured.height);
    return area;
}

} // namespace

struct DirectX6ViewportHandle::TextSetup {
    win32::HDC context = nullptr;
    win32::HDC screen = nullptr;
    win32::HGDIOBJ screenFont = nullptr;
    win32::HGDIOBJ font = nullptr;
    win32::HRGN savedClip = nullptr;
    bool hadClip = false;
    win32::HRGN clip = nullptr;
};

DirectX6ViewportHandle::DirectX6ViewportHandle(DirectX6GraphicEngine* engine)
    : DirectXViewportHandle(engine), m_engine(engine) {}

DirectX6ViewportHandle::~DirectX6ViewportHandle() {
    *m_alive = false;
    // Buffers that are still listed (shutdown has closed the others) forget this handle.
    for (DirectX6ViewportGraphicHandle* buffer : m_buffers) {
        if (buffer != nullptr) {
            buffer->m_viewport = nullptr;
        }
    }
    DirectX6ViewportEventHandler* own = m_ownHandler;
    m_ownHandler = nullptr;
    delete own;
}

// --- Opening ---

bool DirectX6ViewportHandle::OpenWindow(const ViewportDescription& description) {
    ViewportDescription wanted = description;
    if (m_directDraw4 == nullptr && m_window != nullptr) {
        ReleaseWindow(nullptr);
    }
    bool readMode = true;
    if (wanted.fullscreen) {
        wanted.position = Point(0, 0);
        wanted.positionIsClient = true;
        wanted.sizeIsClient = true;
        wanted.bordered = false;
        wanted.caption = false;
        wanted.sizingFrame = false;
        readMode = wanted.depth == 0 || wanted.colorTag == 0;
    } else {
        wanted.depth = 0;
    }
    if (readMode && !TakeDisplayMode(wanted)) {
        return false;
    }
    if (!(wanted.positionIsClient && wanted.sizeIsClient) && !ToClientArea(wanted)) {
        return false;
    }
    if (wanted.size.width < 0 || wanted.size.height < 0 || wanted.colorTag != 1 ||
        (wanted.backBufferCount == 0 && wanted.flip)) {
        return false;
    }
    if (wanted.fullscreen && !DisplayModeExists(wanted)) {
        return false;
    }
    const ViewportDescription old = m_description;
    if (wanted.flip != m_description.flip && wanted.flip) {
        ReleaseSurfaces();
    }
    m_description.flip = wanted.flip;
    m_description.presentMode = wanted.presentMode;
    if (!MakeBuffers(wanted.backBufferCount)) {
        return false;
    }
    if (!(wanted.fullscreen ? OpenFullscreen(wanted, old) : OpenWindowed(wanted))) {
        return false;
    }
    if (m_primary == nullptr && !CreateSurfaces()) {
        return false;
    }
    m_description.waitForVerticalBlank = wanted.waitForVerticalBlank;
    ViewportStyleChangedEvent changed;
    DispatchEvent(changed);
    return true;
}

bool DirectX6ViewportHandle::TakeDisplayMode(ViewportDescription& wanted) {
    ddraw::IDirectDraw4* directDraw = m_directDraw4 != nullptr ? m_directDraw4 : m_engine->GetDirectDraw();
    if (directDraw == nullptr) {
        return false;
    }
    DDSURFACEDESC2 mode = EmptySurfaceDescription();
    mode.ddpfPixelFormat.dwSize = sizeof(ddraw::DDPIXELFORMAT);
    if (const HRESULT result = directDraw->GetDisplayMode(&mode); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    if (wanted.depth == 0) {
        wanted.depth = DepthFromBitsPerPixel(mode.ddpfPixelFormat.dwRGBBitCount);
        if (wanted.depth == 0) {
            return false;
        }
    }
    if (wanted.colorTag == 0) {
        if ((mode.ddpfPixelFormat.dwFlags & ddraw::DDPF_RGB) == 0) {
            return false;
        }
        wanted.colorTag = 1;
    }
    return true;
}

bool DirectX6ViewportHandle::ToClientArea(ViewportDescription& wanted) {
    win32::RECT frame{0, 0, wanted.size.width, wanted.size.height};
    if (!win32::AdjustWindowRectEx(&frame, StyleOf(wanted), win32::FALSE, 0)) {
        return false;
    }
    if (!wanted.positionIsClient) {
        wanted.position.x = Clamped(std::int64_t{wanted.position.x} - frame.left);
        wanted.position.y = Clamped(std::int64_t{wanted.position.y} - frame.top);
        wanted.positionIsClient = true;
    }
    if (!wanted.sizeIsClient) {
        wanted.size.width = Clamped(2 * std::int64_t{wanted.size.width} - frame.right + frame.left);
        wanted.size.height = Clamped(2 * std::int64_t{wanted.size.height} - frame.bottom + frame.top);
        wanted.sizeIsClient = true;
    }
    return true;
}

bool DirectX6ViewportHandle::DisplayModeExists(const ViewportDescription& wanted) {
    MyViewportDisplayModes modes(wanted.size, wanted.depth, 1);
    if (!EnumDisplayModes(modes, 0)) {
        return false;
    }
    if (!modes.IsFound()) {
        RaiseError(GraphicSystemErrModeNotAvailable);
        return false;
    }
    return true;
}

bool DirectX6ViewportHandle::MakeBuffers(std::uint32_t backBufferCount) {
    const std::uint64_t count = std::uint64_t{backBufferCount} + 1;
    if (count == m_buffers.Size()) {
        return true;
    }
    m_description.backBufferCount = backBufferCount;
    if (!m_buffers.Empty()) {
        ReleaseSurfaces();
        CloseBuffers();
    }
    m_buffers.Insert(m_buffers.End(), count, nullptr);
    m_logicalBuffers.Insert(m_logicalBuffers.End(), count, nullptr);
    ResourceSystem* system = GetEngine()->GetSystem();
    const std::uint32_t engineId = GetEngine()->GetTypeId();
    for (std::uint64_t index = 0; index < count; ++index) {
        const auto bufferIndex = static_cast<std::uint32_t>(index);
        GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
        criterion.SetWantedEngineId(&engineId);
        criterion.m_viewportHandle = this;
        criterion.m_bufferIndex = &bufferIndex;
        if (system == nullptr || system->Open(&criterion, nullptr) == nullptr) {
            String text = Decimal(index);
            text.Append(":").Append(Decimal(count));
            Error().Report(GraphicSystemErrBufferOpenFailed, text);
            return false;
        }
    }
    return true;
}

void DirectX6ViewportHandle::CloseBuffers() {
    ResourceSystem* system = GetEngine()->GetSystem();
    for (std::size_t index = m_buffers.Size(); index-- > 0;) {
        DirectX6ViewportGraphicHandle* buffer = m_buffers[index];
        if (buffer == nullptr) {
            continue;
        }
        buffer->m_viewport = nullptr;
        std::replace(m_buffers.begin(), m_buffers.end(), buffer,
                     static_cast<DirectX6ViewportGraphicHandle*>(nullptr));
        std::replace(m_logicalBuffers.begin(), m_logicalBuffers.end(), buffer,
                     static_cast<DirectX6ViewportGraphicHandle*>(nullptr));
        if (system != nullptr) {
            system->Close(buffer, nullptr);
        }
    }
    m_buffers.Clear();
    m_logicalBuffers.Clear();
}

bool DirectX6ViewportHandle::OpenFullscreen(const ViewportDescription& wanted,
                                            const ViewportDescription& old) {
    const bool sameMode = m_description.fullscreen && m_description.size.width == wanted.size.width &&
                          m_description.size.height == wanted.size.height &&
                          m_description.depth == wanted.depth && m_description.colorTag == wanted.colorTag;
    // A mode whose setting failed was never set: only a mode in force lets the switch be skipped.
    if (!sameMode || !m_displayModeChanged) {
        m_description.position = wanted.position;
        m_description.positionIsClient = wanted.positionIsClient;
        m_description.size = wanted.size;
        m_description.sizeIsClient = wanted.sizeIsClient;
        m_description.fullscreen = wanted.fullscreen;
        m_description.bordered = wanted.bordered;
        m_description.caption = wanted.caption;
        m_description.sizingFrame = wanted.sizingFrame;
        m_description.depth = wanted.depth;
        m_description.colorTag = wanted.colorTag;
        ReleaseSurfaces();
        if (!m_exclusive && !TakeMainWindow(old)) {
            return false;
        }
        if (!SetDisplayMode(static_cast<win32::DWORD>(wanted.size.width),
                            static_cast<win32::DWORD>(wanted.size.height),
                            BitsPerPixelFromDepth(wanted.depth), 0, 0)) {
            return false;
        }
    }
    return SetTitle(wanted.title);
}

bool DirectX6ViewportHandle::TakeMainWindow(const ViewportDescription& old) {
    ReleaseDirectDraw();
    DirectXWindow* main = m_engine->GetMainWindow();
    // Checked before the viewport lets its own window go, so that a refusal leaves it as it was.
    if (main == nullptr || m_engine->IsMainWindowInUse() || main->GetWindowHandle() == nullptr) {
        return false;
    }
    DirectXWindow* previous = m_window;
    DetachWindow(previous);
    m_engine->SetMainWindowInUse(true);
    m_window = main;
    const win32::HWND native = main->GetWindowHandle();
    win32::SetWindowLongA(native, win32::GWL_EXSTYLE, win32::WS_EX_TOPMOST);
    win32::SetWindowLongA(native, win32::GWL_STYLE, kFullscreenStyle);
    win32::SetWindowPos(native, win32::HWND_TOPMOST, old.position.x, old.position.y, old.size.width,
                        old.size.height, win32::SWP_FRAMECHANGED);
    win32::ShowWindow(native, win32::SW_SHOW);
    win32::UpdateWindow(native);
    AttachWindow(main);
    if (previous != nullptr) {
        ReleaseWindow(previous);
    }
    if (!CreateDirectDraw() || !SetCooperativeLevel(kExclusiveLevel)) {
        DetachWindow(main);
        m_window = nullptr;
        m_engine->SetMainWindowInUse(false);
        return false;
    }
    return true;
}

bool DirectX6ViewportHandle::OpenWindowed(const ViewportDescription& wanted) {
    m_description.fullscreen = false;
    if (m_displayModeChanged) {
        CopyWindowFields(wanted);
        return RestoreMode(true);
    }
    if (m_window == nullptr && m_directDraw4 == nullptr) {
        CopyWindowFields(wanted);
        m_window = CreateWindow(true);
        if (m_window == nullptr || !CreateDirectDraw()) {
            return false;
        }
        const win32::HWND native = NativeWindow();
        win32::ShowWindow(native, win32::SW_SHOW);
        win32::UpdateWindow(native);
        win32::SetForegroundWindow(native);
        return true;
    }
    return ChangeWindow(wanted);
}

bool DirectX6ViewportHandle::ChangeWindow(const ViewportDescription& wanted) {
    const win32::HWND native = NativeWindow();
    if (native == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoNativeWindow);
        return false;
    }
    ViewportDescription& current = m_description;
    if (current.bordered != wanted.bordered || current.caption != wanted.caption ||
        current.sizingFrame != wanted.sizingFrame) {
        current.bordered = wanted.bordered;
        current.caption = wanted.caption;
        current.sizingFrame = wanted.sizingFrame;
        const auto visible =
            static_cast<win32::DWORD>(win32::GetWindowLongA(native, win32::GWL_STYLE)) & win32::WS_VISIBLE;
        win32::SetWindowLongA(native, win32::GWL_STYLE, visible | StyleOf(current));
    }
    const bool moved = !(current.position == wanted.position);
    const bool resized = current.size.width != wanted.size.width || current.size.height != wanted.size.height;
    if (moved || resized) {
        current.position = wanted.position;
        current.positionIsClient = wanted.positionIsClient;
        if (resized) {
            current.size = wanted.size;
            current.sizeIsClient = wanted.sizeIsClient;
            ReleaseSurfaces();
        }
        win32::RECT outer{current.position.x, current.position.y,
                          Clamped(std::int64_t{current.position.x} + current.size.width),
                          Clamped(std::int64_t{current.position.y} + current.size.height)};
        win32::AdjustWindowRectEx(
            &outer, static_cast<win32::DWORD>(win32::GetWindowLongA(native, win32::GWL_STYLE)),
            win32::GetMenu(native) != nullptr ? win32::TRUE : win32::FALSE,
            static_cast<win32::DWORD>(win32::GetWindowLongA(native, win32::GWL_EXSTYLE)));
        if (!win32::MoveWindow(native, outer.left, outer.top, outer.right - outer.left,
                               outer.bottom - outer.top, win32::TRUE)) {
            return false;
        }
        // Made once the window has its new size: a primary takes its window's client size when it is bound.
        if (resized && !CreateSurfaces()) {
            return false;
        }
    }
    return SetTitle(wanted.title);
}

bool DirectX6ViewportHandle::SetTitle(const String& title) {
    m_description.title = title;
    const win32::HWND native = NativeWindow();
    return native != nullptr && Win32SetWindowText(native, title);
}

void DirectX6ViewportHandle::CopyWindowFields(const ViewportDescription& wanted) {
    m_description.title = wanted.title;
    m_description.position = wanted.position;
    m_description.positionIsClient = wanted.positionIsClient;
    m_description.size = wanted.size;
    m_description.sizeIsClient = wanted.sizeIsClient;
    m_description.bordered = wanted.bordered;
    m_description.caption = wanted.caption;
    m_description.sizingFrame = wanted.sizingFrame;
}

// --- DirectDraw objects and the display ---

bool DirectX6ViewportHandle::CreateDirectDraw() {
    if (m_directDraw4 != nullptr) {
        return true;
    }
    DirectXWindow* main = m_engine->GetMainWindow();
    if (main == nullptr) {
        return false;
    }
    if (main->GetWindowHandle() == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoNativeWindow);
        return false;
    }
    if (const HRESULT result = ddraw::DirectDrawCreate(nullptr, &m_directDraw, nullptr);
        win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCreate);
        m_directDraw = nullptr;
        return false;
    }
    if (const HRESULT result =
            m_directDraw->QueryInterface(ddraw::IID_IDirectDraw4, reinterpret_cast<void**>(&m_directDraw4));
        win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        Error().Report(DirectXGraphicEngineErrInterface, String("IDirectDraw4"));
        m_directDraw4 = nullptr;
        m_directDraw->Release();
        m_directDraw = nullptr;
        return false;
    }
    return SetCooperativeLevel(ddraw::DDSCL_NORMAL);
}

void DirectX6ViewportHandle::ReleaseDirectDraw() {
    ReleaseInterface(m_directDraw4);
    ReleaseInterface(m_directDraw);
}

bool DirectX6ViewportHandle::SetCooperativeLevel(win32::DWORD flags) {
    if (m_window == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoWindow);
        return false;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    DirectXWindow* main = m_engine->GetMainWindow();
    if (main == nullptr) {
        return false;
    }
    const win32::HWND native = main->GetWindowHandle();
    if (native == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoNativeWindow);
        return false;
    }
    constexpr win32::DWORD kExclusiveFlags = ddraw::DDSCL_FULLSCREEN | ddraw::DDSCL_EXCLUSIVE;
    flags = (flags & ddraw::DDSCL_NORMAL) != 0 ? flags & ~kExclusiveFlags : flags | kExclusiveFlags;
    m_exclusive = (flags & ddraw::DDSCL_NORMAL) == 0;
    if (const HRESULT result = m_directDraw4->SetCooperativeLevel(native, flags); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCooperativeLevel);
        return false;
    }
    LookAtMessages();
    return true;
}

bool DirectX6ViewportHandle::SetDisplayMode(win32::DWORD width, win32::DWORD height,
                                            win32::DWORD bitsPerPixel, win32::DWORD refreshRate,
                                            win32::DWORD flags) {
    if (m_directDraw4 == nullptr) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    if (const HRESULT result = m_directDraw4->SetDisplayMode(width, height, bitsPerPixel, refreshRate, flags);
        win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrSetDisplayMode);
        if (result == ddraw::DDERR_INVALIDMODE) {
            RaiseError(GraphicSystemErrModeNotAvailable);
        }
        return false;
    }
    m_displayModeChanged = true;
    LookAtMessages();
    return true;
}

bool DirectX6ViewportHandle::RestoreMode(bool recreate) {
    if (m_window == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoWindow);
        return false;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoDirectDraw);
        return false;
    }
    if (!m_displayModeChanged) {
        return true;
    }
    ReleaseSurfaces();
    if (const HRESULT result = m_directDraw4->RestoreDisplayMode(); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrRestoreDisplayMode);
        return false;
    }
    m_displayModeChanged = false;
    LookAtMessages();
    SetCooperativeLevel(ddraw::DDSCL_NORMAL);
    ReleaseDirectDraw();
    DirectXWindow* previous = m_window;
    DetachWindow(previous);
    if (recreate) {
        m_window = CreateWindow(false);
        if (m_window == nullptr) {
            // The main window is freed all the same, so that a later viewport can go full screen.
            ReleaseWindow(previous);
            return false;
        }
        const win32::HWND native = NativeWindow();
        win32::ShowWindow(native, win32::SW_SHOW);
        win32::UpdateWindow(native);
        AttachWindow(m_window);
    }
    ReleaseWindow(previous);
    if (recreate && (!CreateDirectDraw() || !CreateSurfaces())) {
        return false;
    }
    m_description.fullscreen = false;
    return true;
}

// --- Surfaces ---

bool DirectX6ViewportHandle::CreateSurfaces() {
    if (m_directDraw4 == nullptr) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    if (m_primary != nullptr) {
        return true;
    }
    if (m_clipper != nullptr || m_description.size.width < 0 || m_description.size.height < 0) {
        return false;
    }
    RestoreViewportEvent before(true, true);
    DispatchEvent(before);
    bool made = MakePrimary() && ReadPrimaryFormat() && BindClipper();
    for (std::uint64_t index = 0; made && index <= m_description.backBufferCount; ++index) {
        if (index < m_buffers.Size() && m_buffers[index] != nullptr) {
            made = AttachBufferSurface(static_cast<std::uint32_t>(index));
        }
    }
    if (made && m_description.presentMode == kPresentFlip && !m_description.flip) {
        m_description.presentMode = kPresentCopy;
        made = false;
    }
    if (made) {
        win32::InvalidateRect(NativeWindow(), nullptr, win32::FALSE);
        m_engine->RestoreSurfaces();
        RestoreViewportEvent after(false, true);
        DispatchEvent(after);
        return true;
    }
    ReleaseSurfaces();
    RestoreViewportEvent failed(false, false);
    DispatchEvent(failed);
    return false;
}

bool DirectX6ViewportHandle::MakePrimary() {
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    description.dwFlags = ddraw::DDSD_CAPS;
    description.ddsCaps.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE;
    if (m_description.fullscreen && m_description.backBufferCount > 0 && m_description.size.width > 0 &&
        m_description.size.height > 0) {
        description.dwFlags |= ddraw::DDSD_BACKBUFFERCOUNT;
        description.dwBackBufferCount = m_description.backBufferCount;
        description.ddsCaps.dwCaps |= ddraw::DDSCAPS_FLIP | ddraw::DDSCAPS_COMPLEX;
    }
    HRESULT result = m_directDraw4->CreateSurface(&description, &m_primary, nullptr);
    if (win32::SUCCEEDED(result)) {
        return true;
    }
    DirectXGraphicEngine::ReportDirectDrawFailure(result);
    if (result == ddraw::DDERR_NOEXCLUSIVEMODE ||
        (result == ddraw::DDERR_NOFLIPHW && m_description.fullscreen && m_description.flip)) {
        return false;
    }
    description.dwFlags = ddraw::DDSD_CAPS;
    description.dwBackBufferCount = 0;
    description.ddsCaps.dwCaps = ddraw::DDSCAPS_PRIMARYSURFACE;
    result = m_directDraw4->CreateSurface(&description, &m_primary, nullptr);
    if (win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        m_primary = nullptr;
        return false;
    }
    return true;
}

bool DirectX6ViewportHandle::ReadPrimaryFormat() {
    if (const HRESULT result = m_primary->QueryInterface(ddraw::IID_IDirectDrawSurface,
                                                         reinterpret_cast<void**>(&m_primaryAlias));
        win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        m_primaryAlias = nullptr;
        return false;
    }
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    if (const HRESULT result = m_primary->GetSurfaceDesc(&description); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    if ((description.ddsCaps.dwCaps & ddraw::DDSCAPS_FLIP) != 0) {
        m_description.flip = true;
    }
    const ddraw::DDPIXELFORMAT& format = description.ddpfPixelFormat;
    const DepthCode depth = DepthFromBitsPerPixel(format.dwRGBBitCount);
    if (depth == 0) {
        return false;
    }
    m_description.depth = depth;
    m_pixelFormat = depth <= 4 ? PixelFormat(depth) : DirectFormatOf(format);
    if ((format.dwFlags & ddraw::DDPF_RGB) == 0) {
        return false;
    }
    m_description.colorTag = 1;
    return true;
}

bool DirectX6ViewportHandle::BindClipper() {
    if (const HRESULT result = m_directDraw4->CreateClipper(0, &m_clipper, nullptr); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        m_clipper = nullptr;
        return false;
    }
    const win32::HWND native = NativeWindow();
    if (native == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoNativeWindow);
        return false;
    }
    HRESULT result = m_clipper->SetHWnd(0, native);
    if (win32::SUCCEEDED(result)) {
        result = m_primary->SetClipper(m_clipper);
    }
    if (win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    return true;
}

bool DirectX6ViewportHandle::AttachBufferSurface(std::uint32_t index) {
    if (m_directDraw4 == nullptr || m_primary == nullptr) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    if (index > m_description.backBufferCount) {
        ReportAt(GraphicSystemErrBufferIndex, index);
        return false;
    }
    DirectX6ViewportGraphicHandle* buffer = BufferAt(index, false);
    if (buffer == nullptr) {
        ReportAt(GraphicSystemErrNoBuffer, index);
        return false;
    }
    if (buffer->m_surface != nullptr) {
        RaiseError(GraphicSystemErrBufferHasSurface);
        return false;
    }
    const std::int32_t width = m_description.size.width;
    const std::int32_t height = m_description.size.height;
    buffer->m_width = width;
    buffer->m_height = height;
    buffer->m_colorTag = m_description.colorTag;
    buffer->m_pitch = 0;
    buffer->m_pixels = nullptr;
    buffer->m_clipRect.Set(0, 0, width, height);
    buffer->m_readOnly = false;
    buffer->m_lost = 0;
    ddraw::IDirectDrawSurface4* surface = nullptr;
    if (m_description.fullscreen && m_description.flip) {
        surface = m_primary;
        surface->AddRef();
        const ddraw::DDSCAPS2 flipping{ddraw::DDSCAPS_FLIP, 0, 0, 0};
        for (std::uint32_t step = 0; step < index; ++step) {
            ddraw::IDirectDrawSurface4* next = nullptr;
            const HRESULT result = surface->GetAttachedSurface(&flipping, &next);
            surface->Release();
            if (win32::FAILED(result)) {
                DirectXGraphicEngine::ReportDirectDrawFailure(result);
                return false;
            }
            if (next == m_primary) {
                next->Release();
                return false;
            }
            surface = next;
        }
    } else if (index == 0 && !m_description.flip) {
        surface = m_primary;
        surface->AddRef();
    } else if (width > 0 && height > 0) {
        DDSURFACEDESC2 description = EmptySurfaceDescription();
        description.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH;
        description.dwWidth = static_cast<win32::DWORD>(width);
        description.dwHeight = static_cast<win32::DWORD>(height);
        description.ddsCaps.dwCaps = ddraw::DDSCAPS_OFFSCREENPLAIN;
        if (const HRESULT result = m_directDraw4->CreateSurface(&description, &surface, nullptr);
            win32::FAILED(result)) {
            DirectXGraphicEngine::ReportDirectDrawFailure(result);
            return false;
        }
    }
    buffer->m_surface = surface;
    buffer->m_isPrimary = surface != nullptr && surface == m_primary;
    if (surface != nullptr) {
        if (!buffer->ReadSurfaceFormat()) {
            return false;
        }
    } else {
        for (DirectX6ViewportGraphicHandle* other : m_buffers) {
            if (other != nullptr && other->m_isPrimary) {
                buffer->m_placement = other->m_placement;
                buffer->m_pixelFormat = other->m_pixelFormat;
                break;
            }
        }
    }
    RestoredGraphicEvent restored;
    buffer->NotifyGraphics(restored);
    if (!restored.m_handled) {
        buffer->Clear();
    }
    return true;
}

void DirectX6ViewportHandle::ReleaseSurfaces() {
    for (std::size_t index = m_buffers.Size(); index-- > 0;) {
        if (DirectX6ViewportGraphicHandle* buffer = m_buffers[index]) {
            buffer->ReleaseSurface();
            buffer->m_isPrimary = false;
        }
    }
    if (m_primary != nullptr) {
        if (m_clipper != nullptr) {
            m_primary->SetClipper(nullptr);
            ReleaseInterface(m_clipper);
        }
        ReleaseInterface(m_primary);
        ReleaseInterface(m_primaryAlias);
    }
}

void DirectX6ViewportHandle::ShowFrontBuffer() {
    DirectX6ViewportGraphicHandle* front = BufferAt(0, false);
    if (m_description.fullscreen || !m_description.flip || m_primary == nullptr || front == nullptr ||
        front->m_surface == nullptr) {
        return;
    }
    const win32::RECT area{0, 0, m_description.size.width, m_description.size.height};
    const HRESULT result = RetryWhileBusy(
        [&] { return m_primary->Blt(&area, front->m_surface, &area, ddraw::DDBLT_WAIT, nullptr); });
    if (win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
    }
}

// --- Presenting ---

bool DirectX6ViewportHandle::Flip(GraphicHandle* handle) {
    if (dynamic_cast<DirectX6ViewportGraphicHandle*>(handle) == nullptr) {
        RaiseError(GraphicSystemErrNotViewportBuffer);
        return false;
    }
    if (!IsAvailable()) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    if (!m_description.flip) {
        RaiseError(GraphicSystemErrCannotFlip);
        return false;
    }
    for (std::uint64_t index = 0; index <= m_description.backBufferCount; ++index) {
        DirectX6ViewportGraphicHandle* entry = BufferAt(static_cast<std::uint32_t>(index), false);
        if (entry == nullptr) {
            ReportAt(GraphicSystemErrNoBuffer, index);
            return false;
        }
        if (entry->m_surface == nullptr) {
            ReportAt(GraphicSystemErrNoSurface, index);
            return false;
        }
        if (entry->IsLocked()) {
            ReportAt(GraphicSystemErrBufferLocked, index);
            return false;
        }
    }
    const std::uint32_t steps = IndexOf(handle);
    if (steps == kNotFound) {
        return false;
    }
    if (steps == 0) {
        return true;
    }
    const std::size_t count = m_buffers.Size();
    if (m_description.fullscreen) {
        ddraw::IDirectDrawSurface4* target = steps == 1 ? nullptr : m_buffers[steps]->m_surface;
        const win32::DWORD flags =
            m_description.waitForVerticalBlank ? ddraw::DDFLIP_WAIT : ddraw::DDFLIP_NOVSYNC;
        if (const HRESULT result = m_primary->Flip(target, flags); win32::FAILED(result)) {
            DirectXGraphicEngine::ReportDirectDrawFailure(result);
            return false;
        }
    } else {
        std::vector<ddraw::IDirectDrawSurface4*> surfaces;
        for (DirectX6ViewportGraphicHandle* entry : m_buffers) {
            surfaces.push_back(entry->m_surface);
        }
        std::rotate(surfaces.begin(), surfaces.begin() + static_cast<std::ptrdiff_t>(steps % count),
                    surfaces.end());
        for (std::size_t index = 0; index < count; ++index) {
            m_buffers[index]->m_surface = surfaces[index];
        }
        ShowFrontBuffer();
    }
    std::rotate(m_logicalBuffers.begin(),
                m_logicalBuffers.begin() + static_cast<std::ptrdiff_t>((count - steps % count) % count),
                m_logicalBuffers.end());
    return true;
}

bool DirectX6ViewportHandle::CopyToFront(GraphicHandle* handle) {
    if (dynamic_cast<DirectX6ViewportGraphicHandle*>(handle) == nullptr) {
        RaiseError(GraphicSystemErrNotViewportBuffer);
        return false;
    }
    if (!IsAvailable()) {
        RaiseError(GraphicSystemErrViewportUnavailable);
        return false;
    }
    const std::uint32_t index = IndexOf(handle);
    if (index == kNotFound) {
        return false;
    }
    if (index == 0) {
        return true;
    }
    DirectX6ViewportGraphicHandle* front = m_buffers[0];
    if (front->m_surface == nullptr) {
        ReportAt(GraphicSystemErrNoSurface, 0);
        return false;
    }
    if (m_description.waitForVerticalBlank && !IsInVerticalBlank()) {
        WaitForVerticalBlank(true);
    }
    front->BlitRectImpl(Point(0, 0), handle, Rect(0, 0, handle->GetWidth(), handle->GetHeight()), kCopyMode);
    ShowFrontBuffer();
    return true;
}

bool DirectX6ViewportHandle::FlipToBuffer(std::uint32_t index, bool logical) {
    DirectX6ViewportGraphicHandle* buffer = BufferToPresent(index, logical);
    return buffer != nullptr && Flip(buffer);
}

bool DirectX6ViewportHandle::CopyBufferToFront(std::uint32_t index, bool logical) {
    DirectX6ViewportGraphicHandle* buffer = BufferToPresent(index, logical);
    return buffer != nullptr && CopyToFront(buffer);
}

DirectX6ViewportGraphicHandle* DirectX6ViewportHandle::BufferToPresent(std::uint32_t index, bool logical) {
    if (index > m_description.backBufferCount) {
        ReportAt(GraphicSystemErrBufferIndex, index);
        return nullptr;
    }
    DirectX6ViewportGraphicHandle* buffer = BufferAt(index, logical);
    if (buffer == nullptr) {
        ReportAt(GraphicSystemErrNoBuffer, index);
    }
    return buffer;
}

GraphicHandle* DirectX6ViewportHandle::GetBufferHandle(std::uint32_t index, bool logical) {
    if (index > m_description.backBufferCount) {
        ReportAt(GraphicSystemErrBufferIndex, index);
        return nullptr;
    }
    return BufferAt(index, logical);
}

// --- Drawing ---

bool DirectX6ViewportHandle::BlitScaled(const Rect& destination, GraphicHandle* source,
                                        const Rect& sourceRect, std::uint32_t mode) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    return buffer != nullptr && buffer->BlitScaled(destination, source, sourceRect, mode);
}

bool DirectX6ViewportHandle::Blit(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                                  std::uint32_t mode) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    return buffer != nullptr && buffer->Blit(destination, source, sourceRect, mode);
}

bool DirectX6ViewportHandle::FillRect(const Rect& rect, std::uint32_t pixel, bool filled,
                                      std::uint32_t mode) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    return buffer != nullptr && buffer->FillRect(rect, pixel, filled, mode);
}

bool DirectX6ViewportHandle::FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    return buffer != nullptr && buffer->FillRect(rect, color, filled, mode);
}

bool DirectX6ViewportHandle::SetClipRect(const Rect& rect) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    return buffer != nullptr && buffer->SetClipRect(rect);
}

const Rect* DirectX6ViewportHandle::GetClipRect() {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer(true);
    return buffer != nullptr ? &buffer->GetClipRect() : EmptyClipRect();
}

bool DirectX6ViewportHandle::CrossFade(float level, const Rect& destination, GraphicHandle* first,
                                       const Point& firstPoint, GraphicHandle* second,
                                       const Point& secondPoint) {
    DirectX6ViewportGraphicHandle* buffer = m_buffers.Size() > 1 ? m_buffers[1] : nullptr;
    if (buffer == nullptr) {
        ReportAt(GraphicSystemErrNoBuffer, 1);
        return false;
    }
    const float fraction = level > 0.0f ? std::min(level, 1.0f) : 0.0f;
    // A finished fade shows the second picture whole: the effect's full level is 256.
    const std::uint32_t blend =
        fraction >= 1.0f ? 256 : static_cast<std::uint32_t>(std::trunc(fraction * 255.0f));
    const Size size = SizeOf(destination);
    const Point at(destination.left, destination.top);
    CrossFadeEffect effect(buffer, first, second);
    if (effect.Set(blend, at, firstPoint, secondPoint, size, 255)) {
        return buffer->IsReadOnly() || effect.Run();
    }
    const bool nearerFirst = fraction < 0.5f;
    return buffer->Blit(at, nearerFirst ? first : second, Rect(nearerFirst ? firstPoint : secondPoint, size),
                        kCopyMode);
}

template <class Draw>
bool DirectX6ViewportHandle::DrawSubstring(const String& text, std::uint32_t start, std::uint32_t count,
                                           win32::HFONT font, const Color& textColor, const Color& background,
                                           bool transparent, bool useScreenContext, Draw draw) {
    if (font == nullptr) {
        return false;
    }
    const Characters drawn = Substring(text, start, count);
    if (drawn.count == 0) {
        return true;
    }
    TextSetup setup;
    if (!BeginText(setup, font, textColor, background, transparent, useScreenContext)) {
        return false;
    }
    draw(setup.context, drawn.text, drawn.count);
    EndText(setup);
    return true;
}

bool DirectX6ViewportHandle::DrawText(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
                                      GraphicSystem::HorizontalAlignment horizontal, const String& text,
                                      std::uint32_t start, std::uint32_t count, win32::HFONT font,
                                      const Color& textColor, const Color& background, bool transparent,
                                      bool useScreenContext) {
    return DrawSubstring(text, start, count, font, textColor, background, transparent, useScreenContext,
                         [&](win32::HDC context, const char* drawn, int length) {
                             Size measured;
                             MeasureText(measured, SizeOf(rect), text, start, count, font);
                             win32::UINT alignment = win32::DT_LEFT;
                             win32::RECT area = AlignedArea(rect, measured, vertical, horizontal, alignment);
                             win32::DrawTextA(context, drawn, length, &area, alignment | kDrawFormat);
                         });
}

bool DirectX6ViewportHandle::DrawText(const Rect& rect, const String& text, std::uint32_t start,
                                      std::uint32_t count, win32::HFONT font, const Color& textColor,
                                      const Color& background, bool transparent, bool useScreenContext) {
    return DrawSubstring(text, start, count, font, textColor, background, transparent, useScreenContext,
                         [&](win32::HDC context, const char* drawn, int length) {
                             win32::RECT area = ToRect(rect);
                             win32::DrawTextA(context, drawn, length, &area, kMeasureFormat);
                             win32::DrawTextA(context, drawn, length, &area, kDrawFormat);
                         });
}

Size DirectX6ViewportHandle::MeasureText(Size& size, const Size& maximum, const String& text,
                                         std::uint32_t start, std::uint32_t count, win32::HFONT font) {
    size = Size(0, 0);
    const Characters measured = Substring(text, start, count);
    if (measured.count == 0) {
        return size;
    }
    const win32::HDC screen = win32::GetDC(nullptr);
    if (screen == nullptr) {
        return size;
    }
    const win32::HGDIOBJ previous = win32::SelectObject(screen, font);
    win32::RECT area{0, 0, maximum.width, maximum.height};
    const win32::UINT format = kMeasureFormat | (maximum.width != 0 ? win32::DT_WORDBREAK : 0);
    win32::DrawTextA(screen, measured.text, measured.count, &area, format);
    if (previous != nullptr) {
        win32::SelectObject(screen, previous);
    }
    win32::ReleaseDC(nullptr, screen);
    size = Size(area.right - area.left, area.bottom - area.top);
    return size;
}

bool DirectX6ViewportHandle::BeginText(TextSetup& setup, win32::HFONT font, const Color& textColor,
                                       const Color& background, bool transparent, bool useScreenContext) {
    setup.context = GetDC();
    if (setup.context == nullptr) {
        return false;
    }
    if (useScreenContext) {
        setup.screen = win32::GetDC(nullptr);
        if (setup.screen == nullptr) {
            ReleaseDC(setup.context);
            return false;
        }
        setup.screenFont = win32::SelectObject(setup.screen, font);
    }
    win32::SetTextColor(setup.context, textColor.rgb.Rgb());
    if (transparent) {
        win32::SetBkMode(setup.context, win32::TRANSPARENT);
    } else {
        win32::SetBkMode(setup.context, win32::OPAQUE);
        win32::SetBkColor(setup.context, background.rgb.Rgb());
    }
    setup.font = win32::SelectObject(setup.context, font);
    setup.savedClip = win32::CreateRectRgn(0, 0, 0, 0);
    setup.hadClip = setup.savedClip != nullptr && win32::GetClipRgn(setup.context, setup.savedClip) == 1;
    const Rect& clip = *GetClipRect();
    setup.clip = win32::CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
    win32::SelectClipRgn(setup.context, setup.clip);
    return true;
}

void DirectX6ViewportHandle::EndText(TextSetup& setup) {
    win32::SelectClipRgn(setup.context, setup.hadClip ? setup.savedClip : nullptr);
    for (win32::HRGN region : {setup.clip, setup.savedClip}) {
        if (region != nullptr) {
            win32::DeleteObject(region);
        }
    }
    if (setup.font != nullptr) {
        win32::SelectObject(setup.context, setup.font);
    }
    if (setup.screen != nullptr) {
        if (setup.screenFont != nullptr) {
            win32::SelectObject(setup.screen, setup.screenFont);
        }
        win32::ReleaseDC(nullptr, setup.screen);
    }
    ReleaseDC(setup.context);
}

win32::HDC DirectX6ViewportHandle::GetDC() {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    if (buffer == nullptr) {
        return nullptr;
    }
    ddraw::IDirectDrawSurface4* surface = buffer->m_surface;
    if (surface == nullptr || surface->IsLost() == ddraw::DDERR_SURFACELOST) {
        RaiseError(GraphicSystemErrNoSurface);
        return nullptr;
    }
    win32::HDC context = nullptr;
    if (const HRESULT result = surface->GetDC(&context); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return nullptr;
    }
    return context;
}

// A context taken before the surface was lost is still given back.
void DirectX6ViewportHandle::ReleaseDC(win32::HDC context) {
    DirectX6ViewportGraphicHandle* buffer = DrawingBuffer();
    if (buffer == nullptr) {
        return;
    }
    if (buffer->m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return;
    }
    if (const HRESULT result = buffer->m_surface->ReleaseDC(context); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
    }
}

// --- State ---

bool DirectX6ViewportHandle::IsAvailable() {
    if (m_directDraw4 == nullptr || m_primary == nullptr || m_clipper == nullptr || m_buffers.Empty() ||
        m_buffers.Size() != m_logicalBuffers.Size() || m_window == nullptr || m_ownHandler == nullptr ||
        !win32::IsWindow(NativeWindow())) {
        return false;
    }
    for (DirectX6ViewportGraphicHandle* buffer : m_buffers) {
        if (buffer == nullptr || !buffer->IsAvailable()) {
            return false;
        }
    }
    return true;
}

bool DirectX6ViewportHandle::IsLost() {
    for (std::uint64_t index = 0; index <= m_description.backBufferCount; ++index) {
        DirectX6ViewportGraphicHandle* buffer = BufferAt(static_cast<std::uint32_t>(index), false);
        // A buffer without a surface has nothing to lose.
        if (buffer != nullptr && buffer->m_surface != nullptr && buffer->IsLost()) {
            return true;
        }
    }
    return false;
}

bool DirectX6ViewportHandle::Restore() {
    if (m_window == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoWindow);
        return false;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoDirectDraw);
        return false;
    }
    const win32::HWND native = NativeWindow();
    if (!win32::IsWindow(native) || !win32::IsWindowVisible(native) || win32::IsIconic(native)) {
        return false;
    }
    if (!IsLost()) {
        return true;
    }
    const ViewportDescription before = m_description;
    ReleaseSurfaces();
    const bool made = CreateSurfaces();
    if (!(m_description == before)) {
        ViewportStyleChangedEvent changed;
        DispatchEvent(changed);
    }
    return made;
}

bool DirectX6ViewportHandle::EnumDisplayModes(ViewportDisplayModes& modes, std::uint32_t) {
    return m_engine->EnumerateDisplayModes(modes);
}

std::uint32_t DirectX6ViewportHandle::GetWindowState() {
    if (m_window == nullptr) {
        return 6;
    }
    const win32::HWND native = NativeWindow();
    if (native == nullptr) {
        return 1;
    }
    if (!win32::IsWindowVisible(native)) {
        return 3;
    }
    if (win32::IsIconic(native)) {
        return 4;
    }
    return win32::IsZoomed(native) ? 5 : 2;
}

bool DirectX6ViewportHandle::IsInVerticalBlank() {
    if (m_window == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoWindow);
        return false;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoDirectDraw);
        return false;
    }
    win32::BOOL inBlank = win32::FALSE;
    if (const HRESULT result = m_directDraw4->GetVerticalBlankStatus(&inBlank); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    return inBlank != win32::FALSE;
}

bool DirectX6ViewportHandle::WaitForVerticalBlank(bool begin) {
    if (m_window == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoWindow);
        return false;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(DirectXGraphicEngineErrNoDirectDraw);
        return false;
    }
    const win32::DWORD flags = begin ? ddraw::DDWAITVB_BLOCKBEGIN : ddraw::DDWAITVB_BLOCKEND;
    if (const HRESULT result = m_directDraw4->WaitForVerticalBlank(flags, nullptr); win32::FAILED(result)) {
        DirectXGraphicEngine::ReportDirectDrawFailure(result);
        return false;
    }
    return true;
}

ddraw::IDirectDraw4* DirectX6ViewportHandle::GetDirectDraw() {
    return m_directDraw4;
}

ddraw::IDirectDrawSurface4* DirectX6ViewportHandle::GetPrimarySurface() {
    return m_primary;
}

ddraw::IDirectDrawClipper* DirectX6ViewportHandle::GetClipper() {
    return m_clipper;
}

// --- Window messages ---

void DirectX6ViewportHandle::OnActivate(win32::UINT state, bool, win32::HWND) {
    ActivateViewportEvent activated(state != win32::WA_INACTIVE);
    DispatchEvent(activated);
}

bool DirectX6ViewportHandle::OnClose() {
    CloseViewportEvent closing;
    DispatchEvent(closing);
    return closing.m_allowClose;
}

void DirectX6ViewportHandle::OnDestroy() {
    const std::shared_ptr<bool> alive = m_alive;
    m_destroying = m_window;
    ClosedViewportEvent closed;
    DispatchEvent(closed);
    if (!*alive) {
        return;
    }
    m_destroying = nullptr;
    const win32::HWND native = NativeWindow();
    if (QuickTimeHookPointer::Installed() != nullptr && native != nullptr &&
        !m_engine->IsMainWindow(m_window)) {
        if (qt::CGrafPtr port = qt::GetNativeWindowPort(native)) {
            qt::DestroyPortAssociation(port);
        }
    }
    // Without a mode to give back there is nothing to restore, and nothing to report.
    if (m_displayModeChanged) {
        RestoreMode(false);
    }
    ReleaseSurfaces();
    ReleaseDirectDraw();
}

void DirectX6ViewportHandle::OnDisplayChange(win32::WPARAM, win32::UINT, win32::UINT) {
    m_engine->SetRestorePending(true);
}

// The front buffer keeps its origin: on this platform each window shows its primary from the client area's
// corner.
void DirectX6ViewportHandle::OnMove(int x, int y) {
    m_description.position = Point(x, y);
}

void DirectX6ViewportHandle::OnPaint(win32::WPARAM) {
    const win32::HWND native = NativeWindow();
    win32::PAINTSTRUCT paint{};
    win32::BeginPaint(native, &paint);
    const Rect area(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom);
    if (!area.IsEmpty()) {
        if (IsAvailable()) {
            const std::shared_ptr<bool> alive = m_alive;
            PaintViewportEvent painting(area);
            DispatchEvent(painting);
            if (*alive && !painting.m_handled) {
                m_buffers[0]->FillRectImpl(area, 0, true, kCopyMode);
            }
        } else {
            m_engine->SetRestorePending(true);
        }
    }
    win32::EndPaint(native, &paint);
}

void DirectX6ViewportHandle::OnShowWindow(bool shown, win32::LPARAM) {
    if (shown) {
        m_engine->SetRestorePending(true);
    }
}

void DirectX6ViewportHandle::OnSize(win32::WPARAM type, win32::UINT, win32::UINT) {
    if (type == win32::SIZE_RESTORED || type == win32::SIZE_MAXIMIZED) {
        m_engine->SetRestorePending(true);
    } else if (type == win32::SIZE_MINIMIZED) {
        m_engine->SetRestorePending(false);
    } else if (type == kSizeMaxShow && win32::IsWindowVisible(NativeWindow())) {
        m_engine->SetRestorePending(true);
    }
}

// --- Windows ---

DirectXWindow* DirectX6ViewportHandle::CreateWindow(bool attach) {
    auto* window = new DirectXWindow(false);
    if (attach) {
        AttachWindow(window);
    }
    Point position = m_description.position;
    Size size = m_description.size;
    bool made =
        window->Create(m_description.title, &position, &size, m_description.positionIsClient,
                       m_description.sizeIsClient, 0, StyleOf(m_description), nullptr, nullptr, false, false);
    if (made && QuickTimeHookPointer::Installed() != nullptr &&
        qt::CreatePortAssociation(window->GetWindowHandle(), nullptr, kQuickTimePortFlags) == nullptr) {
        RaiseError(QuickTimeEngineHookErrPortAssociation);
        made = false;
    }
    if (made) {
        return window;
    }
    if (attach) {
        DetachWindow(window);
    }
    if (window->GetWindowHandle() != nullptr) {
        window->Destroy();
    }
    delete window;
    return nullptr;
}

void DirectX6ViewportHandle::ReleaseWindow(DirectXWindow* window) {
    if (window == nullptr) {
        window = m_window;
        m_window = nullptr;
    }
    if (window == nullptr) {
        return;
    }
    DetachWindow(window);
    const win32::HWND native = window->GetWindowHandle();
    if (m_engine->IsMainWindow(window)) {
        win32::ShowWindow(native, win32::SW_HIDE);
        m_engine->SetMainWindowInUse(false);
        return;
    }
    if (QuickTimeHookPointer::Installed() != nullptr && native != nullptr) {
        if (qt::CGrafPtr port = qt::GetNativeWindowPort(native)) {
            qt::DestroyPortAssociation(port);
        }
    }
    // A window the user closed has no native window left to destroy, nor has one whose destruction is under
    // way.
    if (native != nullptr && window != m_destroying) {
        window->Destroy();
    }
    delete window;
}

void DirectX6ViewportHandle::AttachWindow(DirectXWindow* window) {
    if (m_ownHandler == nullptr) {
        m_ownHandler = new DirectX6ViewportEventHandler(this);
        AddEventHandler(m_ownHandler);
    }
    if (window == nullptr) {
        return;
    }
    for (DirectXViewportEventHandler* handler : m_handlers) {
        if (auto* ours = dynamic_cast<DirectX6ViewportEventHandler*>(handler)) {
            ours->SetHandle(this);
        }
        window->AddEventHandler(handler);
    }
}

void DirectX6ViewportHandle::DetachWindow(DirectXWindow* window) {
    if (window == nullptr || m_ownHandler == nullptr || m_ownHandler->GetWindow() != window) {
        return;
    }
    for (DirectXViewportEventHandler* handler : m_handlers) {
        if (auto* ours = dynamic_cast<DirectX6ViewportEventHandler*>(handler)) {
            ours->SetHandle(nullptr);
        }
        window->RemoveEventHandler(handler);
    }
}

// --- The engine's side ---

void DirectX6ViewportHandle::Shutdown() {
    if (m_displayModeChanged) {
        RestoreMode(false);
    }
    ReleaseSurfaces();
    ReleaseDirectDraw();
    ReleaseWindow(nullptr);
    DirectX6ViewportEventHandler* own = m_ownHandler;
    m_ownHandler = nullptr;
    delete own;
    CloseBuffers();
}

void DirectX6ViewportHandle::TakeBuffer(std::uint32_t index, DirectX6ViewportGraphicHandle* buffer) {
    if (m_buffers.Size() <= index) {
        m_buffers.Insert(m_buffers.End(), index + 1 - m_buffers.Size(), nullptr);
    }
    if (m_logicalBuffers.Size() <= index) {
        m_logicalBuffers.Insert(m_logicalBuffers.End(), index + 1 - m_logicalBuffers.Size(), nullptr);
    }
    m_buffers[index] = buffer;
    m_logicalBuffers[index] = buffer;
}

void DirectX6ViewportHandle::ForgetBuffer(DirectX6ViewportGraphicHandle* buffer) {
    std::replace(m_buffers.begin(), m_buffers.end(), buffer,
                 static_cast<DirectX6ViewportGraphicHandle*>(nullptr));
    std::replace(m_logicalBuffers.begin(), m_logicalBuffers.end(), buffer,
                 static_cast<DirectX6ViewportGraphicHandle*>(nullptr));
}

void DirectX6ViewportHandle::ForgetOwnHandler(DirectX6ViewportEventHandler* handler) {
    if (m_ownHandler == handler) {
        m_ownHandler = nullptr;
    }
}

// --- Helpers ---

win32::HWND DirectX6ViewportHandle::NativeWindow() const {
    return m_window != nullptr ? m_window->GetWindowHandle() : nullptr;
}

DirectX6ViewportGraphicHandle* DirectX6ViewportHandle::DrawingBuffer(bool quietly) {
    const std::uint32_t index = m_buffers.Size() > 1 ? 1 : 0;
    DirectX6ViewportGraphicHandle* buffer = BufferAt(index, false);
    if (buffer == nullptr && !quietly) {
        ReportAt(GraphicSystemErrNoBuffer, index);
    }
    return buffer;
}

DirectX6ViewportGraphicHandle* DirectX6ViewportHandle::BufferAt(std::uint32_t index, bool logical) const {
    const BasicArray<DirectX6ViewportGraphicHandle*>& table = logical ? m_logicalBuffers : m_buffers;
    return index < table.Size() ? table[index] : nullptr;
}

std::uint32_t DirectX6ViewportHandle::IndexOf(const GraphicHandle* buffer) const {
    for (std::size_t index = 0; index < m_buffers.Size(); ++index) {
        if (m_buffers[index] != nullptr && m_buffers[index] == buffer) {
            return static_cast<std::uint32_t>(index);
        }
    }
    return kNotFound;
}

} // namespace Vemo
