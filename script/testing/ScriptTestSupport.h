// Helpers of the script tests: fragments, scripts and settings written out in a form that shows every text,
// quote and list.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "resources/storage/Path.h"
#include "script/Config.h"
#include "script/Fragment.h"
#include "script/Script.h"
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

inline std::string FullText(const Vemo::Path& path) {
    Vemo::String text;
    return Text(path.GetText(text, true, false));
}

inline std::string ValueText(const Config::Key& key) {
    return Text(key.GetValue());
}

inline std::string ValueText(const Script::Key& key) {
    return Text(key.GetValueText());
}

// Every section of a Config or Script with its keys, as "[name] key=value key=value ...", sections separated
// by " | ".
template <class Document>
std::string Contents(const Document& document) {
    std::string out;
    for (const auto* section : document.GetSections()) {
        if (!out.empty()) {
            out += " | ";
        }
        out += "[" + Text(section->GetName()) + "]";
        for (const auto* key : section->GetKeys()) {
            out += " " + Text(key->GetName()) + "=" + ValueText(*key);
        }
    }
    return out;
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
