#include "runtime/states/NavigationState.h"

#include "resources/error/Error.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/ControlBehavior.h"
#include "runtime/screen/MessengerViewport.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"

#include <limits>

namespace {

const MessengerFactory::Registrar g_stateRegistrar(NavigationState::ClassWord(), &NavigationState::Create);

enum Word : unsigned { kProgress = 0, kCreateControl = 1, kOther = 2 };

const KeywordIds<unsigned>& Words() {
    static const KeywordIds<unsigned> words({{"Progress", kProgress}, {"CreateControl", kCreateControl}},
                                            kOther);
    return words;
}

bool Fail() {
    RaiseError(Messenger::kErrorSettings);
    return false;
}

// Every occurrence of the key in the section, each a copy of its value; false
// (reported) when the section cannot be enumerated.
bool ReadValues(Script& script, const Vemo::String& section, const char* key,
                Vemo::BasicArray<Vemo::BasicArray<Fragment>>& out) {
    ScriptKeyFragmentsEnumerator values;
    if (!script.EnumerateKey(section, Vemo::String(key), values)) {
        return Fail();
    }
    out = values.GetValues();
    return true;
}

Vemo::BasicArray<Fragment> Rest(const Vemo::BasicArray<Fragment>& fragments, std::size_t first) {
    Vemo::BasicArray<Fragment> rest;
    for (std::size_t i = first; i < fragments.Size(); ++i) {
        rest.PushBack(fragments[i]);
    }
    return rest;
}

} // namespace

NavigationState::NavigationState(const Vemo::String& name, MessengerStateGraph* owner, Script* script)
    : MessengerState(name, owner, script) {}

NavigationState::~NavigationState() {
    DestroyControls();
}

const Vemo::String& NavigationState::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("NavigationState");
    return *word;
}

Vemo::String NavigationState::GetClassName() const {
    return ClassWord();
}

Messenger* NavigationState::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* graph = dynamic_cast<MessengerStateGraph*>(owner);
    if (graph == nullptr) {
        Fail();
        return nullptr;
    }
    auto* state = new NavigationState(name, graph, script);
    if (!state->ReadScript()) {
        delete state;
        return nullptr;
    }
    return state;
}

// --- The script
// ----------------------------------------------------------------------------------------------

