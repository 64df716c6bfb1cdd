// Collects a copy of the parsed value of every occurrence of the keys it is handed, in the order the script
// hands them.
#pragma once

#include "foundation/BasicArray.h"
#include "script/Fragment.h"
#include "script/Script.h"

class ScriptKeyFragmentsEnumerator : public Script::KeyEnumerator {
public:
    bool EnumerateKey(Script::Key& key, const Vemo::String& text,
                      const Vemo::BasicArray<Fragment>& fragments) override;

    const Vemo::BasicArray<Vemo::BasicArray<Fragment>>& GetValues() const { return m_values; }

private:
    Vemo::BasicArray<Vemo::BasicArray<Fragment>> m_values;
};
