// The viewport handle of the DirectX 6 engine. It owns one window (its own, or the engine's main window while
// it is full screen), its DirectDraw 4 objects (the primary surface and a clipper that binds it to the
// window) and one DirectX6ViewportGraphicHandle per buffer, through which all drawing goes. It switches
// between windowed and exclusive full-screen operation, sets and restores display modes, presents back
// buffers by flipping or copying, makes its surfaces again after they are lost, writes text through GDI, and
// turns eight window messages into viewport events.
//
// Buffers: entry 0 is the front, entries 1 to backBufferCount the back buffers, by role; the logical table
// holds the same handles in presentation order, turned by every flip. Drawing goes to the drawing buffer:
// buffer 1 when there are back buffers, else buffer 0.
//
// On this platform a windowed primary belongs to the window its clipper names and has that window's client
// size; a full-screen primary belongs to the main window and has the display mode's size. A windowed viewport
// that flips keeps its front buffer off screen; each of its flips and copies to the front puts the front
// buffer's picture on the primary.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/directx/DirectXViewportHandle.h"
#include "foundation/BasicArray.h"
#include "platform/win32/gdi/Gdi.h"

#include <cstdint>
#include <memory>

namespace Vemo {

class DirectX6GraphicEngine;
class DirectX6ViewportEventHandler;
class DirectX6ViewportGraphicHandle;

class DirectX6ViewportHandle : public DirectXViewportHandle {
public:
    // Closed: no window, no DirectDraw objects, no buffers.
    explicit DirectX6ViewportHandle(DirectX6GraphicEngine* engine);
    ~DirectX6ViewportHandle() override;

    // DirectDraw, the primary, the clipper, every buffer and the window exist, and no buffer is lost.
    bool IsAvailable() override;
    // Opens the window or switches to the screen mode that the description asks for, making the buffers and
    // the surfaces; false at the first step that fails, the fields copied before it keeping their new values.
    bool OpenWindow(const ViewportDescription& description) override;
    bool EnumDisplayModes(ViewportDisplayModes& modes, std::uint32_t flags) override;
    // 6 without a window object, 1 without a native window, 3 hidden, 4 minimised, 5 maximised, else 2.
    std::uint32_t GetWindowState() override;
    bool FlipToBuffer(std::uint32_t index, bool logical) override;
    bool Flip(GraphicHandle* buffer) override;
    using DirectXViewportHandle::BlitScaled;
    bool BlitScaled(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                    std::uint32_t mode) override;
    using DirectXViewportHandle::Blit;
    bool Blit(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
              std::uint32_t mode) override;
    bool CopyBufferToFront(std::uint32_t index, bool logical) override;
    // Waits for the vertical blank when asked to, then copies the buffer onto the front buffer.
    bool CopyToFront(GraphicHandle* buffer) override;
    bool FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) override;
    bool FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode) override;
    // Blends the two sources into buffer 1 at the level (clamped to 0 to 1; 1 shows the second source
    // exactly), or copies the nearer source when they cannot be blended. The answer is the drawing's.
    bool CrossFade(float level, const Rect& destination, GraphicHandle* first, const Point& firstPoint,
                   GraphicHandle* second, const Point& secondPoint) override;
    // The substring is cut to the text; an empty one draws nothing and answers true.
    bool DrawText(const Rect& rect, GraphicSystem::VerticalAlignment vertical,
                  GraphicSystem::HorizontalAlignment horizontal, const String& text, std::uint32_t start,
                  std::uint32_t count, win32::HFONT font, const Color& textColor, const Color& background,
                  bool transparent, bool useScreenContext) override;
    bool DrawText(const Rect& rect, const String& text, std::uint32_t start, std::uint32_t count,
                  win32::HFONT font, const Color& textColor, const Color& background, bool transparent,
                  bool useScreenContext) override;
    // Measured on the screen's device context, word-wrapped when the maximum has a width.
    Size MeasureText(Size& size, const Size& maximum, const String& text, std::uint32_t start,
                     std::uint32_t count, win32::HFONT font) override;
    // The drawing buffer's surface's device context; lock and blits on that buffer wait for ReleaseDC.
    win32::HDC GetDC() override;
    void ReleaseDC(win32::HDC context) override;
    bool SetClipRect(const Rect& rect) override;
    const Rect* GetClipRect() override;
    bool IsInVerticalBlank() override;
    bool WaitForVerticalBlank(bool begin) override;
    bool IsLost() override;
    bool Restore() override;
    GraphicHandle* GetBufferHandle(std::uint32_t index, bool logical) override;

    ddraw::IDirectDraw4* GetDirectDraw() override;
    ddraw::IDirectDrawSurface4* GetPrimarySurface() override;
    ddraw::IDirectDrawClipper* GetClipper() override;

    // The window messages, through the viewport's own handler.
    virtual void OnActivate(win32::UINT state, bool minimized, win32::HWND other);
    // Whether the window may close: no viewport vetoed.
    virtual bool OnClose();
    virtual void OnDestroy();
    virtual void OnDisplayChange(win32::WPARAM bitsPerPixel, win32::UINT width, win32::UINT height);
    virtual void OnMove(int x, int y);
    virtual void OnPaint(win32::WPARAM first);
    virtual void OnShowWindow(bool shown, win32::LPARAM status);
    virtual void OnSize(win32::WPARAM type, win32::UINT width, win32::UINT height);
    // A new window of the description's title, place and style, given a QuickTime port while QuickTime is
    // installed; attached to this viewport when asked. Null, with nothing left behind, on failure.
    virtual DirectXWindow* CreateWindow(bool attach);
    // Lets go of the window (null: the viewport's own, which the viewport then forgets): the main window is
    // hidden and freed for other viewports, any other destroyed and deleted.
    virtual void ReleaseWindow(DirectXWindow* window);
    // Registers the viewport's own handler on first use and attaches every registered handler to the window.
    virtual void AttachWindow(DirectXWindow* window);
    // Takes every registered handler off the window, when the viewport's own handler is on it.
    virtual void DetachWindow(DirectXWindow* window);

    // The engine's side: the window and DirectDraw objects go, then the buffers are closed.
    void Shutdown();
    // A buffer handle the engine made for this viewport, stored at its index by role and in presentation
    // order.
    void TakeBuffer(std::uint32_t index, DirectX6ViewportGraphicHandle* buffer);
    // A buffer handle that is going: every entry of it is emptied.
    void ForgetBuffer(DirectX6ViewportGraphicHandle* buffer);
    // The handler forgets being the viewport's own.
    void ForgetOwnHandler(DirectX6ViewportEventHandler* handler);

    DirectX6GraphicEngine* GetDirectX6Engine() const { return m_engine; }
    bool IsExclusive() const { return m_exclusive; }
    bool HasChangedDisplayMode() const { return m_displayModeChanged; }
    DirectX6ViewportEventHandler* GetOwnHandler() const { return m_ownHandler; }
    std::size_t GetBufferCount() const { return m_buffers.Size(); }

