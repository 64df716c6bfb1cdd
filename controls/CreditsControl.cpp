#include "controls/CreditsControl.h"

#include "resources/error/Error.h"
#include "script/MessengerFactory.h"

namespace {

const MessengerFactory::Registrar g_creditsRegistrar(CreditsControl::ClassWord(), &CreditsControl::Create);

constexpr std::uint32_t kSystemKeyboard = 0;

} // namespace

CreditsControl::CreditsControl(const Vemo::String& name, Messenger* owner, Script* script)
    : ButtonControl(name, owner, script) {}

CreditsControl::~CreditsControl() = default;

Messenger* CreditsControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<CreditsControl>(name, owner, script);
}

const Vemo::String& CreditsControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("CreditsControl");
    return *word;
}

Vemo::String CreditsControl::GetClassName() const {
    return ClassWord();
}

bool CreditsControl::ReadScript() {
    if (!ButtonControl::ReadScript()) {
        return false;
    }
    if (!m_keyboard.Open(kSystemKeyboard)) {
        RaiseError(kErrorFailure);
        return false;
    }
    return true;
}

void CreditsControl::OnPressed(const Vemo::Point&, unsigned) {
    // Both keys are asked, whatever the first answers.
    const bool first = m_keyboard.IsKeyDown(kFirstKey);
    const bool second = m_keyboard.IsKeyDown(kSecondKey);
    if (first && second) {
        ReceiveTextFrom(Vemo::String("Credits"), SubString());
    }
}
