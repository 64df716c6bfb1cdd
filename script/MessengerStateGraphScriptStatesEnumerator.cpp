#include "script/MessengerStateGraphScriptStatesEnumerator.h"

#include "script/CharacterClasses.h"
#include "script/StateGraph.h"

namespace {

struct StateKey {
    const char* word;
    std::uint32_t kind;
};

constexpr StateKey kStateKeys[] = {
    {"StartState", Vemo::StateGraph::kStartState},
    {"EndState", Vemo::StateGraph::kEndState},
    {"State", Vemo::StateGraph::kOrdinaryState},
};

} // namespace

MessengerStateGraphScriptStatesEnumerator::MessengerStateGraphScriptStatesEnumerator() {
    m_records.Reserve(100);
}

bool MessengerStateGraphScriptStatesEnumerator::EnumerateKey(Script::Key& key, const Vemo::String& text,
                                                             const Vemo::BasicArray<Fragment>&) {
    for (const StateKey& stateKey : kStateKeys) {
        if (CharacterClasses::CompareNoCase(key.GetName(), Vemo::String(stateKey.word)) == 0) {
            m_records.PushBack(Record{text, stateKey.kind});
            break;
        }
    }
    return true;
}
