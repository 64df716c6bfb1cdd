#include "runtime/SectionKeys.h"

#include "script/Script.h"

bool FindSectionKeys(Script& script, const Vemo::String& section, std::initializer_list<SectionKey> keys) {
    for (const SectionKey& key : keys) {
        const Vemo::String name(key.name);
        Vemo::String text;
        *key.value = nullptr;
        if (script.GetValueText(section, name, text) && !script.GetFragments(section, name, *key.value)) {
            return false;
        }
    }
    return true;
}
