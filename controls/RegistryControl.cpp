#include "controls/RegistryControl.h"

#include "platform/win32/registry/Registry.h"
#include "resources/error/Error.h"
#include "script/Fragment.h"
#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <cctype>
#include <cstring>

namespace {

const MessengerFactory::Registrar g_registryRegistrar(RegistryControl::ClassWord(), &RegistryControl::Create);

constexpr win32::LSTATUS kSuccess = 0;

enum Word : unsigned { kWordRoot, kWordExamine, kWordOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Root", kWordRoot}, {"Examine", kWordExamine}}, kWordOther);
    return *words;
}

win32::HKEY RootKey(const Vemo::String& root) {
    struct Entry {
        const char* name;
        win32::HKEY key;
    };
    const Entry entries[] = {{"HKEY_CLASSES_ROOT", win32::HKEY_CLASSES_ROOT},
                             {"HKEY_CURRENT_USER", win32::HKEY_CURRENT_USER},
                             {"HKEY_LOCAL_MACHINE", win32::HKEY_LOCAL_MACHINE},
                             {"HKEY_USERS", win32::HKEY_USERS}};
    for (const Entry& entry : entries) {
        if (std::strcmp(root.CStr(), entry.name) == 0) {
            return entry.key;
        }
    }
    return win32::HKEY_CLASSES_ROOT;
}

// Whether the data, read up to its first zero within its size, begins with the text, letters compared by
// their lower case.
bool StartsWithNoCase(const unsigned char* data, unsigned size, const Vemo::String& text) {
    const auto* wanted = reinterpret_cast<const unsigned char*>(text.CStr());
    for (unsigned i = 0; i < text.Length(); ++i) {
        if (i >= size || data[i] == 0 || std::tolower(data[i]) != std::tolower(wanted[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

RegistryControl::RegistryControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

RegistryControl::~RegistryControl() = default;

Messenger* RegistryControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<RegistryControl>(name, owner, script);
}

const Vemo::String& RegistryControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("RegistryControl");
    return *word;
}

Vemo::String RegistryControl::GetClassName() const {
    return ClassWord();
}

bool RegistryControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        RaiseError(kErrorFailure);
        return false;
    }
    Script* script = GetScript();
    if (script == nullptr) {
        return false;
    }
    SetTransparent(true);
    Vemo::String text;
    if (script->GetValueText(GetSectionName(), Vemo::String("Root"), text)) {
        m_root = text;
    }
    if (script->GetValueText(GetSectionName(), Vemo::String("Path"), text)) {
        m_path = text;
    }
    return true;
}

bool RegistryControl::HandleMessage(const Fragment& message, Messenger* sender) {
    const unsigned word = MessageWords()[message.GetText()];
    FragmentStream arguments(message.GetChildren());
    switch (word) {
    case kWordRoot: {
        Vemo::String root;
        arguments >> root;
        m_root = root;
        return true;
    }
    case kWordExamine: {
        Vemo::String valueName;
        Vemo::String text;
        arguments >> valueName >> text;
        CompareValue(valueName, text);
        return true;
    }
    default:
        return Control::HandleMessage(message, sender);
    }
}

void RegistryControl::CompareValue(const Vemo::String& valueName, const Vemo::String& text) {
    win32::HKEY key = nullptr;
    if (win32::RegOpenKeyExA(RootKey(m_root), m_path.CStr(), 0, win32::KEY_READ, &key) != kSuccess) {
        return;
    }
    unsigned char data[kValueBufferSize];
    win32::DWORD size = sizeof data;
    if (win32::RegQueryValueExA(key, valueName.CStr(), nullptr, nullptr, data, &size) == kSuccess) {
        Vemo::String answer(StartsWithNoCase(data, size, text) ? "equal." : "differ.");
        answer.Append(text);
        // The answer is one message whatever the compared text holds: a comma or a parenthesis in it must
        // not make it a list of messages.
        ReceiveTextFrom(AsValueItem(answer), SubString());
    }
    win32::RegCloseKey(key);
}
