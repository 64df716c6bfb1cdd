#include "engines/graphics/directx/DirectX6GraphicEngine.h"

#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportDisplayModes.h"
#include "engines/graphics/directx/DirectDrawFormats.h"
#include "engines/graphics/directx/DirectX6GraphicHandle.h"
#include "engines/graphics/directx/DirectX6ViewportGraphicHandle.h"
#include "engines/graphics/directx/DirectX6ViewportHandle.h"
#include "engines/graphics/directx/DirectXErrorCodes.h"
#include "engines/graphics/directx/DirectXWindow.h"
#include "platform/win32/windows/Window.h"
#include "resources/CreateThrough.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorCodes.h"
#include "resources/hooks/DirectXEngineHook.h"

#include <cstdio>
#include <cstdlib>

namespace Vemo {

namespace {

using ddraw::DDSURFACEDESC2;
using win32::HRESULT;

constexpr std::uint8_t kUnknownUsage = 3;
constexpr win32::UINT kRestyleFlags =
    win32::SWP_NOSIZE | win32::SWP_NOMOVE | win32::SWP_NOZORDER | win32::SWP_FRAMECHANGED;

HRESULT AddMode(DDSURFACEDESC2* mode, void* context) {
    auto* record = static_cast<DirectX6GraphicEngine::GUIDDisplayMode*>(context);
    const ddraw::DDPIXELFORMAT& format = mode->ddpfPixelFormat;
    if ((format.dwFlags & (ddraw::DDPF_RGB | ddraw::DDPF_YUV)) == 0) {
        return ddraw::DDENUMRET_OK;
    }
    const PixelFormat made = FormatOf(format);
    // Modes whose layout is no standard one have no pixel routines.
    if (made.format != StandardPixelFormat::None && made.format != StandardPixelFormat::Other) {
        record->modes.PushBack(DirectX6GraphicEngine::DisplayMode{static_cast<std::int32_t>(mode->dwWidth),
                                                                  static_cast<std::int32_t>(mode->dwHeight),
                                                                  made, mode->dwRefreshRate});
    }
    return ddraw::DDENUMRET_OK;
}

bool IsUsable(const PixelFormat& format) {
    return format.depth != 0 && format.format != StandardPixelFormat::None &&
           format.format != StandardPixelFormat::Other && format.extra.GetUsage() != kUnknownUsage;
}

// The request's bit count and masks from a pixel format; indexed formats have no masks.
void DescribeFormat(DirectX6GraphicEngine::SurfaceRequest& request, const PixelFormat& format) {
    request.bitsPerPixel = BitsPerPixelFromDepth(format.depth);
    if (format.IsIndexed()) {
        return;
    }
    request.redMask = format.redMask;
    request.greenMask = format.greenMask;
    request.blueMask = format.blueMask;
    request.alphaMask = format.alphaMask;
    request.extraUsage = format.extra.GetUsage();
}

std::uint64_t RoundedUpTo8(std::uint64_t bytes) {
    return (bytes + 7) / 8 * 8;
}

template <class T>
T ValueOr(const T* given, T fallback) {
    return given != nullptr ? *given : fallback;
}

String IndexText(std::uint32_t index) {
    char text[16];
    std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(index));
    return String(text);
}

// What is wrong with a request over caller memory (0: nothing); request, when given, is filled.
// Matching is stricter than making: without a pitch, the row's bytes must be a whole number of 8.
ErrorCode CheckCallerMemory(const GraphicSearchCriterion& criterion,
                            DirectX6GraphicEngine::SurfaceRequest* request, bool matching) {
    const std::int32_t width = ValueOr(criterion.m_width, 0);
    const std::int32_t height = ValueOr(criterion.m_height, 0);
    if (width <= 0) {
        return GraphicSystemErrNoWidth;
    }
    if (height <= 0) {
        return GraphicSystemErrNoHeight;
    }
    DirectX6GraphicEngine::SurfaceRequest made;
    DepthCode depth = 0;
    if (criterion.m_pixelFormat != nullptr) {
        if (!IsUsable(*criterion.m_pixelFormat)) {
            return GraphicSystemErrBadPixelFormat;
        }
        depth = criterion.m_pixelFormat->depth;
        DescribeFormat(made, *criterion.m_pixelFormat);
    } else {
        depth = ValueOr(criterion.m_depthCode, 0u);
        if (depth < 1 || depth > 4) {
            return GraphicSystemErrBadDepth;
        }
        made.bitsPerPixel = BitsPerPixelFromDepth(depth);
    }
    if (ValueOr(criterion.m_colorTag, 0u) == 0) {
        return GraphicSystemErrNoColorTag;
    }
    if (ValueOr(criterion.m_placement, GraphicSystem::Memory::Any) != GraphicSystem::Memory::System) {
        return GraphicSystemErrNoPlacement;
    }
    const std::uint64_t rowBytes =
        (std::uint64_t{static_cast<std::uint32_t>(width)} * made.bitsPerPixel + 7) / 8;
    const std::int32_t pitch = ValueOr(criterion.m_pitch, 0);
    if (pitch != 0) {
        const std::uint64_t size = static_cast<std::uint64_t>(std::llabs(pitch));
        if (size % 8 != 0 || size < RoundedUpTo8(rowBytes)) {
            return GraphicSystemErrPitchTooShort;
        }
        made.pitch = pitch;
    } else {
        if (RoundedUpTo8(rowBytes) > INT32_MAX || (matching && rowBytes % 8 != 0)) {
            return GraphicSystemErrPitchTooShort;
        }
        made.pitch = static_cast<std::int32_t>(RoundedUpTo8(rowBytes));
    }
    if (request != nullptr) {
        made.width = width;
        made.height = height;
        made.colorTag = *criterion.m_colorTag;
        made.placement = static_cast<std::uint32_t>(GraphicSystem::Memory::System);
        made.memory = *criterion.m_pixels;
        made.callerMemory = true;
        *request = made;
    }
    return 0;
}

// What is wrong with a request like a model graphic (0: nothing); request, when given, is filled.
ErrorCode CheckModel(const GraphicSearchCriterion& criterion, std::uint32_t engineId,
                     DirectX6GraphicEngine::SurfaceRequest* request) {
    GraphicHandle* model = criterion.m_model;
    if (dynamic_cast<DirectX6GraphicHandle*>(model) == nullptr) {
        const std::uint32_t* wanted = criterion.GetWantedEngineId();
        if (wanted == nullptr || (*wanted != engineId && *wanted != kGraphicTypeId)) {
            return GraphicSystemErrForeignModel;
        }
    }
    if (model->GetColorTag() != 1) {
        return GraphicSystemErrNoColorTag;
    }
    const PixelFormat& format = model->GetPixelFormat();
    if (!format.IsIndexed() && format.extra.GetUsage() == kUnknownUsage) {
        return GraphicSystemErrForeignModel;
    }
    if (request != nullptr) {
        const std::int32_t width = ValueOr(criterion.m_width, 0);
        const std::int32_t height = ValueOr(criterion.m_height, 0);
        request->width = width != 0 ? width : model->GetWidth();
        request->height = height != 0 ? height : model->GetHeight();
        DescribeFormat(*request, format);
        request->colorTag = model->GetColorTag();
        request->placement = criterion.m_placement != nullptr
                                 ? static_cast<std::uint32_t>(*criterion.m_placement)
                                 : model->GetPlacement();
    }
    return 0;
}

// The standard masks of a bit count for the extra channel's usage, as {red, green, blue, fourth}.
bool StandardMasks(std::uint32_t bits, std::uint32_t usage, std::uint32_t (&masks)[4]) {
    const auto set = [&masks](std::uint32_t red, std::uint32_t green, std::uint32_t blue,
                              std::uint32_t fourth) {
        masks[0] = red;
        masks[1] = green;
        masks[2] = blue;
        masks[3] = fourth;
    };
    switch (bits) {
    case 16:
        if (usage == ExtraChannel::kUsageAlpha) {
            set(0x7C00, 0x3E0, 0x1F, 0x8000);
        } else if (usage == ExtraChannel::kUsageDepth) {
            set(0xF00, 0xF0, 0xF, 0xF000);
        } else {
            set(0xF800, 0x7E0, 0x1F, 0);
        }
        return true;
    case 24:
        set(0xFF0000, 0xFF00, 0xFF, 0);
        return true;
    case 32:
        if (usage == ExtraChannel::kUsageAlpha) {
            set(0xFF0000, 0xFF00, 0xFF, 0xFF000000);
        } else if (usage == ExtraChannel::kUsageDepth) {
            set(0xF800, 0x7E0, 0x1F, 0xFFFF0000);
        } else {
            set(0xFF0000, 0xFF00, 0xFF, 0);
        }
        return true;
    default:
        return false;
    }
}

// The handle's pixel format from the request; false for a bit count no surface has.
bool SetRequestedFormat(PixelFormat& format, const DirectX6GraphicEngine::SurfaceRequest& request) {
    const std::uint32_t bits = request.bitsPerPixel;
    if (bits == 0) {
        return true;
    }
    const DepthCode depth = DepthFromBitsPerPixel(bits);
    if (depth == 0) {
        return false;
    }
    const std::uint32_t usage = request.extraUsage == 1 || request.extraUsage == 2 ? request.extraUsage : 0;
    const ExtraChannel extra(static_cast<std::uint8_t>(usage));
    if (request.redMask != 0 && request.greenMask != 0 && request.blueMask != 0) {
        format.SetMasks(depth, request.redMask, request.greenMask, request.blueMask, request.alphaMask,
                        extra);
        return true;
    }
    if (bits <= 8) {
        format = PixelFormat(depth);
        return true;
    }
    std::uint32_t masks[4] = {};
    if (!StandardMasks(bits, usage, masks)) {
        return false;
    }
    format.SetMasks(depth, masks[0], masks[1], masks[2], masks[3], extra);
    return true;
}

} // namespace

