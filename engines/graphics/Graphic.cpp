#include "engines/graphics/Graphic.h"

#include "engines/graphics/Clipping.h"
#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/GraphicEvent.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportHandle.h"
#include "resources/ResourceEngine.h"
#include "resources/error/Error.h"

namespace Vemo {

namespace {

constexpr std::uint32_t kDefaultColorTag = 1;

// Restricts the criterion to the named engine unless the name is the whole family's.
void WantEngine(GraphicSearchCriterion& criterion, const std::uint32_t& engineId) {
    if (engineId != kGraphicTypeId) {
        criterion.SetWantedEngineId(&engineId);
    }
}

// Points the criterion's field at the value when the value is given (non-zero).
template <class T>
void GiveIfSet(const T*& field, const T& value) {
    if (value != T{}) {
        field = &value;
    }
}

} // namespace

Graphic::Graphic() = default;

Graphic::~Graphic() {
    ReleaseHandle();
}

bool Graphic::IsOpen() const {
    return GetHandle() != nullptr && m_graphicHandle != nullptr;
}

void Graphic::SetHandle(ResourceHandle* handle) {
    GraphicSystemResource::SetHandle(handle);
    m_graphicHandle = dynamic_cast<GraphicHandle*>(handle);
}

GraphicHandle* Graphic::Handle() const {
    return HasHandle(m_graphicHandle) ? m_graphicHandle : nullptr;
}

GraphicHandle* Graphic::HandleWithSource(const Graphic& source, GraphicHandle*& sourceHandle) const {
    sourceHandle = source.m_graphicHandle;
    return HasHandles(m_graphicHandle, sourceHandle) ? m_graphicHandle : nullptr;
}

bool Graphic::Create(void* pixels, std::int32_t width, std::int32_t height, const PixelFormat* format,
                     std::int32_t pitch, GraphicSystem::Memory placement, std::uint32_t colorTag,
                     std::uint32_t engineId) {
    GraphicSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    ErrorCode missing = 0;
    if (width == 0) {
        missing = GraphicSystemErrNoWidth;
    } else if (height == 0) {
        missing = GraphicSystemErrNoHeight;
    } else if (colorTag == 0) {
        missing = GraphicSystemErrNoColorTag;
    } else if (placement == GraphicSystem::Memory::Any) {
        missing = GraphicSystemErrNoPlacement;
    } else if (pitch != 0 && format != nullptr &&
               std::int64_t{PixelsFromBytes(pitch, format->depth)} < std::int64_t{width}) {
        missing = GraphicSystemErrPitchTooShort;
    }
    if (missing != 0) {
        RaiseError(missing);
        return false;
    }
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    criterion.m_width = &width;
    criterion.m_height = &height;
    criterion.m_colorTag = &colorTag;
    criterion.m_placement = &placement;
    criterion.m_pixels = &pixels;
    GiveIfSet(criterion.m_pitch, pitch);
    criterion.m_pixelFormat = format;
    WantEngine(criterion, engineId);
    return OpenThrough(system, criterion);
}

bool Graphic::Open(const Graphic& model, std::int32_t width, std::int32_t height,
                   GraphicSystem::Memory placement, std::uint32_t engineId) {
    GraphicSystem* system = PrepareOpenFrom(model.m_graphicHandle);
    if (system == nullptr) {
        return false;
    }
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    GiveIfSet(criterion.m_width, width);
    GiveIfSet(criterion.m_height, height);
    GiveIfSet(criterion.m_placement, placement);
    criterion.m_model = model.m_graphicHandle;
    const ResourceEngine* modelEngine = model.m_graphicHandle->GetEngine();
    const std::uint32_t engine =
        engineId == kGraphicTypeId && modelEngine != nullptr ? modelEngine->GetTypeId() : engineId;
    WantEngine(criterion, engine);
    return OpenThrough(system, criterion);
}

bool Graphic::Open(std::int32_t width, std::int32_t height, const PixelFormat* format,
                   GraphicSystem::Memory placement, std::uint32_t colorTag, std::uint32_t engineId) {
    GraphicSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    GiveIfSet(criterion.m_width, width);
    GiveIfSet(criterion.m_height, height);
    criterion.m_pixelFormat = format;
    GiveIfSet(criterion.m_colorTag, colorTag);
    GiveIfSet(criterion.m_placement, placement);
    WantEngine(criterion, engineId);
    return OpenThrough(system, criterion);
}

bool Graphic::Open(std::int32_t width, std::int32_t height, DepthCode depth, GraphicSystem::Memory placement,
                   const ExtraChannel& extraChannel, std::uint32_t colorTag, std::uint32_t engineId) {
    GraphicSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    const std::uint32_t usage = extraChannel.GetUsage();
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    GiveIfSet(criterion.m_width, width);
    GiveIfSet(criterion.m_height, height);
    GiveIfSet(criterion.m_depthCode, depth);
    GiveIfSet(criterion.m_placement, placement);
    criterion.m_extraUsage = &usage;
    GiveIfSet(criterion.m_colorTag, colorTag);
    WantEngine(criterion, engineId);
    return OpenThrough(system, criterion);
}

bool Graphic::OpenOnViewport(Viewport* viewport, std::uint32_t bufferIndex, std::uint8_t flag) {
    ViewportHandle* viewportHandle = viewport != nullptr ? viewport->GetViewportHandle() : nullptr;
    GraphicSystem* system = PrepareOpenFrom(viewportHandle);
    if (system == nullptr) {
        return false;
    }
    if (bufferIndex > viewport->GetBackBufferCount()) {
        RaiseError(GraphicSystemErrBufferIndex);
        return false;
    }
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kGraphic);
    criterion.m_viewportHandle = viewportHandle;
    criterion.m_bufferIndex = &bufferIndex;
    criterion.m_bufferFlag = &flag;
    return OpenThrough(system, criterion);
}

