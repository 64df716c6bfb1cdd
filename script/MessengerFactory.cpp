#include "script/MessengerFactory.h"

#include "resources/error/Error.h"
#include "script/CharacterClasses.h"
#include "script/ErrorString.h"
#include "script/FragmentStream.h"
#include "script/Messenger.h"
#include "script/MessengerApplication.h"
#include "script/Script.h"

#include <algorithm>
#include <vector>

// Constant-initialised, so that registrars in any file may run before this file's initialisers.
MessengerFactory::Registry* MessengerFactory::s_registry = nullptr;

namespace {

const Vemo::String& DefinedKey() {
    static const Vemo::String* const key = new Vemo::String("Defined");
    return *key;
}

const Vemo::String& ClassKey() {
    static const Vemo::String* const key = new Vemo::String("Class");
    return *key;
}

// The sections whose messengers are being made, innermost last: the script in which the "Defined" chain
// ended, and the messenger's name.
struct SectionInMaking {
    const Script* script;
    Vemo::String name;
};

std::vector<SectionInMaking>& SectionsInMaking() {
    static std::vector<SectionInMaking>* const sections = new std::vector<SectionInMaking>;
    return *sections;
}

// Section names compare as the script compares them: without regard to case.
bool IsInMaking(const Script* script, const Vemo::String& name) {
    const std::vector<SectionInMaking>& sections = SectionsInMaking();
    return std::any_of(sections.begin(), sections.end(), [&](const SectionInMaking& section) {
        return section.script == script && CharacterClasses::CompareNoCase(section.name, name) == 0;
    });
}

// Marks a section as being made for the life of the object.
class MakingSection {
public:
    MakingSection(const Script* script, const Vemo::String& name) {
        SectionsInMaking().push_back(SectionInMaking{script, name});
    }
    ~MakingSection() { SectionsInMaking().pop_back(); }
    MakingSection(const MakingSection&) = delete;
    MakingSection& operator=(const MakingSection&) = delete;
};

Script* FindScript(const Vemo::String& name) {
    MessengerApplication* application = MessengerApplication::Instance;
    return application != nullptr ? application->GetScript(name) : nullptr;
}

// The script in which the chain of "Defined" keys of section [name] ends; null after reporting.
Script* FollowDefined(const Vemo::String& name, Script* script) {
    std::vector<Script*> visited;
    Script* current = script;
    for (;;) {
        const Vemo::BasicArray<Fragment>* value = nullptr;
        if (!current->GetFragments(name, DefinedKey(), value)) {
            Vemo::String text;
            if (!current->GetValueText(name, DefinedKey(), text)) {
                return current;
            }
            // A "Defined" value that does not parse holds no single script name either.
            value = nullptr;
        }
        if (value == nullptr || value->Size() != 1) {
            RaiseQuotedItems(MessengerFactory::kErrorDefinedNotOneValue, {ScriptPathText(current), name});
            return nullptr;
        }
        visited.push_back(current);
        Vemo::String scriptName;
        (*value)[0].GetText().GetString(scriptName);
        Script* next = FindScript(scriptName);
        if (next == nullptr) {
            RaiseQuotedItems(MessengerFactory::kErrorDefinedScriptMissing,
                             {ScriptPathText(current), scriptName, name});
            return nullptr;
        }
        if (std::find(visited.begin(), visited.end(), next) != visited.end()) {
            ErrorString text;
            for (const Script* each : visited) {
                AppendQuotedItem(text, *each);
            }
            RaiseError(MessengerFactory::kErrorDefinedLoop, &text);
            return nullptr;
        }
        current = next;
    }
}

} // namespace

bool MessengerFactory::CreationSpecLess::operator()(const CreationSpec& a, const CreationSpec& b) const {
    return Vemo::CompareNoCase(a.classWord.CStr(), b.classWord.CStr()) < 0;
}

