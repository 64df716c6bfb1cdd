#include "controls/MouseFilterControl.h"

#include "script/MessengerFactory.h"

namespace {

constexpr int kPointerCursor = 1;

const MessengerFactory::Registrar g_registrar(MouseFilterControl::ClassWord(), &MouseFilterControl::Create);

} // namespace

MouseFilterControl::MouseFilterControl(const Vemo::String& name, Messenger* owner, Script* script)
    : Control(name, owner, script) {}

MouseFilterControl::~MouseFilterControl() = default;

const Vemo::String& MouseFilterControl::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("MouseFilterControl");
    return *word;
}

Vemo::String MouseFilterControl::GetClassName() const {
    return ClassWord();
}

Messenger* MouseFilterControl::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    return CreateRead<MouseFilterControl>(name, owner, script);
}

bool MouseFilterControl::ReadScript() {
    if (!Control::ReadScript()) {
        return false;
    }
    SetTransparent(true);
    return true;
}

bool MouseFilterControl::ContainsPoint(const Vemo::Point& /*local*/) {
    return false;
}

void MouseFilterControl::OnEnabled() {
    Control::OnEnabled();
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, true);
    }
}

void MouseFilterControl::OnDisabled() {
    Control::OnDisabled();
    if (IsMouseInside()) {
        QueueCursorState(kPointerCursor, true);
    }
}

void MouseFilterControl::OnMouseEnter(const Vemo::Point& local) {
    Control::OnMouseEnter(local);
    QueueCursorState(kPointerCursor, true);
}

void MouseFilterControl::OnMouseExit(const Vemo::Point& local) {
    Control::OnMouseExit(local);
    QueueCursorState(kPointerCursor, true);
}
