// A state machine: states keyed by id, transitions keyed by (source state, outcome), a start state, end
// states and a built-in fallback state (id 1) that every state reaches on outcome 1 and on any outcome it has
// no transition for.
//
// A state signals an outcome; the graph makes the matching transition pending (the last signal before a step
// wins) and the next Step carries it out: the current state's Exit, then the target's Enter. Signals raised
// meanwhile are followed in the same step, up to kMaxTransitionsPerStep transitions; what is left pending
// then is carried out by the next step, so a cycle of signalling states cannot hold the program in one frame.
//
// The graph owns its states and its transitions.
#pragma once

#include "foundation/BasicSet.h"
#include "resources/error/ErrorCode.h"
#include "resources/error/ErrorFacilities.h"
#include "script/State.h"

#include <cstdint>

namespace Vemo {

// A transition: leaving source on outcome goes to target.
class Action {
public:
    Action(State* source, State* target, std::uint32_t outcome)
        : m_source(source), m_target(target), m_outcome(outcome) {}
    Action(const Action&) = delete;
    Action& operator=(const Action&) = delete;
    virtual ~Action();

    State* GetSource() const { return m_source; }
    State* GetTarget() const { return m_target; }
    std::uint32_t GetOutcome() const { return m_outcome; }

private:
    State* m_source;
    State* m_target;
    std::uint32_t m_outcome;
};

// By ascending id.
struct StateSort {
    bool operator()(const State* a, const State* b) const { return a->GetId() < b->GetId(); }
};

// By the source's id, then the outcome; the target takes no part, so one transition per (source, outcome).
struct ActionSort {
    bool operator()(const Action* a, const Action* b) const {
        const std::uint32_t aId = a->GetSource()->GetId();
        const std::uint32_t bId = b->GetSource()->GetId();
        return aId != bId ? aId < bId : a->GetOutcome() < b->GetOutcome();
    }
};

class StateGraph {
public:
    enum StateKind : std::uint32_t { kOrdinaryState = 0, kStartState = 1, kEndState = 2 };

    static constexpr std::uint32_t kFallbackStateId = 1;
    static constexpr std::uint32_t kFallbackOutcome = 1;
    static constexpr std::uint32_t kMaxTransitionsPerStep = 100;

    static constexpr ErrorCode kErrorFallbackInitialize = MakeErrorCode(kStateGraphFacility, 1);
    static constexpr ErrorCode kErrorFallbackAdd = MakeErrorCode(kStateGraphFacility, 2);
    static constexpr ErrorCode kErrorReadStates = MakeErrorCode(kStateGraphFacility, 3);
    static constexpr ErrorCode kErrorStart = MakeErrorCode(kStateGraphFacility, 4);
    static constexpr ErrorCode kErrorExit = MakeErrorCode(kStateGraphFacility, 5);
    static constexpr ErrorCode kErrorEnter = MakeErrorCode(kStateGraphFacility, 6);
    static constexpr ErrorCode kErrorSecondStartState = MakeErrorCode(kStateGraphFacility, 7);
    static constexpr ErrorCode kErrorDuplicateState = MakeErrorCode(kStateGraphFacility, 8);
    static constexpr ErrorCode kErrorFallbackAction = MakeErrorCode(kStateGraphFacility, 9);
    static constexpr ErrorCode kErrorUnknownState = MakeErrorCode(kStateGraphFacility, 10);
    static constexpr ErrorCode kErrorUnknownSource = MakeErrorCode(kStateGraphFacility, 11);
    static constexpr ErrorCode kErrorUnknownTarget = MakeErrorCode(kStateGraphFacility, 12);
    static constexpr ErrorCode kErrorDuplicateAction = MakeErrorCode(kStateGraphFacility, 13);
    static constexpr ErrorCode kErrorUnknownAction = MakeErrorCode(kStateGraphFacility, 14);
    // A step reached kMaxTransitionsPerStep; reported once per Start.
    static constexpr ErrorCode kErrorTransitionBound = MakeErrorCode(kStateGraphFacility, 15);

    // The owner is the state that runs this graph inside it, or null for a top-level graph.
    explicit StateGraph(State* owner = nullptr);
    StateGraph(const StateGraph&) = delete;
    StateGraph& operator=(const StateGraph&) = delete;
    // Deletes every transition and every state, the fallback state included.
    virtual ~StateGraph();

    virtual void SetOwner(State* owner);
    // Adds the fallback state, then ReadStates.
    virtual bool Initialize();
    // Enters the start state, which becomes current. Without a start state, or when it refuses, the graph
    // stays idle; both are reported.
    virtual bool Start();
    // Updates the current state, then carries out what is pending (see above).
    virtual void Step();
    // Leaves the current state (its refusal is not looked at); nothing is current or pending afterwards.
    virtual bool Stop();
    virtual Action* Signal(State* state, std::uint32_t outcome);
    // The current state when it is an end state, else null.
    virtual State* GetReachedEndState();
    // Where a derived graph adds its states and transitions; the fallback state exists already.
    virtual bool ReadStates();
    // The graph takes the state over. A state added while the fallback state exists gets a transition to it
    // on outcome 1.
    virtual bool AddState(State* state, std::uint32_t kind);
    // Removes the state's transitions in both directions and the state, without deleting it; the caller does.
    virtual bool RemoveState(State* state);
    virtual bool AddAction(State* from, State* to, std::uint32_t outcome);
    // Deletes the transition of (from, outcome), whatever its target; a pending transition so deleted is no
    // longer pending.
    virtual bool RemoveAction(State* from, State* to, std::uint32_t outcome);

    State* FindState(std::uint32_t id) const;
    bool IsEndState(const State* state) const;

    State* GetOwner() const { return m_owner; }
    State* GetStartState() const { return m_startState; }
    State* GetFallbackState() const { return m_fallbackState; }
    State* GetCurrentState() const { return m_currentState; }
    Action* GetPendingAction() const { return m_pendingAction; }
    const BasicSet<State*, StateSort>& GetStates() const { return m_states; }
    const BasicSet<State*, StateSort>& GetEndStates() const { return m_endStates; }
    const BasicSet<Action*, ActionSort>& GetActions() const { return m_actions; }

private:
    Action* FindAction(std::uint32_t sourceId, std::uint32_t outcome) const;
    // The fallback state becomes current and is entered; its refusal is not looked at.
    void EnterFallbackState();
    void Transition();

    State* m_startState = nullptr;
    BasicSet<State*, StateSort> m_endStates;
    BasicSet<State*, StateSort> m_states;
    State* m_fallbackState = nullptr;
    State* m_currentState = nullptr;
    BasicSet<Action*, ActionSort> m_actions;
    Action* m_pendingAction = nullptr;
    State* m_owner;
    // The previous step stopped at the transition bound with a transition pending.
    bool m_stoppedAtBound = false;
    bool m_boundReported = false;
};

} // namespace Vemo
