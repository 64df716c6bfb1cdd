// The system's on-screen drawing target as its users hold it: a thin front-end that forwards each operation
// to its viewport handle and receives the handle's notifications. The runtime's viewport derives from it and
// overrides the notifications, which do nothing here.
//
// Without a handle every forwarding operation reports ResourceSystemErrNoHandle (no text) and answers its
// default: false, 0, an empty value, 1 for the present mode, 6 for the window state, the shared empty
// rectangle for the clip rectangle; GetDC and ReleaseDC answer 0 and do nothing without a report. The
// operations that take a graphic refuse the same way when the graphic is closed.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/GraphicSystemResource.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "platform/win32/Types.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class Graphic;
class GraphicHandle;
struct PixelFormat;
struct ViewportDescription;
class ViewportDisplayModes;
class ViewportEvent;
class ViewportHandle;

class Viewport : public GraphicSystemResource {
public:
    Viewport();
    // Closes the handle while the viewport is still whole, so that the handle's list lets go of it.
    ~Viewport() override;

    // Whether a viewport handle is attached.
    bool IsOpen() const override;
    // Also keeps the handle as a ViewportHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // Opens the window or screen mode that the description asks for, through the named engine (the family's
    // id: any graphic engine). Refuses an open viewport (ResourceSystemErrAlreadyOpen) and a missing Graphic
    // System (ResourceSystemErrNoSystem); when the system opens nothing, ResourceSystemErrOpenFailed.
    virtual bool Open(const ViewportDescription& description, std::uint32_t engineId = kGraphicTypeId);
    // Shares the other viewport's handle: ResourceSystemErrAlreadyOpen, ResourceSystemErrNoHandle when the
    // other is closed, ResourceSystemErrNoSystem, ResourceSystemErrShareFailed when the system refuses.
    virtual bool OpenOnViewport(const Viewport& other);

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
    // 1 manual, 2 copy, 3 flip (refused while the viewport cannot flip).
    virtual bool SetPresentMode(std::uint32_t mode);
    virtual std::uint32_t GetPresentMode();
    virtual std::uint32_t GetBackBufferCount();
    virtual bool CanFlip();
    virtual bool SetWaitForVerticalBlank(bool wait);
    virtual bool GetWaitForVerticalBlank();
    virtual bool OpenWindow(const ViewportDescription& description);
    virtual const ViewportDescription* GetDescription();
    virtual bool EnumDisplayModes(ViewportDisplayModes& modes, std::uint32_t flags);
    virtual bool IsPalettized();
    virtual const PixelFormat* GetPixelFormat();
    virtual std::uint32_t GetWindowState();
    virtual bool FlipToBuffer(std::uint32_t index, bool logical);
    virtual bool Flip(const Graphic& buffer);
    virtual bool BlitScaled(const Rect& destination, const Graphic& source, const Rect& sourceRect,
                            std::uint32_t mode);
    virtual bool BlitScaled(const Rect& destination, const Graphic& source, std::uint32_t mode);
    virtual bool Blit(const Point& destination, const Graphic& source, const Rect& sourceRect,
                      std::uint32_t mode);
    virtual bool Blit(const Point& destination, const Graphic& source, std::uint32_t mode);
    virtual bool CopyBufferToFront(std::uint32_t index, bool logical);
    virtual bool CopyToFront(const Graphic& buffer);
    virtual bool FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    virtual bool CrossFade(float level, const Rect& destination, GraphicHandle* first,
                           const Point& firstPoint, GraphicHandle* second, const Point& secondPoint);
    virtual bool DrawText(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
                          GraphicSystem::HorizontalAlignment horizontal, const String& text,
                          std::uint32_t start, std::uint32_t count, win32::HFONT font, const Color& textColor,
                          const Color& background, bool transparent, bool useScreenContext);
    virtual bool DrawText(const Rect& rect, const String& text, std::uint32_t start, std::uint32_t count,
                          win32::HFONT font, const Color& textColor, const Color& background,
                          bool transparent, bool useScreenContext);
    // (0, 0), written to size as well, without a handle.
    virtual Size MeasureText(Size& size, const Size& maximum, const String& text, std::uint32_t start,
                             std::uint32_t count, win32::HFONT font);
    virtual win32::HDC GetDC();
    virtual void ReleaseDC(win32::HDC context);
    virtual bool SetClipRect(const Rect& rect);
    virtual const Rect* GetClipRect();
    virtual bool IsInVerticalBlank();
    virtual bool WaitForVerticalBlank(bool begin);
    virtual bool IsLost();
    virtual bool Restore();

    // Calls the event's Dispatch with this viewport; the handle's DispatchEvent reaches every viewport so.
    virtual void HandleEvent(ViewportEvent& event);
    // The notifications, empty here.
    virtual void OnActivate();
    // Clearing *allowClose keeps the window open.
    virtual void OnClose(bool* allowClose);
    virtual void OnClosed();
    virtual void OnDeactivate();
    // Setting *handled tells the handle that the area has been repainted.
    virtual void OnPaint(Rect* area, bool* handled);
    virtual void OnRestored(bool succeeded);
    virtual void OnRestore();
    virtual void OnStyleChanged();

    // The attached handle, null while closed.
    ViewportHandle* GetViewportHandle() const { return m_viewportHandle; }

private:
    // The handle, or null with ResourceSystemErrNoHandle reported.
    ViewportHandle* Handle() const;
    // The handle when both this viewport and the graphic have one (the graphic's written to graphicHandle),
    // else null with one ResourceSystemErrNoHandle reported.
    ViewportHandle* HandleWithGraphic(const Graphic& graphic, GraphicHandle*& graphicHandle) const;

    ViewportHandle* m_viewportHandle = nullptr;
};

} // namespace Vemo