DirectX6GraphicEngine::DirectX6GraphicEngine(std::uint32_t typeId, const String& name)
    : DirectXGraphicEngine(typeId, name) {}

DirectX6GraphicEngine::~DirectX6GraphicEngine() {
    ReleaseDirectDraw();
}

DirectX6GraphicEngine* DirectX6GraphicEngine::Install(DirectX6GraphicEngine* engine) {
    return CreateThrough(
        engine, [] { return new DirectX6GraphicEngine(kDirectX6GraphicTypeId, "DirectX6 Graphic Engine"); },
        [](DirectXGraphicEngine* made) { return DirectXGraphicEngine::Install(made); });
}

void DirectX6GraphicEngine::Update() {
    if (m_restorePending) {
        RestoreSurfaces();
    }
    DirectXGraphicEngine::Update();
}

ResourceHandle* DirectX6GraphicEngine::CreateHandle(ResourceSearchCriterion* criterion, Resource*) {
    auto* graphic = dynamic_cast<GraphicSearchCriterion*>(criterion);
    if (graphic == nullptr) {
        RaiseError(GraphicSystemErrNotGraphicCriterion);
        return nullptr;
    }
    if (m_directDraw4 == nullptr) {
        RaiseError(ResourceEngineErrNotStarted);
        return nullptr;
    }
    if (graphic->m_kind == GraphicSearchCriterion::kViewport) {
        if (graphic->m_description == nullptr) {
            return nullptr;
        }
        auto* viewport = new DirectX6ViewportHandle(this);
        m_viewports.PushBack(viewport);
        return viewport;
    }
    if (graphic->m_kind != GraphicSearchCriterion::kGraphic) {
        return nullptr;
    }
    if (graphic->m_viewportHandle != nullptr) {
        return CreateBufferHandle(*graphic);
    }
    return CreateSurfaceFor(*graphic);
}

