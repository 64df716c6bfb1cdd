#include "engines/graphics/Viewport.h"

#include "engines/graphics/Graphic.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/GraphicSearchCriterion.h"
#include "engines/graphics/ViewportEvent.h"
#include "engines/graphics/ViewportHandle.h"

namespace Vemo {

namespace {

constexpr std::uint32_t kDefaultPresentMode = 1;
constexpr std::uint32_t kDefaultWindowState = 6;

} // namespace

Viewport::Viewport() = default;

Viewport::~Viewport() {
    ReleaseHandle();
}

bool Viewport::IsOpen() const {
    return GetHandle() != nullptr && m_viewportHandle != nullptr;
}

void Viewport::SetHandle(ResourceHandle* handle) {
    GraphicSystemResource::SetHandle(handle);
    m_viewportHandle = dynamic_cast<ViewportHandle*>(handle);
}

ViewportHandle* Viewport::Handle() const {
    return HasHandle(m_viewportHandle) ? m_viewportHandle : nullptr;
}

ViewportHandle* Viewport::HandleWithGraphic(const Graphic& graphic, GraphicHandle*& graphicHandle) const {
    graphicHandle = graphic.GetGraphicHandle();
    return HasHandles(m_viewportHandle, graphicHandle) ? m_viewportHandle : nullptr;
}

bool Viewport::Open(const ViewportDescription& description, std::uint32_t engineId) {
    GraphicSystem* system = PrepareOpen();
    if (system == nullptr) {
        return false;
    }
    GraphicSearchCriterion criterion(GraphicSearchCriterion::kViewport);
    criterion.m_description = &description;
    if (engineId != kGraphicTypeId) {
        criterion.SetWantedEngineId(&engineId);
    }
    return OpenThrough(system, criterion);
}

bool Viewport::OpenOnViewport(const Viewport& other) {
    GraphicSystem* system = PrepareOpenFrom(other.m_viewportHandle);
    return system != nullptr && ShareThrough(system, other.m_viewportHandle);
}

String Viewport::GetTitle() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetTitle() : String();
}

Point Viewport::GetPosition() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetPosition() : Point(0, 0);
}

std::int32_t Viewport::GetWidth() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetWidth() : 0;
}

std::int32_t Viewport::GetHeight() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetHeight() : 0;
}

Size Viewport::GetSize() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetSize() : Size(0, 0);
}

bool Viewport::IsFullscreen() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->IsFullscreen();
}

bool Viewport::IsBordered() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->IsBordered();
}

bool Viewport::HasCaption() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->HasCaption();
}

bool Viewport::HasSizingFrame() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->HasSizingFrame();
}

std::uint32_t Viewport::GetDepth() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetDepth() : 0;
}

std::uint32_t Viewport::GetColorTag() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetColorTag() : 0;
}

bool Viewport::SetPresentMode(std::uint32_t mode) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->SetPresentMode(mode);
}

std::uint32_t Viewport::GetPresentMode() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetPresentMode() : kDefaultPresentMode;
}

std::uint32_t Viewport::GetBackBufferCount() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetBackBufferCount() : 0;
}

bool Viewport::CanFlip() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->CanFlip();
}

bool Viewport::SetWaitForVerticalBlank(bool wait) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->SetWaitForVerticalBlank(wait);
}

bool Viewport::GetWaitForVerticalBlank() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->GetWaitForVerticalBlank();
}

bool Viewport::OpenWindow(const ViewportDescription& description) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->OpenWindow(description);
}

const ViewportDescription* Viewport::GetDescription() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetDescription() : nullptr;
}

bool Viewport::EnumDisplayModes(ViewportDisplayModes& modes, std::uint32_t flags) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->EnumDisplayModes(modes, flags);
}

bool Viewport::IsPalettized() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->IsPalettized();
}

const PixelFormat* Viewport::GetPixelFormat() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetPixelFormat() : nullptr;
}

std::uint32_t Viewport::GetWindowState() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetWindowState() : kDefaultWindowState;
}

bool Viewport::FlipToBuffer(std::uint32_t index, bool logical) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->FlipToBuffer(index, logical);
}

bool Viewport::Flip(const Graphic& buffer) {
    GraphicHandle* bufferHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(buffer, bufferHandle);
    return handle != nullptr && handle->Flip(bufferHandle);
}

