// What the rest of the system holds to draw: a front-end chained to one graphic handle. Its opens build a
// graphic search criterion and ask the Graphic System for a handle; almost every other operation forwards to
// the handle. Without a handle every operation reports ResourceSystemErrNoHandle (no text) and answers false,
// 0 or an empty value; so does an operation given a source graphic that has none. Script bitmaps, glyph
// surfaces and movie surfaces derive from it.
//
// Every open refuses an open graphic (ResourceSystemErrAlreadyOpen) and a missing Graphic System
// (ResourceSystemErrNoSystem); when the system opens nothing it reports ResourceSystemErrOpenFailed. The
// engine checks what the opens leave to it (sizes, depths, formats).
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/DepthCode.h"
#include "engines/graphics/ExtraChannel.h"
#include "engines/graphics/GraphicSystem.h"
#include "engines/graphics/GraphicSystemResource.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/PixelValue.h"
#include "foundation/Rect.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class GraphicEvent;
class GraphicHandle;
class Viewport;

class Graphic : public GraphicSystemResource {
public:
    Graphic();
    // Closes the handle while the graphic is still whole, so that the handle's list lets go of it.
    ~Graphic() override;

    // Whether a graphic handle is attached.
    bool IsOpen() const override;
    // Also keeps the handle as a GraphicHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;
    // A surface over the caller's pixel memory, rows pitch bytes apart (0: the engine's choice). Width,
    // height, colour tag and placement must be non-zero (GraphicSystemErrNoWidth, ...NoHeight, ...NoColorTag,
    // ...NoPlacement, in that order); a non-zero pitch must hold width pixels of the format
    // (GraphicSystemErrPitchTooShort). An engine id other than the family's restricts the open to that
    // engine.
    virtual bool Create(void* pixels, std::int32_t width, std::int32_t height, const PixelFormat* format,
                        std::int32_t pitch, GraphicSystem::Memory placement, std::uint32_t colorTag,
                        std::uint32_t engineId = kGraphicTypeId);
    // A new surface like the model's (size, format, colour tag, placement, where not given here), made by the
    // model's engine unless another is named. The model must be open. Zero values are not given.
    virtual bool Open(const Graphic& model, std::int32_t width, std::int32_t height,
                      GraphicSystem::Memory placement, std::uint32_t engineId = kGraphicTypeId);
    // A new surface of the format (null: the engine's choice). Zero values are not given.
    virtual bool Open(std::int32_t width, std::int32_t height, const PixelFormat* format,
                      GraphicSystem::Memory placement, std::uint32_t colorTag,
                      std::uint32_t engineId = kGraphicTypeId);
    // A new surface of the depth code, with the extra channel's usage (always given; for an indexed depth the
    // palette reference). Zero values are not given.
    virtual bool Open(std::int32_t width, std::int32_t height, DepthCode depth,
                      GraphicSystem::Memory placement, const ExtraChannel& extraChannel,
                      std::uint32_t colorTag, std::uint32_t engineId = kGraphicTypeId);
    // The graphic of one of the viewport's buffers, 0 to its back-buffer count (else
    // GraphicSystemErrBufferIndex); the viewport must be open. Shares the buffer's handle when it has one.
    virtual bool OpenOnViewport(Viewport* viewport, std::uint32_t bufferIndex, std::uint8_t flag);
    // Shares the other graphic's handle, which must be open; ResourceSystemErrShareFailed when the system
    // refuses.
    virtual bool OpenOnGraphic(const Graphic& other);

    virtual std::int32_t GetWidth() const;
    virtual std::int32_t GetHeight() const;
    virtual Size GetSize() const;
    virtual DepthCode GetDepth() const;
    // 1, the default tag, without a handle.
    virtual std::uint32_t GetColorTag() const;
    // A GraphicSystem::Memory value.
    virtual std::uint32_t GetPlacement() const;
    // The pitch and the first row of the locked memory; 0 and null, with GraphicSystemErrNoPixelMemory
    // reported, while the surface holds none.
    virtual std::int32_t GetPitch() const;
    virtual std::uint8_t* GetPixels() const;
    // While read-only every drawing operation answers false.
    virtual bool SetReadOnly(bool readOnly);
    virtual bool IsReadOnly() const;
    // Non-zero while the surface memory is unavailable.
    virtual std::uint32_t GetLostFlag() const;
    virtual bool IsPalettized() const;
    // The cleared format without a handle.
    virtual PixelFormat GetPixelFormat() const;

    virtual bool SetClipRect(const Rect& rect);
    virtual Rect GetClipRect() const;
    virtual bool SetForegroundColor(const Color& color);
    virtual Color GetForegroundColor();
    virtual bool SetForegroundPixel(std::uint32_t pixel);
    virtual std::uint32_t GetForegroundPixel() const;
    virtual bool SetFilled(bool filled);
    virtual bool IsFilled() const;
    virtual bool SetColorKeyEnabled(bool enabled);
    virtual bool IsColorKeyEnabled() const;
    virtual bool SetColorKey(const Color& color);
    virtual Color GetColorKey();
    virtual bool SetColorKeyPixel(std::uint32_t pixel);
    virtual std::uint32_t GetColorKeyPixel() const;
    virtual bool SetBlitMode(std::uint32_t mode);
    virtual std::uint32_t GetBlitMode() const;
    virtual bool SetDrawMode(std::uint32_t mode);
    virtual std::uint32_t GetDrawMode() const;
    virtual bool HasBlitter();
    virtual bool HasAlphaBlitter();