ResourceHandle* DirectX6GraphicEngine::CreateBufferHandle(const GraphicSearchCriterion& criterion) {
    auto* viewport = dynamic_cast<DirectX6ViewportHandle*>(criterion.m_viewportHandle);
    if (viewport == nullptr) {
        RaiseError(GraphicSystemErrNotDirectX6Viewport);
        return nullptr;
    }
    const std::uint32_t index = ValueOr(criterion.m_bufferIndex, 0u);
    if (index > viewport->GetBackBufferCount()) {
        Error().Report(GraphicSystemErrBufferIndex, IndexText(index));
        return nullptr;
    }
    if (viewport->GetBufferHandle(index, false) != nullptr) {
        Error().Report(GraphicSystemErrBufferTaken, IndexText(index));
        return nullptr;
    }
    auto* buffer = new DirectX6ViewportGraphicHandle(this, viewport);
    viewport->TakeBuffer(index, buffer);
    m_graphics.PushBack(buffer);
    return buffer;
}

ResourceHandle* DirectX6GraphicEngine::CreateSurfaceFor(const GraphicSearchCriterion& criterion) {
    SurfaceRequest request;
    ErrorCode refusal = 0;
    if (criterion.m_pixels != nullptr) {
        refusal = CheckCallerMemory(criterion, &request, false);
    } else if (criterion.m_model != nullptr) {
        refusal = CheckModel(criterion, GetTypeId(), &request);
    } else if (!RequestNewSurface(criterion, request)) {
        return nullptr;
    }
    if (refusal != 0) {
        RaiseError(refusal);
        return nullptr;
    }
    return CreateSurfaceHandle(request);
}

