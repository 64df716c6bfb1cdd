// Helpers of the script tests: fragments written out in a form that shows every text, quote and list.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/Fragment.h"
#include "script/SubString.h"

#include <string>

namespace ScriptTest {

inline std::string Text(const Vemo::String& text) {
    return std::string(text.CStr(), text.Length());
}

inline std::string Text(const SubString& text) {
    return std::string(text.Data(), text.Length());
}

inline Vemo::String Bytes(const std::string& text) {
    Vemo::String result;
    result.Assign(text.data(), static_cast<std::uint32_t>(text.size()));
    return result;
}

// A plain item as [text], a quoted one as "text", each followed by its list in parentheses; items joined by
// ",".
inline std::string Describe(const Vemo::BasicArray<Fragment>& fragments) {
    std::string out;
    for (std::size_t i = 0; i < fragments.Size(); ++i) {
        const Fragment& fragment = fragments[i];
        if (i > 0) {
            out += ",";
        }
        out += fragment.IsQuoted() ? "\"" + Text(fragment.GetText()) + "\""
                                   : "[" + Text(fragment.GetText()) + "]";
        if (fragment.HasChildren()) {
            out += "(" + Describe(fragment.GetChildren()) + ")";
        }
    }
    return out;
}

} // namespace ScriptTest
