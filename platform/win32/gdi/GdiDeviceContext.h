// The state behind an HDC. Internal to the platform layer; every access holds the GDI lock.
#pragma once

#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/GdiObject.h"
#include "platform/win32/gdi/GdiSurface.h"

#include <memory>
#include <optional>
#include <vector>

namespace win32::gdi {

// Coordinates, extents and spacing beyond this many pixels are refused, as Windows refuses them past 2^27, so
// that no sum of them overflows.
constexpr long long kLargestCoordinate = 1LL << 27;

// A COLORREF as an RGB value: plain RGB and PALETTERGB (top byte 2) colours are taken; others are not.
inline std::optional<COLORREF> ResolveColor(COLORREF color) {
    BYTE kind = static_cast<BYTE>(color >> 24);
    if (kind != 0 && kind != 2) {
        return std::nullopt;
    }
    return color & 0xFFFFFF;
}

enum class DcKind {
    Memory,  // CreateCompatibleDC: draws into its selected bitmap
    Screen,  // GetDC(null): given back with ReleaseDC
    Display, // CreateDCA("DISPLAY"): deleted with DeleteDC
    Surface, // over memory another part of the platform owns (GdiSurface.h)
};

template <class T>
struct Selection {
    HGDIOBJ handle = nullptr;
    std::shared_ptr<T> object;
};

class GdiDeviceContext {
public:
    explicit GdiDeviceContext(DcKind kind) : kind(kind) {}

    // Where drawing lands: the selected bitmap, the surface, or nothing for the desktop's DCs.
    std::optional<GdiBitmapTarget> DrawingTarget() const;
    bool TakesBitmaps() const { return kind == DcKind::Memory; }

    DcKind kind;
    Selection<GdiFont> font;
    Selection<GdiBrush> brush;
    Selection<GdiBitmap> bitmap;

    std::optional<RECT> clip;
    COLORREF textColor = 0;
    COLORREF backgroundColor = 0xFFFFFF;
    int backgroundMode = OPAQUE;
    int mapMode = MM_TEXT;
    UINT textAlign = 0;
    int characterExtra = 0;
    int breakExtra = 0;
    int breakCount = 0;
    POINT currentPosition{};

    GdiBitmapTarget surface{};
    std::vector<RGBQUAD> surfacePalette;
};

} // namespace win32::gdi
