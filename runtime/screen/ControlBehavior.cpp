#include "runtime/screen/ControlBehavior.h"

#include "resources/error/Error.h"
#include "runtime/screen/Control.h"
#include "script/FragmentStream.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/ScriptKeyFragmentStreamEnumerator.h"

namespace {

const Vemo::String& ControlKey() {
    static const Vemo::String* const key = new Vemo::String("Control");
    return *key;
}

} // namespace

ControlBehavior::ControlBehavior(const Vemo::String& name, Messenger* owner, Script* script)
    : Messenger(name, owner, script) {}

ControlBehavior::~ControlBehavior() {
    Detach();
}

const Vemo::String& ControlBehavior::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("ControlBehavior");
    return *word;
}

Vemo::String ControlBehavior::GetClassName() const {
    return ClassWord();
}

ControlBehavior* ControlBehavior::FromMessenger(Messenger* messenger) {
    return dynamic_cast<ControlBehavior*>(messenger);
}

bool ControlBehavior::ReadScript() {
    if (!Messenger::ReadScript()) {
        return false;
    }
    Vemo::String name;
    if (GetScript() == nullptr || !GetScript()->GetValueText(GetSectionName(), ControlKey(), name)) {
        return true;
    }
    Control* control = Control::FromMessenger(FindMessenger(name));
    if (control != nullptr) {
        SetControl(control);
    }
    return true;
}

bool ControlBehavior::SetControl(Control* control) {
    if (control == nullptr) {
        Detach();
        return true;
    }
    if (control->IsSameControl(m_control)) {
        return true;
    }
    Detach();
    control->m_behaviors.PushBack(this);
    m_control = control;
    OnAttached();
    return true;
}

void ControlBehavior::Detach() {
    if (m_control == nullptr) {
        return;
    }
    m_control->m_behaviors.Remove(this);
    m_control = nullptr;
    OnDetached();
}

bool ControlBehavior::CreateFromScriptKey(Script* script, const Vemo::String& section,
                                          const Vemo::String& key, Messenger* owner,
                                          Vemo::BasicArray<ControlBehavior*>* behaviors, Control* control) {
    ScriptKeyFragmentStreamEnumerator values;
    if (script == nullptr || !script->EnumerateKey(section, key, values)) {
        RaiseError(Control::kErrorFailure);
        return false;
    }
    for (FragmentStream& value : values.GetStreams()) {
        Vemo::String name;
        value >> name;
        Messenger* made = MessengerFactory::CreateFromScript(name, owner, script);
        ControlBehavior* behavior = FromMessenger(made);
        if (behavior == nullptr) {
            delete made;
            RaiseError(Control::kErrorFailure);
            return false;
        }
        behavior->SetControl(control);
        if (behaviors != nullptr) {
            behaviors->PushBack(behavior);
        }
    }
    return true;
}

bool ControlBehavior::AllowTransparent(bool) {
    return true;
}

bool ControlBehavior::AllowVisible(bool) {
    return true;
}

bool ControlBehavior::AllowEnabled(bool) {
    return true;
}

bool ControlBehavior::AllowActive(bool) {
    return true;
}

void ControlBehavior::OnIdle() {}

void ControlBehavior::OnHitTest(const Vemo::Point&, bool&) {}

void ControlBehavior::OnDraw(const Vemo::Rect&) {}

void ControlBehavior::OnParentChanged() {}

void ControlBehavior::OnControlAttached() {}

void ControlBehavior::OnControlDetached() {}

void ControlBehavior::OnZOrderChanged() {}

void ControlBehavior::OnMoved() {}

void ControlBehavior::OnResized() {}

void ControlBehavior::OnRectangleChanged() {}

void ControlBehavior::OnShown() {}

void ControlBehavior::OnHidden() {}

void ControlBehavior::OnEnabled() {}

void ControlBehavior::OnDisabled() {}

bool ControlBehavior::OnActivated() {
    return true;
}

void ControlBehavior::OnDeactivated() {}

bool ControlBehavior::OnPrepare() {
    return true;
}

void ControlBehavior::OnUpdateAppearance() {}

void ControlBehavior::OnPressed(const Vemo::Point&, unsigned) {}

void ControlBehavior::OnReleased(const Vemo::Point&, unsigned) {}

void ControlBehavior::OnMouseEnter(const Vemo::Point&) {}

void ControlBehavior::OnMouseExit(const Vemo::Point&) {}

void ControlBehavior::OnMouseMove(const Vemo::Point&) {}

void ControlBehavior::OnKeyDown(unsigned, unsigned) {}

void ControlBehavior::OnKeyUp(unsigned) {}

void ControlBehavior::OnKeyCharacter(unsigned, unsigned) {}

void ControlBehavior::OnGotFocus(bool) {}

void ControlBehavior::OnLostFocus() {}

void ControlBehavior::OnMouseCaptured() {}

void ControlBehavior::OnMouseCaptureLost() {}

void ControlBehavior::OnGrabbed() {}

void ControlBehavior::OnReleasedGrab(bool) {}

bool ControlBehavior::OnPowerEvent(unsigned) {
    return true;
}

bool ControlBehavior::OnMessage(const Fragment&, Messenger*) {
    return true;
}

void ControlBehavior::OnAttached() {}

void ControlBehavior::OnDetached() {}
