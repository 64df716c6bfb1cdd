#include "script/State.h"

#include "script/StateGraph.h"

namespace Vemo {

State::State(StateGraph* graph, std::uint32_t id) : m_graph(graph), m_id(id) {}

State::~State() = default;

bool State::Initialize() {
    return true;
}

bool State::Enter() {
    return true;
}

void State::Update() {}

bool State::Exit() {
    return true;
}

Action* State::Signal(std::uint32_t outcome) {
    return m_graph != nullptr ? m_graph->Signal(this, outcome) : nullptr;
}

} // namespace Vemo
