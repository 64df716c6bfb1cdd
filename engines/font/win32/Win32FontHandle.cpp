#include "engines/font/win32/Win32FontHandle.h"

namespace Vemo {

Win32FontHandle::Win32FontHandle(ResourceEngine* engine) : FontHandle(engine) {}

Win32FontHandle::~Win32FontHandle() = default;

void Win32FontHandle::AddGlyph(const GlyphDescriptor& glyph) {
    EditDescription().glyphs.Insert(glyph);
    m_pristine.Insert(glyph);
}

} // namespace Vemo
