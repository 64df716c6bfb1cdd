// Test-only access to GDI: failures on demand, font files added to the faces fonts are matched from, and
// counts of what is alive.
#pragma once

#include "platform/win32/gdi/Gdi.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace win32::testing {

constexpr int kAlways = -1;

// The named call (as Gdi.h names it: "CreateFontA", "SelectObject", "GetKerningPairsA", ...) answers its
// failure value, with no other effect, `times` times (kAlways: until cleared) after `skip` calls of it that
// succeed. False for a name that is not one of those calls.
bool FailGdiCall(std::string_view call, int times = 1, int skip = 0);
void ClearGdiFailures();

// Every face of the font file joins those that fonts created from now on are matched from, whatever the
// configuration says of its kind (bitmap fonts included); false when the file holds no readable face.
bool AddFontFile(const std::string& path);
void RemoveAddedFontFiles();

// The path of a checked-in test font (platform/tests/fixtures/fonts/, made by make-fonts.py there):
// "VemoBlock.ttf" (family "Vemo Block": rectangles on the pixel grid at 16 pixels, no space, a 'kern' table)
// or "VemoRaster.bdf" (family "Vemo Raster": a bitmap font without outlines).
std::string FixtureFontPath(std::string_view file);

// The description a live font was created from (its face name as kept, at most 31 characters); false for a
// handle that is not a live font.
bool ReadLogFont(HFONT font, LOGFONTA& out);

// Fonts, brushes, bitmaps and regions not yet deleted (the objects a new DC holds not counted), and DCs not
// yet deleted or released.
std::size_t LiveGdiObjects();
std::size_t LiveDeviceContexts();

// The same, by handle.
struct GdiHandles {
    std::vector<HGDIOBJ> objects;
    std::vector<HDC> deviceContexts;
};
GdiHandles LiveGdiHandles();

// Clears the failures asked for, then gives back every DC and deletes every object that is alive now and
// not among `earlier`: what a test that made a delete fail on purpose leaves behind. The DCs go first, so
// that no object is still selected into one when it is deleted.
void DeleteGdiHandlesSince(const GdiHandles& earlier);

} // namespace win32::testing
