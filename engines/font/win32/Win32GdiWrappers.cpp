#include "engines/font/win32/Win32GdiWrappers.h"

namespace Vemo {

namespace {

const char* TextOrNull(const String* text) {
    return text != nullptr ? text->CStr() : nullptr;
}

} // namespace

win32::HDC Win32CreateDC(const String* driver, const String* device, const String* output,
                         const win32::DEVMODEA* deviceMode) {
    return win32::CreateDCA(TextOrNull(driver), TextOrNull(device), TextOrNull(output), deviceMode);
}

win32::HFONT Win32CreateFont(int height, int width, int escapement, int orientation, int weight,
                             win32::DWORD italic, win32::DWORD underline, win32::DWORD strikeOut,
                             win32::DWORD charSet, win32::DWORD outPrecision, win32::DWORD clipPrecision,
                             win32::DWORD quality, win32::DWORD pitchAndFamily, const String& faceName) {
    return win32::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                              charSet, outPrecision, clipPrecision, quality, pitchAndFamily, faceName.CStr());
}

bool Win32GetTextMetrics(win32::HDC dc, win32::TEXTMETRICA* metrics) {
    return win32::GetTextMetricsA(dc, metrics) != 0;
}

win32::DWORD Win32GetGlyphOutline(win32::HDC dc, win32::UINT character, win32::UINT format,
                                  win32::GLYPHMETRICS* metrics, win32::DWORD bufferSize, win32::LPVOID buffer,
                                  const win32::MAT2* matrix) {
    return win32::GetGlyphOutlineA(dc, character, format, metrics, bufferSize, buffer, matrix);
}

bool Win32GetCharABCWidths(win32::HDC dc, win32::UINT first, win32::UINT last, win32::ABC* widths) {
    return win32::GetCharABCWidthsA(dc, first, last, widths) != 0;
}

win32::DWORD Win32GetKerningPairs(win32::HDC dc, win32::DWORD count, win32::KERNINGPAIR* pairs) {
    return win32::GetKerningPairsA(dc, count, pairs);
}

} // namespace Vemo
