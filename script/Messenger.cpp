#include "script/Messenger.h"

#include "resources/error/Error.h"
#include "script/CharacterClasses.h"
#include "script/ErrorString.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerApplication.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentsEnumerator.h"
#include "script/ValueTokenizer.h"

#include <unordered_map>
#include <vector>

namespace {

// The built-in words. The ids without a word (9 to 11, 16, 18 to 20, 22) belong to the words that name the
// shared settings, which are not entered in the table.
enum BuiltinWord : unsigned {
    kWordMessage = 0,
    kWordTag = 1,
    kWordIf = 2,
    kWordSetAttribute = 3,
    kWordGetAttribute = 4,
    kWordRemAttribute = 5,
    kWordSetUserSetting = 6,
    kWordGetUserSetting = 7,
    kWordRemUserSetting = 8,
    kWordSetVar = 12,
    kWordGetVar = 13,
    kWordRemVar = 14,
    kWordCopyUserToUser = 15,
    kWordCopyUserToVar = 17,
    kWordCopyVarToUser = 21,
    kWordCopyVarToVar = 23,
    kWordTerminate = 24,
    kWordSubscribe = 25,
    kWordUnsubscribe = 26,
};

constexpr unsigned kMissingWord = 0xFFFFFFFF;

// Built on first use and never destroyed: messengers that live until exit (the application among them) still
// handle words and leave the registry while the process ends.
const KeywordIds<unsigned>& BuiltinWords() {
    static const KeywordIds<unsigned>* const words = new KeywordIds<unsigned>(
        {
            {"Message", kWordMessage},
            {"Tag", kWordTag},
            {"If", kWordIf},
            {"SetAttribute", kWordSetAttribute},
            {"GetAttribute", kWordGetAttribute},
            {"RemAttribute", kWordRemAttribute},
            {"SetUserSetting", kWordSetUserSetting},
            {"GetUserSetting", kWordGetUserSetting},
            {"RemUserSetting", kWordRemUserSetting},
            {"SetVar", kWordSetVar},
            {"GetVar", kWordGetVar},
            {"RemVar", kWordRemVar},
            {"CopyUserToUser", kWordCopyUserToUser},
            {"CopyUserToVar", kWordCopyUserToVar},
            {"CopyVarToUser", kWordCopyVarToUser},
            {"CopyVarToVar", kWordCopyVarToVar},
            {"Terminate", kWordTerminate},
            {"Subscribe", kWordSubscribe},
            {"Unsubscribe", kWordUnsubscribe},
        },
        kMissingWord);
    return *words;
}

// The characters that a messenger name may not hold: they mean something in names, references and lists.
constexpr char kForbiddenNameCharacters[] = "@#$%^&*,/:\"";
constexpr std::uint32_t kForbiddenNameCharacterCount = sizeof(kForbiddenNameCharacters) - 1;

std::uint32_t g_serialCounter = 0;

// The messengers alive now, by serial number: a delivery reaches its recipients through it, so that one
// destroyed meanwhile is never reached through a pointer kept from before. Never destroyed: messengers that
// live until exit leave it while the process ends.
std::unordered_map<std::uint32_t, Messenger*>& LiveMessengers() {
    static auto* const live = new std::unordered_map<std::uint32_t, Messenger*>;
    return *live;
}

// How deep the handling of words now nests, and whether it went past the bound; main thread only.
unsigned g_handlingDepth = 0;
bool g_handlingTooDeep = false;

// One level of nested handling while it lives. Leaving the outermost level ends a refusal that the bound
// started.
class NestedHandling {
public:
    NestedHandling() { ++g_handlingDepth; }
    ~NestedHandling() {
        if (--g_handlingDepth == 0) {
            g_handlingTooDeep = false;
        }
    }
    NestedHandling(const NestedHandling&) = delete;
    NestedHandling& operator=(const NestedHandling&) = delete;
};

const Vemo::String& ParentWord() {
    static const Vemo::String* const word = new Vemo::String("Parent");
    return *word;
}

const Vemo::String& AttributeWord() {
    static const Vemo::String* const word = new Vemo::String("Attribute");
    return *word;
}

Fragment MakeWord(const char* text) {
    Fragment word;
    word.SetText(SubString(Vemo::String(text)));
    return word;
}

Vemo::String TextOf(const Fragment& fragment) {
    Vemo::String text;
    fragment.GetText().GetString(text);
    return text;
}

bool IsParentWord(const char* text, std::uint32_t length) {
    const Vemo::String& parent = ParentWord();
    return CharacterClasses::CompareCountedNoCase(text, length, parent.CStr(), parent.Length()) == 0;
}

bool IsReference(const Fragment& fragment) {
    if (fragment.IsQuoted() || fragment.GetText().IsEmpty()) {
        return false;
    }
    const char first = fragment.GetText().Data()[0];
    return first == '@' || first == '#' || first == '$' || first == '%';
}

// An address Section(Key): the argument's text is the section, its first argument read as text the key.
void ReadAddress(const Fragment& address, Vemo::String& section, Vemo::String& key) {
    address.GetText().GetString(section);
    FragmentStream(address.GetChildren()) >> key;
}

// A variable's address without a key, Name, names key Name of the empty-named section, where a @Name
// reference reads it: the variables refuse a key without a name.
void ToVariableAddress(const Fragment& address, Vemo::String& section, Vemo::String& key) {
    if (!address.HasChildren()) {
        key = section;
        section = Vemo::String();
    }
}

void Report(Vemo::ErrorCode code, std::initializer_list<const Vemo::String*> items) {
    ErrorString text;
    for (const Vemo::String* item : items) {
        AppendQuotedItem(text, *item);
    }
    RaiseError(code, &text);
}

MessengerApplication* CurrentApplication() {
    return MessengerApplication::Instance;
}

Config* UserSettings() {
    MessengerApplication* application = CurrentApplication();
    return application != nullptr ? application->GetUserSettings() : nullptr;
}

Config* Variables() {
    MessengerApplication* application = CurrentApplication();
    return application != nullptr ? &application->GetVariables() : nullptr;
}

const MessengerFactory::Registrar g_messengerRegistrar(Messenger::ClassWord(), &Messenger::Create);

} // namespace

