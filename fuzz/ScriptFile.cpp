// Script files on any bytes, with values read in the single-byte or a double-byte code page: never a crash;
// every value parses or fails cleanly; and what is saved loads back and saves again as the same text.
#include "foundation/String.h"
#include "platform/testing/CodePage.h"
#include "script/Script.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool parseNow = size > 0 && (data[0] & 1) != 0;
    const win32::testing::ScopedCodePage codePage(size > 0 && data[0] == 0xFF ? 932 : 1252);
    Script script;
    script.LoadBuffer(reinterpret_cast<const char*>(data), size, parseNow);
    for (const Script::Section* section : script.GetSections()) {
        for (const Script::Key* key : section->GetKeys()) {
            const Vemo::BasicArray<Fragment>* fragments = nullptr;
            script.GetFragments(section->GetName(), key->GetName(), fragments);
        }
    }
    Vemo::String saved;
    script.SaveBuffer(saved);
    Script loaded;
    loaded.LoadBuffer(saved.CStr(), saved.Length(), false);
    Vemo::String again;
    if (!loaded.SaveBuffer(again) || again.Compare(saved) != 0) {
        std::abort();
    }
    return 0;
}
