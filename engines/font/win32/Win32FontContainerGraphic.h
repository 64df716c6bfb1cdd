// The container graphic of the Win32 font engine: a graphic over the pixels of a GDI DIB section selected
// into a memory DC of its own. Attaching a font fills the section with the font's background colour and draws
// every glyph of the font into it with GDI, side by side in rows of one line height, pointing each glyph's
// box at its cell; detaching gives the font its boxes and advances back.
//
// Indexed sections (1, 4 and 8 bits) carry the fixed colour table of their depth, and the graphic's palette
// holds the same entries, so that what GDI draws reads back as the colours it was drawn in. A row of the
// section is padded to a multiple of 8 bytes, the row pitch every graphic engine takes over caller memory;
// the graphic keeps the width asked for. The colour key is the background as stored, read before any glyph
// is drawn.
//
// Virtual operations are declared in their slot order, after the font container graphic's.
#pragma once

#include "engines/font/FontContainerGraphic.h"
#include "platform/win32/Types.h"

#include <cstdint>

namespace Vemo {

class Win32FontHandle;

class Win32FontContainerGraphic : public FontContainerGraphic {
public:
    Win32FontContainerGraphic();
    // Closes the graphic before the section's memory goes, then releases the GDI objects.
    ~Win32FontContainerGraphic() override;

    // Only a font of the Win32 font engine (Win32FontEngineErrForeignFont) whose glyphs fit this graphic
    // (...FontDoesNotFit).
    bool AttachFont(FontHandle* font) override;
    bool DetachFont() override;
    // Pixel-format codes: 0 and 7 give 32 bits, 1 1 bit, 3 4 bits, 4 8 bits, 5 16 bits (5-5-5), 6 24 bits;
    // others are refused (...PixelFormat). The palette reference must be empty (...PaletteReference), the
    // colour tag 0 or 1 (...ColorTag); graphic flags of 0 mean 3. Failures of GDI are reported with their
    // codes; a graphic that does not open is not reported here.
    virtual bool OpenForFont(std::int32_t width, std::int32_t height, std::uint32_t pixelFormat,
                             std::uint32_t graphicFlags, const PaletteReference& palette,
                             std::uint32_t colorTag);

    win32::HDC GetDeviceContext() const { return m_dc; }

private:
    // Opens the graphic over the section's pixels and gives it the section's colour table.
    bool OpenOverSection(void* pixels, std::int32_t width, std::int32_t height, std::int32_t pitch,
                         std::uint32_t bitsPerPixel, StandardPixelFormat format, std::uint32_t graphicFlags);
    // Draws the glyphs and points their boxes at their cells.
    void LayOut(Win32FontHandle& font);

    win32::HDC m_dc = nullptr;
    win32::HBITMAP m_section = nullptr;
    win32::HGDIOBJ m_previousBeforeSection = nullptr;
    win32::HGDIOBJ m_previousBeforeFont = nullptr;
};

} // namespace Vemo
