// The application's cache of the fonts its controls draw with: a messenger of class word "FontCache" whose
// script section holds one section per font. The application creates it at start-up from the section the
// "Fonts" key of its "App" section names, and deletes it, with every font it holds, at shut-down.
#pragma once

#include "script/Messenger.h"

class FontCache : public Messenger {
public:
    FontCache(const Vemo::String& name, Messenger* owner, Script* script);
    ~FontCache() override;

    Vemo::String GetClassName() const override;

    // The creation function registered under "FontCache": the messenger's script reading, the cache deleted
    // again when it fails.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