bool DirectX6GraphicEngine::RequestNewSurface(const GraphicSearchCriterion& criterion,
                                              SurfaceRequest& request) {
    request.width = ValueOr(criterion.m_width, 0);
    request.height = ValueOr(criterion.m_height, 0);
    bool hasFormat = false;
    if (criterion.m_pixelFormat != nullptr) {
        const PixelFormat& format = *criterion.m_pixelFormat;
        if (!format.IsIndexed() && format.extra.GetUsage() == kUnknownUsage) {
            RaiseError(GraphicSystemErrForeignModel);
            return false;
        }
        if (!IsUsable(format)) {
            RaiseError(GraphicSystemErrBadPixelFormat);
            return false;
        }
        DescribeFormat(request, format);
        hasFormat = true;
    } else if (const DepthCode depth = ValueOr(criterion.m_depthCode, 0u); depth != 0) {
        const std::uint32_t usage = ValueOr(criterion.m_extraUsage, 0u);
        if (usage == kUnknownUsage) {
            RaiseError(GraphicSystemErrForeignModel);
            return false;
        }
        if (depth > 7) {
            RaiseError(GraphicSystemErrBadPixelFormat);
            return false;
        }
        request.bitsPerPixel = BitsPerPixelFromDepth(depth);
        request.extraUsage = usage;
        hasFormat = true;
    }
    if (request.width == 0 || request.height == 0 || !hasFormat) {
        DDSURFACEDESC2 mode = EmptySurfaceDescription();
        mode.ddpfPixelFormat.dwSize = sizeof(ddraw::DDPIXELFORMAT);
        if (const HRESULT result = m_directDraw4->GetDisplayMode(&mode); win32::FAILED(result)) {
            ReportDirectDrawFailure(result);
            return false;
        }
        request.width = request.width != 0 ? request.width : static_cast<std::int32_t>(mode.dwWidth);
        request.height = request.height != 0 ? request.height : static_cast<std::int32_t>(mode.dwHeight);
        if (!hasFormat) {
            DescribeFormat(request, FormatOf(mode.ddpfPixelFormat));
        }
    }
    if (criterion.m_colorTag != nullptr && *criterion.m_colorTag == 0) {
        RaiseError(GraphicSystemErrNoColorTag);
        return false;
    }
    request.colorTag = 1;
    request.placement =
        criterion.m_placement != nullptr ? static_cast<std::uint32_t>(*criterion.m_placement) : 0;
    return true;
}

DirectX6GraphicHandle* DirectX6GraphicEngine::CreateSurfaceHandle(const SurfaceRequest& request) {
    auto* handle = new DirectX6GraphicHandle(this);
    handle->m_width = request.width;
    handle->m_height = request.height;
    handle->m_colorTag = request.colorTag;
    handle->m_placement = request.placement;
    handle->m_clipRect.Set(0, 0, request.width, request.height);
    const auto fail = [handle] {
        handle->ReleaseSurface();
        delete handle;
        return nullptr;
    };
    if (!SetRequestedFormat(handle->m_pixelFormat, request)) {
        RaiseError(GraphicSystemErrBadDepth);
        return fail();
    }
    DDSURFACEDESC2 description = EmptySurfaceDescription();
    if (!FillSurfaceDescription(description, *handle) || !MakeSurface(*handle, request, description) ||
        !handle->ReadSurfaceFormat()) {
        return fail();
    }
    if (handle->m_pixelFormat.IsIndexed()) {
        handle->MakePalette();
    }
    m_graphics.PushBack(handle);
    RestoredGraphicEvent restored;
    handle->NotifyGraphics(restored);
    // Memory the caller brought keeps its pixels: the graphic is made to show them.
    const bool callersPixels = handle->HasFixedMemory() && !handle->OwnsMemory();
    if (!restored.m_handled && !callersPixels) {
        handle->Clear();
    }
    return handle;
}

