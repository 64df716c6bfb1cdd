#include "script/StateGraph.h"

#include "resources/error/Error.h"

namespace Vemo {

Action::~Action() = default;

StateGraph::StateGraph(State* owner) : m_owner(owner) {}

StateGraph::~StateGraph() {
    while (!m_actions.Empty()) {
        Action* first = *m_actions.Begin();
        StateGraph::RemoveAction(first->GetSource(), first->GetTarget(), first->GetOutcome());
    }
    m_fallbackState = nullptr;
    while (!m_states.Empty()) {
        State* first = *m_states.Begin();
        StateGraph::RemoveState(first);
        delete first;
    }
}

void StateGraph::SetOwner(State* owner) {
    m_owner = owner;
}

bool StateGraph::Initialize() {
    State* fallback = new State(this, kFallbackStateId);
    if (!fallback->Initialize()) {
        delete fallback;
        RaiseError(kErrorFallbackInitialize);
        return false;
    }
    if (!AddState(fallback, kEndState)) {
        if (FindState(kFallbackStateId) != fallback) {
            delete fallback;
        }
        RaiseError(kErrorFallbackAdd);
        return false;
    }
    m_fallbackState = fallback;
    if (!ReadStates()) {
        RaiseError(kErrorReadStates);
        return false;
    }
    return true;
}

bool StateGraph::Start() {
    m_boundReported = false;
    m_stoppedAtBound = false;
    if (m_startState == nullptr || !m_startState->Enter()) {
        RaiseError(kErrorStart);
        return false;
    }
    m_currentState = m_startState;
    return true;
}

void StateGraph::Step() {
    // A transition left pending at the bound continues the chain of the previous step, whose last state
    // entered got no update.
    if (m_currentState != nullptr && !m_stoppedAtBound) {
        m_currentState->Update();
    }
    m_stoppedAtBound = false;
    std::uint32_t transitions = 0;
    while (m_pendingAction != nullptr) {
        if (transitions == kMaxTransitionsPerStep) {
            m_stoppedAtBound = true;
            if (!m_boundReported) {
                m_boundReported = true;
                RaiseError(kErrorTransitionBound);
            }
            return;
        }
        ++transitions;
        Transition();
    }
}

void StateGraph::Transition() {
    // The pending transition is taken before the exit, so that a signal raised by the exit is followed too.
    State* next = m_pendingAction->GetTarget();
    m_pendingAction = nullptr;
    if (m_currentState != nullptr && !m_currentState->Exit()) {
        RaiseError(kErrorExit);
        if (m_fallbackState != nullptr) {
            next = m_fallbackState;
        }
    }
    m_currentState = next;
    if (!next->Enter()) {
        RaiseError(kErrorEnter);
        EnterFallbackState();
    }
    if (m_pendingAction == nullptr && m_currentState != nullptr) {
        m_currentState->Update();
    }
}

void StateGraph::EnterFallbackState() {
    m_currentState = m_fallbackState;
    if (m_fallbackState != nullptr) {
        m_fallbackState->Enter();
    }
}

bool StateGraph::Stop() {
    if (m_currentState != nullptr) {
        m_currentState->Exit();
    }
    m_currentState = nullptr;
    m_pendingAction = nullptr;
    m_stoppedAtBound = false;
    return true;
}

Action* StateGraph::Signal(State* state, std::uint32_t outcome) {
    m_pendingAction = nullptr;
    if (state != nullptr) {
        m_pendingAction = FindAction(state->GetId(), outcome);
        if (m_pendingAction == nullptr) {
            m_pendingAction = FindAction(state->GetId(), kFallbackOutcome);
        }
    }
    return m_pendingAction;
}

State* StateGraph::GetReachedEndState() {
    return m_currentState != nullptr && IsEndState(m_currentState) ? m_currentState : nullptr;
}

bool StateGraph::ReadStates() {
    return true;
}

bool StateGraph::AddState(State* state, std::uint32_t kind) {
    if (kind == kStartState && m_startState != nullptr) {
        RaiseError(kErrorSecondStartState);
        return false;
    }
    if (FindState(state->GetId()) != nullptr) {
        RaiseError(kErrorDuplicateState);
        return false;
    }
    m_states.Insert(state);
    if (m_fallbackState != nullptr && !AddAction(state, m_fallbackState, kFallbackOutcome)) {
        m_states.Erase(m_states.Find(state));
        RaiseError(kErrorFallbackAction);
        return false;
    }
    if (kind == kStartState) {
        m_startState = state;
    } else if (kind == kEndState) {
        m_endStates.Insert(state);
    }
    return true;
}

bool StateGraph::RemoveState(State* state) {
    const std::uint32_t id = state->GetId();
    if (FindState(id) == nullptr) {
        RaiseError(kErrorUnknownState);
        return false;
    }
    auto action = m_actions.Begin();
    while (action != m_actions.End()) {
        Action* current = *action;
        if (current->GetSource()->GetId() == id || current->GetTarget()->GetId() == id) {
            RemoveAction(current->GetSource(), current->GetTarget(), current->GetOutcome());
            action = m_actions.Begin();
        } else {
            ++action;
        }
    }
    if (m_startState != nullptr && m_startState->GetId() == id) {
        m_startState = nullptr;
    }
    const auto end = m_endStates.Find(state);
    if (end != m_endStates.End()) {
        m_endStates.Erase(end);
    }
    m_states.Erase(m_states.Find(state));
    return true;
}

bool StateGraph::AddAction(State* from, State* to, std::uint32_t outcome) {
    if (FindState(from->GetId()) == nullptr) {
        RaiseError(kErrorUnknownSource);
        return false;
    }
    if (FindState(to->GetId()) == nullptr) {
        RaiseError(kErrorUnknownTarget);
        return false;
    }
    if (FindAction(from->GetId(), outcome) != nullptr) {
        RaiseError(kErrorDuplicateAction);
        return false;
    }
    m_actions.Insert(new Action(from, to, outcome));
    return true;
}

bool StateGraph::RemoveAction(State* from, State*, std::uint32_t outcome) {
    Action* found = FindAction(from->GetId(), outcome);
    if (found == nullptr) {
        RaiseError(kErrorUnknownAction);
        return false;
    }
    m_actions.Erase(m_actions.Find(found));
    if (m_pendingAction == found) {
        m_pendingAction = nullptr;
    }
    delete found;
    return true;
}

State* StateGraph::FindState(std::uint32_t id) const {
    State probe(nullptr, id);
    const auto found = m_states.Find(&probe);
    return found != m_states.End() ? *found : nullptr;
}

bool StateGraph::IsEndState(const State* state) const {
    State probe(nullptr, state->GetId());
    return m_endStates.Find(&probe) != m_endStates.End();
}

Action* StateGraph::FindAction(std::uint32_t sourceId, std::uint32_t outcome) const {
    State source(nullptr, sourceId);
    Action probe(&source, nullptr, outcome);
    const auto found = m_actions.Find(&probe);
    return found != m_actions.End() ? *found : nullptr;
}

} // namespace Vemo
