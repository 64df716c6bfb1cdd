// One drawable surface: its size, pixel format, clip rectangle and drawing state, and the Graphic front-ends
// attached to it. Graphics, viewports, images, fonts and movies all draw into one.
//
// The public operations check their arguments and clip; the pixel work is a second layer of virtual
// operations (the Impl operations), most of which hand it to the pixel effects, whose routines are chosen by
// the format numbers of the surfaces involved. A subclass supplies the memory (Lock and Unlock fill and clear
// pitch and pixels, and may nest), the palette, and faster blits, clears and fills where it has them.
//
// Pixel memory is touched only between Lock and Unlock; every operation here that locks unlocks before it
// returns. Drawing on a read-only handle answers false and changes nothing; drawing that clipping leaves
// empty answers true. A colour of another tag than the surface's is used as black. A set lost field means the
// memory is unavailable: pixel access fails and the effects take their fallback routines. The base reports
// nothing for the operations it leaves to subclasses (it answers false).
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "engines/graphics/PixelFormat.h"
#include "engines/graphics/PixelValue.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "resources/ResourceHandle.h"

#include <cstdint>

namespace Vemo {

class Graphic;
class GraphicEvent;

class GraphicHandle : public ResourceHandle {
public:
    // Size, colour tag, placement, pitch, pixels and clip rectangle 0, the pixel format cleared, blit mode 1,
    // draw mode 3 (replace), every flag clear.
    explicit GraphicHandle(ResourceEngine* engine);
    // Forgets the attached graphics; they stay.
    ~GraphicHandle() override;

    // Whether the surface exists and can be drawn; false in the base.
    virtual bool IsAvailable();
    virtual bool SetReadOnly(bool readOnly);
    // Stores the rectangle cut to the surface (left and top at least 0, right and bottom at most the size);
    // false when what is stored is empty.
    virtual bool SetClipRect(const Rect& rect);
    virtual bool SetForegroundColor(const Color& color);
    virtual Color GetForegroundColor();
    virtual bool SetForegroundPixel(std::uint32_t pixel);
    // Rectangles and circles drawn without a fill argument are filled while set.
    virtual bool SetFilled(bool filled);
    // While enabled, source pixels equal to the colour-key pixel are transparent in blits from this surface.
    virtual bool SetColorKeyEnabled(bool enabled);
    virtual bool SetColorKey(const Color& color);
    virtual Color GetColorKey();
    virtual bool SetColorKeyPixel(std::uint32_t pixel);
    virtual bool SetBlitMode(std::uint32_t mode);
    virtual bool SetDrawMode(std::uint32_t mode);
    // Whether the surface blits through a blitter of its own rather than the pixel effects.
    virtual bool HasBlitter();
    // Whether that blitter blends with alpha; no surface's does.
    virtual bool HasAlphaBlitter();

