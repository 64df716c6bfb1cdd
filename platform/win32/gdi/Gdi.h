// GDI: device contexts, fonts, DIB sections, brushes, rectangular clip regions and text, drawn in our own
// memory with FreeType and matched with fontconfig.
//
// Device contexts:
// - A memory DC (CreateCompatibleDC) starts with a 1x1 monochrome bitmap, the default font, a white brush, no
//   clip region, black text on an opaque white background, MM_TEXT, TA_LEFT | TA_TOP and no extra spacing.
//   Its drawing lands in the bitmap selected into it.
// - The screen DC (GetDC(null)) and a "DISPLAY" DC (CreateDCA) stand for the emulated desktop. This host has
// no
//   desktop picture of its own (windows show what DirectDraw presents), so what is drawn through them goes
//   nowhere; they serve for measuring text and as the reference DC of CreateDIBSection.
// - A DC over another part of the platform's memory (DirectDraw surfaces) is made by
// platform/win32/gdi/GdiSurface.h. Coordinates are device pixels (MM_TEXT). Rectangles exclude their right
// and bottom edges.
//
// Fonts: CreateFontA and CreateFontIndirectA take the face fontconfig matches best for the name (an unknown
// name still gives a font), the weight converted with FcWeightFromOpenType (0 counts as 400) and the italic
// flag; a bold or italic request that the matched face does not have is synthesised. Sizes:
// - height > 0 is the cell height (tmHeight = height), < 0 the em height (tmHeight - tmInternalLeading =
//   -height), 0 a cell height of 16 pixels; the em is a whole number of pixels;
// - tmAscent is the face's Windows ascent (OS/2 usWinAscent, else hhea) at that em, rounded up; tmDescent =
//   tmHeight - tmAscent;
// - width 0 keeps the face's proportions; another width scales the face horizontally so that its average
//   character width (OS/2 xAvgCharWidth) becomes that width;
// - glyphs are FreeType's, hinted with its default hinting, rendered in grey levels, except quality
//   NONANTIALIASED_QUALITY (3), which hints and renders monochrome; advances are the hinted advances in whole
//   pixels.
// Bytes are characters of Windows-1252; a code that page leaves undefined, or that the face lacks, takes the
// face's default glyph. Text is neither kerned nor shaped: each byte is one glyph.
#pragma once

#include "platform/win32/Types.h"

namespace win32 {

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int MM_TEXT = 1;

// Text alignment (SetTextAlign): a horizontal, a vertical and an update-position part.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

constexpr UINT GDI_ERROR = 0xFFFFFFFF;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
inline HGDIOBJ const HGDI_ERROR = reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(-1));

// GetDeviceCaps indices answered.
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Region kinds, as SelectClipRgn answers them.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

// Font creation.
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;

constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;

constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE DRAFT_QUALITY = 1;
constexpr BYTE PROOF_QUALITY = 2;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;

// Pitch and family: the low bits ask for a pitch, the high nibble names a family, which picks fontconfig's
// generic family (serif, sans-serif, monospace) when the face name matches nothing.
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// tmPitchAndFamily bits. TMPF_FIXED_PITCH keeps Windows' inverted meaning: set for a proportional face.
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

constexpr UINT GGO_METRICS = 0;

// DIB sections.
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;

// DrawTextA formats honoured: the horizontal alignment, DT_WORDBREAK, DT_NOCLIP, DT_EXTERNALLEADING,
// DT_CALCRECT, DT_NOPREFIX and DT_EDITCONTROL. Others are ignored: lines always break at line feeds and
// carriage returns and start at the rectangle's top, and tabs are drawn as the glyph of code 9.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_EXTERNALLEADING = 0x0200;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_EDITCONTROL = 0x2000;

// The kernel's (a * b) / c with a 64-bit product, rounded to nearest (halves away from zero); -1 when c is 0
// or the result does not fit in 32 bits.
int MulDiv(int number, int numerator, int denominator);

// A memory DC compatible with the screen (dc null) or with dc; null when dc is not a DC.
HDC CreateCompatibleDC(HDC dc);
// driver "DISPLAY" (without regard to case) gives a DC of the desktop, deleted with DeleteDC; every other
// driver, and a non-null device mode, gives null.
struct DEVMODEA;
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* deviceMode);
// Deletes a DC made by CreateCompatibleDC or CreateDCA; the objects selected into it stay alive. FALSE for
// any other handle (a screen DC is given back with ReleaseDC).
BOOL DeleteDC(HDC dc);
// GetDC(null): a new screen DC, given back with ReleaseDC. Windows have no DC of their own here (they show
// DirectDraw surfaces): GetDC of a window answers null.
HDC GetDC(HWND window);
// 1 when dc is a screen DC, which is then gone; 0 otherwise.
int ReleaseDC(HWND window, HDC dc);

// Selects a font, brush or bitmap into the DC and answers the object it replaces; a region becomes the clip
// region as by SelectClipRgn and its kind is answered (ERROR as HGDI_ERROR). Null when dc or the object is
// unknown, or for a bitmap: when dc is not a memory DC, or the bitmap is selected into another DC.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Deletes a font, brush, bitmap (its pixels with it) or region. FALSE for an unknown handle or an object
// still selected into a DC, which stays as it was. Stock objects (the ones a new DC holds) answer TRUE and
// stay.
BOOL DeleteObject(HGDIOBJ object);

