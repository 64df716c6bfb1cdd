// DirectDraw 4: the DirectDraw object, its surfaces and clippers. Surfaces live in our own memory and every
// blit is done here (none is refused for want of hardware, except raster operations that need a pattern).
//
// The display. Its mode is the emulated desktop mode (platform/video/VideoBackend.h) until a DirectDraw
// object sets one of the classic modes (640x480, 800x600 and 1024x768 at 8, 16, 24 and 32 bits: 8 bits
// indexed through the fixed system palette, 16 bits R-G-B 5-6-5, 24 and 32 bits R-G-B 8-8-8), and again after
// it restores it or goes away. Setting or restoring a mode loses every surface that is not on caller memory
// (of every DirectDraw object) and posts WM_DISPLAYCHANGE (wParam the bits per pixel, lParam the width and
// height) to every top-level window.
//
// Primary surfaces. Linux has no desktop-sized primary: a primary made at the exclusive level belongs to the
// cooperative level's window and has the display mode's size; any other primary belongs to the window that
// its clipper names (IDirectDrawClipper::SetHWnd, then SetClipper), has no pixels until it is bound to one,
// takes that window's client size when bound and never shrinks. Whatever a primary (the front of a flipping
// chain) holds after Blt, Unlock, ReleaseDC, Flip or Restore is what its window shows: a windowed primary
// from the client area's top-left corner, an exclusive one full screen.
//
// Every object may be used from any thread; calls are serialised. Locked memory is the caller's between Lock
// and Unlock.
#pragma once

#include "platform/com/Unknown.h"
#include "platform/win32/Types.h"

#include <cstdint>

