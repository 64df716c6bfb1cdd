// What a run changed in a settings file that it has not written yet: each key set, with its last value, or
// removed, in the order of its first change. Laid over a fresh read of the file, it gives the file as this
// run wants it while keeping what other programs wrote there meanwhile. Names compare as the Config's do.
#pragma once

#include "foundation/String.h"

#include <vector>

class Config;

class ConfigChanges {
public:
    void Set(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value);
    void Remove(const Vemo::String& section, const Vemo::String& key);
    // Sets and removes in the Config what was set and removed here; false when a value could not be set.
    bool ApplyTo(Config& config) const;
    bool IsEmpty() const { return m_changes.empty(); }
    void Clear() { m_changes.clear(); }

private:
    struct Change {
        Vemo::String section;
        Vemo::String key;
        Vemo::String value;
        bool removed = false;
    };

    // The change of that key, made the last one when it is new.
    Change& Of(const Vemo::String& section, const Vemo::String& key);

    std::vector<Change> m_changes;
};