    // Copies the source rectangle scaled into the destination rectangle; equal sizes copy unscaled. Both
    // rectangles are cut to their surfaces, each cut carried over to the other rectangle in proportion.
    virtual bool BlitScaled(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                            std::uint32_t mode);
    virtual bool BlitScaled(const Rect& destination, GraphicHandle* source, std::uint32_t mode);
    virtual bool Blit(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                      std::uint32_t mode);
    virtual bool Blit(const Point& destination, GraphicHandle* source, std::uint32_t mode);
    // Fills the whole surface with black and makes the whole surface the clip rectangle.
    virtual bool Clear();
    virtual bool DrawLine(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode);
    virtual bool DrawLine(const Point& from, const Point& to, const Color& color, std::uint32_t mode);
    // With the foreground pixel and the draw mode, as every form without a pixel or colour.
    virtual bool DrawLine(const Point& from, const Point& to);
    // Both ends are drawn. The coordinates are signed numbers carried in unsigned words.
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
    // Filled: the rectangle cut to the clip rectangle, false when that is empty. Outline: the four edges, the
    // far ones on the rectangle's own right and bottom coordinates.
    virtual bool FillRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool FillRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    // With the filled flag as well.
    virtual bool FillRect(const Rect& rect);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                            std::uint32_t mode);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius, const Color& color, bool filled,
                            std::uint32_t mode);
    virtual bool DrawCircle(const Point& centre, std::int32_t radius);
    // A rectangle operation that no surface carries out: false.
    virtual bool ReservedRect(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool ReservedRect(const Rect& rect, const Color& color, bool filled, std::uint32_t mode);
    virtual bool ReservedRect(const Rect& rect);

    // The pixel of a colour: packed for direct colour, the nearest palette entry for an indexed surface.
    virtual std::uint32_t ColorToPixel(const Color& color);
    // Direct colour: packed. Indexed: the first entry equal to the colour, else the first of the entries
    // nearest to it (least sum of squared channel differences).
    virtual std::uint32_t ColorToPixelImpl(PixelValue color);
    // The colour that the colour's pixel shows, in the surface's tag.
    virtual Color NearestColor(const Color& color);
    virtual bool SetPaletteEntry(const Color& color, std::uint32_t index);
    virtual Color GetPaletteEntry(std::uint32_t index);
    // The base has no palette: false.
    virtual bool SetPaletteEntryImpl(PixelValue color, std::uint32_t index);
    // The base has no palette: black.
    virtual PixelValue GetPaletteEntryImpl(std::uint32_t index);
    virtual bool SetPixel(const Color& color, const Point& point);
    virtual Color GetPixelColor(const Point& point);
    // A point outside the clip rectangle writes nothing and answers true.
    virtual bool SetPixel(std::uint32_t pixel, const Point& point);
    // 0 for a point outside the clip rectangle.
    virtual std::uint32_t GetPixel(const Point& point);
    virtual bool PlotPixel(std::uint32_t pixel, const Point& point, std::uint32_t mode);
    // The alpha channel of one pixel: on the alpha graphic when there is one, else in the pixel's fourth
    // mask (no alpha where the format has no extra channel or is indexed).
    // Writing needs a direct-colour format with an extra channel and a handle that is not read-only.
    virtual bool SetAlpha(std::uint32_t alpha, const Point& point);
    virtual std::uint32_t GetAlpha(const Point& point);
    // No surface takes a separate alpha graphic: false.
    virtual bool SetAlphaGraphic(Graphic* graphic, std::uint32_t info);
    virtual bool ClearAlphaGraphic(Graphic* graphic);
    // Writes the alpha graphic's information word through info unless it is null.
    virtual Graphic* GetAlphaGraphic(std::uint32_t* info);
    // The base holds no memory: Lock, Unlock, IsLost and Restore answer false.
    virtual bool Lock();
    virtual bool Unlock();
    // Whether the lock count is above 0.
    virtual bool IsLocked();
    virtual bool IsLost();
    virtual bool Restore();
    // Hands the event to every attached graphic, in the order they were attached.
    // A graphic that a handler closes before its turn is skipped.
    virtual void NotifyGraphics(GraphicEvent& event);

    // The pixel work. The blits and lines get coordinates already clipped; the ones that build a pixel effect
    // answer false when the effect refuses or the surface is read-only.
    virtual bool BlitImpl(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                          std::uint32_t mode);
    virtual bool BlitRectImpl(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                              std::uint32_t mode);
    virtual bool ClearImpl();
    virtual bool DrawLineImpl(const Point& from, const Point& to, std::uint32_t pixel, std::uint32_t mode);
    virtual bool DrawHorizontalLineImpl(std::uint32_t x1, std::uint32_t x2, std::uint32_t y,
                                        std::uint32_t pixel, std::uint32_t mode);
    virtual bool DrawVerticalLineImpl(std::uint32_t x, std::uint32_t y1, std::uint32_t y2,
                                      std::uint32_t pixel, std::uint32_t mode);
    virtual bool FillRectImpl(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    virtual bool DrawCircleImpl(const Point& centre, std::int32_t radius, std::uint32_t pixel, bool filled,
                                std::uint32_t mode);
    virtual bool ReservedRectImpl(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode);
    // One pixel in the layout of the format's depth code, under a lock of its own; false (0) while lost, when
    // the lock fails or when there is no memory. The point is not checked against the surface.
    virtual bool SetPixelImpl(std::uint32_t pixel, const Point& point);
    virtual std::uint32_t GetPixelImpl(const Point& point);
    // Mode 3 writes the pixel; every other mode leaves the pixel as it is.
    virtual bool PlotPixelImpl(std::uint32_t pixel, const Point& point, std::uint32_t mode);

    // The pitch and the address of row 0 of the locked memory (row y starts pitch * y bytes from row 0); 0
    // and null, with GraphicSystemErrNoPixelMemory reported, while there is none.
    std::int32_t GetLockedPitch() const;
    std::uint8_t* GetLockedPixels() const;

    std::int32_t GetWidth() const { return m_width; }
    std::int32_t GetHeight() const { return m_height; }
    Size GetSize() const { return Size(m_width, m_height); }
    DepthCode GetDepth() const { return m_pixelFormat.depth; }
    std::uint32_t GetColorTag() const { return m_colorTag; }
    // A GraphicSystem::Memory value.
    std::uint32_t GetPlacement() const { return m_placement; }
    const PixelFormat& GetPixelFormat() const { return m_pixelFormat; }
    bool IsPalettized() const { return m_pixelFormat.IsIndexed(); }
    const Rect& GetClipRect() const { return m_clipRect; }
    bool IsReadOnly() const { return m_readOnly; }
    std::uint32_t GetForegroundPixel() const { return m_foregroundPixel; }
    bool IsFilled() const { return m_filled; }
    bool IsColorKeyEnabled() const { return m_colorKeyEnabled; }
    std::uint32_t GetColorKeyPixel() const { return m_colorKeyPixel; }
    std::uint32_t GetBlitMode() const { return m_blitMode; }
    std::uint32_t GetDrawMode() const { return m_drawMode; }
    // Non-zero while the memory is unavailable.
    std::uint32_t GetLostFlag() const { return m_lost; }
    std::uint32_t GetLockCount() const { return m_lockCount; }
    // The attached front-ends, in the order they were attached; the Graphic System keeps the list.
    BasicList<Graphic*>& GetGraphics() { return m_graphics; }

protected:
    // The pixel of a colour as the colour arguments are taken: the nearest palette entry on an indexed
    // surface, else packed, a foreign tag as black.
    std::uint32_t PixelFromColor(const Color& color);
    // The colour a pixel shows, in the surface's tag: its palette entry, else unpacked.
    Color ColorFromPixel(std::uint32_t pixel);
    bool IsInClipRect(const Point& point) const;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    std::uint32_t m_colorTag = 0;
    std::uint32_t m_placement = 0;
    PixelFormat m_pixelFormat;
    // Valid while locked; 0 and null while the surface holds no memory. A negative pitch runs bottom-up.
    std::int32_t m_pitch = 0;
    std::uint8_t* m_pixels = nullptr;
    Rect m_clipRect;
    bool m_readOnly = false;
    std::uint32_t m_foregroundPixel = 0;
    bool m_filled = false;
    bool m_colorKeyEnabled = false;
    std::uint32_t m_colorKeyPixel = 0;
    std::uint32_t m_blitMode = 1;
    std::uint32_t m_drawMode = 3;
    std::uint32_t m_lost = 0;
    Graphic* m_alphaGraphic = nullptr;
    std::uint32_t m_alphaGraphicInfo = 0;
    BasicList<Graphic*> m_graphics;
    // The nesting depth of Lock, kept by the subclass that holds the memory.
    std::uint32_t m_lockCount = 0;
};

} // namespace Vemo
