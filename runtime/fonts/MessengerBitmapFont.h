// A messenger font whose glyphs are rectangles cut out of one bitmap, made under the class word "BitmapFont".
// Its section names the bitmap ("Bitmap", a bitmap value) and lists the glyphs ("Char", repeated: code, left,
// top, right, bottom, advance). A text is drawn as a row of colour-keyed blits, left to right on one line,
// every glyph with its top on the pen's line: no wrapping, no alignment. Characters without a glyph are
// skipped without moving the pen. The bitmap exists from Load to Unload.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/BasicSet.h"
#include "runtime/fonts/MessengerFont.h"
#include "script/Fragment.h"

#include <cstdint>

class Bitmap;

class MessengerBitmapFont : public MessengerFont {
public:
    struct CharDescriptor {
        std::uint8_t code = 0;
        // In the bitmap's image; right and bottom excluded.
        Vemo::Rect source;
        // The pen's advance in pixels.
        std::int32_t width = 0;
    };
    struct CharDescriptorLess {
        bool operator()(const CharDescriptor& a, const CharDescriptor& b) const { return a.code < b.code; }
    };
    using Characters = Vemo::BasicSet<CharDescriptor, CharDescriptorLess>;

    MessengerBitmapFont(const Vemo::String& name, Messenger* owner, Script* script);
    // Deletes the bitmap.
    ~MessengerBitmapFont() override;

    Vemo::String GetClassName() const override;
    // The messenger's keys, then "Bitmap" (required) and every "Char" (none: a font without characters).
    // A negative code, an advance below 1, a code given twice (codes are kept in 8 bits) or a source whose
    // extents do not fit 32 bits (reported with the key) fails.
    bool ReadScript() override;

    // The sum of the advances and the tallest glyph of the run; bounds are not used.
    Vemo::Size& MeasureText(Vemo::Size& out, const Vemo::Size& bounds, const Vemo::String& text,
                            std::uint32_t first, std::uint32_t count) override;
    // The run from the area's top-left corner; the alignments do not apply.
    bool DrawText(Vemo::Viewport& target, const Vemo::Rect& area, VerticalAlignment vertical,
                  HorizontalAlignment horizontal, const Vemo::String& text, std::uint32_t first,
                  std::uint32_t count) override;
    bool DrawTextRange(Vemo::Viewport& target, const Vemo::Point& at, const Vemo::String& text,
                       std::uint32_t first, std::uint32_t count) override;
    // Loads the glyph bitmap for the format; extra is kept for Reload.
    bool Load(const Vemo::PixelFormat* format, void* extra) override;
    void Unload() override;
    // Loads the bitmap again for the format, when loaded.
    bool Reload(const Vemo::PixelFormat* format) override;

    const Characters& GetCharacters() const { return m_characters; }
    Bitmap* GetBitmap() const { return m_bitmap; }

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    // The glyph of the character, or null.
    const CharDescriptor* Find(char character) const;
    bool AddCharacter(const Vemo::BasicArray<Fragment>& value);

    Characters m_characters;
    Vemo::BasicArray<Fragment> m_bitmapItems;
    Bitmap* m_bitmap = nullptr;
    void* m_extra = nullptr;
};