bool Messenger::MessengerLess::operator()(const Messenger* a, const Messenger* b) const {
    return CharacterClasses::CompareNoCase(a->m_name, b->m_name) < 0;
}

Messenger::Messenger(const Vemo::String& name, Messenger* parent, Script* script)
    : m_name(name), m_sectionName(name), m_serialNumber(++g_serialCounter), m_script(script),
      m_parent(parent) {
    LiveMessengers()[m_serialNumber] = this;
    if (m_script != nullptr) {
        m_script->AddRef();
    }
}

Messenger::Messenger(const Vemo::String& name, Probe) : m_name(name) {}

Messenger::~Messenger() {
    LiveMessengers().erase(m_serialNumber);
    if (m_registered != 0) {
        Unregister();
    }
    while (!m_subscriptions.Empty()) {
        Unsubscribe(*m_subscriptions.Front());
    }
    while (!m_subscribers.Empty()) {
        m_subscribers.Front()->Unsubscribe(*this);
    }
    while (!m_children.Empty()) {
        Messenger* child = *m_children.Begin();
        delete child;
        // The child leaves this set in its own destructor; make sure the loop moves on even if it could not.
        if (!m_children.Empty() && *m_children.Begin() == child) {
            m_children.Erase(m_children.Begin());
        }
    }
    if (m_parent != nullptr) {
        const auto found = m_parent->m_children.Find(this);
        if (found != m_parent->m_children.End() && (*found)->m_serialNumber == m_serialNumber) {
            m_parent->m_children.Erase(found);
        } else {
            Report(kErrorNotFound, {&m_parent->m_name, &m_name});
        }
    }
    if (m_script != nullptr) {
        m_script->Release();
    }
}

const Vemo::String& Messenger::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("Messenger");
    return *word;
}

Vemo::String Messenger::GetClassName() const {
    return ClassWord();
}

Messenger* Messenger::Create(const Vemo::String& name, Messenger* parent, Script* script) {
    auto* messenger = new Messenger(name, parent, script);
    if (!messenger->ReadScript()) {
        delete messenger;
        const Vemo::String parentName = parent != nullptr ? parent->m_name : Vemo::String();
        Report(kErrorCreateFailed, {&parentName, &name});
        return nullptr;
    }
    return messenger;
}

// --- Script section --------------------------------------------------------------------------------------

