// The font container front-end: opens a font container through the Font System (of a size and format, like a
// graphic, or for a font), links a Font to it, and forwards the container's text operations. Without a handle
// each operation reports ResourceSystemErrNoHandle with the text "Font Container" and answers its default.
//
// A container and a font are linked both ways at once, and unlinked both ways at once; either that goes
// while linked is unlinked first.
#pragma once

#include "engines/font/TextAlignment.h"
#include "engines/font/TextStyle.h"
#include "foundation/Rect.h"
#include "foundation/String.h"
#include "resources/Resource.h"
#include "resources/error/ErrorFacilities.h"

#include <cstdint>

namespace Vemo {

class Font;
class FontContainerHandle;
class Graphic;
class Image;

class FontContainer : public Resource {
public:
    FontContainer();
    ~FontContainer() override;

    // Also keeps the handle as a FontContainerHandle, or null when it is of another class.
    void SetHandle(ResourceHandle* handle) override;

    // The engine id kFontTypeId stands for any font engine.
    // A container of exactly that size, pixel-format code, graphic flags and colour tag.
    bool Create(std::int32_t width, std::int32_t height, std::uint32_t pixelFormat,
                std::uint32_t graphicFlags, std::uint32_t colorTag, std::uint32_t engineId = kFontTypeId);
    // A container of the graphic's size, depth, graphic flags and colour tag.
    bool OpenLike(const Graphic& graphic, std::uint32_t engineId = kFontTypeId);
    // A container like the graphic the image decodes into (FontSystemErrImageDecodeFailed when it does not).
    bool OpenLike(Image& image, std::uint32_t engineId = kFontTypeId);
    // A container of the size, pixel format and colour tag the font asks for (null: the linked font);
    // FontSystemErrNoFontHandle when that font has no handle.
    bool OpenForFont(const Font* font, std::uint32_t graphicFlags, std::uint32_t engineId = kFontTypeId);

    // Links the font (null: the one linked now) after unlinking the one linked now. Refused without a handle
    // (ResourceSystemErrNoHandle, "Font Container"), for a font without a handle (FontSystemErrNoFontHandle)
    // and for a font already in a container (...FontInContainer); FontSystemErrContainerRefusedFont and
    // ...FontRefusedContainer when either handle refuses the other.
    bool AttachFont(Font* font);
    // True when no font is linked.
    bool DetachFont();

    Size MeasureText(const String& text, const TextStyle* style) const;
    Size MeasureText(const String& text, std::uint32_t first, std::uint32_t count,
                     const TextStyle* style) const;
    std::uint32_t FitText(const String& text, std::uint32_t first, std::uint32_t maxWidth,
                          const TextStyle* style) const;
    bool DrawTextLine(const String& text, Graphic* target, const Point* point, const TextAlignment* alignment,
                      const TextStyle* style) const;
    bool DrawTextLine(const String& text, std::uint32_t first, std::uint32_t count, Graphic* target,
                      const Point* point, const TextAlignment* alignment, const TextStyle* style) const;
    bool DrawTextBox(const String& text, Graphic* target, const Rect* box, const TextAlignment* alignment,
                     const TextStyle* style) const;
    bool DrawTextBox(const String& text, std::uint32_t first, std::uint32_t count, Graphic* target,
                     const Rect* box, const TextAlignment* alignment, const TextStyle* style) const;
    bool ReservedOperation(std::uint32_t a, std::uint32_t b) const;

    FontContainerHandle* GetContainerHandle() const { return m_containerHandle; }
    Font* GetLinkedFont() const { return m_font; }

private:
    friend class Font;

    // The linked font is going: detaches the two handles where both are there, and unlinks without a report.
    void LetGoOf(Font& font);
    void Unlink();

    FontContainerHandle* m_containerHandle = nullptr;
    Font* m_font = nullptr;
};

} // namespace Vemo
