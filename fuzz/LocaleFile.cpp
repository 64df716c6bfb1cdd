// Locale text files on any bytes: never a crash; and a table that saves completely loads back the same, but
// for a table whose one pair has an empty key and text: its two zero bytes are too short to be read as a
// pair.
#include "foundation/String.h"
#include "script/TextLocale.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TextLocale locale;
    locale.LoadBuffer(reinterpret_cast<const char*>(data), size);
    Vemo::String saved;
    if (!locale.SaveBuffer(saved) || saved.Length() < 3) {
        return 0;
    }
    TextLocale loaded;
    loaded.LoadBuffer(saved.CStr(), saved.Length());
    if (loaded.GetCount() != locale.GetCount()) {
        std::abort();
    }
    auto a = locale.GetTexts().Begin();
    for (auto b = loaded.GetTexts().Begin(); b != loaded.GetTexts().End(); ++a, ++b) {
        if (a->first.Compare(b->first) != 0 || a->second.Compare(b->second) != 0) {
            std::abort();
        }
    }
    return 0;
}
