// Thin wrappers of the GDI calls that take Vemo::String arguments: a String without text is passed as "", the
// other arguments go through unchanged, and BOOL results come back as bool. The font engine reaches GDI's
// fonts through these.
#pragma once

#include "foundation/String.h"
#include "platform/win32/Types.h"
#include "platform/win32/gdi/Gdi.h"

namespace Vemo {

// Each String may be null, and is then passed as null.
win32::HDC Win32CreateDC(const String* driver, const String* device, const String* output,
                         const win32::DEVMODEA* deviceMode);
win32::HFONT Win32CreateFont(int height, int width, int escapement, int orientation, int weight,
                             win32::DWORD italic, win32::DWORD underline, win32::DWORD strikeOut,
                             win32::DWORD charSet, win32::DWORD outPrecision, win32::DWORD clipPrecision,
                             win32::DWORD quality, win32::DWORD pitchAndFamily, const String& faceName);
bool Win32GetTextMetrics(win32::HDC dc, win32::TEXTMETRICA* metrics);
win32::DWORD Win32GetGlyphOutline(win32::HDC dc, win32::UINT character, win32::UINT format,
                                  win32::GLYPHMETRICS* metrics, win32::DWORD bufferSize, win32::LPVOID buffer,
                                  const win32::MAT2* matrix);
bool Win32GetCharABCWidths(win32::HDC dc, win32::UINT first, win32::UINT last, win32::ABC* widths);
win32::DWORD Win32GetKerningPairs(win32::HDC dc, win32::DWORD count, win32::KERNINGPAIR* pairs);

} // namespace Vemo
