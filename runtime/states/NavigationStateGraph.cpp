#include "runtime/states/NavigationStateGraph.h"

#include "script/MessengerFactory.h"
#include "script/MessengerRecursiveState.h"

namespace {

const MessengerFactory::Registrar g_graphRegistrar(NavigationStateGraph::ClassWord(),
                                                   &NavigationStateGraph::Create);

} // namespace

NavigationStateGraph::NavigationStateGraph(const Vemo::String& name, Messenger* owner, Script* script,
                                           Vemo::State* ownerState)
    : MessengerStateGraph(name, owner, script, ownerState) {}

NavigationStateGraph::~NavigationStateGraph() = default;

const Vemo::String& NavigationStateGraph::ClassWord() {
    static const Vemo::String* const word = new Vemo::String("NavigationStateGraph");
    return *word;
}

Vemo::String NavigationStateGraph::GetClassName() const {
    return ClassWord();
}

Messenger* NavigationStateGraph::Create(const Vemo::String& name, Messenger* owner, Script* script) {
    auto* recursiveState = dynamic_cast<MessengerRecursiveState*>(owner);
    Vemo::State* ownerState = recursiveState != nullptr ? static_cast<Vemo::State*>(recursiveState) : nullptr;
    auto* graph =
        new NavigationStateGraph(name, recursiveState != nullptr ? owner : nullptr, script, ownerState);
    if (!graph->ReadScript()) {
        delete graph;
        return nullptr;
    }
    return graph;
}
