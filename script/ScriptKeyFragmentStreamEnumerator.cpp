#include "script/ScriptKeyFragmentStreamEnumerator.h"

ScriptKeyFragmentStreamEnumerator::ScriptKeyFragmentStreamEnumerator() {
    m_streams.Reserve(50);
}

bool ScriptKeyFragmentStreamEnumerator::EnumerateKey(Script::Key&, const Vemo::String&,
                                                     const Vemo::BasicArray<Fragment>& fragments) {
    m_streams.PushBack(FragmentStream(fragments));
    return true;
}