namespace ddraw {

using win32::BOOL;
using win32::DWORD;
using win32::HANDLE;
using win32::HDC;
using win32::HRESULT;
using win32::HWND;
using win32::LONG;
using win32::LPVOID;
using win32::RECT;

// Results, with the values that DirectDraw gives them.
constexpr HRESULT MakeDirectDrawResult(DWORD code) {
    return static_cast<HRESULT>(0x88760000u | code);
}
constexpr HRESULT DD_OK = win32::S_OK;
constexpr HRESULT DDERR_INVALIDPARAMS = win32::E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = win32::E_OUTOFMEMORY;
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT DDERR_INVALIDCAPS = MakeDirectDrawResult(100);
constexpr HRESULT DDERR_INVALIDMODE = MakeDirectDrawResult(120);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MakeDirectDrawResult(145);
constexpr HRESULT DDERR_INVALIDRECT = MakeDirectDrawResult(150);
constexpr HRESULT DDERR_NOALPHAHW = MakeDirectDrawResult(180);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MakeDirectDrawResult(212);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MakeDirectDrawResult(225);
constexpr HRESULT DDERR_NOFLIPHW = MakeDirectDrawResult(230);
constexpr HRESULT DDERR_NOMIRRORHW = MakeDirectDrawResult(250);
constexpr HRESULT DDERR_NOTFOUND = MakeDirectDrawResult(255);
constexpr HRESULT DDERR_NORASTEROPHW = MakeDirectDrawResult(280);
constexpr HRESULT DDERR_NOROTATIONHW = MakeDirectDrawResult(290);
constexpr HRESULT DDERR_NOSTRETCHHW = MakeDirectDrawResult(310);
constexpr HRESULT DDERR_NOZBUFFERHW = MakeDirectDrawResult(340);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MakeDirectDrawResult(380);
constexpr HRESULT DDERR_COLORKEYNOTSET = MakeDirectDrawResult(400);
constexpr HRESULT DDERR_SURFACEBUSY = MakeDirectDrawResult(430);
constexpr HRESULT DDERR_SURFACELOST = MakeDirectDrawResult(450);
constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = MakeDirectDrawResult(561);
constexpr HRESULT DDERR_NODIRECTDRAWHW = MakeDirectDrawResult(563);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MakeDirectDrawResult(564);
constexpr HRESULT DDERR_NOEMULATION = MakeDirectDrawResult(565);
constexpr HRESULT DDERR_NOBLTHW = MakeDirectDrawResult(575);
constexpr HRESULT DDERR_NODDROPSHW = MakeDirectDrawResult(576);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MakeDirectDrawResult(581);
constexpr HRESULT DDERR_NOTFLIPPABLE = MakeDirectDrawResult(582);
constexpr HRESULT DDERR_NOTLOCKED = MakeDirectDrawResult(584);
constexpr HRESULT DDERR_CANTCREATEDC = MakeDirectDrawResult(585);
constexpr HRESULT DDERR_NODC = MakeDirectDrawResult(586);
constexpr HRESULT DDERR_WRONGMODE = MakeDirectDrawResult(587);
constexpr HRESULT DDERR_DCALREADYCREATED = MakeDirectDrawResult(620);

// SetCooperativeLevel: DDSCL_NORMAL alone, or DDSCL_EXCLUSIVE with DDSCL_FULLSCREEN; DDSCL_ALLOWREBOOT
// with either.
constexpr DWORD DDSCL_FULLSCREEN = 0x0001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x0002;
constexpr DWORD DDSCL_NORMAL = 0x0008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x0010;

// Which fields of a DDSURFACEDESC2 are meant.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
constexpr DWORD DDSD_REFRESHRATE = 0x00040000;

// Surface capabilities. A surface asks for no more than these.
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
constexpr DWORD DDSCAPS_VISIBLE = 0x00008000;
constexpr DWORD DDSCAPS_OWNDC = 0x00040000;
constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;
constexpr DWORD DDSCAPS_NONLOCALVIDMEM = 0x20000000;

// Pixel format flags.
constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
constexpr DWORD DDPF_FOURCC = 0x00000004;
constexpr DWORD DDPF_PALETTEINDEXED4 = 0x00000008;
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
constexpr DWORD DDPF_RGB = 0x00000040;
constexpr DWORD DDPF_YUV = 0x00000200;
constexpr DWORD DDPF_PALETTEINDEXED1 = 0x00000800;
constexpr DWORD DDPF_PALETTEINDEXED2 = 0x00001000;
constexpr DWORD DDPF_ZPIXELS = 0x00002000;

// Lock. Locks never wait: a surface that is busy answers DDERR_SURFACEBUSY at once.
constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
constexpr DWORD DDLOCK_WAIT = 0x00000001;
constexpr DWORD DDLOCK_READONLY = 0x00000010;
constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
constexpr DWORD DDLOCK_NOSYSLOCK = 0x00000800;

// Blt. Blits are done at once; DDBLT_WAIT and DDBLT_ASYNC change nothing.
constexpr DWORD DDBLT_ASYNC = 0x00000200;
constexpr DWORD DDBLT_COLORFILL = 0x00000400;
constexpr DWORD DDBLT_KEYSRC = 0x00008000;
constexpr DWORD DDBLT_ROP = 0x00020000;
constexpr DWORD DDBLT_WAIT = 0x01000000;

// Raster operations (DDBLTFX::dwROP) of a source S and a destination D; any other one that does not use a
// pattern is taken too.
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD WHITENESS = 0x00FF0062;

// Flip. Without DDFLIP_NOVSYNC the flip waits for the vertical blank (video::WaitForVerticalBlank).
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;

// SetColorKey: only the source key of blits exists. With DDCKEY_COLORSPACE a pixel is transparent when its
// value lies between the low and the high value; without it, when it equals the low value.
constexpr DWORD DDCKEY_COLORSPACE = 0x00000001;
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// WaitForVerticalBlank.
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;
constexpr DWORD DDWAITVB_BLOCKBEGINEVENT = 0x00000002;
constexpr DWORD DDWAITVB_BLOCKEND = 0x00000004;

// What an EnumDisplayModes callback answers.
constexpr HRESULT DDENUMRET_CANCEL = 0;
constexpr HRESULT DDENUMRET_OK = 1;
// EnumDisplayModes: the modes' refresh rates (60) are reported; without it they read 0.
constexpr DWORD DDEDM_REFRESHRATES = 0x00000001;

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    union {
        DWORD dwRGBAlphaBitMask;
        DWORD dwRGBZBitMask;
    };
};

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

// dwSize is sizeof(DDSURFACEDESC2), or 124, its size where lpSurface is 32 bits wide: callers written for
// that size name the same record.
struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
};
constexpr DWORD kSurfaceDescriptionSize32 = 124;

// 100 bytes, as DirectDraw has it (the surfaces it could name are not used here).
struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    DWORD dwZDestConst;
    DWORD dwZSrcConstBitDepth;
    DWORD dwZSrcConst;
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    DWORD dwAlphaDestConst;
    DWORD dwAlphaSrcConstBitDepth;
    DWORD dwAlphaSrcConst;
    DWORD dwFillColor;
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};

