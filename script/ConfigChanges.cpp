#include "script/ConfigChanges.h"

#include "script/CharacterClasses.h"
#include "script/Config.h"

using CharacterClasses::CompareTerminatedNoCase;

void ConfigChanges::Set(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value) {
    Change& change = Of(section, key);
    change.value = value;
    change.removed = false;
}

void ConfigChanges::Remove(const Vemo::String& section, const Vemo::String& key) {
    Change& change = Of(section, key);
    change.value = Vemo::String();
    change.removed = true;
}

bool ConfigChanges::ApplyTo(Config& config) const {
    bool applied = true;
    for (const Change& change : m_changes) {
        if (change.removed) {
            config.RemoveKey(change.section, change.key);
        } else {
            applied = config.SetValue(change.section, change.key, change.value) && applied;
        }
    }
    return applied;
}

ConfigChanges::Change& ConfigChanges::Of(const Vemo::String& section, const Vemo::String& key) {
    for (Change& change : m_changes) {
        if (CompareTerminatedNoCase(change.section, section) == 0 &&
            CompareTerminatedNoCase(change.key, key) == 0) {
            return change;
        }
    }
    m_changes.push_back(Change{section, key, Vemo::String(), false});
    return m_changes.back();
}
