// A control's handle on one font of the application's FontCache: while it holds the font, the font stays
// counted as used (and loaded, unless acquired without loading). Destroying the handle releases the font;
// the cache unloads it when its last handle goes.
//
// Every failure reports the messenger module's generic failure code without text.
#pragma once

#include "engines/graphics/GraphicSystem.h"
#include "foundation/Rect.h"
#include "foundation/String.h"

#include <cstdint>

class FontCache;
class MessengerFont;

namespace Vemo {
struct PixelFormat;
class Viewport;
} // namespace Vemo

class Font {
public:
    Font() = default;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    virtual ~Font();

    // Acquires the named font of the application's cache, loading it for the format. Refused when the
    // handle already holds a font, without an application or cache, or when the cache has no such font.
    virtual bool Load(const Vemo::String& name, const Vemo::PixelFormat* format, void* extra);

    // The font's DrawText of the run in the area; refused for an empty handle.
    bool Draw(Vemo::Viewport& target, const Vemo::Rect& area, const Vemo::String& text,
              Vemo::GraphicSystem::VerticalAlignment vertical,
              Vemo::GraphicSystem::HorizontalAlignment horizontal, std::uint32_t first, std::uint32_t count);
    // The font's MeasureText of the run; an empty handle reports and measures (0, 0).
    Vemo::Size& Measure(Vemo::Size& out, const Vemo::String& text, const Vemo::Size& bounds,
                        std::uint32_t first, std::uint32_t count);
    // The held font's name, or an empty text.
    const Vemo::String& GetName() const;

    MessengerFont* GetMessengerFont() const { return m_font; }
    FontCache* GetCache() const { return m_cache; }

private:
    friend class FontCache;

    MessengerFont* m_font = nullptr;
    FontCache* m_cache = nullptr;
};
