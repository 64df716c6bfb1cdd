#include "script/MessengerState.h"

#include "resources/error/Error.h"
#include "script/ErrorString.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"

namespace {

const MessengerFactory::Registrar g_stateRegistrar(MessengerState::ClassWord(), &MessengerState::Create);

} // namespace

MessengerState::MessengerState(const Vemo::String& name, MessengerStateGraph* owner, Script* script)
    : Messenger(name, owner, script), Vemo::State(owner, owner->TakeNextStateId()) {}

MessengerState::~MessengerState() = default;

const Vemo::String& MessengerState::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("State");
    return *word;
}

Vemo::String MessengerState::GetClassName() const {
    return ClassWord();
}

bool MessengerState::ReadScript() {
    return Messenger::ReadScript();
}

bool MessengerState::Initialize() {
    return ReadScript();
}

MessengerStateGraph* MessengerState::StateGraphOwner(const Vemo::String& name, Messenger* owner) {
    ErrorString text;
    AppendQuotedItem(text, name);
    if (owner == nullptr) {
        RaiseError(kErrorStateWithoutOwner, &text);
        return nullptr;
    }
    auto* graph = dynamic_cast<MessengerStateGraph*>(owner);
    if (graph == nullptr) {
        RaiseError(kErrorOwnerNotStateGraph, &text);
    }
    return graph;
}

Messenger* MessengerState::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    MessengerStateGraph* graph = StateGraphOwner(name, owner);
    if (graph == nullptr) {
        return nullptr;
    }
    auto* state = new MessengerState(name, graph, script);
    if (!state->ReadScript()) {
        delete state;
        return nullptr;
    }
    return state;
}
