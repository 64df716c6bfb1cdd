// The font engine on GDI, named "Win32 Font Engine": it opens a font by face name, size, width, style and
// colours, reads its metrics, every glyph's metrics and ABC widths in the font's character range and its
// kerning pairs, and keeps the GDI font selected into a memory DC of the font handle's own. Its containers
// are DIB sections into which GDI draws the glyphs of the attached font. It does not open fonts from files
// or descriptions (ResourceSystemErrNotSupported).
//
// Every GDI failure is reported with the engine's code for that call, and whatever the failing open had made
// is released.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/font/FontEngine.h"

namespace Vemo {

class Win32FontHandle;

class Win32FontEngine : public FontEngine {
public:
    Win32FontEngine();
    ~Win32FontEngine() override;

    FontHandle* OpenFromPath(const Path& path) override;
    // The size and width are points at the screen's 96 dots per inch unless pixelUnits; the size is the
    // cell's height when cellHeight, else the character's. A width of 0 lets GDI choose. The font's
    // antialiased flag stays false: antialiasing only chooses how GDI draws the glyphs.
    FontHandle* OpenByAttributes(const String& name, std::uint32_t size, std::int32_t width, bool cellHeight,
                                 bool pixelUnits, const FontStyle& style, const TaggedColor& foreground,
                                 const TaggedColor& background) override;
    FontHandle* OpenFromDescriptionShared(const FontDescription& description, std::uint32_t source) override;
    FontHandle* OpenFromDescription(const FontDescription& description, std::uint32_t source) override;
    // A Win32FontContainerGraphic (Win32FontEngineErrOpenContainer when it does not open).
    FontContainerHandle* OpenContainer(const Size& size, std::uint32_t pixelFormat,
                                       std::uint32_t graphicFlags, std::uint32_t colorTag) override;
    // Selects the DC's previous object back, deletes the font and the DC, each failure reported and the next
    // step still taken, and deletes the handle. True when every GDI call succeeded.
    bool CloseFont(FontHandle* font) override;

    // Runs the font engine's factory on the given engine, or on a new Win32 Font Engine.
    static Win32FontEngine* Create(Win32FontEngine* engine = nullptr);

private:
    // Steps from the metrics on, with the font selected: the code of the call that failed, or 0.
    static ErrorCode ReadFont(Win32FontHandle& font, const String& name, const FontStyle& style,
                              const TaggedColor& foreground, const TaggedColor& background);
    static ErrorCode ReadGlyphs(Win32FontHandle& font);
    static ErrorCode ReadKerningPairs(Win32FontHandle& font);
    // The three GDI steps of closing; reports each failure when asked to.
    static bool ReleaseGdiObjects(Win32FontHandle& font, bool report);
};

} // namespace Vemo