private:
    // What a text drawing selected and replaced, to be put back.
    struct TextSetup;

    win32::HWND NativeWindow() const;
    // The drawing buffer, or null with GraphicSystemErrNoBuffer reported (unless quietly).
    DirectX6ViewportGraphicHandle* DrawingBuffer(bool quietly = false);
    DirectX6ViewportGraphicHandle* BufferAt(std::uint32_t index, bool logical) const;
    // The buffer a flip or copy to the front presents, or null with the index or missing buffer reported.
    DirectX6ViewportGraphicHandle* BufferToPresent(std::uint32_t index, bool logical);
    std::uint32_t IndexOf(const GraphicHandle* buffer) const;

    // The steps of OpenWindow.
    bool TakeDisplayMode(ViewportDescription& wanted);
    bool ToClientArea(ViewportDescription& wanted);
    bool DisplayModeExists(const ViewportDescription& wanted);
    bool MakeBuffers(std::uint32_t backBufferCount);
    void CloseBuffers();
    bool OpenFullscreen(const ViewportDescription& wanted, const ViewportDescription& old);
    bool TakeMainWindow(const ViewportDescription& old);
    bool OpenWindowed(const ViewportDescription& wanted);
    bool ChangeWindow(const ViewportDescription& wanted);
    bool SetTitle(const String& title);
    void CopyWindowFields(const ViewportDescription& wanted);

    bool CreateDirectDraw();
    void ReleaseDirectDraw();
    bool SetCooperativeLevel(win32::DWORD flags);
    bool SetDisplayMode(win32::DWORD width, win32::DWORD height, win32::DWORD bitsPerPixel,
                        win32::DWORD refreshRate, win32::DWORD flags);
    bool RestoreMode(bool recreate);
    bool CreateSurfaces();
    bool MakePrimary();
    bool ReadPrimaryFormat();
    bool BindClipper();
    bool AttachBufferSurface(std::uint32_t index);
    void ReleaseSurfaces();
    // A windowed viewport that flips: the front buffer's picture onto the primary.
    void ShowFrontBuffer();

    // The substring cut to the text and drawn by draw(context, characters, count) with the font, colours and
    // clipping set up; an empty one draws nothing.
    template <class Draw>
    bool DrawSubstring(const String& text, std::uint32_t start, std::uint32_t count, win32::HFONT font,
                       const Color& textColor, const Color& background, bool transparent,
                       bool useScreenContext, Draw draw);
    bool BeginText(TextSetup& setup, win32::HFONT font, const Color& textColor, const Color& background,
                   bool transparent, bool useScreenContext);
    void EndText(TextSetup& setup);

    DirectX6GraphicEngine* m_engine;
    bool m_displayModeChanged = false;
    bool m_exclusive = false;
    ddraw::IDirectDraw* m_directDraw = nullptr;
    ddraw::IDirectDraw4* m_directDraw4 = nullptr;
    ddraw::IDirectDrawSurface* m_primaryAlias = nullptr;
    ddraw::IDirectDrawSurface4* m_primary = nullptr;
    ddraw::IDirectDrawClipper* m_clipper = nullptr;
    BasicArray<DirectX6ViewportGraphicHandle*> m_buffers;
    BasicArray<DirectX6ViewportGraphicHandle*> m_logicalBuffers;
    DirectX6ViewportEventHandler* m_ownHandler = nullptr;
    // The window whose native window is being destroyed while its viewports are told.
    DirectXWindow* m_destroying = nullptr;
    // Reads false once the handle is gone: a viewport told of an event may close the viewport.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace Vemo