    virtual bool BlitScaled(const Rect& destination, const Graphic& source, const Rect& sourceRect,
                            std::uint32_t mode);
    virtual bool BlitScaled(const Rect& destination, const Graphic& source, std::uint32_t mode);
    virtual bool Blit(const Point& destination, const Graphic& source, const Rect& sourceRect,
                      std::uint32_t mode);
    virtual bool Blit(const Point& destination, const Graphic& source, std::uint32_t mode);
    virtual bool Clear();
    virtual bool DrawLine(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode);
    virtual bool DrawLine(const Point& from, const Point& to, const Color& color, std::uint32_t mode);
    virtual bool DrawLine(const Point& from, const Point& to);
    virtual bool DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y, std::uint32_t pixel,
                                    std::uint32_t mode);
    virtual bool DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y, const Color& color,
                                    std::uint32_t mode);
    virtual bool DrawHorizontalLine(std::uint32_t x1, std::uint32_t x2, std::uint32_t y);
    virtual bool DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, std::uint32_t pixel,
                                  std::uint32_t mode);
    virtual bool DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2, const Color& color,
                                  std::uint32_t mode);
    virtual bool DrawVerticalLine(std::uint32_t x, std::uint32_t y1, std::uint32_t y2);
    virtual bool FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    virtual bool FillRect(const Rect& rect);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                            std::uint32_t mode);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius, const Color& color, bool filled,
                            std::uint32_t mode);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius);
    virtual bool ReservedRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool ReservedRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    virtual bool ReservedRect(const Rect& rect);

    // The clipping that the handle's drawing does, for callers that draw by other means. They read nothing of
    // the handle, but refuse without one like every operation. Each answers whether anything is left, its
    // arguments moved to the visible part.
    // The segment cut to the box's pixels.
    virtual bool ClipLine(Point& from, Point& to, const Rect& box);
    // A scaled blit's destination cut to the clip rectangle, the source in proportion.
    virtual bool ClipScaledToRect(Rect& destination, Rect& source, const Rect& clip);
    // A scaled blit's source cut to (0, 0, width, height), the destination in proportion.
    virtual bool ClipScaledToSize(Rect& destination, Rect& source, const Size& size);
    // An unscaled blit's destination cut to the clip rectangle.
    virtual bool ClipToRect(Point& destination, Rect& source, const Rect& clip);
    // An unscaled blit's source cut to (0, 0, width, height).
    virtual bool ClipToSize(Point& destination, Rect& source, const Size& size);

    virtual std::uint32_t ColorToPixel(const Color& color);
    virtual Color NearestColor(const Color& color);
    virtual bool SetPaletteEntry(const Color& color, std::uint32_t index);
    virtual Color GetPaletteEntry(std::uint32_t index);
    virtual bool SetPaletteEntryImpl(PixelValue color, std::uint32_t index);
    virtual PixelValue GetPaletteEntryImpl(std::uint32_t index);
    virtual bool SetPixel(const Color& color, const Point& point);
    virtual Color GetPixelColor(const Point& point);
    virtual bool SetPixel(std::uint32_t pixel, const Point& point);
    virtual std::uint32_t GetPixel(const Point& point);
    virtual bool PlotPixel(std::uint32_t pixel, const Point& point, std::uint32_t mode);
    virtual bool SetAlpha(std::uint32_t alpha, const Point& point);
    virtual std::uint32_t GetAlpha(const Point& point);
    virtual bool SetAlphaGraphic(Graphic* graphic, std::uint32_t info);
    virtual bool ClearAlphaGraphic(Graphic* graphic);
    virtual Graphic* GetAlphaGraphic(std::uint32_t* info);
    virtual bool Lock();
    virtual bool Unlock();
    virtual bool IsLocked();
    virtual bool IsLost();
    virtual bool Restore();

    // Calls the event's Dispatch with this graphic; the handle's NotifyGraphics reaches every graphic so.
    virtual void HandleEvent(GraphicEvent& event);
    // The surface was restored and its content is gone. A subclass that redraws its content here sets
    // *handled; the base does nothing.
    virtual void OnRestored(bool* handled);

    // The attached handle, null while closed.
    GraphicHandle* GetGraphicHandle() const { return m_graphicHandle; }

private:
    // The handle, or null with ResourceSystemErrNoHandle reported.
    GraphicHandle* Handle() const;
    // The handle when both this graphic and the source have one (their handle written to sourceHandle), else
    // null with one ResourceSystemErrNoHandle reported.
    GraphicHandle* HandleWithSource(const Graphic& source, GraphicHandle*& sourceHandle) const;

    GraphicHandle* m_graphicHandle = nullptr;
};

} // namespace Vemo
