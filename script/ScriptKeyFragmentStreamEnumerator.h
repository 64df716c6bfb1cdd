// Collects a stream over the parsed value of every occurrence of the keys it is handed, in the order the
// script hands them. The streams read the script's own fragments: the script must outlive them.
#pragma once

#include "foundation/BasicArray.h"
#include "script/FragmentStream.h"
#include "script/Script.h"

class ScriptKeyFragmentStreamEnumerator : public Script::KeyEnumerator {
public:
    ScriptKeyFragmentStreamEnumerator();

    bool EnumerateKey(Script::Key& key, const Vemo::String& text,
                      const Vemo::BasicArray<Fragment>& fragments) override;

    Vemo::BasicArray<FragmentStream>& GetStreams() { return m_streams; }

private:
    Vemo::BasicArray<FragmentStream> m_streams;
};
