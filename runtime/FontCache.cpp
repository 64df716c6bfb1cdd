#include "runtime/FontCache.h"

#include "script/MessengerFactory.h"

namespace {

const MessengerFactory::Registrar g_fontCacheRegistrar(FontCache::ClassWord(), &FontCache::Create);

} // namespace

FontCache::FontCache(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {}

FontCache::~FontCache() = default;

const Vemo::String& FontCache::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("FontCache");
    return *word;
}

Vemo::String FontCache::GetClassName() const {
    return ClassWord();
}

Messenger* FontCache::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* cache = new FontCache(name, owner, script);
    if (!cache->ReadScript()) {
        delete cache;
        return nullptr;
    }
    return cache;
}