static_assert(sizeof(DDPIXELFORMAT) == 32);
static_assert(sizeof(DDSCAPS2) == 16);
static_assert(sizeof(DDBLTFX) == 100);

class IDirectDrawSurface4;

using LPDDENUMMODESCALLBACK2 = HRESULT (*)(DDSURFACEDESC2* mode, LPVOID context);

// A clipper: names the window whose primary surface it is set on.
class IDirectDrawClipper : public com::IUnknown {
public:
    // flags must be 0; window a window or null (the primaries using the clipper then belong to no window).
    // A primary bound to the clipper follows it to the new window.
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;

protected:
    ~IDirectDrawClipper() = default;
};

// The first surface interface; only held and released here.
class IDirectDrawSurface : public com::IUnknown {
protected:
    ~IDirectDrawSurface() = default;
};

class IDirectDrawSurface4 : public com::IUnknown {
public:
    // Locks the surface (rect null for all of it, else a rectangle inside it) and describes it in desc, with
    // lpSurface at the rectangle's first pixel. DDERR_SURFACELOST when lost; DDERR_SURFACEBUSY while it is
    // locked or its DC is out.
    virtual HRESULT Lock(const RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event) = 0;
    // DDERR_NOTLOCKED when it is not locked. The rectangle is not looked at.
    virtual HRESULT Unlock(const RECT* rect) = 0;
    // Copies source's sourceRect (null: all of it) into this surface's destRect (null: all of it, nothing at
    // all for a primary that has no pixels yet), scaled nearest-neighbour when the sizes differ; with
    // DDBLT_COLORFILL fills destRect with fx->dwFillColor instead. DDBLT_KEYSRC leaves the source's
    // key-coloured pixels out; DDBLT_ROP combines each pixel with the destination by fx->dwROP, a colour fill
    // taking the fill colour as its source. Pixels are never converted: surfaces of different layouts answer
    // DDERR_UNSUPPORTED. Rectangles must lie inside their surfaces (DDERR_INVALIDRECT), except that a
    // destination with a clipper is cut to the surface. Source and destination may be the same surface and
    // overlap. DDERR_SURFACEBUSY while either is locked or has its DC out; DDERR_SURFACELOST when either is
    // lost; DDERR_NORASTEROPHW for a raster operation that uses a pattern; DDERR_UNSUPPORTED for any flag
    // other than those above.
    virtual HRESULT Blt(const RECT* destRect, IDirectDrawSurface4* source, const RECT* sourceRect,
                        DWORD flags, const DDBLTFX* fx) = 0;
    // On the front of a flipping chain: the pictures turn one step (the front shows the first back buffer,
    // each back buffer takes the next one's, the last takes the front's), or, with a target, as many steps
    // as bring the target's picture to the front. The surfaces keep their places in the chain. Needs the
    // exclusive level (DDERR_NOEXCLUSIVEMODE); DDERR_NOTFLIPPABLE on any other surface; DDERR_SURFACEBUSY
    // while a surface of the chain is locked or has its DC out.
    virtual HRESULT Flip(IDirectDrawSurface4* target, DWORD flags) = 0;
    // The surface attached after this one in its flipping chain (the front after the last back buffer)
    // when it has every capability asked for (DDSCAPS_FLIP, DDSCAPS_BACKBUFFER, ...), with a new reference;
    // DDERR_NOTFOUND otherwise.
    virtual HRESULT GetAttachedSurface(const DDSCAPS2* caps, IDirectDrawSurface4** attached) = 0;
    // DDCKEY_SRCBLT, with DDCKEY_COLORSPACE for a range; a null key removes it.
    virtual HRESULT SetColorKey(DWORD flags, const DDCOLORKEY* key) = 0;
    // DD_OK, or DDERR_SURFACELOST.
    virtual HRESULT IsLost() = 0;
    // Gives a lost surface its memory back, cleared to 0. DDERR_NOEXCLUSIVEMODE for a surface made at the
    // exclusive level (a primary or a flipping chain) while its DirectDraw object does not have it;
    // DDERR_WRONGMODE for a surface that took the display's format (every primary among them) when the
    // display's mode now differs from the one it was made in. A surface that is not lost answers DD_OK.
    virtual HRESULT Restore() = 0;
    virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc) = 0;
    // Puts the surface on the caller's memory (DDSD_LPSURFACE, with DDSD_PITCH, DDSD_WIDTH, DDSD_HEIGHT and
    // DDSD_PIXELFORMAT as wanted); flags must be 0. Not for a primary or chain surface (DDERR_INVALIDCAPS).
    // A surface on caller memory is never lost.
    virtual HRESULT SetSurfaceDesc(const DDSURFACEDESC2* desc, DWORD flags) = 0;
    // Keeps a reference to the clipper (null: none); a primary belongs to the clipper's window.
    virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
    // A device context over the surface's memory, until ReleaseDC. DDERR_DCALREADYCREATED while one is out,
    // DDERR_SURFACEBUSY while locked, DDERR_SURFACELOST when lost.
    virtual HRESULT GetDC(HDC* context) = 0;
    // DDERR_NODC when no context is out, DDERR_INVALIDPARAMS for another context.
    virtual HRESULT ReleaseDC(HDC context) = 0;

