// The objects behind GDI handles. Internal to the platform layer; every access holds the GDI lock
// (platform/win32/gdi/GdiState.h).
#pragma once

#include "platform/win32/Types.h"
#include "platform/win32/gdi/GdiSurface.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace win32::gdi {

class FontFace;

class GdiObject {
public:
    virtual ~GdiObject();

    // How many DCs hold the object selected; such an object cannot be deleted.
    int selections = 0;
    // Objects that a new DC holds; DeleteObject leaves them.
    bool stock = false;
};

class GdiFont : public GdiObject {
public:
    LOGFONTA logFont{};
    std::shared_ptr<FontFace> face;
};

class GdiBrush : public GdiObject {
public:
    COLORREF color = 0;
};

// A rectangular region; empty when left >= right or top >= bottom.
class GdiRegion : public GdiObject {
public:
    RECT rect{};
};

// A DIB section: its own zeroed pixels and the colour table of an indexed one.
class GdiBitmap : public GdiObject {
public:
    std::unique_ptr<std::uint8_t[]> memory;
    std::vector<RGBQUAD> palette;
    // target.bits points into memory (at its last row when the rows are stored bottom-up).
    GdiBitmapTarget target{};
};

} // namespace win32::gdi

namespace win32::gdi {

// A font object for the description, its face matched and opened; null when no face can be had.
std::shared_ptr<GdiFont> MakeFontObject(const LOGFONTA& logFont);

} // namespace win32::gdi
