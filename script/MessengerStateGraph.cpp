#include "script/MessengerStateGraph.h"

#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "script/ErrorString.h"
#include "script/FormatToBuffer.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/MessengerRecursiveState.h"
#include "script/MessengerState.h"
#include "script/MessengerStateGraphScriptStatesEnumerator.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"

#include <cerrno>

namespace {

const MessengerFactory::Registrar g_graphRegistrar(MessengerStateGraph::ClassWord(),
                                                   &MessengerStateGraph::Create);

const Vemo::String& AutoActionKey() {
    static const Vemo::String* const key = new Vemo::String("AutoAction");
    return *key;
}

const Vemo::String& ActionKey() {
    static const Vemo::String* const key = new Vemo::String("Action");
    return *key;
}

// Numbers are reported bare, not quoted.
void ReportNumber(Vemo::ErrorCode code, int number) {
    char digits[16];
    FormatToBuffer(digits, "%d", number);
    const ErrorString text(digits);
    RaiseError(code, &text);
}

void ReportNumber(Vemo::ErrorCode code, std::uint32_t number) {
    char digits[16];
    FormatToBuffer(digits, "%u", number);
    const ErrorString text(digits);
    RaiseError(code, &text);
}

// Reads a script outcome into its internal number; a negative one reports error 7 with its value, one beyond
// the integer range with its text.
bool ReadOutcome(FragmentStream& value, std::uint32_t& outcome) {
    const Fragment* written = nullptr;
    FragmentStream(value) >> written;
    int number = 0;
    errno = 0;
    value >> number;
    if (errno == ERANGE) {
        MessengerStateGraph::ReportOutcomeOutOfRange(*written);
        return false;
    }
    if (number < 0) {
        ReportNumber(MessengerStateGraph::kErrorNegativeOutcome, number);
        return false;
    }
    outcome = static_cast<std::uint32_t>(number) + MessengerStateGraph::kScriptOutcomeBase;
    return true;
}

} // namespace

MessengerStateGraph::MessengerStateGraph(const Vemo::String& name, Messenger* parent, Script* script,
                                         Vemo::State* ownerState)
    : Messenger(name, parent, script), Vemo::StateGraph(ownerState) {}

MessengerStateGraph::~MessengerStateGraph() {
    m_autoActions.Clear();
}

const Vemo::String& MessengerStateGraph::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("StateGraph");
    return *word;
}

Vemo::String MessengerStateGraph::GetClassName() const {
    return ClassWord();
}

Messenger* MessengerStateGraph::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* recursiveState = dynamic_cast<MessengerRecursiveState*>(owner);
    Vemo::State* ownerState = recursiveState != nullptr ? static_cast<Vemo::State*>(recursiveState) : nullptr;
    auto* graph = new MessengerStateGraph(name, owner, script, ownerState);
    if (!graph->ReadScript()) {
        delete graph;
        RaiseQuotedItems(kErrorCreateFailed, {owner != nullptr ? owner->GetName() : Vemo::String(), name});
        return nullptr;
    }
    return graph;
}

bool MessengerStateGraph::ReadScript() {
    return Messenger::ReadScript() && Vemo::StateGraph::Initialize();
}

bool MessengerStateGraph::Initialize() {
    return ReadScript();
}

bool MessengerStateGraph::ReadStates() {
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    MessengerStateGraphScriptStatesEnumerator states;
    script->EnumerateSection(GetSectionName(), states);
    for (const MessengerStateGraphScriptStatesEnumerator::Record& record : states.GetRecords()) {
        if (!CreateState(record.name, record.kind)) {
            RaiseQuotedItems(kErrorCreateState, {ScriptPathText(script), GetName(), record.name});
            return false;
        }
    }
    if (GetStartState() == nullptr) {
        RaiseQuotedItems(kErrorNoStartState, {ScriptPathText(script), GetName()});
        return false;
    }
    return ReadAutoActions() && ReadActions();
}

void MessengerStateGraph::ReportOutcomeOutOfRange(const Fragment& written) {
    ErrorString text;
    written.GetText().GetString(text);
    RaiseError(kErrorNegativeOutcome, &text);
}

bool MessengerStateGraph::ReadAutoActions() {
    ScriptKeyFragmentStreamEnumerator values;
    GetScript()->EnumerateKey(GetSectionName(), AutoActionKey(), values);
    for (FragmentStream& value : values.GetStreams()) {
        std::uint32_t outcome = 0;
        Vemo::String name;
        if (!ReadOutcome(value, outcome)) {
            return false;
        }
        value >> name;
        if (!AddAutoAction(outcome, name)) {
            return false;
        }
    }
    return true;
}