bool Messenger::ReadScript() {
    if (IsParentWord(m_name.CStr(), m_name.Length())) {
        return FailReadScript(kErrorReservedName, true);
    }
    if (m_name.FindFirstOf(kForbiddenNameCharacters, 0, kForbiddenNameCharacterCount) !=
        Vemo::String::kNotFound) {
        return FailReadScript(kErrorInvalidName, true);
    }
    if (m_parent != nullptr) {
        if (m_name.IsEmpty()) {
            return FailReadScript(kErrorEmptyName, false);
        }
        // A second reading (a subclass's and its base's) finds the messenger already linked: keep the link.
        const Messenger* linked = m_parent->FindChild(m_name);
        if (linked == nullptr) {
            m_parent->m_children.Insert(this);
        } else if (linked->m_serialNumber != m_serialNumber) {
            return FailReadScript(kErrorDuplicateName, true);
        }
    }
    if (m_script != nullptr) {
        ReadAttributes();
    }
    return true;
}

bool Messenger::FailReadScript(Vemo::ErrorCode code, bool withName) {
    ErrorString text;
    AppendQuotedItem(text, m_parent != nullptr ? m_parent->m_name : Vemo::String());
    if (withName) {
        AppendQuotedItem(text, m_name);
    }
    RaiseError(code, &text);
    m_parent = nullptr;
    return false;
}

void Messenger::ReadAttributes() {
    // A section without "Attribute" keys, or without a section at all, defines no attribute.
    ScriptKeyFragmentsEnumerator values;
    m_script->EnumerateKey(m_sectionName, AttributeWord(), values);
    for (const Vemo::BasicArray<Fragment>& value : values.GetValues()) {
        for (const Fragment& definition : value) {
            m_attributes[TextOf(definition)] = definition.GetChildren();
        }
    }
}

bool Messenger::ExpandAttribute(const Fragment& fragment, Vemo::BasicArray<Fragment>& out) {
    const Vemo::String& word = AttributeWord();
    if (fragment.GetText().CompareNoCase(SubString(word)) != 0) {
        return true;
    }
    Vemo::String name;
    FragmentStream(fragment.GetChildren()) >> name;
    const auto found = m_attributes.Find(name);
    if (found != m_attributes.End()) {
        out.Insert(out.End(), found->second.Begin(), found->second.End());
    }
    return true;
}

// --- Registry and names ----------------------------------------------------------------------------------

Messenger::MessengerSet& Messenger::Registry() {
    static MessengerSet* const registry = new MessengerSet;
    return *registry;
}

bool Messenger::Register() {
    if (m_registered != 0) {
        return true;
    }
    if (!Registry().Insert(this).second) {
        return false;
    }
    m_registered = 1;
    return true;
}

bool Messenger::Unregister() {
    if (m_registered == 0) {
        return true;
    }
    MessengerSet& registry = Registry();
    const auto found = registry.Find(this);
    if (found != registry.End() && (*found)->m_serialNumber == m_serialNumber) {
        registry.Erase(found);
    }
    m_registered = 0;
    return true;
}

bool Messenger::IsRegistered() const {
    return m_registered != 0;
}

Messenger* Messenger::FindRegistered(const Vemo::String& name) {
    Messenger probe(name, Probe{});
    MessengerSet& registry = Registry();
    const auto found = registry.Find(&probe);
    return found != registry.End() ? *found : nullptr;
}

Messenger* Messenger::FindLive(std::uint32_t serialNumber) {
    const auto& live = LiveMessengers();
    const auto found = live.find(serialNumber);
    return found != live.end() ? found->second : nullptr;
}

Messenger* Messenger::FindChild(const Vemo::String& name) const {
    Messenger probe(name, Probe{});
    const auto found = m_children.Find(&probe);
    return found != m_children.End() ? *found : nullptr;
}

Messenger* Messenger::FindDirect(const Vemo::String& name, std::uint32_t start, std::uint32_t count) {
    if (count > 0 && name.CStr()[start] == '^') {
        return FindRegistered(name.Substring(start + 1, count - 1));
    }
    return FindChild(name.Substring(start, count));
}

// Walks the name one ":"-separated part at a time, so that a long name costs neither deep recursion nor
// repeated copies of its tail.
Messenger* Messenger::FindMessenger(const Vemo::String& name) {
    Messenger* current = this;
    std::uint32_t start = 0;
    for (;;) {
        const std::uint32_t rest = name.Length() - start;
        if (rest == 0 || IsParentWord(name.CStr() + start, rest)) {
            return current->m_parent;
        }
        const std::uint32_t colon = name.Find(":", start, 1);
        if (colon == Vemo::String::kNotFound) {
            return current->FindDirect(name, start, rest);
        }
        Messenger* next =
            colon == start ? current->m_parent : current->FindDirect(name, start, colon - start);
        if (next == nullptr) {
            return nullptr;
        }
        current = next;
        start = colon + 1;
    }
}

