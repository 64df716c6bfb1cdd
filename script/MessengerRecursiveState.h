// A state that runs a state graph of its own while it is current. Entering it starts the nested graph, each
// update steps it, and when the nested graph reaches one of its end states the state signals, in its own
// graph, the outcome that its "AutoProgress" values give that end state. Leaving it stops the nested graph,
// so every entry starts the nested graph again from its start state.
//
// Section keys (besides those of every messenger):
//   Graph=name              the section of the nested "StateGraph"; without it the state leaves on its first
//                           update through its fallback transition
//   AutoProgress=name, N    when the nested graph ends in its end state name, signal outcome N
//
// Its class word is "RecursiveState". The nested graph is a messenger child of the state and goes with it.
#pragma once

#include "foundation/BasicSet.h"
#include "script/MessengerState.h"

#include <cstdint>

class FragmentStream;
class MessengerStateGraph;

constexpr Vemo::ErrorCode MessengerRecursiveStateErrorCode(std::uint16_t number) {
    return Vemo::MakeErrorCode(Vemo::kMessengerRecursiveStateFacility, number);
}

class MessengerRecursiveState : public MessengerState {
public:
    static constexpr Vemo::ErrorCode kErrorReadGraph = MessengerRecursiveStateErrorCode(1);
    static constexpr Vemo::ErrorCode kErrorStart = MessengerRecursiveStateErrorCode(2);
    static constexpr Vemo::ErrorCode kErrorStop = MessengerRecursiveStateErrorCode(3);
    static constexpr Vemo::ErrorCode kErrorEmptyGraphName = MessengerRecursiveStateErrorCode(5);
    static constexpr Vemo::ErrorCode kErrorNotAGraph = MessengerRecursiveStateErrorCode(6);
    static constexpr Vemo::ErrorCode kErrorUnknownEndState = MessengerRecursiveStateErrorCode(8);
    static constexpr Vemo::ErrorCode kErrorSecondAutoProgress = MessengerRecursiveStateErrorCode(9);
    static constexpr Vemo::ErrorCode kErrorNotAnEndState = MessengerRecursiveStateErrorCode(11);
    static constexpr Vemo::ErrorCode kErrorNoAutoProgress = MessengerRecursiveStateErrorCode(12);

    // The outcome (internal numbering) to signal when the nested graph ends in an end state.
    struct AutoProgressRecord {
        std::uint32_t endStateId;
        std::uint32_t outcome;
    };

    struct AutoProgressRecordLess {
        bool operator()(const AutoProgressRecord& a, const AutoProgressRecord& b) const {
            return a.endStateId < b.endStateId;
        }
    };

    MessengerRecursiveState(const Vemo::String& name, MessengerStateGraph* owner, Script* script);
    ~MessengerRecursiveState() override;

    Vemo::String GetClassName() const override;
    // The messenger's reading, then ReadGraph.
    bool ReadScript() override;
    // Creates the nested graph and reads the "AutoProgress" values.
    virtual bool ReadGraph();
    // Signals the outcome for the nested graph's end state; the fallback outcome for the nested fallback
    // state and for an end state without "AutoProgress".
    virtual void OnNestedGraphEnd(std::uint32_t endStateId);

    bool Enter() override;
    void Update() override;
    bool Exit() override;

    MessengerStateGraph* GetNestedGraph() const { return m_nestedGraph; }
    const Vemo::BasicSet<AutoProgressRecord, AutoProgressRecordLess>& GetAutoProgress() const {
        return m_autoProgress;
    }

    // The creation function registered under "RecursiveState"; the owner must be a MessengerStateGraph.
    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script);
    static const Vemo::String& ClassWord();

private:
    bool ReadNestedGraph(const Vemo::String& name);
    bool ReadAutoProgress(FragmentStream& value);

    MessengerStateGraph* m_nestedGraph = nullptr;
    Vemo::BasicSet<AutoProgressRecord, AutoProgressRecordLess> m_autoProgress;
};
