#include "script/TextLocaleProvider.h"

namespace {

TextLocaleProvider*& Current() {
    static TextLocaleProvider* current = nullptr;
    return current;
}

} // namespace

TextLocaleProvider::~TextLocaleProvider() {
    if (Current() == this) {
        Current() = nullptr;
    }
}

TextLocaleProvider* TextLocaleProvider::GetCurrent() {
    return Current();
}

void TextLocaleProvider::SetCurrent(TextLocaleProvider* provider) {
    Current() = provider;
}
