#include "runtime/fonts/FontCache.h"

#include "resources/error/Error.h"
#include "runtime/fonts/Font.h"
#include "runtime/fonts/MessengerFont.h"
#include "script/MessengerFactory.h"

namespace {

const MessengerFactory::Registrar g_fontCacheRegistrar(FontCache::ClassWord(), &FontCache::Create);

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

} // namespace

FontCache::FontCache(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {}

FontCache::~FontCache() {
    for (auto& entry : m_fonts) {
        delete entry.second.font;
        entry.second.font = nullptr;
    }
}

const Vemo::String& FontCache::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("FontCache");
    return *word;
}

Vemo::String FontCache::GetClassName() const {
    return ClassWord();
}

Messenger* FontCache::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<FontCache>(name, owner, script);
}

const FontCache::Record* FontCache::Find(const Vemo::String& name) const {
    const auto found = m_fonts.Find(name);
    return found != m_fonts.End() ? &found->second : nullptr;
}

bool FontCache::Acquire(const Vemo::String& name, Font& handle, const Vemo::PixelFormat* format, void* extra,
                        bool noLoad) {
    if (GetScript() == nullptr) {
        return Fail();
    }
    auto found = m_fonts.Find(name);
    if (found == m_fonts.End()) {
        // The font belongs to the cache's record, not to a parent messenger: two spellings of one section
        // make two fonts, which as children of one parent would clash by name.
        Messenger* made = MessengerFactory::CreateFromScript(name, nullptr, GetScript());
        if (made == nullptr) {
            return Fail();
        }
        MessengerFont* font = MessengerFont::FromMessenger(made);
        if (font == nullptr) {
            delete made;
            return Fail();
        }
        found = m_fonts.Insert(name, Record{font, 0}).first;
    }
    Record& record = found->second;
    ++record.users;
    handle.m_font = record.font;
    handle.m_cache = this;
    if (!noLoad) {
        record.font->Load(format, extra);
    }
    return true;
}

void FontCache::Release(MessengerFont* font) {
    if (font == nullptr) {
        return;
    }
    const auto found = m_fonts.Find(font->GetName());
    if (found == m_fonts.End() || found->second.font != font || found->second.users == 0) {
        return;
    }
    if (--found->second.users == 0) {
        font->Unload();
    }
}

bool FontCache::Preload(const Vemo::String& name) {
    Font temporary;
    if (!Acquire(name, temporary, nullptr, nullptr, true)) {
        return Fail();
    }
    return true;
}

bool FontCache::ReloadAll(const Vemo::PixelFormat* format) {
    for (auto& entry : m_fonts) {
        if (!entry.second.font->Reload(format)) {
            return false;
        }
    }
    return true;
}
