#include "script/MessengerRecursiveState.h"

#include "resources/error/Error.h"
#include "resources/storage/Path.h"
#include "script/CharacterClasses.h"
#include "script/ErrorString.h"
#include "script/FormatToBuffer.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"

namespace {

const MessengerFactory::Registrar g_recursiveStateRegistrar(MessengerRecursiveState::ClassWord(),
                                                            &MessengerRecursiveState::Create);

const Vemo::String& GraphKey() {
    static const Vemo::String* const key = new Vemo::String("Graph");
    return *key;
}

const Vemo::String& AutoProgressKey() {
    static const Vemo::String* const key = new Vemo::String("AutoProgress");
    return *key;
}

// The largest number an "AutoProgress" may give: its outcome, the number plus 256, must not wrap round.
constexpr std::uint32_t kLargestScriptOutcome = 0xFFFFFFFFu - MessengerStateGraph::kScriptOutcomeBase;

bool IsNegative(const SubString& text) {
    std::uint32_t i = 0;
    while (i < text.Length() && CharacterClasses::IsWhitespace(text.Data()[i])) {
        ++i;
    }
    return i < text.Length() && text.Data()[i] == '-';
}

// Reads an "AutoProgress" number into its internal outcome; a negative one or one beyond the last outcome
// reports the graph's error 7 with the number as written.
bool ReadOutcome(FragmentStream& value, std::uint32_t& outcome) {
    const Fragment* written = nullptr;
    FragmentStream(value) >> written;
    // A number beyond 32 bits reads as the largest one, and so is refused too.
    std::uint32_t number = 0;
    value >> number;
    if (written != nullptr && (IsNegative(written->GetText()) || number > kLargestScriptOutcome)) {
        MessengerStateGraph::ReportOutcomeOutOfRange(*written);
        return false;
    }
    outcome = number + MessengerStateGraph::kScriptOutcomeBase;
    return true;
}

} // namespace

MessengerRecursiveState::MessengerRecursiveState(const Vemo::String& name, MessengerStateGraph* owner,
                                                 Script* script)
    : MessengerState(name, owner, script) {}

MessengerRecursiveState::~MessengerRecursiveState() {
    m_autoProgress.Clear();
}

const Vemo::String& MessengerRecursiveState::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("RecursiveState");
    return *word;
}

Vemo::String MessengerRecursiveState::GetClassName() const {
    return ClassWord();
}

Messenger* MessengerRecursiveState::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    MessengerStateGraph* graph = StateGraphOwner(name, owner);
    if (graph == nullptr) {
        return nullptr;
    }
    auto* state = new MessengerRecursiveState(name, graph, script);
    if (!state->ReadScript()) {
        delete state;
        RaiseQuotedItems(kErrorCreateFailed, {graph->GetName(), name});
        return nullptr;
    }
    return state;
}

bool MessengerRecursiveState::ReadScript() {
    if (!MessengerState::ReadScript()) {
        return false;
    }
    if (!ReadGraph()) {
        RaiseQuotedItems(kErrorReadGraph, {GetName()});
        return false;
    }
    return true;
}

bool MessengerRecursiveState::ReadGraph() {
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    const Vemo::BasicArray<Fragment>* graphValue = nullptr;
    if (script->GetFragments(GetSectionName(), GraphKey(), graphValue)) {
        Vemo::String name;
        FragmentStream(*graphValue) >> name;
        if (!ReadNestedGraph(name)) {
            return false;
        }
    } else {
        Vemo::String text;
        // A "Graph" key whose value parses to nothing names nothing too.
        if (script->GetValueText(GetSectionName(), GraphKey(), text) && !ReadNestedGraph(Vemo::String())) {
            return false;
        }
    }
    ScriptKeyFragmentStreamEnumerator values;
    script->EnumerateKey(GetSectionName(), AutoProgressKey(), values);
    for (FragmentStream& value : values.GetStreams()) {
        if (!ReadAutoProgress(value)) {
            return false;
        }
    }
    return true;
}

