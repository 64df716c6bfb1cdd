#include "engines/font/FontHandle.h"

#include <algorithm>

namespace Vemo {

namespace {

constexpr std::int64_t kDefaultContainerWidth = 640;

} // namespace

FontHandle::FontHandle(ResourceEngine* engine) : ResourceHandle(engine) {}

FontHandle::FontHandle(ResourceEngine* engine, const Path& path) : ResourceHandle(engine), m_path(path) {}

FontHandle::FontHandle(ResourceEngine* engine, const FontDescription& description, std::uint32_t sourceValue)
    : ResourceHandle(engine), m_description(description), m_sourceValue(sourceValue) {}

FontHandle::~FontHandle() = default;

GlyphDescriptor* FontHandle::FindGlyph(std::uint32_t code) {
    return m_description.FindGlyph(code);
}

const FontDescription* FontHandle::GetDescription() const {
    return &m_description;
}

Size FontHandle::GetContainerSize(std::uint32_t maxWidth, std::uint32_t maxHeight) {
    const std::int64_t line = m_description.lineHeight;
    if (m_description.glyphs.Empty() ||
        (maxWidth != 0 && std::int64_t{maxWidth} < m_description.maximumWidth) ||
        (maxHeight != 0 && maxHeight < line)) {
        return Size(0, 0);
    }
    std::int64_t width = kDefaultContainerWidth;
    if (maxWidth != 0) {
        width = maxWidth;
    } else if (maxHeight != 0) {
        const std::int64_t codes =
            std::int64_t{m_description.lastCharacter} - m_description.firstCharacter + 1;
        width = codes * m_description.averageWidth * line / maxHeight;
    }
    std::int64_t rows = line;
    if (maxHeight != 0 && maxWidth == 0) {
        // Widen until the rows fit the height, each time by the least that moves a glyph up a row.
        for (bool fits = false; !fits;) {
            std::int64_t x = 0;
            std::int64_t smallestOverflow = m_description.maximumWidth;
            rows = line;
            fits = true;
            m_description.VisitGlyphs([&](const GlyphDescriptor& glyph) {
                if (!fits) {
                    return;
                }
                if (x + glyph.blackWidth <= width) {
                    x += glyph.blackWidth;
                    return;
                }
                smallestOverflow = std::min(smallestOverflow, glyph.blackWidth - width + x);
                rows += line;
                x = glyph.blackWidth;
                fits = rows <= maxHeight;
            });
            // A font without a positive maximum width would otherwise never widen.
            width += fits ? 0 : std::max<std::int64_t>(smallestOverflow, 1);
        }
        return Size(static_cast<std::int32_t>(width), static_cast<std::int32_t>(rows));
    }
    std::int64_t x = 0;
    m_description.VisitGlyphs([&](const GlyphDescriptor& glyph) {
        x += glyph.blackWidth;
        if (x > width) {
            rows += line;
            x = glyph.blackWidth;
        }
    });
    if (maxHeight != 0 && rows > maxHeight) {
        return Size(0, 0);
    }
    return Size(static_cast<std::int32_t>(width), static_cast<std::int32_t>(rows));
}

std::int32_t FontHandle::GetLineHeight() const {
    return m_description.lineHeight;
}

std::int32_t FontHandle::GetAscent() const {
    return m_description.ascent;
}

std::int32_t FontHandle::GetDescent() const {
    return m_description.descent;
}

std::int32_t FontHandle::GetInternalLeading() const {
    return m_description.internalLeading;
}

std::int32_t FontHandle::GetExternalLeading() const {
    return m_description.externalLeading;
}

std::int32_t FontHandle::GetGlyphBlackWidth(std::uint32_t code) {
    const GlyphDescriptor* glyph = FindGlyph(code);
    return glyph != nullptr ? glyph->blackWidth : 0;
}

std::int32_t FontHandle::GetAverageWidth() const {
    return m_description.averageWidth;
}

std::int32_t FontHandle::GetMaximumWidth() const {
    return m_description.maximumWidth;
}

bool FontHandle::IsFixedPitch() const {
    return m_description.fixedPitch;
}

bool FontHandle::IsBold() const {
    return m_description.style.bold;
}

bool FontHandle::IsItalic() const {
    return m_description.style.italic;
}

bool FontHandle::IsUnderline() const {
    return m_description.style.underline;
}

bool FontHandle::IsAntialiased() const {
    return m_description.style.antialiased;
}

const FontStyle* FontHandle::GetStyle() const {
    return &m_description.style;
}

bool FontHandle::GetName(String& out) const {
    out = m_description.name;
    return true;
}

FontCharacterSet FontHandle::GetCharacterSet() const {
    return m_description.characterSet;
}

std::uint32_t FontHandle::GetFirstCharacter() const {
    return m_description.firstCharacter;
}

std::uint32_t FontHandle::GetLastCharacter() const {
    return m_description.lastCharacter;
}

std::uint32_t FontHandle::GetContainerColorTag() const {
    return m_description.containerColorTag;
}

std::uint32_t FontHandle::GetContainerPixelFormat() const {
    return m_description.containerPixelFormat;
}

const TaggedColor* FontHandle::GetForegroundColor() const {
    return &m_description.foreground;
}

const TaggedColor* FontHandle::GetBackgroundColor() const {
    return &m_description.background;
}

std::int32_t FontHandle::GetKerning(std::uint32_t first, std::uint32_t second) const {
    return m_description.FindKerning(first, second);
}

std::int32_t FontHandle::GetGlyphLeftBearing(std::uint32_t code) {
    const GlyphDescriptor* glyph = FindGlyph(code);
    return glyph != nullptr ? glyph->leftBearing : 0;
}

std::int32_t FontHandle::GetGlyphRightBearing(std::uint32_t code) {
    const GlyphDescriptor* glyph = FindGlyph(code);
    return glyph != nullptr ? glyph->rightBearing : 0;
}

Rect FontHandle::GetGlyphBox(std::uint32_t code) {
    const GlyphDescriptor* glyph = FindGlyph(code);
    return glyph != nullptr ? glyph->box : Rect();
}

Point FontHandle::GetGlyphAdvance(std::uint32_t code) {
    const GlyphDescriptor* glyph = FindGlyph(code);
    return glyph != nullptr ? glyph->advance : Point();
}

bool FontHandle::GetPath(Path& out) const {
    out = m_path;
    return true;
}

bool FontHandle::AttachContainer(FontContainerHandle* container) {
    if (m_container != nullptr) {
        DetachContainer();
    }
    m_container = container;
    return true;
}

bool FontHandle::DetachContainer() {
    m_container = nullptr;
    return true;
}

FontContainerHandle* FontHandle::GetContainer() const {
    return m_container;
}

void UnlistClosedFont(BasicList<FontHandle*>& fonts, ResourceHandle* handle) {
    auto* font = dynamic_cast<FontHandle*>(handle);
    if (font == nullptr || font->GetReferenceCount() != 0) {
        return;
    }
    const auto listed = std::find(fonts.begin(), fonts.end(), font);
    if (listed != fonts.end()) {
        fonts.Erase(listed);
    }
}

} // namespace Vemo
