// The scripted state graph whose states are navigation states: the title's graph of screens, created by the
// application from the "Graph" key of its "App" section. It reads its states and transitions as every
// MessengerStateGraph does; its states are numbered from 257.
//
// Its class word is "NavigationStateGraph".
#pragma once

#include "script/MessengerStateGraph.h"

class NavigationStateGraph : public MessengerStateGraph {
public:
    NavigationStateGraph(const Vemo::String& name, Messenger* owner, Script* script, Vemo::State* ownerState);
    ~NavigationStateGraph() override;

    Vemo::String GetClassName() const override;

    // The creation function registered under "NavigationStateGraph". A graph created by a recursive state
    // runs inside that state; any other owner (the application) leaves it without a parent state.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
};
