// Text as TextOutA and DrawTextA draw it: runs of one-byte characters measured by their advances, lines
// broken for DrawTextA, and runs drawn into a DC's target. Internal to the platform layer; used with the GDI
// lock held.
#pragma once

#include "platform/win32/gdi/FontFace.h"
#include "platform/win32/gdi/GdiDeviceContext.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace win32::gdi {

struct TextCharacter {
    BYTE code = 0;
    // Marked by a '&' prefix in DrawTextA.
    bool underlined = false;
};

// The text's bytes as characters; with prefixes, "&x" becomes an underlined x, "&&" a plain '&' and a last
// lone '&' nothing.
std::vector<TextCharacter> ReadCharacters(std::string_view text, bool prefixes);

// Each character's advance with the DC's character extra, and with justify the DC's break extra spread over
// its first breakCount spaces.
std::vector<int> CharacterAdvances(const GdiDeviceContext& dc, FontFace& face,
                                   std::span<const TextCharacter> text, bool justify);

// Where drawing through the DC may land: its target's bounds within its clip region; empty without a target.
RECT DrawingClip(const GdiDeviceContext& dc);

// Draws the run with its cell's top-left at (x, top), within clip: the opaque background when the DC's mode
// asks for it, the glyphs blended in the text colour, then underline and strike-out.
void DrawRun(GdiDeviceContext& dc, FontFace& face, std::span<const TextCharacter> text,
             std::span<const int> advances, int x, int top, const RECT& clip);

struct TextLineRange {
    std::size_t begin = 0;
    std::size_t end = 0;
    int width = 0;
};

// DrawTextA's lines: broken at line feeds and carriage returns, and with DT_WORDBREAK at maxWidth.
std::vector<TextLineRange> BreakLines(std::span<const TextCharacter> text, std::span<const int> advances,
                                      int maxWidth, UINT format);

} // namespace win32::gdi
