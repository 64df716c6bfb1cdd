// The script value syntax on any bytes, in the single-byte and a double-byte code page: never a crash; and in
// the single-byte page whatever parses writes back as text that parses to the same fragments.
#include "foundation/String.h"
#include "platform/testing/CodePage.h"
#include "script/Fragment.h"
#include "script/Script.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool HoldsCarriageReturn(const Vemo::BasicArray<Fragment>& fragments) {
    for (const Fragment& fragment : fragments) {
        const SubString& text = fragment.GetText();
        for (std::uint32_t i = 0; i < text.Length(); ++i) {
            if (text.Data()[i] == '\r') {
                return true;
            }
        }
        if (HoldsCarriageReturn(fragment.GetChildren())) {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const bool doubleByte = size > 0 && data[0] == 0xFF;
    const win32::testing::ScopedCodePage codePage(doubleByte ? 932 : 1252);
    Vemo::BasicArray<Fragment> fragments;
    if (!Script::TokenizeText(fragments, reinterpret_cast<const char*>(data),
                              static_cast<std::uint32_t>(size))) {
        return 0;
    }
    // A carriage return is written as a line feed, and one empty item alone writes as the empty value.
    const bool lonelyEmpty =
        fragments.Size() == 1 && fragments[0].GetText().IsEmpty() && !fragments[0].HasChildren();
    if (doubleByte || HoldsCarriageReturn(fragments) || lonelyEmpty) {
        return 0;
    }
    Vemo::String text;
    FragmentsToText(fragments, text);
    Vemo::BasicArray<Fragment> again;
    if (!Script::TokenizeText(again, text.CStr(), text.Length()) || !FragmentsEqualNoCase(fragments, again)) {
        std::abort();
    }
    return 0;
}
