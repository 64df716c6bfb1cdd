#include "engines/graphics/directx/DirectX6ViewportGraphicHandle.h"

#include "engines/graphics/GraphicErrorCodes.h"
#include "engines/graphics/directx/DirectX6ViewportHandle.h"
#include "resources/error/Error.h"

namespace Vemo {

DirectX6ViewportGraphicHandle::DirectX6ViewportGraphicHandle(DirectX6GraphicEngine* engine,
                                                             DirectX6ViewportHandle* viewport)
    : DirectX6GraphicHandle(engine), m_viewport(viewport) {}

DirectX6ViewportGraphicHandle::~DirectX6ViewportGraphicHandle() {
    if (m_viewport != nullptr) {
        m_viewport->ForgetBuffer(this);
    }
}

bool DirectX6ViewportGraphicHandle::IsAvailable() {
    return m_viewport != nullptr && DirectX6GraphicHandle::IsAvailable();
}

bool DirectX6ViewportGraphicHandle::SetForegroundColor(const Color& color) {
    const Color ours(color.ConvertTo(m_colorTag), m_colorTag);
    SetForegroundPixel(PixelFromColor(ours));
    m_foregroundColor = ours;
    return true;
}

Color DirectX6ViewportGraphicHandle::GetForegroundColor() {
    return m_foregroundColor;
}

bool DirectX6ViewportGraphicHandle::SetForegroundPixel(std::uint32_t pixel) {
    m_foregroundPixel = pixel;
    m_foregroundColor = ColorFromPixel(pixel);
    return true;
}

bool DirectX6ViewportGraphicHandle::SetColorKey(const Color& color) {
    const Color ours(color.ConvertTo(m_colorTag), m_colorTag);
    const bool set = SetColorKeyPixel(PixelFromColor(ours));
    m_colorKey = ours;
    return set;
}

Color DirectX6ViewportGraphicHandle::GetColorKey() {
    return m_colorKey;
}

bool DirectX6ViewportGraphicHandle::SetColorKeyPixel(std::uint32_t pixel) {
    m_colorKey = ColorFromPixel(pixel);
    return DirectX6GraphicHandle::SetColorKeyPixel(pixel);
}

bool DirectX6ViewportGraphicHandle::Restore() {
    if (m_surface == nullptr) {
        RaiseError(GraphicSystemErrNoSurface);
        return false;
    }
    if (!IsLost()) {
        return true;
    }
    return m_viewport != nullptr && m_viewport->Restore();
}

// The pixels are made from the colours in the format just read, so that a change of depth keeps the colours.
bool DirectX6ViewportGraphicHandle::ReadSurfaceFormat() {
    if (!ReadFormatFromSurface()) {
        return false;
    }
    m_foregroundPixel = PixelFromColor(m_foregroundColor);
    m_colorKeyPixel = PixelFromColor(m_colorKey);
    return ApplyColorKey();
}

} // namespace Vemo
