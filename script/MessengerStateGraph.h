// A state graph under script control: a messenger whose section names its states and declares its
// transitions, and the Vemo::StateGraph that runs them. Every state is a messenger of its own, created
// through the MessengerFactory with the graph as its owner.
//
// Section keys (besides those of every messenger):
//   StartState=name   the start state (exactly one)     AutoAction=N, name      every other state goes to
//   EndState=name     an end state                                              name on outcome N
//   State=name        an ordinary state                 Action=from, N, to      from goes to to on outcome N
// An outcome N written in a script is the internal outcome N + 256; the outcomes up to 255 belong to the
// state graph itself. The states are created in the order of their keys and numbered from 257 in that order;
// then the auto actions are declared, then the actions.
//
// Its class word is "StateGraph".
#pragma once

#include "foundation/BasicSet.h"
#include "foundation/String.h"
#include "script/Messenger.h"
#include "script/StateGraph.h"

#include <cstdint>

class MessengerState;

constexpr Vemo::ErrorCode MessengerStateGraphErrorCode(std::uint16_t number) {
    return Vemo::MakeErrorCode(Vemo::kMessengerStateGraphFacility, number);
}

class MessengerStateGraph : public Messenger, public Vemo::StateGraph {
public:
    // Script outcomes start here.
    static constexpr std::uint32_t kScriptOutcomeBase = 256;
    // Scripted states are numbered from one above it, so they never meet the fallback state's id.
    static constexpr std::uint32_t kStateIdBase = 256;

    // Raised by MessengerRecursiveState: a name in its "AutoProgress" is not a state of the nested graph.
    static constexpr Vemo::ErrorCode kErrorNoSuchState = MessengerStateGraphErrorCode(1);
    static constexpr Vemo::ErrorCode kErrorCreateState = MessengerStateGraphErrorCode(4);
    static constexpr Vemo::ErrorCode kErrorNoStartState = MessengerStateGraphErrorCode(5);
    static constexpr Vemo::ErrorCode kErrorNegativeOutcome = MessengerStateGraphErrorCode(7);
    static constexpr Vemo::ErrorCode kErrorNoSource = MessengerStateGraphErrorCode(8);
    static constexpr Vemo::ErrorCode kErrorNoTarget = MessengerStateGraphErrorCode(9);
    static constexpr Vemo::ErrorCode kErrorActionRefused = MessengerStateGraphErrorCode(10);
    static constexpr Vemo::ErrorCode kErrorNotAState = MessengerStateGraphErrorCode(11);
    static constexpr Vemo::ErrorCode kErrorSecondAutoAction = MessengerStateGraphErrorCode(13);

    // An outcome that leads from every state to one target.
    struct AutoActionRecord {
        std::uint32_t outcome;
        Vemo::String targetName;
        MessengerState* target;
    };

    struct AutoActionRecordLess {
        bool operator()(const AutoActionRecord& a, const AutoActionRecord& b) const {
            return a.outcome < b.outcome;
        }
    };

    // The owner state is the state that runs this graph inside it, or null.
    MessengerStateGraph(const Vemo::String& name, Messenger* parent, Script* script, Vemo::State* ownerState);
    // Deletes every state of the graph, then the messenger.
    ~MessengerStateGraph() override;

    Vemo::String GetClassName() const override;
    // The messenger's reading, then the graph's Initialize, which reads the states and transitions.
    bool ReadScript() override;
    // The messenger's script reading.
    bool Initialize() override;
    // Creates the state named through the factory and adds it with the kind.
    virtual bool CreateState(const Vemo::String& name, std::uint32_t kind);

    bool ReadStates() override;
    // Also gives the new state every auto action, in outcome order.
    bool AddState(Vemo::State* state, std::uint32_t kind) override;
    // Also drops the auto actions that lead to the state.
    bool RemoveState(Vemo::State* state) override;

    // Outcomes are internal ones. Names are resolved among the graph's messengers.
    bool AddActionByName(const Vemo::String& from, std::uint32_t outcome, const Vemo::String& to);
    bool AddAutoAction(std::uint32_t outcome, const Vemo::String& name);
    // Whether the state named is in the graph as a state of that kind: 0 ordinary (neither start nor end
    // state), 1 the start state, 2 an end state.
    bool IsStateOfKind(const Vemo::String& name, std::uint32_t kind);

    // The id of the next state created for this graph: 257, 258, ... in creation order.
    std::uint32_t TakeNextStateId() { return ++m_nextStateId; }

    const Vemo::BasicSet<AutoActionRecord, AutoActionRecordLess>& GetAutoActions() const {
        return m_autoActions;
    }

    // The creation function registered under "StateGraph". A graph created by a MessengerRecursiveState runs
    // inside that state.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();
    // Error 7 for a script outcome beyond the range of outcomes, its text the number as written: a number
    // cut or wrapped to fit would quietly name another outcome.
    static void ReportOutcomeOutOfRange(const Fragment& written);

private:
    MessengerState* FindStateByName(const Vemo::String& name);
    bool ReadAutoActions();
    bool ReadActions();

    Vemo::BasicSet<AutoActionRecord, AutoActionRecordLess> m_autoActions;
    std::uint32_t m_nextStateId = kStateIdBase;
};