bool Messenger::IsParent(const Messenger& other) const {
    return m_parent != nullptr && m_parent->m_serialNumber == other.m_serialNumber;
}

bool Messenger::IsReachable(const Messenger& other) {
    const Messenger* found = FindMessenger(other.m_name);
    return found != nullptr && found->m_serialNumber == other.m_serialNumber;
}

// --- Sending and delivery --------------------------------------------------------------------------------

bool Messenger::SendFragments(const Vemo::BasicArray<Fragment>& message, Messenger* target) {
    const Vemo::String targetName = target != nullptr ? target->m_name : Vemo::String();
    if (target == nullptr || !target->HandleFragment(message, this)) {
        Report(kErrorNotHandled, {&targetName});
        return false;
    }
    return true;
}

bool Messenger::SendFragment(const Fragment& message, Messenger* target) {
    if (message.GetText().IsEmpty()) {
        return true;
    }
    Vemo::BasicArray<Fragment> list;
    list.PushBack(message);
    const Vemo::String name = m_name;
    if (!SendFragments(list, target)) {
        Report(kErrorSendFailed, {&name});
        return false;
    }
    return true;
}

bool Messenger::SendText(const Vemo::String& text, Messenger* target) {
    Vemo::BasicArray<Fragment> list;
    if (!Script::TokenizeText(list, text.CStr(), text.Length())) {
        Report(kErrorParseFailed, {&text});
        return false;
    }
    const Vemo::String name = m_name;
    if (!SendFragments(list, target)) {
        Report(kErrorSendFailed, {&name});
        return false;
    }
    return true;
}

bool Messenger::SendTextTo(const Vemo::String& text, const Vemo::String& targetName) {
    Messenger* target = FindMessenger(targetName);
    if (target == nullptr) {
        Report(kErrorNotFound, {&m_name, &targetName});
        return false;
    }
    Vemo::BasicArray<Fragment> list;
    if (!Script::TokenizeText(list, text.CStr(), text.Length())) {
        Report(kErrorParseFailed, {&text});
        return false;
    }
    return SendToTargetAndSubscribers(list, targetName, target);
}

bool Messenger::SendFragmentTo(const Fragment& message, const Vemo::String& targetName) {
    Messenger* target = FindMessenger(targetName);
    if (target == nullptr) {
        Report(kErrorNotFound, {&m_name, &targetName});
        return false;
    }
    Vemo::BasicArray<Fragment> list;
    list.PushBack(message);
    return SendToTargetAndSubscribers(list, targetName, target);
}

bool Messenger::SendFragmentsTo(const Vemo::BasicArray<Fragment>& message, const Vemo::String& targetName) {
    Messenger* target = FindMessenger(targetName);
    if (target == nullptr) {
        Report(kErrorNotFound, {&m_name, &targetName});
        return false;
    }
    return SendToTargetAndSubscribers(message, targetName, target);
}

bool Messenger::ReceiveTextFrom(const Vemo::String& text, const SubString& senderName) {
    Vemo::BasicArray<Fragment> message;
    if (!Script::TokenizeText(message, text.CStr(), text.Length())) {
        Report(kErrorParseFailed, {&text});
        return false;
    }
    Messenger* sender = this;
    if (!senderName.IsEmpty()) {
        Vemo::String name;
        senderName.GetString(name);
        sender = FindMessenger(name);
    }
    // The handlers may destroy this messenger; the subscribers are then out of reach.
    const std::uint32_t serialNumber = m_serialNumber;
    bool handled = HandleFragment(message, sender);
    Messenger* self = FindLive(serialNumber);
    if (senderName.IsEmpty() && self != nullptr) {
        const bool delivered = self->DeliverToList(message, self->m_subscribers);
        handled = handled && delivered;
    }
    return handled;
}

// An empty target name reaches the parent first, then every other subscriber (a parent that also subscribed
// handles the message once); the result is false when either failed.
bool Messenger::SendToTargetAndSubscribers(const Vemo::BasicArray<Fragment>& message,
                                           const Vemo::String& targetName, Messenger* target) {
    bool sent = SendFragments(message, target);
    if (targetName.IsEmpty() && !m_subscribers.Empty()) {
        MessengerList others;
        for (Messenger* subscriber : m_subscribers) {
            if (subscriber != target) {
                others.PushBack(subscriber);
            }
        }
        const bool delivered = DeliverToList(message, others);
        sent = sent && delivered;
    }
    return sent;
}

