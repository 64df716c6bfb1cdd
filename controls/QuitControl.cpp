#include "controls/QuitControl.h"

#include "script/MessengerFactory.h"

namespace {

const MessengerFactory::Registrar g_registrar(QuitControl::ClassWord(), &QuitControl::Create);

} // namespace

QuitControl::QuitControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

QuitControl::~QuitControl() {
    if (KeyboardSpy::GetManager() != nullptr) {
        KeyboardSpy::Detach();
    }
}

const Vemo::String& QuitControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("QuitControl");
    return *word;
}

Vemo::String QuitControl::GetClassName() const {
    return ClassWord();
}

Messenger* QuitControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<QuitControl>(name, owner, script);
}

bool QuitControl::Configure(Control* parent, Control* after) {
    if (!Control::Configure(parent, after)) {
        return false;
    }
    SetTransparent(true);
    return true;
}

void QuitControl::OnEnabled() {
    Control::OnEnabled();
    if (Control::GetManager() != nullptr) {
        KeyboardSpy::Attach(Control::GetManager());
    }
}

void QuitControl::OnDisabled() {
    Control::OnDisabled();
    if (Control::GetManager() != nullptr) {
        KeyboardSpy::Detach();
    }
}

void QuitControl::KeyDown(unsigned key, unsigned /*extra*/) {
    if (key != kEscape || IsShown()) {
        return;
    }
    const std::uint32_t serialNumber = GetSerialNumber();
    SetVisible(true);
    if (FindLive(serialNumber) != this) {
        return;
    }
    SetFocus();
    if (FindLive(serialNumber) == this) {
        ReceiveTextFrom(Vemo::String("QuitYesNo"), SubString());
    }
}

void QuitControl::KeyUp(unsigned /*key*/) {}

void QuitControl::Character(unsigned /*code*/, unsigned /*extra*/) {}
