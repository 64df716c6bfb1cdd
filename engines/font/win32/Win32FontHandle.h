// A font opened through GDI: a memory DC with the GDI font selected into it for the handle's life, and a
// pristine copy of the glyph table as it was opened, from which a container that rewrote the table's boxes
// and advances restores them. The Win32 font engine opens and closes it; the handle itself releases no GDI
// object.
#pragma once

#include "engines/font/FontHandle.h"
#include "platform/win32/Types.h"

namespace Vemo {

class Win32FontHandle : public FontHandle {
public:
    explicit Win32FontHandle(ResourceEngine* engine);
    ~Win32FontHandle() override;

    win32::HDC GetDeviceContext() const { return m_dc; }
    win32::HFONT GetGdiFont() const { return m_font; }
    // What the DC held before the font was selected.
    win32::HGDIOBJ GetPreviousObject() const { return m_previous; }
    const GlyphTable& GetPristineGlyphs() const { return m_pristine; }

    void SetDeviceContext(win32::HDC dc) { m_dc = dc; }
    void SetFont(win32::HFONT font, win32::HGDIOBJ previous) {
        m_font = font;
        m_previous = previous;
    }
    // Enters the descriptor in the description's table and in the pristine one.
    void AddGlyph(const GlyphDescriptor& glyph);

private:
    win32::HDC m_dc = nullptr;
    win32::HFONT m_font = nullptr;
    win32::HGDIOBJ m_previous = nullptr;
    GlyphTable m_pristine;
};

} // namespace Vemo
