// The scripted font every control text is drawn with: it measures a run of a text and draws it onto the
// viewport. Fonts are made by the application's FontCache from its script's font sections and reached by
// controls through a Font handle. Its kinds are the bitmap font ("BitmapFont") and the system font
// ("SystemFont").
//
// A run is `count` characters of `text` from `first`; a count of all ones means up to the end of the text.
// `bounds` gives a wrapping width (0: no wrapping). `format` is the pixel format of the display the font will
// be drawn on; `extra` goes to the font's own resources.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "foundation/Rect.h"
#include "script/Messenger.h"

namespace Vemo {
struct PixelFormat;
class Viewport;
} // namespace Vemo

class MessengerFont : public Messenger {
public:
    using HorizontalAlignment = Vemo::GraphicSystem::HorizontalAlignment;
    using VerticalAlignment = Vemo::GraphicSystem::VerticalAlignment;

    static constexpr std::uint32_t kToEnd = 0xFFFFFFFF;

    MessengerFont(const Vemo::String& name, Messenger* owner, Script* script);
    ~MessengerFont() override;

    Vemo::String GetClassName() const override;

    // The width and height that drawing the run would cover; a font that can wrap wraps at bounds.width
    // when it is above 0.
    virtual Vemo::Size& MeasureText(Vemo::Size& out, const Vemo::Size& bounds, const Vemo::String& text,
                                    std::uint32_t first, std::uint32_t count) = 0;
    // The run inside the area, aligned where the font can align.
    virtual bool DrawText(Vemo::Viewport& target, const Vemo::Rect& area, VerticalAlignment vertical,
                          HorizontalAlignment horizontal, const Vemo::String& text, std::uint32_t first,
                          std::uint32_t count) = 0;
    // The run with its top-left corner at `at`, without alignment.
    virtual bool DrawTextRange(Vemo::Viewport& target, const Vemo::Point& at, const Vemo::String& text,
                               std::uint32_t first, std::uint32_t count) = 0;
    // Makes the font drawable; a second Load while loaded does nothing.
    virtual bool Load(const Vemo::PixelFormat* format, void* extra);
    virtual void Unload();
    // Rebuilds what depends on the display format, when loaded.
    virtual bool Reload(const Vemo::PixelFormat* format);

    // The class name "Font".
    static const Vemo::String& ClassWord();
    // Null when the messenger is not a font.
    static MessengerFont* FromMessenger(Messenger* messenger);
};
