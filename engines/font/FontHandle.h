// An opened font: its description (metrics, glyph table, kerning pairs), the path it was opened from, and the
// font container it is attached to. Engines fill the description when they open the font; the glyph getters
// all go through FindGlyph, so an engine that overrides it changes them all. A code without a descriptor
// reads as 0 (an empty box and advance).
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/font/FontDescription.h"
#include "foundation/BasicList.h"
#include "foundation/Rect.h"
#include "resources/ResourceHandle.h"
#include "resources/storage/Path.h"

#include <cstdint>

namespace Vemo {

class FontContainerHandle;

class FontHandle : public ResourceHandle {
public:
    // An empty path and the default description.
    explicit FontHandle(ResourceEngine* engine);
    FontHandle(ResourceEngine* engine, const Path& path);
    FontHandle(ResourceEngine* engine, const FontDescription& description, std::uint32_t sourceValue);
    ~FontHandle() override;

    virtual GlyphDescriptor* FindGlyph(std::uint32_t code);
    virtual const FontDescription* GetDescription() const;
    // The size of a container graphic that holds every glyph side by side in rows of one line height, each
    // glyph as wide as its black box; maxWidth and maxHeight are bounds when not 0. (0, 0) when the glyphs
    // fit no container within the bounds.
    virtual Size GetContainerSize(std::uint32_t maxWidth, std::uint32_t maxHeight);
    virtual std::int32_t GetLineHeight() const;
    virtual std::int32_t GetAscent() const;
    virtual std::int32_t GetDescent() const;
    virtual std::int32_t GetInternalLeading() const;
    virtual std::int32_t GetExternalLeading() const;
    virtual std::int32_t GetGlyphBlackWidth(std::uint32_t code);
    virtual std::int32_t GetAverageWidth() const;
    virtual std::int32_t GetMaximumWidth() const;
    virtual bool IsFixedPitch() const;
    virtual bool IsBold() const;
    virtual bool IsItalic() const;
    virtual bool IsUnderline() const;
    virtual bool IsAntialiased() const;
    virtual const FontStyle* GetStyle() const;
    virtual bool GetName(String& out) const;
    virtual FontCharacterSet GetCharacterSet() const;
    virtual std::uint32_t GetFirstCharacter() const;
    virtual std::uint32_t GetLastCharacter() const;
    virtual std::uint32_t GetContainerColorTag() const;
    virtual std::uint32_t GetContainerPixelFormat() const;
    virtual const TaggedColor* GetForegroundColor() const;
    virtual const TaggedColor* GetBackgroundColor() const;
    virtual std::int32_t GetKerning(std::uint32_t first, std::uint32_t second) const;
    virtual std::int32_t GetGlyphLeftBearing(std::uint32_t code);
    virtual std::int32_t GetGlyphRightBearing(std::uint32_t code);
    virtual Rect GetGlyphBox(std::uint32_t code);
    virtual Point GetGlyphAdvance(std::uint32_t code);
    virtual bool GetPath(Path& out) const;
    // A container already attached is detached first.
    virtual bool AttachContainer(FontContainerHandle* container);
    virtual bool DetachContainer();
    virtual FontContainerHandle* GetContainer() const;

    // The description as the opening engine fills it.
    FontDescription& EditDescription() { return m_description; }
    std::uint32_t GetSourceValue() const { return m_sourceValue; }

private:
    Path m_path;
    FontDescription m_description;
    // The value a font opened from a description was given with it; the family only keeps it.
    std::uint32_t m_sourceValue = 0;
    FontContainerHandle* m_container = nullptr;
};

// Takes a font handle that no reference holds any more out of a list of open fonts (its first entry); leaves
// anything else listed.
void UnlistClosedFont(BasicList<FontHandle*>& fonts, ResourceHandle* handle);

} // namespace Vemo
