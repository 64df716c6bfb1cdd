#include "controls/ButtonControlScriptStatesEnumerator.h"

#include "script/KeywordIds.h"

int ButtonControlScriptStatesEnumerator::KeyId(const SubString& word) {
    static const KeywordIds<int>* const words = new KeywordIds<int>({{"SelectionMask", 0},
                                                                     {"UpBitmap", 1},
                                                                     {"DownBitmap", 2},
                                                                     {"RolloverBitmap", 3},
                                                                     {"DisabledBitmap", 4}},
                                                                    -1);
    return (*words)[word];
}

ButtonControlScriptStatesEnumerator::ButtonControlScriptStatesEnumerator() {
    m_records.Reserve(10);
}

bool ButtonControlScriptStatesEnumerator::EnumerateKey(Script::Key& key, const Vemo::String&,
                                                       const Vemo::BasicArray<Fragment>& fragments) {
    const int id = KeyId(SubString(key.GetName()));
    if (id >= 0) {
        m_records.PushBack(Record{static_cast<std::uint32_t>(id), FragmentStream(fragments)});
    }
    return true;
}
