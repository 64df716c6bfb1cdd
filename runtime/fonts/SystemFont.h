// A font of the operating system as a messenger font: a face name, a size, italic and bold flags and a text
// colour, read from the font's script section. Its Win32 kind realises them as a GDI font.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/Color.h"
#include "platform/win32/Types.h"
#include "runtime/fonts/MessengerFont.h"

#include <cstdint>

class SystemFont : public MessengerFont {
public:
    static constexpr std::int32_t kDefaultSize = 12;

    SystemFont(const Vemo::String& name, Messenger* owner, Script* script);
    ~SystemFont() override;

    virtual const Vemo::String& GetName() const;
    // As GDI takes a height: positive the cell height, negative the character height, in pixels.
    virtual int GetSize() const;
    virtual bool IsItalic() const;
    virtual bool IsBold() const;
    virtual const Vemo::Color& GetColor() const;
    virtual win32::HFONT GetFontHandle() const = 0;

    // The messenger's own name (GetName is the face name).
    const Vemo::String& GetMessengerName() const { return Messenger::GetName(); }

protected:
    // Reads "Name" (the raw value text), "Size", "Italic", "Bold" (one value each) and "Color" (up to three
    // numbers, red, green and blue, each kept in its low 8 bits).
    bool ReadSettings();

    Vemo::String m_name;
    std::int32_t m_size = kDefaultSize;
    std::uint8_t m_italic = 0;
    std::uint8_t m_bold = 0;
    Vemo::Color m_color{Vemo::PixelValue(0, 0, 0), 1};
};
