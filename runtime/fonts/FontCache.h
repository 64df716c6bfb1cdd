// The application's cache of the fonts its controls draw with: a messenger of class word "FontCache" whose
// script holds one section per font. The application creates it at start-up from the section the "Fonts"
// key of its "App" section names, and deletes it, with every font it holds, at shut-down.
//
// A font is made from its section the first time it is asked for and stays until the cache goes; its users
// count the Font handles that hold it. The font is loaded at every acquisition (a second Load is a no-op)
// and unloaded when its count falls from 1 to 0. Names are compared byte for byte: two spellings of one
// section are two records.
//
// Virtual operations are declared in their slot order.
#pragma once

#include "foundation/BasicMap.h"
#include "script/Messenger.h"

#include <cstdint>

class Font;
class MessengerFont;

namespace Vemo {
struct PixelFormat;
} // namespace Vemo

class FontCache : public Messenger {
public:
    struct Record {
        MessengerFont* font = nullptr;
        std::uint32_t users = 0;
    };
    using Records = Vemo::BasicMap<Vemo::String, Record, Vemo::Less<Vemo::String>>;

    FontCache(const Vemo::String& name, Messenger* owner, Script* script);
    // Deletes every font it holds.
    ~FontCache() override;

    Vemo::String GetClassName() const override;

    // Makes the named font without loading it; its users count is what it was.
    virtual bool Preload(const Vemo::String& name);
    // Each font's Reload, in name order, until one fails.
    virtual bool ReloadAll(const Vemo::PixelFormat* format);
    // Makes the font of the section `name` when it is new, counts one more user and hands it to the
    // handle, then loads it unless noLoad (a load failing does not fail the acquisition). Refused without a
    // script, without such a section or when the section makes no font.
    virtual bool Acquire(const Vemo::String& name, Font& handle, const Vemo::PixelFormat* format, void* extra,
                         bool noLoad);
    // One user less; the last one unloads the font, which stays in the cache.
    virtual void Release(MessengerFont* font);

    // The record of that name, or null.
    const Record* Find(const Vemo::String& name) const;
    const Records& GetRecords() const { return m_fonts; }

    // The creation function registered under "FontCache": the messenger's script reading, the cache deleted
    // again when it fails.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    Records m_fonts;
};
