#include "script/ErrorString.h"

#include "resources/error/Error.h"
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
    return AppendQuotedItem(target, ScriptPathText(&script));
}

Vemo::String ScriptPathText(const Script* script) {
    Vemo::String path;
    if (script != nullptr) {
        script->GetPath().GetText(path, true, false);
    }
    return path;
}

void RaiseQuotedItems(Vemo::ErrorCode code, std::initializer_list<Vemo::String> items) {
    ErrorString text;
    for (const Vemo::String& item : items) {
        AppendQuotedItem(text, item);
    }
    RaiseError(code, &text);
}