bool Messenger::DeliverToList(const Vemo::BasicArray<Fragment>& message, const MessengerList& recipients) {
    if (recipients.Empty()) {
        return true;
    }
    // Handlers may subscribe, unsubscribe or destroy messengers (this one too) while the words go out: walk
    // the list as it is now, and reach each recipient, and this sender, only while it lives.
    std::vector<std::uint32_t> serialNumbers;
    serialNumbers.reserve(recipients.Size());
    for (const Messenger* recipient : recipients) {
        serialNumbers.push_back(recipient->m_serialNumber);
    }
    const std::uint32_t senderSerialNumber = m_serialNumber;
    const Vemo::String name = m_name;
    Vemo::BasicArray<Fragment> evaluated(message);
    Messenger* first = *recipients.Begin();
    if (!first->EvaluateFragments(evaluated)) {
        Report(kErrorHandleFailed, {&name});
        return false;
    }
    bool handled = true;
    for (const std::uint32_t serialNumber : serialNumbers) {
        for (const Fragment& word : evaluated) {
            if (word.GetText().IsEmpty()) {
                continue;
            }
            Messenger* recipient = FindLive(serialNumber);
            if (recipient == nullptr) {
                break;
            }
            if (!HandleWord(*recipient, word, FindLive(senderSerialNumber))) {
                handled = false;
            }
        }
    }
    if (!handled) {
        Report(kErrorHandleFailed, {&name});
    }
    return handled;
}

bool Messenger::HandleFragment(const Vemo::BasicArray<Fragment>& message, Messenger* sender) {
    const Vemo::String name = m_name;
    Vemo::BasicArray<Fragment> evaluated(message);
    bool handled = EvaluateFragments(evaluated);
    if (handled) {
        for (const Fragment& word : evaluated) {
            if (!word.GetText().IsEmpty() && !HandleWord(*this, word, sender)) {
                handled = false;
            }
        }
    }
    if (!handled) {
        Report(kErrorHandleFailed, {&name});
    }
    return handled;
}

bool Messenger::HandleWord(Messenger& recipient, const Fragment& word, Messenger* sender) {
    const NestedHandling nested;
    if (g_handlingDepth > kMaxHandlingDepth || g_handlingTooDeep) {
        if (!g_handlingTooDeep) {
            g_handlingTooDeep = true;
            const Vemo::String text = TextOf(word);
            Report(kErrorNestedTooDeep, {&recipient.m_name, &text});
        }
        return false;
    }
    return recipient.HandleMessage(word, sender);
}

// --- Subscriptions ---------------------------------------------------------------------------------------

namespace {

bool RemoveBySerial(Messenger::MessengerList& list, std::uint32_t serialNumber) {
    for (auto it = list.Begin(); it != list.End(); ++it) {
        if ((*it)->GetSerialNumber() == serialNumber) {
            list.Erase(it);
            return true;
        }
    }
    return false;
}

} // namespace

bool Messenger::IsSubscriberOf(const Messenger& target) const {
    for (const Messenger* subscriber : target.m_subscribers) {
        if (subscriber->m_serialNumber == m_serialNumber) {
            return true;
        }
    }
    return false;
}

void Messenger::Subscribe(Messenger& target) {
    if (IsSubscriberOf(target)) {
        return;
    }
    target.m_subscribers.PushBack(this);
    m_subscriptions.PushBack(&target);
    const Fragment word = MakeWord("Subscribed");
    SendFragment(word, &target);
    target.SendFragment(word, this);
}

void Messenger::Unsubscribe(Messenger& target) {
    const Fragment word = MakeWord("Unsubscribed");
    if (RemoveBySerial(target.m_subscribers, m_serialNumber)) {
        SendFragment(word, &target);
    }
    if (RemoveBySerial(m_subscriptions, target.m_serialNumber)) {
        target.SendFragment(word, this);
    }
}

void Messenger::SetTag(const Vemo::String& text) {
    m_tag = text;
}

// --- Evaluation ------------------------------------------------------------------------------------------

bool Messenger::EvaluateFragments(Vemo::BasicArray<Fragment>& fragments) {
    unsigned substitutions = 0;
    return EvaluateList(fragments, 0, substitutions);
}

