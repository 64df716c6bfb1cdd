// Collects the raw text of every occurrence of the keys it is handed, in the order the script hands them.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/Script.h"

class ScriptKeyStringEnumerator : public Script::KeyEnumerator {
public:
    bool EnumerateKey(Script::Key& key, const Vemo::String& text,
                      const Vemo::BasicArray<Fragment>& fragments) override;

    const Vemo::BasicArray<Vemo::String>& GetTexts() const { return m_texts; }

private:
    Vemo::BasicArray<Vemo::String> m_texts;
};
