#include "script/ErrorString.h"

#include "script/Script.h"

ErrorString::~ErrorString() = default;

Vemo::String& AppendQuotedItem(Vemo::String& target, const Vemo::String& text) {
    if (!target.IsEmpty()) {
        target.Append(",", 1);
    }
    target.Append("\"", 1);
    target.Append(text);
    target.Append("\"", 1);
    return target;
}

Vemo::String& AppendQuotedItem(Vemo::String& target, const Fragment& text) {
    Vemo::String copy;
    text.GetText().GetString(copy);
    return AppendQuotedItem(target, copy);
}

Vemo::String& AppendQuotedItem(Vemo::String& target, const Script& script) {
    Vemo::String path;
    script.GetPath().GetText(path, true, false);
    return AppendQuotedItem(target, path);
}
