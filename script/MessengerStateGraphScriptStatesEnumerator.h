// Collects the state keys of a state graph's section, in section order: each "StartState", "EndState" or
// "State" key (without regard to case) gives its value text as a state name with the kind of state it
// declares. Other keys are passed over.
#pragma once

#include "foundation/BasicArray.h"
#include "foundation/String.h"
#include "script/Script.h"

#include <cstdint>

class MessengerStateGraphScriptStatesEnumerator : public Script::KeyEnumerator {
public:
    struct Record {
        Vemo::String name;
        std::uint32_t kind;
    };

    MessengerStateGraphScriptStatesEnumerator();

    bool EnumerateKey(Script::Key& key, const Vemo::String& text,
                      const Vemo::BasicArray<Fragment>& fragments) override;

    const Vemo::BasicArray<Record>& GetRecords() const { return m_records; }

private:
    Vemo::BasicArray<Record> m_records;
};
