#include "controls/HelpControl.h"

#include "controls/TextNumber.h"

#include "script/FragmentStream.h"
#include "script/KeywordIds.h"
#include "script/MessengerApplication.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <cstdio>

namespace {

enum MessageWord : unsigned { kExamine, kOther };

const KeywordIds<unsigned>& MessageWords() {
    static const KeywordIds<unsigned>* const words =
        new KeywordIds<unsigned>({{"Examine", kExamine}}, kOther);
    return *words;
}

bool UserSettingsOpen() {
    return MessengerApplication::Instance != nullptr &&
           MessengerApplication::Instance->GetUserSettings() != nullptr;
}

const MessengerFactory::Registrar g_registrar(HelpControl::ClassWord(), &HelpControl::Create);

} // namespace

HelpControl::HelpControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

HelpControl::~HelpControl() = default;

const Vemo::String& HelpControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("HelpControl");
    return *word;
}

Vemo::String HelpControl::GetClassName() const {
    return ClassWord();
}

Messenger* HelpControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<HelpControl>(name, owner, script);
}

bool HelpControl::HandleMessage(const Fragment& message, Messenger* sender) {
    if (MessageWords()[message.GetText()] == kExamine) {
        OnExamine();
        return true;
    }
    return Control::HandleMessage(message, sender);
}

void HelpControl::OnExamine() {
    const Vemo::BasicArray<Fragment>* value = nullptr;
    if (GetScript() == nullptr || !UserSettingsOpen() ||
        !GetScript()->GetFragments(GetSectionName(), Vemo::String("Value"), value)) {
        return;
    }
    Vemo::String section;
    Vemo::String name;
    FragmentStream(*value) >> section >> name;
    if (name.Length() == 0) {
        return;
    }
    Vemo::String count;
    GetVar(section, name, count);
    // A count at the top of the range wraps, as the 32-bit addition always has.
    const auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(TextToInteger(count)) + 1u);
    char number[16];
    std::snprintf(number, sizeof(number), "%d", next);
    SetVar(section, name, Vemo::String(number));
    char message[32];
    std::snprintf(message, sizeof(message), "Enter(%d)", next);
    ReceiveTextFrom(Vemo::String(message), SubString());
}
