// A state of a scripted state graph: a messenger that a script names, configures and sends messages to, and a
// state of its graph. The plain state does nothing on entering, updating or leaving; its subclasses give it
// behaviour and signal outcomes through Vemo::State::Signal.
//
// Its class word is "State". Its graph is its owner: the messenger parent, the StateGraph that deletes it,
// and the source of its id.
#pragma once

#include "script/Messenger.h"
#include "script/State.h"

class MessengerStateGraph;

class MessengerState : public Messenger, public Vemo::State {
public:
    // Takes the owner's next state id.
    MessengerState(const Vemo::String& name, MessengerStateGraph* owner, Script* script);
    ~MessengerState() override;

    Vemo::String GetClassName() const override;
    bool ReadScript() override;
    // The messenger's script reading.
    bool Initialize() override;

    // The creation function registered under "State". The owner must be a MessengerStateGraph: without one
    // code 23, with another owner code 24, each with the quoted name, and no state.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

protected:
    // The owner as a state graph, or null after reporting code 23 or 24.
    static MessengerStateGraph* StateGraphOwner(const Vemo::String& name, Messenger* owner);
};
