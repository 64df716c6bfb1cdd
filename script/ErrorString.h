// The text that collects what a failure was about while a script or a message is read, as a comma-separated
// list of quoted items such as a script's path and a messenger's name.
#pragma once

#include "foundation/String.h"
#include "resources/error/ErrorCode.h"
#include "script/Fragment.h"

#include <initializer_list>

class Script;

class ErrorString : public Vemo::String {
public:
    using Vemo::String::String;
    ErrorString() = default;
    ErrorString(const ErrorString&) = default;
    ErrorString& operator=(const ErrorString&) = default;
    ErrorString(ErrorString&&) noexcept = default;
    ErrorString& operator=(ErrorString&&) noexcept = default;
    ~ErrorString() override;
};

// Appends "," when the target is not empty, then the text in double quotes; returns the target.
Vemo::String& AppendQuotedItem(Vemo::String& target, const Vemo::String& text);
Vemo::String& AppendQuotedItem(Vemo::String& target, const Fragment& text);
// The item is the full text of the path of the script's file, its directory included.
Vemo::String& AppendQuotedItem(Vemo::String& target, const Script& script);

// The text AppendQuotedItem quotes for a script; empty for no script.
Vemo::String ScriptPathText(const Script* script);
// Raises the error with the items, each quoted, as its text.
void RaiseQuotedItems(Vemo::ErrorCode code, std::initializer_list<Vemo::String> items);
