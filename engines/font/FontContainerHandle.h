// An open font container: a container graphic that holds the glyph images of the attached font, and the text
// layout that measures, fits, breaks and draws text by blitting each glyph's cell from that graphic onto any
// target graphic.
//
// Text is a String's bytes; each byte (0-255) is the code looked up in the font's glyph table, and every
// byte is read through the String's checked access, so an index at or beyond the text's length throws
// RangeException. The extent of a range c0 .. cn runs from the left edge of c0's black box to the right edge
// of cn's: B(c0) + the sum over i of C(ci-1) + kern(ci-1, ci) + A(ci) + characterSpacing + B(ci). A character
// without a glyph adds nothing. Every text operation without an attached font reports FontEngineErrNoFont
// and answers its failure value. A null style or alignment counts as the default one.
//
// Virtual operations are declared in their slot order; the whole-text forms call the ranged forms
// virtually.
#pragma once

#include "engines/font/TextAlignment.h"
#include "engines/font/TextStyle.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "resources/ResourceHandle.h"

#include <cstdint>
#include <memory>

namespace Vemo {

class FontContainerGraphic;
struct FontDescription;
class FontHandle;
class Graphic;

class FontContainerHandle : public ResourceHandle {
public:
    // The handle owns the graphic from here on.
    FontContainerHandle(ResourceEngine* engine, FontContainerGraphic* graphic);
    // Destroys the graphic.
    ~FontContainerHandle() override;

    // (extent, line height); (0, 0) without a font.
    virtual Size MeasureText(const String& text, std::uint32_t first, std::uint32_t count,
                             const TextStyle* style);
    virtual Size MeasureText(const String& text, const TextStyle* style);
    // The index of the last character, from first on, whose extent from first still fits maxWidth: first - 1
    // when not even the first does, the text's last index when all do. first as given without a font.
    virtual std::uint32_t FitText(const String& text, std::uint32_t first, std::uint32_t maxWidth,
                                  const TextStyle* style);
    // Breaks the range into lines at white space so that each fits the box's width (a word wider than the box
    // is cut where it stops fitting, and a line always holds at least one character) and draws each line
    // aligned on its own against the box, clipped to it.
    virtual bool DrawTextBox(const String& text, std::uint32_t first, std::uint32_t count, Graphic* target,
                             const Rect* box, const TextAlignment* alignment, const TextStyle* style);
    virtual bool DrawTextBox(const String& text, Graphic* target, const Rect* box,
                             const TextAlignment* alignment, const TextStyle* style);
    // Draws the range as one line anchored at the point. Glyphs wholly left of the target are skipped;
    // drawing stops past its right edge. Justified lines are drawn as left-aligned ones.
    virtual bool DrawTextLine(const String& text, std::uint32_t first, std::uint32_t count, Graphic* target,
                              const Point* point, const TextAlignment* alignment, const TextStyle* style);
    virtual bool DrawTextLine(const String& text, Graphic* target, const Point* point,
                              const TextAlignment* alignment, const TextStyle* style);
    // Takes two values and does nothing with them: false.
    virtual bool ReservedOperation(std::uint32_t a, std::uint32_t b);
    // Only a font of an engine of this container's engine's type (else FontSystemErrForeignFont); a font
    // already attached is detached first; FontSystemErrGraphicRefusedFont when the graphic refuses it.
    virtual bool AttachFont(FontHandle* font);
    virtual bool DetachFont();
    virtual FontHandle* GetFont();

    FontContainerGraphic* GetGraphic() const { return m_graphic.get(); }

private:
    // The attached font's description, or null after reporting that there is none.
    const FontDescription* Description();
    // The last index of the line that starts at start and may run up to end - 1.
    std::uint32_t BreakLine(const String& text, std::uint32_t start, std::uint32_t end, std::uint32_t width,
                            const TextStyle* style);

    FontHandle* m_font = nullptr;
    std::unique_ptr<FontContainerGraphic> m_graphic;
};

} // namespace Vemo
