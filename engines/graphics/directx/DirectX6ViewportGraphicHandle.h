// The graphic handle of one buffer of a DirectX 6 viewport. It keeps its foreground colour and colour key as
// colours, so that they survive a change of the display's depth: whenever the surface's format is read again
// their pixels are made anew in the new format. Restoring it restores the whole viewport.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/directx/DirectX6GraphicHandle.h"

namespace Vemo {

class DirectX6ViewportHandle;

class DirectX6ViewportGraphicHandle : public DirectX6GraphicHandle {
public:
    // Both colours black of tag 1.
    DirectX6ViewportGraphicHandle(DirectX6GraphicEngine* engine, DirectX6ViewportHandle* viewport);
    // Leaves its viewport's buffer tables.
    ~DirectX6ViewportGraphicHandle() override;

    // A viewport, a surface, and not lost.
    bool IsAvailable() override;
    // The colour in the surface's tag (another tag reads as black) and its pixel.
    bool SetForegroundColor(const Color& color) override;
    Color GetForegroundColor() override;
    // Also keeps the colour the pixel shows.
    bool SetForegroundPixel(std::uint32_t pixel) override;
    bool SetColorKey(const Color& color) override;
    Color GetColorKey() override;
    bool SetColorKeyPixel(std::uint32_t pixel) override;
    // A lost buffer is restored with every buffer of its viewport; false without a viewport.
    bool Restore() override;
    bool ReadSurfaceFormat() override;

    // Null once the viewport has let the buffer go.
    DirectX6ViewportHandle* GetViewport() const { return m_viewport; }
    // Whether the buffer's surface is the viewport's primary surface.
    bool IsPrimary() const { return m_isPrimary; }

private:
    friend class DirectX6ViewportHandle;

    DirectX6ViewportHandle* m_viewport;
    Color m_foregroundColor{PixelValue(), 1};
    Color m_colorKey{PixelValue(), 1};
    bool m_isPrimary = false;
};

} // namespace Vemo
