// Collects, in section order, the keys of a button's section that name a look's picture or the selection
// mask, each with a stream over its value.
#pragma once

#include "foundation/BasicArray.h"
#include "script/FragmentStream.h"
#include "script/Script.h"

#include <cstdint>

class ButtonControlScriptStatesEnumerator : public Script::KeyEnumerator {
public:
    struct Record {
        // 0 "SelectionMask", 1 "UpBitmap", 2 "DownBitmap", 3 "RolloverBitmap", 4 "DisabledBitmap".
        std::uint32_t id = 0;
        FragmentStream value;
    };

    ButtonControlScriptStatesEnumerator();

    bool EnumerateKey(Script::Key& key, const Vemo::String& text,
                      const Vemo::BasicArray<Fragment>& fragments) override;

    const Vemo::BasicArray<Record>& GetRecords() const { return m_records; }

    // The id of a key word, -1 for a word that names no picture.
    static int KeyId(const SubString& word);

private:
    Vemo::BasicArray<Record> m_records;
};