bool MessengerRecursiveState::ReadNestedGraph(const Vemo::String& name) {
    Script* script = GetScript();
    if (name.IsEmpty()) {
        RaiseQuotedItems(kErrorEmptyGraphName, {ScriptPathText(script), GetName()});
        return false;
    }
    Messenger* made = MessengerFactory::CreateFromScript(name, this, script);
    if (made == nullptr) {
        RaiseQuotedItems(kErrorStateNotCreated, {ScriptPathText(script), GetName(), name});
        return false;
    }
    m_nestedGraph = dynamic_cast<MessengerStateGraph*>(made);
    if (m_nestedGraph == nullptr) {
        delete made;
        RaiseQuotedItems(kErrorNotAGraph, {ScriptPathText(script), GetName(), name});
        return false;
    }
    return true;
}

bool MessengerRecursiveState::ReadAutoProgress(FragmentStream& value) {
    Vemo::String name;
    std::uint32_t outcome = 0;
    value >> name;
    if (!ReadOutcome(value, outcome)) {
        return false;
    }
    const Vemo::String path = ScriptPathText(GetScript());
    // Without a nested graph no name can be an end state of it.
    MessengerState* endState = m_nestedGraph != nullptr
                                   ? dynamic_cast<MessengerState*>(m_nestedGraph->FindMessenger(name))
                                   : nullptr;
    if (endState == nullptr) {
        if (m_nestedGraph != nullptr) {
            RaiseQuotedItems(MessengerStateGraph::kErrorNoSuchState, {name});
        }
        RaiseQuotedItems(kErrorUnknownEndState, {path, GetName(), name});
        return false;
    }
    const std::uint32_t id = endState->Vemo::State::GetId();
    if (m_autoProgress.Find(AutoProgressRecord{id, 0}) != m_autoProgress.End()) {
        RaiseQuotedItems(kErrorSecondAutoProgress, {path, GetName(), name});
        return false;
    }
    if (!m_nestedGraph->IsStateOfKind(name, Vemo::StateGraph::kEndState)) {
        RaiseQuotedItems(kErrorNotAnEndState, {path, GetName(), name});
        return false;
    }
    m_autoProgress.Insert(AutoProgressRecord{id, outcome});
    return true;
}

bool MessengerRecursiveState::Enter() {
    if (m_nestedGraph == nullptr) {
        return true;
    }
    if (!m_nestedGraph->Start()) {
        RaiseQuotedItems(kErrorStart, {GetName()});
        return false;
    }
    return true;
}

void MessengerRecursiveState::Update() {
    if (m_nestedGraph == nullptr) {
        Signal(Vemo::StateGraph::kFallbackOutcome);
        return;
    }
    m_nestedGraph->Step();
    if (Vemo::State* end = m_nestedGraph->GetReachedEndState()) {
        OnNestedGraphEnd(end->GetId());
    }
}

void MessengerRecursiveState::OnNestedGraphEnd(std::uint32_t endStateId) {
    if (endStateId == Vemo::StateGraph::kFallbackStateId) {
        Signal(Vemo::StateGraph::kFallbackOutcome);
        return;
    }
    const auto found = m_autoProgress.Find(AutoProgressRecord{endStateId, 0});
    if (found == m_autoProgress.End()) {
        char digits[16];
        FormatToBuffer(digits, "%u", endStateId);
        const ErrorString text(digits);
        RaiseError(kErrorNoAutoProgress, &text);
        Signal(Vemo::StateGraph::kFallbackOutcome);
        return;
    }
    Signal(found->outcome);
}

bool MessengerRecursiveState::Exit() {
    if (m_nestedGraph == nullptr) {
        return true;
    }
    if (!m_nestedGraph->Stop()) {
        RaiseQuotedItems(kErrorStop, {GetName()});
        return false;
    }
    return true;
}