protected:
    ~IDirectDrawSurface4() = default;
};

// The first DirectDraw interface; it answers QueryInterface for IID_IDirectDraw4.
class IDirectDraw : public com::IUnknown {
protected:
    ~IDirectDraw() = default;
};

class IDirectDraw4 : public com::IUnknown {
public:
    // window: the exclusive level's window (a top-level window), or any window or null for DDSCL_NORMAL.
    // DDERR_EXCLUSIVEMODEALREADYSET while another DirectDraw object has the exclusive level. Leaving the
    // exclusive level loses the surfaces made at it and takes the window out of full screen.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // Calls back with every classic mode (or those that match the template's width, height and bit count),
    // until the callback answers DDENUMRET_CANCEL.
    virtual HRESULT EnumDisplayModes(DWORD flags, const DDSURFACEDESC2* templateDesc, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT GetDisplayMode(DDSURFACEDESC2* desc) = 0;
    // One of the classic modes (refresh 0 or 60, flags 0), else DDERR_INVALIDMODE. Needs a cooperative level;
    // DDERR_NOEXCLUSIVEMODE while another object has the exclusive level.
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    // Back to the desktop mode when this object set the mode; DD_OK without a change otherwise.
    virtual HRESULT RestoreDisplayMode() = 0;
    // Needs a cooperative level. A primary: DDSCAPS_PRIMARYSURFACE without a size or format, one per
    // DirectDraw object (DDERR_PRIMARYSURFACEALREADYEXISTS); with DDSCAPS_FLIP and DDSCAPS_COMPLEX and
    // dwBackBufferCount back buffers a flipping chain, at the exclusive level only (DDERR_NOEXCLUSIVEMODE).
    // Any other surface is an off-screen plain surface of dwWidth x dwHeight in the given pixel format (RGB
    // with masks at 8, 16, 24 or 32 bits, or indexed at 1, 2, 4 or 8 bits) or else the display's; with
    // DDSD_LPSURFACE and DDSD_PITCH on the caller's memory (not in video memory). Placement caps are kept as
    // asked and answered by GetSurfaceDesc; without any, a surface counts as local video memory.
    virtual HRESULT CreateSurface(const DDSURFACEDESC2* desc, IDirectDrawSurface4** surface,
                                  com::IUnknown* outer) = 0;
    // flags must be 0.
    virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, com::IUnknown* outer) = 0;
    // The vertical blank of video::InVerticalBlank and video::WaitForVerticalBlank (platform/video).
    virtual HRESULT GetVerticalBlankStatus(BOOL* inBlank) = 0;
    // DDWAITVB_BLOCKBEGIN or DDWAITVB_BLOCKEND; event must be null. DDWAITVB_BLOCKBEGINEVENT is
    // DDERR_UNSUPPORTED.
    virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;

protected:
    ~IDirectDraw4() = default;
};

extern const com::IID IID_IDirectDraw;
extern const com::IID IID_IDirectDraw4;
extern const com::IID IID_IDirectDrawSurface;
extern const com::IID IID_IDirectDrawSurface4;
extern const com::IID IID_IDirectDrawClipper;

// A new DirectDraw object with one reference, on the one display (device null). DDERR_INVALIDDIRECTDRAWGUID
// for any other device, CLASS_E_NOAGGREGATION with an outer object, DDERR_INVALIDPARAMS without a place for
// the result. Surfaces and clippers stay usable after their DirectDraw object is released; the object's
// release gives up its exclusive level and restores the mode it set.
HRESULT DirectDrawCreate(com::GUID* device, IDirectDraw** directDraw, com::IUnknown* outer);

} // namespace ddraw
