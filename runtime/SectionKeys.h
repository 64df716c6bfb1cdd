// The parsed values of the keys that configure a scripted object from its own section.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/Fragment.h"

#include <initializer_list>

class Script;

struct SectionKey {
    const char* name;
    // Receives the key's parsed value, null when the key is missing.
    const Vemo::BasicArray<Fragment>** value;
};

// Looks every key up in the section. False when a value does not parse: the script has reported that, naming
// the file and the key.
bool FindSectionKeys(Script& script, const Vemo::String& section, std::initializer_list<SectionKey> keys);