bool Graphic::OpenOnGraphic(const Graphic& other) {
    GraphicSystem* system = PrepareOpenFrom(other.m_graphicHandle);
    return system != nullptr && ShareThrough(system, other.m_graphicHandle);
}

std::int32_t Graphic::GetWidth() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetWidth() : 0;
}

std::int32_t Graphic::GetHeight() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetHeight() : 0;
}

Size Graphic::GetSize() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetSize() : Size(0, 0);
}

DepthCode Graphic::GetDepth() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetDepth() : 0;
}

std::uint32_t Graphic::GetColorTag() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetColorTag() : kDefaultColorTag;
}

std::uint32_t Graphic::GetPlacement() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPlacement() : 0;
}

std::int32_t Graphic::GetPitch() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetLockedPitch() : 0;
}

std::uint8_t* Graphic::GetPixels() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetLockedPixels() : nullptr;
}

bool Graphic::SetReadOnly(bool readOnly) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetReadOnly(readOnly);
}

bool Graphic::IsReadOnly() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsReadOnly();
}

std::uint32_t Graphic::GetLostFlag() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetLostFlag() : 0;
}

bool Graphic::IsPalettized() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsPalettized();
}

PixelFormat Graphic::GetPixelFormat() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPixelFormat() : PixelFormat();
}

bool Graphic::SetClipRect(const Rect& rect) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetClipRect(rect);
}

Rect Graphic::GetClipRect() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetClipRect() : Rect();
}

bool Graphic::SetForegroundColor(const Color& color) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetForegroundColor(color);
}

Color Graphic::GetForegroundColor() {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetForegroundColor() : Color();
}

bool Graphic::SetForegroundPixel(std::uint32_t pixel) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetForegroundPixel(pixel);
}

std::uint32_t Graphic::GetForegroundPixel() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetForegroundPixel() : 0;
}

bool Graphic::SetFilled(bool filled) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetFilled(filled);
}

bool Graphic::IsFilled() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsFilled();
}

bool Graphic::SetColorKeyEnabled(bool enabled) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetColorKeyEnabled(enabled);
}

bool Graphic::IsColorKeyEnabled() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsColorKeyEnabled();
}

bool Graphic::SetColorKey(const Color& color) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetColorKey(color);
}

Color Graphic::GetColorKey() {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetColorKey() : Color();
}

bool Graphic::SetColorKeyPixel(std::uint32_t pixel) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetColorKeyPixel(pixel);
}

std::uint32_t Graphic::GetColorKeyPixel() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetColorKeyPixel() : 0;
}

bool Graphic::SetBlitMode(std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetBlitMode(mode);
}

std::uint32_t Graphic::GetBlitMode() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetBlitMode() : 0;
}

bool Graphic::SetDrawMode(std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetDrawMode(mode);
}

std::uint32_t Graphic::GetDrawMode() const {
    const GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetDrawMode() : 0;
}

bool Graphic::HasBlitter() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->HasBlitter();
}

bool Graphic::HasAlphaBlitter() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->HasAlphaBlitter();
}

bool Graphic::BlitScaled(const Rect& destination, const Graphic& source, const Rect& sourceRect,
                         std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    GraphicHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->BlitScaled(destination, sourceHandle, sourceRect, mode);
}

bool Graphic::BlitScaled(const Rect& destination, const Graphic& source, std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    GraphicHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->BlitScaled(destination, sourceHandle, mode);
}

bool Graphic::Blit(const Point& destination, const Graphic& source, const Rect& sourceRect,
                   std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    GraphicHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->Blit(destination, sourceHandle, sourceRect, mode);
}

bool Graphic::Blit(const Point& destination, const Graphic& source, std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    GraphicHandle* handle = HandleWithSource(source, sourceHandle);
    return handle != nullptr && handle->Blit(destination, sourceHandle, mode);
}

bool Graphic::Clear() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->Clear();
}

bool Graphic::DrawLine(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawLine(from, to, pixel, mode);
}

bool Graphic::DrawLine(const Point& from, const Point& to, const Color& color, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawLine(from, to, color, mode);
}