// The index stays on a substituted fragment, so that what a value put in is evaluated in turn; the count of
// substitutions (shared by every list of the message) ends self-referring values.
bool Messenger::EvaluateList(Vemo::BasicArray<Fragment>& fragments, unsigned depth, unsigned& substitutions) {
    std::size_t index = 0;
    while (index < fragments.Size()) {
        if (!IsReference(fragments[index])) {
            if (!EvaluateChildren(fragments[index], depth, substitutions)) {
                return false;
            }
            ++index;
            continue;
        }
        if (substitutions == kMaxSubstitutions) {
            RaiseError(kErrorSettings);
            return false;
        }
        Vemo::BasicArray<Fragment> replacement;
        if (!ResolveReference(fragments[index], replacement)) {
            return false;
        }
        ++substitutions;
        if (replacement.Size() == 1) {
            fragments[index] = replacement[0];
        } else {
            const auto position = fragments.Erase(fragments.Begin() + static_cast<std::ptrdiff_t>(index));
            fragments.Insert(position, replacement.Begin(), replacement.End());
        }
    }
    return true;
}

// Values substituted into child lists may nest deeper than any parsed value; stop descending where parsing
// would have stopped, so that neither this walk nor the fragments' own copies can exhaust the stack.
bool Messenger::EvaluateChildren(Fragment& fragment, unsigned depth, unsigned& substitutions) {
    if (!fragment.HasChildren()) {
        return true;
    }
    if (depth >= ValueTokenizer::kMaxNesting ||
        !EvaluateList(fragment.GetChildren(), depth + 1, substitutions)) {
        RaiseError(kErrorSettings);
        return false;
    }
    return true;
}

bool Messenger::ResolveReference(Fragment& fragment, Vemo::BasicArray<Fragment>& replacement) {
    const SubString& text = fragment.GetText();
    const char kind = text.Data()[0];
    Vemo::String name;
    name.Assign(text.Data() + 1, text.Length() - 1);
    if (kind == '%') {
        return ExpandAttributes(fragment, name, replacement);
    }
    Vemo::String section;
    FragmentStream(fragment.GetChildren()) >> section;
    return ResolveStoredValue(kind, section, name, replacement);
}

bool Messenger::ResolveStoredValue(char kind, const Vemo::String& section, const Vemo::String& key,
                                   Vemo::BasicArray<Fragment>& replacement) {
    Vemo::String value;
    if (kind == '@') {
        if (!GetVar(section, key, value)) {
            Report(kErrorVariableMissing, {&m_name, &section, &key});
            return false;
        }
    } else if (kind == '#') {
        const Config* settings = UserSettings();
        if (settings == nullptr || !settings->GetValue(section, key, value)) {
            RaiseError(kErrorSettings);
            return false;
        }
    } else if (!GetSharedSetting(section, key, value)) {
        RaiseError(kErrorSettings);
        return false;
    }
    if (!Script::TokenizeText(replacement, value.CStr(), value.Length())) {
        Report(kErrorParseFailed, {&value});
        return false;
    }
    return true;
}

bool Messenger::ExpandAttributes(Fragment& fragment, const Vemo::String& name,
                                 Vemo::BasicArray<Fragment>& replacement) {
    Messenger* owner = FindMessenger(name);
    if (owner == nullptr) {
        RaiseError(kErrorSettings);
        return false;
    }
    if (!fragment.HasChildren()) {
        fragment.GetChildren().PushBack(Fragment());
    }
    for (const Fragment& argument : fragment.GetChildren()) {
        if (!owner->ExpandAttribute(argument, replacement)) {
            RaiseError(kErrorSettings);
            return false;
        }
    }
    return true;
}

// --- Built-in words --------------------------------------------------------------------------------------

bool Messenger::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned word = BuiltinWords()[message.GetText()];
    switch (word) {
    case kWordMessage:
        return HandleMessageWord(message, sender);
    case kWordTag: {
        Vemo::String tag;
        FragmentStream(message.GetChildren()) >> tag;
        SetTag(tag);
        return true;
    }
    case kWordIf:
        return HandleIf(message, sender);
    case kWordSetAttribute: {
        FragmentStream arguments(message.GetChildren());
        Vemo::String name;
        Vemo::BasicArray<Fragment> fragments;
        arguments >> name >> fragments;
        m_attributes[name] = fragments;
        return true;
    }
    case kWordGetAttribute:
        return HandleGetAttribute(message);
    case kWordRemAttribute: {
        Vemo::String name;
        FragmentStream(message.GetChildren()) >> name;
        const auto found = m_attributes.Find(name);
        if (found != m_attributes.End()) {
            m_attributes.Erase(found);
        }
        return true;
    }
    case kWordSetUserSetting:
        return HandleSet(message, true);
    case kWordGetUserSetting:
        return HandleGet(message, true);
    case kWordRemUserSetting:
        return HandleRemove(message, true);
    case kWordSetVar:
        return HandleSet(message, false);
    case kWordGetVar:
        return HandleGet(message, false);
    case kWordRemVar:
        return HandleRemove(message, false);
    case kWordCopyUserToUser:
        return HandleCopy(message, true, true);
    case kWordCopyUserToVar:
        return HandleCopy(message, true, false);
    case kWordCopyVarToUser:
        return HandleCopy(message, false, true);
    case kWordCopyVarToVar:
        return HandleCopy(message, false, false);
    case kWordTerminate:
        if (MessengerApplication* application = CurrentApplication()) {
            application->Quit();
        }
        return true;
    case kWordSubscribe:
    case kWordUnsubscribe: {
        Vemo::String name;
        FragmentStream(message.GetChildren()) >> name;
        Messenger* target = FindMessenger(name);
        if (target == nullptr) {
            return false;
        }
        if (word == kWordSubscribe) {
            Subscribe(*target);
        } else {
            Unsubscribe(*target);
        }
        return true;
    }
    default:
        return true;
    }
}