bool DirectX6GraphicEngine::MakeSurface(DirectX6GraphicHandle& handle, const SurfaceRequest& request,
                                        DDSURFACEDESC2& description) {
    if (request.callerMemory) {
        description.ddsCaps.dwCaps |= ddraw::DDSCAPS_OWNDC;
        if (request.memory != nullptr) {
            handle.UseCallerMemory(request.memory, request.pitch);
        } else if (request.pitch == 0) {
            RaiseError(GraphicSystemErrNoPixelMemory);
            return false;
        } else if (!handle.AllocateMemory(request.pitch)) {
            ReportDirectDrawFailure(ddraw::DDERR_OUTOFMEMORY);
            return false;
        }
        description.dwFlags |= ddraw::DDSD_PITCH | ddraw::DDSD_LPSURFACE;
        description.lPitch = handle.m_pitch;
        description.lpSurface = handle.m_pixels;
    }
    HRESULT result = m_directDraw4->CreateSurface(&description, &handle.m_surface, nullptr);
    if (win32::SUCCEEDED(result)) {
        return true;
    }
    if (!request.callerMemory) {
        ReportDirectDrawFailure(result);
        return false;
    }
    // A surface of its own, then put on the caller's memory.
    description.dwFlags &= ~(ddraw::DDSD_PITCH | ddraw::DDSD_LPSURFACE);
    description.lPitch = 0;
    description.lpSurface = nullptr;
    result = m_directDraw4->CreateSurface(&description, &handle.m_surface, nullptr);
    if (win32::SUCCEEDED(result)) {
        DDSURFACEDESC2 memory = EmptySurfaceDescription();
        FillSurfaceDescription(memory, handle);
        memory.dwFlags = ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH | ddraw::DDSD_PITCH |
                         ddraw::DDSD_PIXELFORMAT | ddraw::DDSD_LPSURFACE;
        memory.lPitch = handle.m_pitch;
        memory.lpSurface = handle.m_pixels;
        result = handle.m_surface->SetSurfaceDesc(&memory, 0);
    }
    if (win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        return false;
    }
    return true;
}

bool DirectX6GraphicEngine::DestroyHandle(ResourceHandle* handle, Resource* resource) {
    if (handle->GetReferenceCount() == 0) {
        if (auto* graphic = dynamic_cast<DirectX6GraphicHandle*>(handle)) {
            graphic->ReleaseSurface();
            m_graphics.Remove(graphic);
        } else if (auto* viewport = dynamic_cast<DirectX6ViewportHandle*>(handle)) {
            viewport->Shutdown();
            m_viewports.Remove(viewport);
        }
    }
    return DirectXGraphicEngine::DestroyHandle(handle, resource);
}

bool DirectX6GraphicEngine::Initialize() {
    ViewportDisplayModes fillOnly;
    EnumerateDisplayModes(fillOnly);
    return true;
}

bool DirectX6GraphicEngine::Terminate() {
    while (!m_displayModes.empty()) {
        m_displayModes.pop_back();
    }
    return true;
}

bool DirectX6GraphicEngine::Activate() {
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    DirectXHookWindow* current = hook != nullptr ? hook->GetCurrentWindow() : nullptr;
    m_mainWindow = current != nullptr ? current->GetDirectXWindow() : nullptr;
    if (m_mainWindow == nullptr) {
        Deactivate();
        return false;
    }
    const win32::HWND native = m_mainWindow->GetWindowHandle();
    m_savedStyle = win32::GetWindowLongA(native, win32::GWL_STYLE);
    m_savedExStyle = win32::GetWindowLongA(native, win32::GWL_EXSTYLE);
    win32::ShowWindow(native, win32::SW_HIDE);
    if (const HRESULT result = ddraw::DirectDrawCreate(nullptr, &m_directDraw, nullptr);
        win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCreate);
        Deactivate();
        return false;
    }
    if (const HRESULT result =
            m_directDraw->QueryInterface(ddraw::IID_IDirectDraw4, reinterpret_cast<void**>(&m_directDraw4));
        win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        Error().Report(DirectXGraphicEngineErrInterface, String("IDirectDraw4"));
        m_directDraw4 = nullptr;
        Deactivate();
        return false;
    }
    if (const HRESULT result = m_directDraw4->SetCooperativeLevel(native, ddraw::DDSCL_NORMAL);
        win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCooperativeLevel);
        Deactivate();
        return false;
    }
    return true;
}