bool MessengerStateGraph::ReadActions() {
    ScriptKeyFragmentStreamEnumerator values;
    GetScript()->EnumerateKey(GetSectionName(), ActionKey(), values);
    for (FragmentStream& value : values.GetStreams()) {
        Vemo::String from;
        std::uint32_t outcome = 0;
        Vemo::String to;
        value >> from;
        if (!ReadOutcome(value, outcome)) {
            return false;
        }
        value >> to;
        if (!AddActionByName(from, outcome, to)) {
            return false;
        }
    }
    return true;
}

bool MessengerStateGraph::CreateState(const Vemo::String& name, std::uint32_t kind) {
    Script* script = GetScript();
    if (script == nullptr) {
        return false;
    }
    Messenger* made = MessengerFactory::CreateFromScript(name, this, script);
    if (made == nullptr) {
        RaiseQuotedItems(kErrorStateNotCreated, {ScriptPathText(script), GetName(), name});
        return false;
    }
    auto* state = dynamic_cast<MessengerState*>(made);
    if (state == nullptr) {
        const Vemo::String madeName = made->GetName();
        delete made;
        RaiseQuotedItems(kErrorNotAState, {ScriptPathText(script), madeName, name});
        return false;
    }
    if (!AddState(state, kind)) {
        // A state refused an auto action stays in the graph: take it out before it is destroyed.
        if (Vemo::StateGraph::FindState(state->GetId()) == state) {
            RemoveState(state);
        }
        delete state;
        return false;
    }
    return true;
}

bool MessengerStateGraph::AddState(Vemo::State* state, std::uint32_t kind) {
    if (!Vemo::StateGraph::AddState(state, kind)) {
        return false;
    }
    for (const AutoActionRecord& record : m_autoActions) {
        if (!AddAction(state, record.target, record.outcome)) {
            return false;
        }
    }
    return true;
}

bool MessengerStateGraph::RemoveState(Vemo::State* state) {
    // Every auto action into the state goes, so that no record is left pointing at a state being deleted.
    for (auto record = m_autoActions.Begin(); record != m_autoActions.End();) {
        if (record->target->GetId() == state->GetId()) {
            record = m_autoActions.Erase(record);
        } else {
            ++record;
        }
    }
    return Vemo::StateGraph::RemoveState(state);
}

MessengerState* MessengerStateGraph::FindStateByName(const Vemo::String& name) {
    return dynamic_cast<MessengerState*>(FindMessenger(name));
}

bool MessengerStateGraph::AddAutoAction(std::uint32_t outcome, const Vemo::String& name) {
    if (m_autoActions.Find(AutoActionRecord{outcome, Vemo::String(), nullptr}) != m_autoActions.End()) {
        ReportNumber(kErrorSecondAutoAction, outcome);
        return false;
    }
    MessengerState* target = FindStateByName(name);
    if (target == nullptr) {
        RaiseQuotedItems(kErrorNoTarget, {name});
        return false;
    }
    m_autoActions.Insert(AutoActionRecord{outcome, name, target});
    for (Vemo::State* state : GetStates()) {
        if (state->GetId() != target->GetId() && !AddAction(state, target, outcome)) {
            return false;
        }
    }
    return true;
}

bool MessengerStateGraph::AddActionByName(const Vemo::String& from, std::uint32_t outcome,
                                          const Vemo::String& to) {
    MessengerState* source = FindStateByName(from);
    if (source == nullptr) {
        RaiseQuotedItems(kErrorNoSource, {from});
        return false;
    }
    MessengerState* target = FindStateByName(to);
    if (target == nullptr) {
        RaiseQuotedItems(kErrorNoTarget, {to});
        return false;
    }
    if (!AddAction(source, target, outcome)) {
        ReportNumber(kErrorActionRefused, outcome);
        return false;
    }
    return true;
}

bool MessengerStateGraph::IsStateOfKind(const Vemo::String& name, std::uint32_t kind) {
    MessengerState* state = FindStateByName(name);
    if (state == nullptr) {
        return false;
    }
    const std::uint32_t id = state->Vemo::State::GetId();
    switch (kind) {
    case kOrdinaryState:
        return Vemo::StateGraph::FindState(id) != nullptr &&
               (GetStartState() == nullptr || GetStartState()->GetId() != id) && !IsEndState(state);
    case kStartState:
        return GetStartState() != nullptr && GetStartState()->GetId() == id;
    case kEndState:
        return IsEndState(state);
    default:
        return false;
    }
}