// The attribute setters answer the previous value, or on failure (unknown DC, a value out of range): 0 for
// SetMapMode (only MM_TEXT is taken) and SetBkMode (TRANSPARENT or OPAQUE), CLR_INVALID for the colours (a
// COLORREF whose top byte is not 0 or 2), GDI_ERROR for SetTextAlign and 0x80000000 for
// SetTextCharacterExtra.
int SetMapMode(HDC dc, int mode);
int SetBkMode(HDC dc, int mode);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);
UINT SetTextAlign(HDC dc, UINT align);
// Extra pixels after every character that TextOutA and DrawTextA draw.
int SetTextCharacterExtra(HDC dc, int extra);
// TextOutA spreads breakExtra pixels over the first breakCount spaces of each string it draws; breakCount 0
// turns this off. Non-zero on success, 0 for an unknown DC.
BOOL SetTextJustification(HDC dc, int breakExtra, int breakCount);
// LOGPIXELSX and LOGPIXELSY answer 96; any other index, or an unknown DC, 0.
int GetDeviceCaps(HDC dc, int index);

// A rectangular region (its corners taken in either order); null on failure.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
// Copies the DC's clip region into region: 1 when there is one, 0 when the DC has none (region unchanged), -1
// for an unknown DC or region.
int GetClipRgn(HDC dc, HRGN region);
// The DC's clip region becomes a copy of region (null removes it): the region's kind, or ERROR.
int SelectClipRgn(HDC dc, HRGN region);

// A font as described above; null when no face can be had at all, for a non-zero escapement or orientation
// (rotated text is not drawn) or for a height or width beyond 2048 pixels. A face name longer than 31
// characters is cut to 31.
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
HFONT CreateFontIndirectA(const LOGFONTA* logFont);

// The metrics of the DC's font. tmCharSet is ANSI_CHARSET; tmFirstChar and tmLastChar are the first and the
// last code from 0x20 that the face maps; tmWeight, tmItalic, tmUnderlined and tmStruckOut are those asked
// for (a weight of 0 as 400); tmExternalLeading is hhea's line gap less what the Windows ascent and descent
// add to hhea's; tmMaxCharWidth is at least every glyph's advance and black-box width.
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
// GGO_METRICS of a code (0-255) with the identity matrix: the black box of the glyph as drawn (at least 1x1;
// a glyph without ink has the 1x1 box at its origin), its origin relative to the pen on the baseline (y up)
// and its advance. Answers 0, or GDI_ERROR for another format, another or no matrix, a code above 255 or a
// face without outlines.
DWORD GetGlyphOutlineA(HDC dc, UINT character, UINT format, GLYPHMETRICS* metrics, DWORD bufferSize,
                       LPVOID buffer, const MAT2* matrix);
// A, B and C of the codes first to last (up to 255): A is the black box's left, B its width, A + B + C the
// advance, matching GetGlyphOutlineA. FALSE for a face without outlines.
BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths);
// The face's kerning ('kern' table, FreeType's default mode) between codes of tmFirstChar..tmLastChar that
// the face maps, in whole pixels, ordered by first then second code; pairs of 0 pixels are left out. With
// pairs null the count of pairs, else the first count of them copied and their number answered. 0 on failure.
DWORD GetKerningPairsA(HDC dc, DWORD count, KERNINGPAIR* pairs);

// A DIB section from a BITMAPINFOHEADER, BITMAPV4HEADER or BITMAPV5HEADER (40, 108 or 124 bytes) with BI_RGB
// and DIB_RGB_COLORS: 1, 4 or 8 bits with a colour table of biClrUsed entries (0: all 2^bits) right after the
// header, 16 bits as x-5-5-5, 24 and 32 bits as blue, green, red (and an unused byte). A positive height
// stores rows bottom-up, a negative one top-down; each row is rounded up to 4 bytes. The pixels start zeroed
// and stay valid until DeleteObject; *bits (when bits is not null) receives them. dc is not used. Null (and
// *bits null) for anything else, or a picture of more than 256 MiB.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);

HBRUSH CreateSolidBrush(COLORREF color);
// Stock objects: WHITE_BRUSH and BLACK_BRUSH, brushes that DeleteObject leaves alone; every other index
// answers null.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
HGDIOBJ GetStockObject(int index);
// Fills the rectangle, clipped to the DC's bitmap and clip region, with the brush's colour. Non-zero on
// success; 0 for an unknown DC or brush.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Draws count bytes of text with the DC's font, text colour, background mode and colour (the opaque
// background covers the text's advance by tmHeight), alignment, character extra and justification.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
// Draws or measures (DT_CALCRECT) count bytes of text (-1: up to its NUL) in the rectangle with the formats
// above. Lines are tmHeight apart (plus tmExternalLeading with DT_EXTERNALLEADING). DT_WORDBREAK breaks a
// line before a word that would pass the rectangle's right edge, dropping the spaces at the break; a word
// wider than the rectangle is cut between characters with DT_EDITCONTROL and left whole (and clipped)
// otherwise. DT_EDITCONTROL also leaves out a last line that the rectangle would show only in part. Without
// DT_NOPREFIX,
// "&x" draws x underlined and "&&" draws "&". DT_CALCRECT draws nothing and sets the rectangle's right to
// left plus the widest line and its bottom to top plus the text's height. Answers the text's height, 0 on
// failure or for empty text.
int DrawTextA(HDC dc, LPCSTR text, int count, RECT* rect, UINT format);

} // namespace win32
