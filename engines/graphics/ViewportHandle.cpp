#include "engines/graphics/ViewportHandle.h"

#include "engines/graphics/FrontEndList.h"
#include "engines/graphics/GraphicHandle.h"
#include "engines/graphics/Viewport.h"
#include "engines/graphics/ViewportEvent.h"

namespace Vemo {

namespace {

constexpr std::uint32_t kPresentCopy = 2;
constexpr std::uint32_t kPresentFlip = 3;
constexpr std::uint32_t kDefaultWindowState = 6;

} // namespace

ViewportHandle::ViewportHandle(ResourceEngine* engine)
    : ResourceHandle(engine), m_description("", Point(0, 0), false, Size(0, 0), true, false, true, true, true,
                                            0, 1, 1, 0, false, true) {}

ViewportHandle::~ViewportHandle() = default;

void ViewportHandle::Update() {
    if (m_description.presentMode == kPresentCopy) {
        CopyBufferToFront(1, false);
    } else if (m_description.presentMode == kPresentFlip) {
        FlipToBuffer(1, false);
    }
}

bool ViewportHandle::IsAvailable() {
    return false;
}

String ViewportHandle::GetTitle() {
    return m_description.title;
}

Point ViewportHandle::GetPosition() {
    return m_description.position;
}

std::int32_t ViewportHandle::GetWidth() {
    return m_description.size.width;
}

std::int32_t ViewportHandle::GetHeight() {
    return m_description.size.height;
}

Size ViewportHandle::GetSize() {
    return m_description.size;
}

bool ViewportHandle::IsFullscreen() {
    return m_description.fullscreen;
}

bool ViewportHandle::IsBordered() {
    return m_description.bordered;
}

bool ViewportHandle::HasCaption() {
    return m_description.caption;
}

bool ViewportHandle::HasSizingFrame() {
    return m_description.sizingFrame;
}

std::uint32_t ViewportHandle::GetDepth() {
    return m_description.depth;
}

std::uint32_t ViewportHandle::GetColorTag() {
    return m_description.colorTag;
}

bool ViewportHandle::SetPresentMode(std::uint32_t mode) {
    if (mode == kPresentFlip && !m_description.flip) {
        return false;
    }
    m_description.presentMode = mode;
    return true;
}

std::uint32_t ViewportHandle::GetPresentMode() {
    return m_description.presentMode;
}

std::uint32_t ViewportHandle::GetBackBufferCount() {
    return m_description.backBufferCount;
}

bool ViewportHandle::CanFlip() {
    return m_description.flip;
}

bool ViewportHandle::SetWaitForVerticalBlank(bool wait) {
    m_description.waitForVerticalBlank = wait;
    return true;
}

bool ViewportHandle::GetWaitForVerticalBlank() {
    return m_description.waitForVerticalBlank;
}

bool ViewportHandle::OpenWindow(const ViewportDescription&) {
    return false;
}

const ViewportDescription* ViewportHandle::GetDescription() {
    return &m_description;
}

bool ViewportHandle::EnumDisplayModes(ViewportDisplayModes&, std::uint32_t) {
    return false;
}

bool ViewportHandle::IsPalettized() {
    return m_pixelFormat.IsIndexed();
}

const PixelFormat* ViewportHandle::GetPixelFormat() {
    return &m_pixelFormat;
}

std::uint32_t ViewportHandle::GetWindowState() {
    return kDefaultWindowState;
}

bool ViewportHandle::FlipToBuffer(std::uint32_t, bool) {
    return false;
}

bool ViewportHandle::Flip(GraphicHandle*) {
    return false;
}

bool ViewportHandle::BlitScaled(const Rect&, GraphicHandle*, const Rect&, std::uint32_t) {
    return false;
}

bool ViewportHandle::BlitScaled(const Rect& destination, GraphicHandle* source, std::uint32_t mode) {
    if (source == nullptr) {
        return false;
    }
    return BlitScaled(destination, source, Rect(Point(0, 0), source->GetSize()), mode);
}

bool ViewportHandle::Blit(const Point&, GraphicHandle*, const Rect&, std::uint32_t) {
    return false;
}

bool ViewportHandle::Blit(const Point& destination, GraphicHandle* source, std::uint32_t mode) {
    if (source == nullptr) {
        return false;
    }
    return Blit(destination, source, Rect(Point(0, 0), source->GetSize()), mode);
}

bool ViewportHandle::CopyBufferToFront(std::uint32_t, bool) {
    return false;
}

bool ViewportHandle::CopyToFront(GraphicHandle*) {
    return false;
}

bool ViewportHandle::FillRect(const Rect&, std::uint32_t, bool, std::uint32_t) {
    return false;
}

bool ViewportHandle::FillRect(const Rect&, const Color&, bool, std::uint32_t) {
    return false;
}

bool ViewportHandle::CrossFade(float, const Rect&, GraphicHandle*, const Point&, GraphicHandle*,
                               const Point&) {
    return false;
}

bool ViewportHandle::DrawText(const Rect&, GraphicSystem::VerticalAlignment,
                              GraphicSystem::HorizontalAlignment, const String&, std::uint32_t, std::uint32_t,
                              win32::HFONT, const Color&, const Color&, bool, bool) {
    return false;
}

bool ViewportHandle::DrawText(const Rect&, const String&, std::uint32_t, std::uint32_t, win32::HFONT,
                              const Color&, const Color&, bool, bool) {
    return false;
}

Size ViewportHandle::MeasureText(Size& size, const Size&, const String&, std::uint32_t, std::uint32_t,
                                 win32::HFONT) {
    size = Size(0, 0);
    return size;
}

win32::HDC ViewportHandle::GetDC() {
    return nullptr;
}

void ViewportHandle::ReleaseDC(win32::HDC) {}

bool ViewportHandle::SetClipRect(const Rect&) {
    return false;
}

const Rect* ViewportHandle::GetClipRect() {
    return EmptyClipRect();
}

bool ViewportHandle::IsInVerticalBlank() {
    return false;
}

bool ViewportHandle::WaitForVerticalBlank(bool) {
    return false;
}

bool ViewportHandle::IsLost() {
    return false;
}

bool ViewportHandle::Restore() {
    return false;
}

void ViewportHandle::DispatchEvent(ViewportEvent& event) {
    VisitAttached(m_viewports, [&event](Viewport& viewport) { viewport.HandleEvent(event); });
}

void ViewportHandle::Reserved() {}

GraphicHandle* ViewportHandle::GetBufferHandle(std::uint32_t, bool) {
    return nullptr;
}

const Rect* ViewportHandle::EmptyClipRect() {
    static const Rect empty(0, 0, 0, 0);
    return &empty;
}

} // namespace Vemo