bool Graphic::DrawLine(const Point& from, const Point& to) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawLine(from, to);
}

bool Graphic::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y, std::uint32_t pixel,
                                 std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawHorizontalLine(x1, x2, y, pixel, mode);
}

bool Graphic::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y, const Color& color,
                                 std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawHorizontalLine(x1, x2, y, color, mode);
}

bool Graphic::DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawHorizontalLine(x1, x2, y);
}

bool Graphic::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, std::uint32_t pixel,
                               std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawVerticalLine(x, y1, y2, pixel, mode);
}

bool Graphic::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, const Color& color,
                               std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawVerticalLine(x, y1, y2, color, mode);
}

bool Graphic::DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawVerticalLine(x, y1, y2);
}

bool Graphic::FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->FillRect(rect, pixel, filled, mode);
}

bool Graphic::FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->FillRect(rect, color, filled, mode);
}

bool Graphic::FillRect(const Rect& rect) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->FillRect(rect);
}

bool Graphic::DrawCircle(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                         std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawCircle(centre, radius, pixel, filled, mode);
}

bool Graphic::DrawCircle(const Point& centre, std::int32_t radius, const Color& color, bool filled,
                         std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawCircle(centre, radius, color, filled, mode);
}

bool Graphic::DrawCircle(const Point& centre, std::int32_t radius) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->DrawCircle(centre, radius);
}

bool Graphic::ReservedRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->ReservedRect(rect, pixel, filled, mode);
}

bool Graphic::ReservedRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->ReservedRect(rect, color, filled, mode);
}

bool Graphic::ReservedRect(const Rect& rect) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->ReservedRect(rect);
}

bool Graphic::ClipLine(Point& from, Point& to, const Rect& box) {
    return Handle() != nullptr && ClipLineToBox(from, to, box);
}

bool Graphic::ClipScaledToRect(Rect& destination, Rect& source, const Rect& clip) {
    return Handle() != nullptr && ClipScaledBlitToRect(destination, source, clip);
}

bool Graphic::ClipScaledToSize(Rect& destination, Rect& source, const Size& size) {
    return Handle() != nullptr && ClipScaledBlitToSize(destination, source, size);
}

bool Graphic::ClipToRect(Point& destination, Rect& source, const Rect& clip) {
    return Handle() != nullptr && ClipBlitToRect(destination, source, clip);
}

bool Graphic::ClipToSize(Point& destination, Rect& source, const Size& size) {
    return Handle() != nullptr && ClipBlitToSize(destination, source, size);
}

std::uint32_t Graphic::ColorToPixel(const Color& color) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->ColorToPixel(color) : 0;
}

Color Graphic::NearestColor(const Color& color) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->NearestColor(color) : Color();
}

bool Graphic::SetPaletteEntry(const Color& color, std::uint32_t index) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetPaletteEntry(color, index);
}

Color Graphic::GetPaletteEntry(std::uint32_t index) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPaletteEntry(index) : Color();
}

bool Graphic::SetPaletteEntryImpl(PixelValue color, std::uint32_t index) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetPaletteEntryImpl(color, index);
}

PixelValue Graphic::GetPaletteEntryImpl(std::uint32_t index) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPaletteEntryImpl(index) : PixelValue();
}

bool Graphic::SetPixel(const Color& color, const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetPixel(color, point);
}

Color Graphic::GetPixelColor(const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPixelColor(point) : Color();
}

bool Graphic::SetPixel(std::uint32_t pixel, const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetPixel(pixel, point);
}

std::uint32_t Graphic::GetPixel(const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetPixel(point) : 0;
}

bool Graphic::PlotPixel(std::uint32_t pixel, const Point& point, std::uint32_t mode) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->PlotPixel(pixel, point, mode);
}

bool Graphic::SetAlpha(std::uint32_t alpha, const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetAlpha(alpha, point);
}

std::uint32_t Graphic::GetAlpha(const Point& point) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetAlpha(point) : 0;
}

bool Graphic::SetAlphaGraphic(Graphic* graphic, std::uint32_t info) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->SetAlphaGraphic(graphic, info);
}

bool Graphic::ClearAlphaGraphic(Graphic* graphic) {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->ClearAlphaGraphic(graphic);
}

Graphic* Graphic::GetAlphaGraphic(std::uint32_t* info) {
    GraphicHandle* handle = Handle();
    return handle != nullptr ? handle->GetAlphaGraphic(info) : nullptr;
}

bool Graphic::Lock() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->Lock();
}

bool Graphic::Unlock() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->Unlock();
}

bool Graphic::IsLocked() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsLocked();
}

bool Graphic::IsLost() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->IsLost();
}

bool Graphic::Restore() {
    GraphicHandle* handle = Handle();
    return handle != nullptr && handle->Restore();
}

void Graphic::HandleEvent(GraphicEvent& event) {
    event.Dispatch(*this);
}

void Graphic::OnRestored(bool*) {}

} // namespace Vemo
