// The resource handle behind a viewport: the description of its window or screen mode, the pixel format of
// its front buffer, the viewports attached to it, and the base behaviour of every viewport operation. The
// base draws nothing and opens no window (its operations answer false, 0 or an empty value); an engine's
// viewport handle overrides what it implements.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/ViewportDescription.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "platform/win32/Types.h"
#include "resources/ResourceHandle.h"

#include <cstdint>

namespace Vemo {

class GraphicHandle;
class Viewport;
class ViewportDisplayModes;
class ViewportEvent;

class ViewportHandle : public ResourceHandle {
public:
    // The description starts as an untitled bordered window with a caption and a sizing frame, of client size
    // (0, 0) at (0, 0), the display's depth, colour tag 1, manual presentation, no back buffer, no flipping,
    // waiting for the vertical blank; the pixel format is cleared until surfaces exist.
    explicit ViewportHandle(ResourceEngine* engine);
    // Forgets the attached viewports; they stay.
    ~ViewportHandle() override;

    // Presents the first back buffer as the present mode says: 2 copies it to the front, 3 flips to it, any
    // other mode leaves presentation to the caller. A viewport without back buffer presents nothing.
    void Update() override;

    // Whether the window and every buffer exist and can be drawn; false in the base.
    virtual bool IsAvailable();
    virtual String GetTitle();
    virtual Point GetPosition();
    virtual std::int32_t GetWidth();
    virtual std::int32_t GetHeight();
    virtual Size GetSize();
    virtual bool IsFullscreen();
    virtual bool IsBordered();
    virtual bool HasCaption();
    virtual bool HasSizingFrame();
    virtual std::uint32_t GetDepth();
    virtual std::uint32_t GetColorTag();
    // Refuses flipping (3) while the viewport cannot flip, leaving the mode as it was.
    virtual bool SetPresentMode(std::uint32_t mode);
    virtual std::uint32_t GetPresentMode();
    virtual std::uint32_t GetBackBufferCount();
    virtual bool CanFlip();
    virtual bool SetWaitForVerticalBlank(bool wait);
    virtual bool GetWaitForVerticalBlank();
    // Opens the window or switches to the screen mode that the description asks for; false in the base.
    virtual bool OpenWindow(const ViewportDescription& description);
    virtual const ViewportDescription* GetDescription();
    // Calls the visitor once per display mode until it answers false; false in the base.
    virtual bool EnumDisplayModes(ViewportDisplayModes& modes, std::uint32_t flags);
    // Whether the front buffer's format has a palette.
    virtual bool IsPalettized();
    virtual const PixelFormat* GetPixelFormat();
    // 6 in the base.
    virtual std::uint32_t GetWindowState();
    // Presents the buffer (index into the buffers by role, or by presentation order when logical) by
    // flipping; false in the base, as are all the drawing operations below.
    virtual bool FlipToBuffer(std::uint32_t index, bool logical);
    virtual bool Flip(GraphicHandle* buffer);
    virtual bool BlitScaled(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                            std::uint32_t mode);
    // The form above with the whole source, (0, 0, width, height).
    virtual bool BlitScaled(const Rect& destination, GraphicHandle* source, std::uint32_t mode);
    virtual bool Blit(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                      std::uint32_t mode);
    // The form above with the whole source.
    virtual bool Blit(const Point& destination, GraphicHandle* source, std::uint32_t mode);
    // Presents the buffer by copying it to the front.
    virtual bool CopyBufferToFront(std::uint32_t index, bool logical);
    virtual bool CopyToFront(GraphicHandle* buffer);
    virtual bool FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    // Draws the fade from the first source (level 0) to the second (level 1) into the destination rectangle.
    virtual bool CrossFade(float level, const Rect& destination, GraphicHandle* first,
                           const Point& firstPoint, GraphicHandle* second, const Point& secondPoint);
    // Draws count characters of the text from start with the font, word-wrapped within the rectangle and
    // placed in it as the alignments say.
    virtual bool DrawText(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
                          GraphicSystem::HorizontalAlignment horizontal, const String& text,
                          std::uint32_t start, std::uint32_t count, win32::HFONT font, const Color& textColor,
                          const Color& background, bool transparent, bool useScreenContext);
    // Draws the text from the rectangle's top-left corner at the size it measures.
    virtual bool DrawText(const Rect& rect, const String& text, std::uint32_t start, std::uint32_t count,
                          win32::HFONT font, const Color& textColor, const Color& background,
                          bool transparent, bool useScreenContext);
    // The size of the text drawn with the font within the maximum size, also written to size; (0, 0) in the
    // base.
    virtual Size MeasureText(Size& size, const Size& maximum, const String& text, std::uint32_t start,
                             std::uint32_t count, win32::HFONT font);
    // The device context of the drawing buffer; 0 in the base.
    virtual win32::HDC GetDC();
    virtual void ReleaseDC(win32::HDC context);
    virtual bool SetClipRect(const Rect& rect);
    // The drawing buffer's clip rectangle; the base answers EmptyClipRect.
    virtual const Rect* GetClipRect();
    virtual bool IsInVerticalBlank();
    // Waits for the beginning (or the end) of the vertical blank.
    virtual bool WaitForVerticalBlank(bool begin);
    virtual bool IsLost();
    // Makes lost surfaces again.
    virtual bool Restore();
    // Hands the event to every attached viewport, in the order they were attached.
    virtual void DispatchEvent(ViewportEvent& event);
    // Does nothing; no caller needs it yet.
    virtual void Reserved();
    // The graphic handle of a buffer (by role, or by presentation order when logical); null in the base.
    virtual GraphicHandle* GetBufferHandle(std::uint32_t index, bool logical);

    // The empty rectangle (0, 0, 0, 0) shared by every clip-rectangle answer that has no surface behind it.
    static const Rect* EmptyClipRect();

    // The attached viewports, in the order they were attached; the Graphic System keeps the list.
    BasicList<Viewport*>& GetViewports() { return m_viewports; }

protected:
    ViewportDescription m_description;
    // The front buffer's format.
    PixelFormat m_pixelFormat;
    BasicList<Viewport*> m_viewports;
};

} // namespace Vemo