bool DirectX6GraphicEngine::Deactivate() {
    ReleaseDirectDraw();
    DirectXWindow* main = GetMainWindow();
    if (main != nullptr && main->GetWindowHandle() != nullptr) {
        const win32::HWND native = main->GetWindowHandle();
        win32::SetWindowLongA(native, win32::GWL_EXSTYLE, m_savedExStyle);
        win32::SetWindowLongA(native, win32::GWL_STYLE, m_savedStyle);
        win32::SetWindowPos(native, nullptr, 0, 0, 0, 0, kRestyleFlags);
    }
    m_savedStyle = 0;
    m_savedExStyle = 0;
    m_mainWindow = nullptr;
    return true;
}

bool DirectX6GraphicEngine::MatchSearchCriterion(ResourceSearchCriterion* criterion) {
    if (!DirectXGraphicEngine::MatchSearchCriterion(criterion)) {
        return false;
    }
    const auto* graphic = dynamic_cast<const GraphicSearchCriterion*>(criterion);
    if (graphic == nullptr) {
        return false;
    }
    if (graphic->m_kind == GraphicSearchCriterion::kViewport) {
        return graphic->m_description != nullptr;
    }
    if (graphic->m_kind != GraphicSearchCriterion::kGraphic) {
        return false;
    }
    if (graphic->m_viewportHandle != nullptr) {
        auto* viewport = dynamic_cast<DirectX6ViewportHandle*>(graphic->m_viewportHandle);
        return viewport != nullptr && ValueOr(graphic->m_bufferIndex, 0u) <= viewport->GetBackBufferCount();
    }
    if (graphic->m_pixels != nullptr) {
        return CheckCallerMemory(*graphic, nullptr, true) == 0;
    }
    if (graphic->m_model != nullptr) {
        return CheckModel(*graphic, GetTypeId(), nullptr) == 0;
    }
    return ValueOr(graphic->m_colorTag, 1u) <= 1;
}

bool DirectX6GraphicEngine::MatchSearchCriterionThorough(ResourceSearchCriterion* criterion) {
    return DirectXGraphicEngine::MatchSearchCriterionThorough(criterion);
}

ddraw::IDirectDraw4* DirectX6GraphicEngine::GetDirectDraw() {
    return m_directDraw4;
}

bool DirectX6GraphicEngine::EnumerateDisplayModes(ViewportDisplayModes& visitor) {
    const GUIDDisplayMode* record = PrimaryDisplayModes();
    if (record == nullptr) {
        return false;
    }
    for (const DisplayMode& mode : record->modes) {
        if (!visitor.OnMode(Size(mode.width, mode.height), mode.format, mode.refreshRate, 1)) {
            break;
        }
    }
    return true;
}

DirectX6GraphicEngine::GUIDDisplayMode* DirectX6GraphicEngine::PrimaryDisplayModes() {
    for (const std::unique_ptr<GUIDDisplayMode>& record : m_displayModes) {
        if (record->device == com::GUID{}) {
            return record.get();
        }
    }
    ddraw::IDirectDraw* directDraw = nullptr;
    if (const HRESULT result = ddraw::DirectDrawCreate(nullptr, &directDraw, nullptr);
        win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCreate);
        return nullptr;
    }
    ddraw::IDirectDraw4* directDraw4 = nullptr;
    const HRESULT queried =
        directDraw->QueryInterface(ddraw::IID_IDirectDraw4, reinterpret_cast<void**>(&directDraw4));
    directDraw->Release();
    if (win32::FAILED(queried)) {
        ReportDirectDrawFailure(queried);
        Error().Report(DirectXGraphicEngineErrInterface, String("IDirectDraw4"));
        return nullptr;
    }
    if (const HRESULT result = directDraw4->SetCooperativeLevel(nullptr, ddraw::DDSCL_NORMAL);
        win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        RaiseError(DirectXGraphicEngineErrCooperativeLevel);
        directDraw4->Release();
        return nullptr;
    }
    auto record = std::make_unique<GUIDDisplayMode>();
    const HRESULT result = directDraw4->EnumDisplayModes(0, nullptr, record.get(), &AddMode);
    directDraw4->Release();
    if (win32::FAILED(result)) {
        ReportDirectDrawFailure(result);
        return nullptr;
    }
    m_displayModes.push_back(std::move(record));
    return m_displayModes.back().get();
}