bool Messenger::HandleMessageWord(const Fragment& message, Messenger*) {
    const Vemo::String name = m_name;
    bool sent = true;
    for (const Fragment& argument : message.GetChildren()) {
        if (!SendFragmentsTo(argument.GetChildren(), TextOf(argument))) {
            sent = false;
        }
    }
    if (!sent) {
        Report(kErrorSendFailed, {&name});
    }
    return sent;
}

bool Messenger::HandleIf(const Fragment& message, Messenger* sender) {
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    if (arguments.Empty()) {
        return true;
    }
    const std::size_t chosen = HandleWord(*this, arguments[0], sender) ? 1 : 2;
    if (arguments.Size() <= chosen) {
        return true;
    }
    const Vemo::String name = m_name;
    if (!HandleWord(*this, arguments[chosen], sender)) {
        Report(kErrorHandleFailed, {&name});
        return false;
    }
    return true;
}

bool Messenger::HandleGetAttribute(const Fragment& message) {
    FragmentStream arguments(message.GetChildren());
    Vemo::String word;
    Vemo::String name;
    arguments >> word >> name;
    Fragment reply;
    reply.SetText(SubString(word));
    const auto found = m_attributes.Find(name);
    if (found != m_attributes.End()) {
        reply.GetChildren() = found->second;
    }
    SendFragmentTo(reply, Vemo::String());
    return true;
}

bool Messenger::HandleSet(const Fragment& message, bool user) {
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    if (arguments.Empty()) {
        return true;
    }
    Vemo::String section;
    Vemo::String key;
    ReadAddress(arguments[0], section, key);
    Vemo::String value;
    FragmentStream rest(arguments);
    const Fragment* address = nullptr;
    rest >> address >> value;
    if (section.IsEmpty()) {
        if (user) {
            Report(kErrorEmptyUserSection, {&m_name, &key, &section, &value});
        } else {
            Report(kErrorEmptySection, {&m_name, &key, &section});
        }
        return false;
    }
    if (!user) {
        ToVariableAddress(arguments[0], section, key);
    }
    const bool stored = user ? SetUserSetting(section, key, value) : SetVar(section, key, value);
    if (!stored) {
        Report(user ? kErrorSetUserSettingFailed : kErrorSetVarFailed, {&m_name});
        return false;
    }
    return true;
}

bool Messenger::HandleGet(const Fragment& message, bool user) {
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    if (arguments.Size() < 2) {
        return true;
    }
    Vemo::String word;
    FragmentStream(arguments) >> word;
    Vemo::String section;
    Vemo::String key;
    ReadAddress(arguments[1], section, key);
    if (section.IsEmpty()) {
        Report(kErrorEmptySection, {&m_name, &key, &section});
        return false;
    }
    if (!user) {
        ToVariableAddress(arguments[1], section, key);
    }
    SendReply(word, GetStored(user, section, key));
    return true;
}

Vemo::String Messenger::GetStored(bool user, const Vemo::String& section, const Vemo::String& key) {
    Vemo::String value;
    if (user) {
        GetUserSetting(section, key, value);
    } else {
        GetVar(section, key, value);
    }
    return value;
}

// The reply is one fragment whose arguments are the value parsed on its own, as a reference's value is: a
// value cannot close the reply's list and add words of its own.
bool Messenger::SendReply(const Vemo::String& word, const Vemo::String& value) {
    Fragment reply;
    reply.SetText(SubString(word));
    if (!Script::TokenizeText(reply.GetChildren(), value.CStr(), value.Length())) {
        Report(kErrorParseFailed, {&value});
        return false;
    }
    if (reply.GetChildren().Empty()) {
        reply.GetChildren().PushBack(Fragment());
    }
    return SendFragmentTo(reply, Vemo::String());
}

