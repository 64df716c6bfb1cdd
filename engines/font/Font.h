// The font front-end: opens a font through the Font System (by directory, path, description or attributes)
// and forwards every query to its font handle. Without a handle each query reports ResourceSystemErrNoHandle
// with the text "Font" and answers its default (null, 0, false, the Ansi character set, an empty box).
//
// A font may be linked to one font container at a time (FontContainer::AttachFont); a font that goes while
// linked is unlinked first.
#pragma once

#include "engines/font/FontDescription.h"
#include "foundation/Rect.h"
#include "resources/Resource.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class Directory;
class FontContainer;
class FontHandle;
class Path;

class Font : public Resource {
public:
    Font();
    ~Font() override;

    // Also keeps the handle as a FontHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;

    // The engine id kFontTypeId stands for any font engine.
    bool Open(const Directory& directory, std::uint32_t engineId = kFontTypeId);
    bool Open(const Path& path, std::uint32_t engineId = kFontTypeId);
    bool OpenFromDescription(const FontDescription& description, std::uint32_t sourceValue,
                             std::uint32_t engineId = kFontTypeId);
    bool OpenFromDescriptionShared(const FontDescription& description, std::uint32_t sourceValue,
                                   std::uint32_t engineId = kFontTypeId);
    // Any font engine. A null name or colour is an attribute not given, which the Font System refuses.
    bool Open(const String* name, std::uint32_t size, std::uint32_t width, bool cellHeight, bool pixelUnits,
              bool bold, bool italic, bool underline, bool antialiased, std::uint32_t styleExtra,
              const TaggedColor* foreground, const TaggedColor* background);

    GlyphDescriptor* FindGlyph(std::uint32_t code) const;
    const FontDescription* GetDescription() const;
    Size GetContainerSize(std::uint32_t maxWidth, std::uint32_t maxHeight) const;
    std::int32_t GetLineHeight() const;
    std::int32_t GetAscent() const;
    std::int32_t GetDescent() const;
    std::int32_t GetInternalLeading() const;
    std::int32_t GetExternalLeading() const;
    std::int32_t GetGlyphBlackWidth(std::uint32_t code) const;
    std::int32_t GetAverageWidth() const;
    std::int32_t GetMaximumWidth() const;
    bool IsFixedPitch() const;
    bool IsBold() const;
    bool IsItalic() const;
    bool IsUnderline() const;
    bool IsAntialiased() const;
    const FontStyle* GetStyle() const;
    bool GetName(String& out) const;
    FontCharacterSet GetCharacterSet() const;
    std::uint32_t GetFirstCharacter() const;
    std::uint32_t GetLastCharacter() const;
    std::uint32_t GetContainerColorTag() const;
    std::uint32_t GetContainerPixelFormat() const;
    const TaggedColor* GetForegroundColor() const;
    const TaggedColor* GetBackgroundColor() const;
    std::int32_t GetKerning(std::uint32_t first, std::uint32_t second) const;
    std::int32_t GetGlyphLeftBearing(std::uint32_t code) const;
    std::int32_t GetGlyphRightBearing(std::uint32_t code) const;
    Rect GetGlyphBox(std::uint32_t code) const;
    Point GetGlyphAdvance(std::uint32_t code) const;
    bool GetPath(Path& out) const;

    FontHandle* GetFontHandle() const { return m_fontHandle; }
    FontContainer* GetLinkedContainer() const { return m_container; }

private:
    friend class FontContainer;

    FontHandle* m_fontHandle = nullptr;
    FontContainer* m_container = nullptr;
};

} // namespace Vemo
