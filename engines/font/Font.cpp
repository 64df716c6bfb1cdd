#include "engines/font/Font.h"

#include "engines/font/FontContainer.h"
#include "engines/font/FontHandle.h"
#include "engines/font/FontSearchCriterion.h"
#include "engines/font/ForwardToHandle.h"
#include "engines/font/OpenFontResource.h"
#include "resources/storage/Path.h"

namespace Vemo {

namespace {

template <class Result, class Call>
Result Forward(FontHandle* handle, Result fallback, Call call) {
    static const String name("Font");
    return ForwardToHandle(handle, name, fallback, call);
}

} // namespace

Font::Font() = default;

Font::~Font() {
    if (m_container != nullptr) {
        m_container->LetGoOf(*this);
    }
    ReleaseHandle();
}

void Font::SetHandle(ResourceHandle* handle) {
    Resource::SetHandle(handle);
    m_fontHandle = dynamic_cast<FontHandle*>(handle);
}

bool Font::Open(const Directory& directory, std::uint32_t engineId) {
    FontSearchCriterion criterion(FontSearchCriterion::kFont, engineId);
    criterion.m_directory = &directory;
    return OpenFontResource(*this, criterion);
}

bool Font::Open(const Path& path, std::uint32_t engineId) {
    FontSearchCriterion criterion(FontSearchCriterion::kFont, engineId);
    criterion.m_path = &path;
    return OpenFontResource(*this, criterion);
}

bool Font::OpenFromDescription(const FontDescription& description, std::uint32_t sourceValue,
                               std::uint32_t engineId) {
    FontSearchCriterion criterion(FontSearchCriterion::kFont, engineId);
    criterion.m_description = &description;
    criterion.m_firstSourceValue = sourceValue;
    return OpenFontResource(*this, criterion);
}

bool Font::OpenFromDescriptionShared(const FontDescription& description, std::uint32_t sourceValue,
                                     std::uint32_t engineId) {
    FontSearchCriterion criterion(FontSearchCriterion::kFont, engineId);
    criterion.m_description = &description;
    criterion.m_secondSourceValue = sourceValue;
    return OpenFontResource(*this, criterion);
}

bool Font::Open(const String* name, std::uint32_t size, std::uint32_t width, bool cellHeight, bool pixelUnits,
                bool bold, bool italic, bool underline, bool antialiased, std::uint32_t styleExtra,
                const TaggedColor* foreground, const TaggedColor* background) {
    const FontStyle style{bold, italic, underline, antialiased, styleExtra};
    FontSearchCriterion criterion(FontSearchCriterion::kFont, kFontTypeId);
    criterion.m_name = name;
    criterion.m_size = &size;
    criterion.m_width = &width;
    criterion.m_cellHeight = &cellHeight;
    criterion.m_pixelUnits = &pixelUnits;
    criterion.m_style = &style;
    criterion.m_foreground = foreground;
    criterion.m_background = background;
    return OpenFontResource(*this, criterion);
}

GlyphDescriptor* Font::FindGlyph(std::uint32_t code) const {
    return Forward<GlyphDescriptor*>(m_fontHandle, nullptr,
                                     [code](FontHandle& h) { return h.FindGlyph(code); });
}

const FontDescription* Font::GetDescription() const {
    return Forward<const FontDescription*>(m_fontHandle, nullptr,
                                           [](FontHandle& h) { return h.GetDescription(); });
}

Size Font::GetContainerSize(std::uint32_t maxWidth, std::uint32_t maxHeight) const {
    return Forward<Size>(m_fontHandle, Size(0, 0),
                         [=](FontHandle& h) { return h.GetContainerSize(maxWidth, maxHeight); });
}

std::int32_t Font::GetLineHeight() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetLineHeight(); });
}

std::int32_t Font::GetAscent() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetAscent(); });
}

std::int32_t Font::GetDescent() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetDescent(); });
}

std::int32_t Font::GetInternalLeading() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetInternalLeading(); });
}

std::int32_t Font::GetExternalLeading() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetExternalLeading(); });
}

