// Fonts: creation, metrics, glyph metrics, ABC widths and kerning pairs.
#include "platform/win32/gdi/FontFace.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/gdi/GdiState.h"

#include <algorithm>
#include <cstring>

namespace win32 {

using gdi::GdiCall;

namespace {

HFONT AddFont(const LOGFONTA& logFont) {
    if (logFont.lfEscapement != 0 || logFont.lfOrientation != 0) {
        return nullptr;
    }
    LOGFONTA kept = logFont;
    kept.lfFaceName[LF_FACESIZE - 1] = '\0';
    std::shared_ptr<gdi::GdiFont> font = gdi::MakeFontObject(kept);
    return font ? static_cast<HFONT>(gdi::AddObject(std::move(font))) : nullptr;
}

// The face of the font selected into the DC, or null for an unknown DC.
gdi::FontFace* SelectedFace(HDC dc) {
    std::shared_ptr<gdi::GdiDeviceContext> found = gdi::FindDc(dc);
    if (!found || !found->font.object) {
        return nullptr;
    }
    return found->font.object->face.get();
}

bool IsIdentity(const MAT2& matrix) {
    auto is = [](const FIXED& value, SHORT whole) { return value.fract == 0 && value.value == whole; };
    return is(matrix.eM11, 1) && is(matrix.eM12, 0) && is(matrix.eM21, 0) && is(matrix.eM22, 1);
}

} // namespace

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    GdiCall call("CreateFontA");
    if (call.Failed()) {
        return nullptr;
    }
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(italic);
    logFont.lfUnderline = static_cast<BYTE>(underline);
    logFont.lfStrikeOut = static_cast<BYTE>(strikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName != nullptr) {
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    }
    return AddFont(logFont);
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    GdiCall call("CreateFontIndirectA");
    if (call.Failed() || logFont == nullptr) {
        return nullptr;
    }
    return AddFont(*logFont);
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
    GdiCall call("GetTextMetricsA");
    gdi::FontFace* face = SelectedFace(dc);
    if (call.Failed() || face == nullptr || metrics == nullptr) {
        return FALSE;
    }
    *metrics = face->Metrics();
    return TRUE;
}

DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD, LPVOID,
                       const MAT2* matrix) {
    GdiCall call("GetGlyphOutlineA");
    gdi::FontFace* face = SelectedFace(dc);
    if (call.Failed() || face == nullptr || !face->HasOutlines() || format != GGO_METRICS ||
        metrics == nullptr || matrix == nullptr || !IsIdentity(*matrix) || character > 0xFF) {
        return GDI_ERROR;
    }
    const gdi::GlyphBox& box = face->Box(static_cast<BYTE>(character));
    bool inked = box.width > 0 && box.rows > 0;
    metrics->gmBlackBoxX = inked ? static_cast<UINT>(box.width) : 1;
    metrics->gmBlackBoxY = inked ? static_cast<UINT>(box.rows) : 1;
    metrics->gmptGlyphOrigin = inked ? POINT{box.left, box.top} : POINT{0, 0};
    metrics->gmCellIncX = static_cast<SHORT>(box.advance);
    metrics->gmCellIncY = 0;
    return 0;
}

BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths) {
    GdiCall call("GetCharABCWidthsA");
    gdi::FontFace* face = SelectedFace(dc);
    if (call.Failed() || face == nullptr || !face->HasOutlines() || widths == nullptr || first > last ||
        last > 0xFF) {
        return FALSE;
    }
    for (UINT code = first; code <= last; ++code) {
        const gdi::GlyphBox& box = face->Box(static_cast<BYTE>(code));
        bool inked = box.width > 0 && box.rows > 0;
        int a = inked ? box.left : 0;
        int b = inked ? box.width : 1;
        widths[code - first] = ABC{a, static_cast<UINT>(b), box.advance - a - b};
    }
    return TRUE;
}

DWORD GetKerningPairsA(HDC dc, DWORD count, KERNINGPAIR* pairs) {
    GdiCall call("GetKerningPairsA");
    gdi::FontFace* face = SelectedFace(dc);
    if (call.Failed() || face == nullptr) {
        return 0;
    }
    const std::vector<KERNINGPAIR>& all = face->KerningPairs();
    if (pairs == nullptr) {
        return static_cast<DWORD>(all.size());
    }
    std::size_t copied = std::min<std::size_t>(count, all.size());
    std::copy_n(all.begin(), copied, pairs);
    return static_cast<DWORD>(copied);
}

} // namespace win32
