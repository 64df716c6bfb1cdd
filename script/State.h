// One state of a state graph. The graph makes it current with Enter, updates it once per step while it is
// current and leaves it with Exit; the state asks to move on by signalling an outcome.
#pragma once

#include <cstdint>

namespace Vemo {

class Action;
class StateGraph;

class State {
public:
    // The id is the state's key in its graph and must be unique there.
    State(StateGraph* graph, std::uint32_t id);
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    virtual ~State();

    virtual bool Initialize();
    // False refuses to become current; the graph then goes to its fallback state.
    virtual bool Enter();
    virtual void Update();
    // False: the graph goes to its fallback state instead of the transition's target.
    virtual bool Exit();
    // Asks the graph to leave this state on the outcome; the transition made pending, or null when there is
    // none (or the state has no graph).
    virtual Action* Signal(std::uint32_t outcome);

    StateGraph* GetGraph() const { return m_graph; }
    std::uint32_t GetId() const { return m_id; }

private:
    StateGraph* m_graph;
    std::uint32_t m_id;
};

} // namespace Vemo
