// Ini files on any bytes, in the single-byte and a double-byte code page: never a crash; and in the
// single-byte page what is saved loads back and saves again as the same text.
#include "foundation/String.h"
#include "platform/testing/CodePage.h"
#include "script/Config.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool doubleByte = size > 0 && data[0] == 0xFF;
    const win32::testing::ScopedCodePage codePage(doubleByte ? 932 : 1252);
    Config config;
    config.LoadBuffer(reinterpret_cast<const char*>(data), size);
    Vemo::String saved;
    config.SaveBuffer(saved);
    Config loaded;
    loaded.LoadBuffer(saved.CStr(), saved.Length());
    Vemo::String again;
    const bool complete = loaded.SaveBuffer(again);
    if (!doubleByte && (!complete || again.Compare(saved) != 0)) {
        std::abort();
    }
    return 0;
}
