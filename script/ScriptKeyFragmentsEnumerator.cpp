#include "script/ScriptKeyFragmentsEnumerator.h"

bool ScriptKeyFragmentsEnumerator::EnumerateKey(Script::Key&, const Vemo::String&,
                                                const Vemo::BasicArray<Fragment>& fragments) {
    m_values.PushBack(fragments);
    return true;
}
