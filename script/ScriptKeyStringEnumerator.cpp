#include "script/ScriptKeyStringEnumerator.h"

bool ScriptKeyStringEnumerator::EnumerateKey(Script::Key&, const Vemo::String& text,
                                             const Vemo::BasicArray<Fragment>&) {
    m_texts.PushBack(text);
    return true;
}