std::int32_t Font::GetGlyphBlackWidth(std::uint32_t code) const {
    return Forward<std::int32_t>(m_fontHandle, 0,
                                 [code](FontHandle& h) { return h.GetGlyphBlackWidth(code); });
}

std::int32_t Font::GetAverageWidth() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetAverageWidth(); });
}

std::int32_t Font::GetMaximumWidth() const {
    return Forward<std::int32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetMaximumWidth(); });
}

bool Font::IsFixedPitch() const {
    return Forward<bool>(m_fontHandle, false, [](FontHandle& h) { return h.IsFixedPitch(); });
}

bool Font::IsBold() const {
    return Forward<bool>(m_fontHandle, false, [](FontHandle& h) { return h.IsBold(); });
}

bool Font::IsItalic() const {
    return Forward<bool>(m_fontHandle, false, [](FontHandle& h) { return h.IsItalic(); });
}

bool Font::IsUnderline() const {
    return Forward<bool>(m_fontHandle, false, [](FontHandle& h) { return h.IsUnderline(); });
}

bool Font::IsAntialiased() const {
    return Forward<bool>(m_fontHandle, false, [](FontHandle& h) { return h.IsAntialiased(); });
}

const FontStyle* Font::GetStyle() const {
    return Forward<const FontStyle*>(m_fontHandle, nullptr, [](FontHandle& h) { return h.GetStyle(); });
}

bool Font::GetName(String& out) const {
    return Forward<bool>(m_fontHandle, false, [&out](FontHandle& h) { return h.GetName(out); });
}

FontCharacterSet Font::GetCharacterSet() const {
    return Forward<FontCharacterSet>(m_fontHandle, FontCharacterSet::Ansi,
                                     [](FontHandle& h) { return h.GetCharacterSet(); });
}

std::uint32_t Font::GetFirstCharacter() const {
    return Forward<std::uint32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetFirstCharacter(); });
}

std::uint32_t Font::GetLastCharacter() const {
    return Forward<std::uint32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetLastCharacter(); });
}

std::uint32_t Font::GetContainerColorTag() const {
    return Forward<std::uint32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetContainerColorTag(); });
}

std::uint32_t Font::GetContainerPixelFormat() const {
    return Forward<std::uint32_t>(m_fontHandle, 0, [](FontHandle& h) { return h.GetContainerPixelFormat(); });
}

const TaggedColor* Font::GetForegroundColor() const {
    return Forward<const TaggedColor*>(m_fontHandle, nullptr,
                                       [](FontHandle& h) { return h.GetForegroundColor(); });
}

const TaggedColor* Font::GetBackgroundColor() const {
    return Forward<const TaggedColor*>(m_fontHandle, nullptr,
                                       [](FontHandle& h) { return h.GetBackgroundColor(); });
}

std::int32_t Font::GetKerning(std::uint32_t first, std::uint32_t second) const {
    return Forward<std::int32_t>(m_fontHandle, 0, [=](FontHandle& h) { return h.GetKerning(first, second); });
}

std::int32_t Font::GetGlyphLeftBearing(std::uint32_t code) const {
    return Forward<std::int32_t>(m_fontHandle, 0,
                                 [code](FontHandle& h) { return h.GetGlyphLeftBearing(code); });
}

std::int32_t Font::GetGlyphRightBearing(std::uint32_t code) const {
    return Forward<std::int32_t>(m_fontHandle, 0,
                                 [code](FontHandle& h) { return h.GetGlyphRightBearing(code); });
}

Rect Font::GetGlyphBox(std::uint32_t code) const {
    return Forward<Rect>(m_fontHandle, Rect(), [code](FontHandle& h) { return h.GetGlyphBox(code); });
}

Point Font::GetGlyphAdvance(std::uint32_t code) const {
    return Forward<Point>(m_fontHandle, Point(), [code](FontHandle& h) { return h.GetGlyphAdvance(code); });
}

bool Font::GetPath(Path& out) const {
    return Forward<bool>(m_fontHandle, false, [&out](FontHandle& h) { return h.GetPath(out); });
}

} // namespace Vemo