bool DirectX6GraphicEngine::RestoreSurfaces() {
    bool restored = true;
    for (DirectX6ViewportHandle* viewport : m_viewports) {
        if (viewport->IsLost() && !viewport->Restore()) {
            restored = false;
        }
    }
    for (DirectX6GraphicHandle* graphic : m_graphics) {
        if (graphic->GetSurface() != nullptr && graphic->IsLost() && !graphic->Restore()) {
            restored = false;
        }
    }
    m_restorePending = !restored;
    return restored;
}

bool DirectX6GraphicEngine::FillSurfaceDescription(DDSURFACEDESC2& description,
                                                   const DirectX6GraphicHandle& handle) {
    if (description.dwSize < ddraw::kSurfaceDescriptionSize32 || handle.GetColorTag() != 1) {
        return false;
    }
    description.dwFlags = ddraw::DDSD_CAPS | ddraw::DDSD_HEIGHT | ddraw::DDSD_WIDTH;
    description.dwWidth = static_cast<win32::DWORD>(handle.GetWidth());
    description.dwHeight = static_cast<win32::DWORD>(handle.GetHeight());
    description.ddsCaps.dwCaps = ddraw::DDSCAPS_OFFSCREENPLAIN;
    switch (handle.GetPlacement()) {
    case 1:
        description.ddsCaps.dwCaps |= ddraw::DDSCAPS_VIDEOMEMORY | ddraw::DDSCAPS_LOCALVIDMEM;
        break;
    case 2:
        description.ddsCaps.dwCaps |= ddraw::DDSCAPS_VIDEOMEMORY | ddraw::DDSCAPS_NONLOCALVIDMEM;
        break;
    case 3:
        description.ddsCaps.dwCaps |= ddraw::DDSCAPS_SYSTEMMEMORY;
        break;
    default:
        break;
    }
    const PixelFormat& format = handle.GetPixelFormat();
    if (format.depth == 0) {
        return true;
    }
    ddraw::DDPIXELFORMAT& pixels = description.ddpfPixelFormat;
    description.dwFlags |= ddraw::DDSD_PIXELFORMAT;
    pixels.dwSize = sizeof(ddraw::DDPIXELFORMAT);
    pixels.dwFlags = ddraw::DDPF_RGB;
    pixels.dwRGBBitCount = BitsPerPixelFromDepth(format.depth);
    pixels.dwRBitMask = format.redMask;
    pixels.dwGBitMask = format.greenMask;
    pixels.dwBBitMask = format.blueMask;
    pixels.dwRGBAlphaBitMask = format.alphaMask;
    if (format.alphaMask != 0) {
        const std::uint8_t usage = format.extra.GetUsage();
        pixels.dwFlags |= usage == ExtraChannel::kUsageAlpha   ? ddraw::DDPF_ALPHAPIXELS
                          : usage == ExtraChannel::kUsageDepth ? ddraw::DDPF_ZPIXELS
                                                               : 0;
    }
    if (pixels.dwRGBBitCount <= 8 &&
        (format.redMask | format.greenMask | format.blueMask | format.alphaMask) == 0) {
        switch (pixels.dwRGBBitCount) {
        case 1:
            pixels.dwFlags |= ddraw::DDPF_PALETTEINDEXED1;
            break;
        case 2:
            pixels.dwFlags |= ddraw::DDPF_PALETTEINDEXED2;
            break;
        case 4:
            pixels.dwFlags |= ddraw::DDPF_PALETTEINDEXED4;
            break;
        case 8:
            pixels.dwFlags |= ddraw::DDPF_PALETTEINDEXED8;
            break;
        default:
            return false;
        }
    }
    return true;
}

DirectXWindow* DirectX6GraphicEngine::GetMainWindow() const {
    // A main window that has left the hook (destroyed, or deleted) is no longer the engine's.
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    DirectXHookWindow* current = hook != nullptr ? hook->GetCurrentWindow() : nullptr;
    if (m_mainWindow == nullptr || current == nullptr || current->GetDirectXWindow() != m_mainWindow) {
        return nullptr;
    }
    return m_mainWindow;
}

void DirectX6GraphicEngine::ReleaseDirectDraw() {
    ReleaseInterface(m_directDraw4);
    ReleaseInterface(m_directDraw);
}

} // namespace Vemo
