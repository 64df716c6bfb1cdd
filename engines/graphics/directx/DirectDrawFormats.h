// What the DirectX 6 engine reads from DirectDraw's pixel formats, and how it gives DirectDraw objects back:
// helpers of the engine, its graphic handles and its viewport handles.
#pragma once

#include "engines/graphics/PixelFormat.h"
#include "platform/directx/DirectDraw.h"

#include <cstdint>

namespace Vemo {

inline constexpr win32::DWORD kIndexedPixelFlags = ddraw::DDPF_PALETTEINDEXED1 | ddraw::DDPF_PALETTEINDEXED2 |
                                                   ddraw::DDPF_PALETTEINDEXED4 | ddraw::DDPF_PALETTEINDEXED8;

// The fourth mask's usage: alpha, else depth, else none.
inline std::uint8_t ExtraUsageOfFlags(win32::DWORD flags) {
    if ((flags & ddraw::DDPF_ALPHAPIXELS) != 0) {
        return ExtraChannel::kUsageAlpha;
    }
    return (flags & ddraw::DDPF_ZPIXELS) != 0 ? ExtraChannel::kUsageDepth : ExtraChannel::kUsageNone;
}

// The direct-colour format of the DirectDraw format's masks, at the depth of its bit count.
inline PixelFormat DirectFormatOf(const ddraw::DDPIXELFORMAT& format) {
    PixelFormat made;
    made.SetMasks(DepthFromBitsPerPixel(format.dwRGBBitCount), format.dwRBitMask, format.dwGBitMask,
                  format.dwBBitMask, format.dwRGBAlphaBitMask,
                  ExtraChannel(ExtraUsageOfFlags(format.dwFlags)));
    return made;
}

// The indexed format of the bit count for a palettised format, else the direct-colour one.
inline PixelFormat FormatOf(const ddraw::DDPIXELFORMAT& format) {
    if ((format.dwFlags & kIndexedPixelFlags) != 0) {
        return PixelFormat(DepthFromBitsPerPixel(format.dwRGBBitCount));
    }
    return DirectFormatOf(format);
}

inline ddraw::DDSURFACEDESC2 EmptySurfaceDescription() {
    ddraw::DDSURFACEDESC2 description{};
    description.dwSize = ddraw::kSurfaceDescriptionSize32;
    return description;
}

// Gives the reference back, if there is one, and forgets it.
template <class Interface>
void ReleaseInterface(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

} // namespace Vemo