MessengerFactory::Registrar::Registrar(const Vemo::String& classWord, CreateFunction createFunction) {
    if (Register(classWord, createFunction)) {
        m_classWord = classWord;
    }
}

MessengerFactory::Registrar::~Registrar() {
    if (!m_classWord.IsEmpty()) {
        Unregister(m_classWord);
    }
}

bool MessengerFactory::Register(const Vemo::String& classWord, CreateFunction createFunction) {
    if (classWord.IsEmpty()) {
        RaiseError(kErrorEmptyClassWord);
        return false;
    }
    if (createFunction == nullptr) {
        RaiseQuotedItems(kErrorNoCreateFunction, {classWord});
        return false;
    }
    const CreationSpec spec{classWord, createFunction};
    if (s_registry != nullptr && s_registry->Find(spec) != s_registry->End()) {
        RaiseQuotedItems(kErrorAlreadyRegistered, {classWord});
        return false;
    }
    if (s_registry == nullptr) {
        s_registry = new Registry;
    }
    s_registry->Insert(spec);
    return true;
}

bool MessengerFactory::Unregister(const Vemo::String& classWord) {
    if (classWord.IsEmpty()) {
        RaiseError(kErrorEmptyClassWord);
        return false;
    }
    if (s_registry == nullptr) {
        RaiseError(kErrorNoClasses);
        return false;
    }
    const auto found = s_registry->Find(CreationSpec{classWord, nullptr});
    if (found == s_registry->End()) {
        RaiseQuotedItems(kErrorNotRegistered, {classWord});
        return false;
    }
    s_registry->Erase(found);
    if (s_registry->Empty()) {
        delete s_registry;
        s_registry = nullptr;
    }
    return true;
}

MessengerFactory::CreateFunction MessengerFactory::FindCreateFunction(const Vemo::String& classWord) {
    if (classWord.IsEmpty()) {
        RaiseError(kErrorEmptyClassWord);
        return nullptr;
    }
    if (s_registry == nullptr) {
        RaiseError(kErrorNoClasses);
        return nullptr;
    }
    const auto found = s_registry->Find(CreationSpec{classWord, nullptr});
    if (found == s_registry->End()) {
        RaiseQuotedItems(kErrorNotRegistered, {classWord});
        return nullptr;
    }
    return found->createFunction;
}

Messenger* MessengerFactory::CreateFromScript(const Vemo::String& name, Messenger* parent, Script* script) {
    if (s_registry == nullptr) {
        RaiseError(kErrorNoClasses);
        return nullptr;
    }
    if (script == nullptr) {
        RaiseQuotedItems(kErrorNoClassKey, {Vemo::String(), name});
        return nullptr;
    }
    Script* current = FollowDefined(name, script);
    if (current == nullptr) {
        return nullptr;
    }
    const Vemo::BasicArray<Fragment>* classValue = nullptr;
    if (!current->GetFragments(name, ClassKey(), classValue)) {
        RaiseQuotedItems(kErrorNoClassKey, {ScriptPathText(current), name});
        return nullptr;
    }
    Vemo::String classWord;
    FragmentStream(*classValue) >> classWord;
    if (classWord.IsEmpty()) {
        RaiseQuotedItems(kErrorEmptyClassWord, {ScriptPathText(current), name});
        return nullptr;
    }
    const CreateFunction createFunction = FindCreateFunction(classWord);
    if (createFunction == nullptr) {
        RaiseQuotedItems(kErrorClassNotRegistered, {ScriptPathText(current), name});
        return nullptr;
    }
    if (IsInMaking(current, name)) {
        RaiseQuotedItems(kErrorCreationInProgress, {ScriptPathText(current), name});
        return nullptr;
    }
    Messenger* messenger = nullptr;
    {
        const MakingSection making(current, name);
        messenger = createFunction(name, parent, current);
    }
    if (messenger == nullptr) {
        RaiseQuotedItems(kErrorCreationFailed, {ScriptPathText(current), name});
        return nullptr;
    }
    return messenger;
}
