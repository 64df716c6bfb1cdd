#include "runtime/fonts/Font.h"

#include "resources/error/Error.h"
#include "runtime/ApplicationServices.h"
#include "runtime/fonts/FontCache.h"
#include "runtime/fonts/MessengerFont.h"

namespace {

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

} // namespace

Font::~Font() {
    if (m_font != nullptr && m_cache != nullptr) {
        m_cache->Release(m_font);
    }
    m_font = nullptr;
    m_cache = nullptr;
}

bool Font::Load(const Vemo::String& name, const Vemo::PixelFormat* format, void* extra) {
    if (m_font != nullptr) {
        return Fail();
    }
    ApplicationServices* application = ApplicationServices::Current();
    FontCache* cache = application != nullptr ? application->GetFontCache() : nullptr;
    if (cache == nullptr) {
        return Fail();
    }
    return cache->Acquire(name, *this, format, extra, false);
}

bool Font::Draw(Vemo::Viewport& target, const Vemo::Rect& area, const Vemo::String& text,
                Vemo::GraphicSystem::VerticalAlignment vertical,
                Vemo::GraphicSystem::HorizontalAlignment horizontal, std::uint32_t first,
                std::uint32_t count) {
    if (m_font == nullptr) {
        return Fail();
    }
    return m_font->DrawText(target, area, vertical, horizontal, text, first, count);
}

Vemo::Size& Font::Measure(Vemo::Size& out, const Vemo::String& text, const Vemo::Size& bounds,
                          std::uint32_t first, std::uint32_t count) {
    if (m_font == nullptr) {
        Fail();
        out = Vemo::Size(0, 0);
        return out;
    }
    return m_font->MeasureText(out, bounds, text, first, count);
}

const Vemo::String& Font::GetName() const {
    static const Vemo::String* const empty = new Vemo::String;
    return m_font != nullptr ? m_font->GetName() : *empty;
}