bool NavigationState::ReadScript() {
    if (!MessengerState::ReadScript()) {
        return Fail();
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    return ReadOnMessage() && ReadValues(*script, GetSectionName(), "OpenAction", m_openActions) &&
           ReadValues(*script, GetSectionName(), "CloseAction", m_closeActions);
}

bool NavigationState::ReadOnMessage() {
    Vemo::BasicArray<Vemo::BasicArray<Fragment>> values;
    if (!ReadValues(*GetScript(), GetSectionName(), "OnMessage", values)) {
        return false;
    }
    for (const Vemo::BasicArray<Fragment>& value : values) {
        if (!AddOnMessage(value)) {
            return false;
        }
    }
    return true;
}

bool NavigationState::AddOnMessage(const Vemo::BasicArray<Fragment>& value) {
    // A pattern with nothing to run is no record.
    if (value.Size() < 2) {
        return true;
    }
    const Fragment& pattern = value[0];
    if (!pattern.HasChildren() || pattern.GetChildren()[0].GetText().IsEmpty()) {
        return Fail();
    }
    const Fragment& sender = pattern.GetChildren()[0];
    OnMessageRecord record;
    if (sender.HasChildren()) {
        record.tagPattern = sender.GetChildren()[0].GetText();
        record.hasTagPattern = true;
    }
    record.argumentPattern = Rest(pattern.GetChildren(), 1);
    record.actions = Rest(value, 1);
    m_messages[pattern.GetText()][sender.GetText()].PushBack(record);
    return true;
}

// --- Messages
// ----------------------------------------------------------------------------------------------------

bool NavigationState::HandleMessage(const Fragment& message, Messenger* sender) {
    switch (Words()[message.GetText()]) {
    case kProgress:
        return HandleProgress(message);
    case kCreateControl:
        return HandleCreateControl(message);
    default:
        if (RunRecords(message, sender)) {
            return true;
        }
        return MessengerState::HandleMessage(message, sender);
    }
}

bool NavigationState::HandleProgress(const Fragment& message) {
    unsigned number = 0;
    FragmentStream(message.GetChildren()) >> number;
    // An outcome past the last one would wrap round to the state graph's own
    // outcomes (1 is the fallback).
    if (number > std::numeric_limits<std::uint32_t>::max() - MessengerStateGraph::kScriptOutcomeBase) {
        MessengerStateGraph::ReportOutcomeOutOfRange(message.GetChildren()[0]);
        return false;
    }
    Signal(MessengerStateGraph::kScriptOutcomeBase + number);
    return true;
}

bool NavigationState::HandleCreateControl(const Fragment& message) {
    Vemo::String name;
    Vemo::String parentName;
    Vemo::String otherName;
    FragmentStream(message.GetChildren()) >> name >> parentName >> otherName;
    if (name.IsEmpty()) {
        return true;
    }
    if (FindMessenger(otherName) == nullptr) {
        return false;
    }
    Control* parent = parentName.IsEmpty() ? nullptr : Control::FromMessenger(FindMessenger(parentName));
    if (parent == nullptr) {
        parent = RootControl();
    }
    if (parent == nullptr) {
        return Fail();
    }
    Vemo::BasicArray<Fragment> value;
    value.PushBack(Fragment(SubString(name), false));
    FragmentStream stream(value);
    return Control::CreateFromScript(stream, this, GetScript(), &m_controls, parent, &m_behaviors, true);
}

bool NavigationState::RunRecords(const Fragment& message, Messenger* sender) {
    if (sender == nullptr) {
        return false;
    }
    const auto word = m_messages.Find(message.GetText());
    if (word == m_messages.End()) {
        return false;
    }
    const auto records = word->second.Find(SubString(sender->GetName()));
    if (records == word->second.End()) {
        return false;
    }
    // The sender's tag as the message found it: the actions may change it, or
    // delete the sender.
    const SubString senderTag(sender->GetTag());
    const Vemo::BasicArray<OnMessageRecord> matching = records->second;
    for (const OnMessageRecord& record : matching) {
        if (record.hasTagPattern && senderTag.CompareNoCase(record.tagPattern) != 0) {
            continue;
        }
        if (!record.argumentPattern.Empty() &&
            !FragmentsEqualNoCase(record.argumentPattern, message.GetChildren())) {
            continue;
        }
        HandleFragment(record.actions, this);
    }
    return true;
}

// --- Entering, stepping and leaving
// -----------------------------------------------------------------------------

Control* NavigationState::RootControl() {
    MultimediaApplication* application = MultimediaApplication::Instance();
    MessengerViewport* viewport = application != nullptr ? application->GetViewport() : nullptr;
    return viewport != nullptr ? viewport->GetRootControl() : nullptr;
}

void NavigationState::SetViewportBusy(bool busy) {
    MultimediaApplication* application = MultimediaApplication::Instance();
    if (application != nullptr && application->GetViewport() != nullptr) {
        application->GetViewport()->SetBusy(busy);
    }
}

void NavigationState::DestroyControls() {
    while (!m_behaviors.Empty()) {
        ControlBehavior* behavior = m_behaviors[m_behaviors.Size() - 1];
        m_behaviors.Erase(m_behaviors.End() - 1);
        delete behavior;
    }
    while (!m_controls.Empty()) {
        Control* control = m_controls[m_controls.Size() - 1];
        m_controls.Erase(m_controls.End() - 1);
        delete control;
    }
}

bool NavigationState::FailEnter() {
    DestroyControls();
    SetViewportBusy(false);
    return Fail();
}

bool NavigationState::Enter() {
    Script* script = GetScript();
    if (script == nullptr) {
        return true;
    }
    Control* root = RootControl();
    if (root == nullptr) {
        return Fail();
    }
    // The state hears its controls from the moment each is made: a control may speak as it first activates.
    if (!Control::CreateFromScriptKey(script, GetSectionName(), Control::ClassWord(), this, &m_controls, root,
                                      &m_behaviors, true)) {
        return FailEnter();
    }
    for (const Vemo::BasicArray<Fragment>& actions : m_openActions) {
        if (!HandleFragment(actions, this)) {
            return FailEnter();
        }
    }
    MultimediaApplication::Instance()->OnStateEntered(this);
    SetViewportBusy(false);
    return true;
}

void NavigationState::Update() {
    Vemo::BasicArray<std::uint32_t> serialNumbers;
    for (Control* control : m_controls) {
        serialNumbers.PushBack(control->GetSerialNumber());
    }
    // A control's Idle may delete others (through the state's own messages): only
    // live ones are stepped.
    for (const std::uint32_t serialNumber : serialNumbers) {
        if (Control* control = Control::FindLive(serialNumber)) {
            control->Idle();
        }
    }
}

bool NavigationState::Exit() {
    if (MultimediaApplication* application = MultimediaApplication::Instance()) {
        application->OnStateExited(this);
    }
    SetViewportBusy(true);
    bool closed = true;
    for (const Vemo::BasicArray<Fragment>& actions : m_closeActions) {
        if (!HandleFragment(actions, this)) {
            closed = false;
        }
    }
    DestroyControls();
    return closed;
}
