// The graphic handle of the DirectX 6 engine: one DirectDraw 4 surface with its pixel format, an optional
// palette copy, and a lock that makes pixel access safe across threads. Pixel memory is reached only through
// DirectDraw's Lock; blits, clears and fills go to DirectDraw's blitter where it can do them, and to the
// base class's software effects otherwise (raster operations it has no code for, different formats, outlines,
// and whenever the calling thread holds a lock on either surface).
//
// The handle's area may be part of a larger surface, at an origin within it (a viewport's buffers). The part
// of that area that the surface really has is all that software drawing reaches: the clip rectangle never
// reaches past it, and blits read no source pixels beyond it.
//
// The lock: a thread's first Lock enters the handle's critical section (another thread waits there until the
// owner's last Unlock) and locks the surface; nested Locks only count. Lock and the blitter retry while
// DirectDraw answers DDERR_SURFACEBUSY, a bounded number of times, so that a surface kept busy by the calling
// thread itself (a device context taken and kept) ends in a reported failure rather than a hang.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/directx/DirectXGraphicHandle.h"
#include "foundation/CriticalSection.h"
#include "foundation/Rect.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Vemo {

class DirectX6GraphicEngine;

class DirectX6GraphicHandle : public DirectXGraphicHandle {
public:
    // No surface, no memory, no palette, origin (0, 0); the engine then describes it and gives it a surface.
    explicit DirectX6GraphicHandle(DirectX6GraphicEngine* engine);
    // Frees the memory the handle allocated and its palette; the engine releases the surface.
    ~DirectX6GraphicHandle() override;

    // A surface exists and is not lost.
    bool IsAvailable() override;
    // Keeps the clip rectangle within the part of the area that the surface has.
    bool SetClipRect(const Rect& rect) override;
    // Also sets the surface's source colour key; a DirectDraw failure is reported and answers false.
    bool SetColorKeyPixel(std::uint32_t pixel) override;
    bool HasBlitter() override;
    bool Clear() override;
    bool SetPaletteEntryImpl(PixelValue color, std::uint32_t index) override;
    PixelValue GetPaletteEntryImpl(std::uint32_t index) override;
    bool Lock() override;
    // Only the thread that holds the lock unlocks.
    bool Unlock() override;
    bool IsLocked() override;
    // True, with GraphicSystemErrNoSurface reported, without a surface; surfaces on fixed memory are never
    // lost.
    bool IsLost() override;
    // Restores the surface's memory, or makes the surface again in the same format when the display mode
    // changed under it; a restored content that no attached graphic redraws is cleared.
    bool Restore() override;
    bool BlitImpl(const Rect& destination, GraphicHandle* source, const Rect& sourceRect,
                  std::uint32_t mode) override;
    bool BlitRectImpl(const Point& destination, GraphicHandle* source, const Rect& sourceRect,
                      std::uint32_t mode) override;
    bool ClearImpl() override;
    bool FillRectImpl(const Rect& rect, std::uint32_t pixel, bool filled, std::uint32_t mode) override;
    ddraw::IDirectDrawSurface4* GetSurface() override;
    // Whether the blits go to DirectDraw's blitter where they can; always.
    virtual bool BlitsInHardware();
    // Reads placement and pixel format from the surface and sets its source colour key again; false, with
    // a DirectDraw failure reported, when the surface cannot be read or its format is neither RGB nor YUV.
    virtual bool ReadSurfaceFormat();

    // The offset of the handle's area within its surface.
    void SetOrigin(const Point& origin);
    const Point& GetOrigin() const { return m_origin; }
    bool HasFixedMemory() const { return m_fixedMemory; }
    bool OwnsMemory() const { return m_ownsMemory; }
    DirectX6GraphicEngine* GetDirectX6Engine() const { return m_engine; }

protected:
    friend class DirectX6GraphicEngine;
    friend class DirectX6ViewportHandle;

    // Gives the handle's reference to the surface back, if it has one.
    void ReleaseSurface();
    // Whether the calling thread holds this handle's lock.
    bool HeldByCallingThread() const;
    // The part of the handle's area that the surface has, in the handle's coordinates.
    Rect SurfaceArea() const;
    // The pixel format and placement from the surface's description; false with a failure reported.
    bool ReadFormatFromSurface();
    // The surface's source colour key from the colour-key pixel; false with a failure reported.
    bool ApplyColorKey();
    // Takes pixel memory the handle allocates itself: |pitch| x height bytes, row 0 first or, for a negative
    // pitch, last.
    bool AllocateMemory(std::int32_t pitch);
    void UseCallerMemory(void* memory, std::int32_t pitch);
    // A palette of colorCount entries, all black.
    void MakePalette();

    DirectX6GraphicEngine* m_engine;
    ddraw::IDirectDrawSurface4* m_surface = nullptr;
    bool m_fixedMemory = false;
    bool m_ownsMemory = false;
    std::uint32_t m_ownerThread = 0;
    CriticalSection m_lock;
    std::vector<PixelValue> m_palette;
    Point m_origin{0, 0};

private:
    // The clip rectangle cut to SurfaceArea.
    void KeepClipInSurface();
    // A blit of the mode from the source, to and of in the handles' own coordinates: by DirectDraw's blitter
    // where it can, else by software; a scaled blit also as the blit mode says.
    template <class Software>
    bool BlitThrough(GraphicHandle* source, const Rect& to, const Rect& of, std::uint32_t mode, bool scaled,
                     Software software);
    // Software blits read no source pixels beyond the surface the source really has.
    static bool CutToSourceSurface(GraphicHandle* source, Point& destination, Rect& sourceRect);

    std::unique_ptr<std::uint8_t[]> m_ownMemory;
    // The surface's size as last read.
    Size m_surfaceSize{0, 0};
};

} // namespace Vemo
