#include "runtime/fonts/MessengerFont.h"

MessengerFont::MessengerFont(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {}

MessengerFont::~MessengerFont() = default;

const Vemo::String& MessengerFont::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("Font");
    return *word;
}

Vemo::String MessengerFont::GetClassName() const {
    return ClassWord();
}

MessengerFont* MessengerFont::FromMessenger(Messenger* messenger) {
    return dynamic_cast<MessengerFont*>(messenger);
}

bool MessengerFont::Load(const Vemo::PixelFormat*, void*) {
    return false;
}

void MessengerFont::Unload() {}

bool MessengerFont::Reload(const Vemo::PixelFormat*) {
    return true;
}