bool Viewport::BlitScaled(const Rect& destination, const Graphic& source, const Rect& sourceRect,
                          std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(source, sourceHandle);
    return handle != nullptr && handle->BlitScaled(destination, sourceHandle, sourceRect, mode);
}

bool Viewport::BlitScaled(const Rect& destination, const Graphic& source, std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(source, sourceHandle);
    return handle != nullptr && handle->BlitScaled(destination, sourceHandle, mode);
}

bool Viewport::Blit(const Point& destination, const Graphic& source, const Rect& sourceRect,
                    std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(source, sourceHandle);
    return handle != nullptr && handle->Blit(destination, sourceHandle, sourceRect, mode);
}

bool Viewport::Blit(const Point& destination, const Graphic& source, std::uint32_t mode) {
    GraphicHandle* sourceHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(source, sourceHandle);
    return handle != nullptr && handle->Blit(destination, sourceHandle, mode);
}

bool Viewport::CopyBufferToFront(std::uint32_t index, bool logical) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->CopyBufferToFront(index, logical);
}

bool Viewport::CopyToFront(const Graphic& buffer) {
    GraphicHandle* bufferHandle = nullptr;
    ViewportHandle* handle = HandleWithGraphic(buffer, bufferHandle);
    return handle != nullptr && handle->CopyToFront(bufferHandle);
}

bool Viewport::FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->FillRect(rect, pixel, filled, mode);
}

bool Viewport::FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->FillRect(rect, color, filled, mode);
}

bool Viewport::CrossFade(float level, const Rect& destination, GraphicHandle* first, const Point& firstPoint,
                         GraphicHandle* second, const Point& secondPoint) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->CrossFade(level, destination, first, firstPoint, second, secondPoint);
}

bool Viewport::DrawText(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
                        GraphicSystem::HorizontalAlignment horizontal, const String& text,
                        std::uint32_t start, std::uint32_t count, win32::HFONT font, const Color& textColor,
                        const Color& background, bool transparent, bool useScreenContext) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->DrawText(rect, vertical, horizontal, text, start, count, font,
                                                 textColor, background, transparent, useScreenContext);
}

bool Viewport::DrawText(const Rect& rect, const String& text, std::uint32_t start, std::uint32_t count,
                        win32::HFONT font, const Color& textColor, const Color& background, bool transparent,
                        bool useScreenContext) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->DrawText(rect, text, start, count, font, textColor, background,
                                                 transparent, useScreenContext);
}

Size Viewport::MeasureText(Size& size, const Size& maximum, const String& text, std::uint32_t start,
                           std::uint32_t count, win32::HFONT font) {
    ViewportHandle* handle = Handle();
    if (handle == nullptr) {
        size = Size(0, 0);
        return size;
    }
    return handle->MeasureText(size, maximum, text, start, count, font);
}

win32::HDC Viewport::GetDC() {
    return m_viewportHandle != nullptr ? m_viewportHandle->GetDC() : nullptr;
}

void Viewport::ReleaseDC(win32::HDC context) {
    if (m_viewportHandle != nullptr) {
        m_viewportHandle->ReleaseDC(context);
    }
}

bool Viewport::SetClipRect(const Rect& rect) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->SetClipRect(rect);
}

const Rect* Viewport::GetClipRect() {
    ViewportHandle* handle = Handle();
    return handle != nullptr ? handle->GetClipRect() : ViewportHandle::EmptyClipRect();
}

bool Viewport::IsInVerticalBlank() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->IsInVerticalBlank();
}

bool Viewport::WaitForVerticalBlank(bool begin) {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->WaitForVerticalBlank(begin);
}

bool Viewport::IsLost() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->IsLost();
}

bool Viewport::Restore() {
    ViewportHandle* handle = Handle();
    return handle != nullptr && handle->Restore();
}

void Viewport::HandleEvent(ViewportEvent& event) {
    event.Dispatch(*this);
}

void Viewport::OnActivate() {}

void Viewport::OnClose(bool*) {}

void Viewport::OnClosed() {}

void Viewport::OnDeactivate() {}

void Viewport::OnPaint(Rect*, bool*) {}

void Viewport::OnRestored(bool) {}

void Viewport::OnRestore() {}

void Viewport::OnStyleChanged() {}

} // namespace Vemo