bool Messenger::HandleRemove(const Fragment& message, bool user) {
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    if (arguments.Empty()) {
        return true;
    }
    Vemo::String section;
    Vemo::String key;
    ReadAddress(arguments[0], section, key);
    if (user) {
        RemUserSetting(section, key);
    } else {
        ToVariableAddress(arguments[0], section, key);
        RemVar(section, key);
    }
    return true;
}

bool Messenger::HandleCopy(const Fragment& message, bool fromUser, bool toUser) {
    const Vemo::BasicArray<Fragment>& arguments = message.GetChildren();
    if (arguments.Size() < 2) {
        return true;
    }
    Vemo::String fromSection;
    Vemo::String fromKey;
    Vemo::String toSection;
    Vemo::String toKey;
    ReadAddress(arguments[0], fromSection, fromKey);
    ReadAddress(arguments[1], toSection, toKey);
    if (fromSection.IsEmpty()) {
        Report(kErrorEmptyUserSection, {&m_name, &fromKey, &fromSection});
        return false;
    }
    if (toSection.IsEmpty()) {
        Report(kErrorEmptySection, {&m_name, &toKey, &toSection});
        return false;
    }
    if (!fromUser) {
        ToVariableAddress(arguments[0], fromSection, fromKey);
    }
    if (!toUser) {
        ToVariableAddress(arguments[1], toSection, toKey);
    }
    const Vemo::String value = GetStored(fromUser, fromSection, fromKey);
    const bool stored = toUser ? SetUserSetting(toSection, toKey, value) : SetVar(toSection, toKey, value);
    if (!stored) {
        Report(kErrorStoreRefused, {&m_name, &fromSection, &fromKey, &toSection, &toKey});
        return false;
    }
    return true;
}

// --- Settings and variables ------------------------------------------------------------------------------

bool Messenger::GetUserSetting(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) {
    const Config* settings = UserSettings();
    if (settings == nullptr) {
        value = Vemo::String();
        RaiseError(kErrorSettings);
        return false;
    }
    return settings->GetValue(section, key, value);
}

bool Messenger::SetUserSetting(const Vemo::String& section, const Vemo::String& key,
                               const Vemo::String& value) {
    Config* settings = UserSettings();
    if (settings == nullptr) {
        RaiseError(kErrorSettings);
        return false;
    }
    if (!settings->SetValue(section, key, value)) {
        Report(kErrorUserSettingRefused, {&m_name, &section, &key, &value});
        return false;
    }
    return true;
}

bool Messenger::RemUserSetting(const Vemo::String& section, const Vemo::String& key) {
    Config* settings = UserSettings();
    if (settings == nullptr) {
        RaiseError(kErrorSettings);
        return false;
    }
    return settings->RemoveKey(section, key);
}

bool Messenger::GetSharedSetting(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) {
    MessengerApplication* application = CurrentApplication();
    if (application == nullptr || !application->GetSharedSetting(section, key, value)) {
        value = Vemo::String();
        return false;
    }
    return true;
}

bool Messenger::SetSharedSetting(const Vemo::String& section, const Vemo::String& key,
                                 const Vemo::String& value) {
    MessengerApplication* application = CurrentApplication();
    return application != nullptr && application->SetSharedSetting(section, key, value);
}

bool Messenger::RemSharedSetting(const Vemo::String& section, const Vemo::String& key) {
    MessengerApplication* application = CurrentApplication();
    return application != nullptr && application->RemSharedSetting(section, key);
}

bool Messenger::GetVar(const Vemo::String& section, const Vemo::String& key, Vemo::String& value) {
    const Config* variables = Variables();
    if (variables == nullptr) {
        value = Vemo::String();
        return false;
    }
    return variables->GetValue(section, key, value);
}

bool Messenger::SetVar(const Vemo::String& section, const Vemo::String& key, const Vemo::String& value) {
    Config* variables = Variables();
    if (variables == nullptr || !variables->SetValue(section, key, value)) {
        Report(kErrorStoreRefused, {&m_name, &section, &key, &value});
        return false;
    }
    return true;
}

bool Messenger::RemVar(const Vemo::String& section, const Vemo::String& key) {
    Config* variables = Variables();
    return variables != nullptr && variables->RemoveKey(section, key);
}
