#include "script/StateGraph.h"

#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Vemo::Action;
using Vemo::State;
using Vemo::StateGraph;
using VemoTest::Reports;
using VemoTest::TestApplication;

using Log = std::vector<std::string>;

// A state that writes what the graph does with it into a log, and can refuse Enter or Exit or signal from
// Enter, Update and Exit.
class ProbeState : public State {
public:
    ProbeState(StateGraph* graph, std::uint32_t id, Log* log, int* destroyed)
        : State(graph, id), m_log(log), m_destroyed(destroyed) {}
    ~ProbeState() override { ++*m_destroyed; }

    bool Enter() override {
        Note("enter");
        SignalIfSet(m_signalOnEnter);
        return m_enterResult;
    }
    void Update() override {
        Note("update");
        SignalIfSet(m_signalOnUpdate);
    }
    bool Exit() override {
        Note("exit");
        SignalIfSet(m_signalOnExit);
        return m_exitResult;
    }

    std::optional<std::uint32_t> m_signalOnEnter;
    std::optional<std::uint32_t> m_signalOnUpdate;
    std::optional<std::uint32_t> m_signalOnExit;
    bool m_enterResult = true;
    bool m_exitResult = true;

private:
    void Note(const char* what) { m_log->push_back(std::string(what) + " " + std::to_string(GetId())); }
    void SignalIfSet(std::optional<std::uint32_t>& outcome) {
        if (outcome) {
            Signal(*outcome);
        }
    }

    Log* m_log;
    int* m_destroyed;
};

// The fallback state is a plain State: it writes nothing to the log.
class StateGraphTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_graph->Initialize()); }

    ProbeState* Add(std::uint32_t id, std::uint32_t kind = StateGraph::kOrdinaryState) {
        auto* state = new ProbeState(m_graph.get(), id, &m_log, &m_destroyed);
        EXPECT_TRUE(m_graph->AddState(state, kind));
        return state;
    }

    Log TakeLog() {
        Log taken;
        taken.swap(m_log);
        return taken;
    }

    TestApplication m_application;
    Log m_log;
    int m_destroyed = 0;
    std::unique_ptr<StateGraph> m_graph = std::make_unique<StateGraph>();
};

TEST_F(StateGraphTest, TheFallbackStateIsAnEndStateWithoutATransitionOfItsOwn) {
    State* fallback = m_graph->GetFallbackState();
    ASSERT_NE(fallback, nullptr);
    EXPECT_EQ(fallback->GetId(), 1u);
    EXPECT_EQ(m_graph->FindState(1), fallback);
    EXPECT_TRUE(m_graph->IsEndState(fallback));
    EXPECT_TRUE(m_graph->GetActions().Empty());
    EXPECT_EQ(m_graph->Signal(fallback, 7), nullptr);
}

TEST_F(StateGraphTest, AStateWithoutATransitionForTheOutcomeFallsBack) {
    ProbeState* start = Add(2, StateGraph::kStartState);
    ASSERT_TRUE(m_graph->Start());
    Action* pending = start->Signal(300);
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(pending->GetOutcome(), StateGraph::kFallbackOutcome);
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), m_graph->GetFallbackState());
    EXPECT_EQ(m_graph->GetReachedEndState(), m_graph->GetFallbackState());
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(StateGraphTest, AStepUpdatesLeavesEntersAndUpdatesTheNewState) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->Start());
    m_graph->Step();
    a->Signal(257);
    m_graph->Step();
    EXPECT_EQ(TakeLog(), (Log{"enter 2", "update 2", "update 2", "exit 2", "enter 3", "update 3"}));
    EXPECT_EQ(m_graph->GetCurrentState(), b);
    EXPECT_EQ(m_graph->GetReachedEndState(), nullptr);
}

TEST_F(StateGraphTest, TheLastSignalBeforeAStepWins) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ProbeState* c = Add(4);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(a, c, 258));
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    a->Signal(258);
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), c);
}

TEST_F(StateGraphTest, ASignalFromEnterIsFollowedAtOnceWithoutUpdatingTheStatePassedThrough) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ProbeState* c = Add(4);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(b, c, 257));
    b->m_signalOnEnter = 257;
    a->m_signalOnUpdate = 257;
    ASSERT_TRUE(m_graph->Start());
    TakeLog();
    m_graph->Step();
    EXPECT_EQ(TakeLog(), (Log{"update 2", "exit 2", "enter 3", "exit 3", "enter 4", "update 4"}));
    EXPECT_EQ(m_graph->GetCurrentState(), c);
}

TEST_F(StateGraphTest, ASignalFromExitIsFollowedInTheSameStep) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ProbeState* c = Add(4);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(a, c, 258));
    a->m_signalOnExit = 258;
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    TakeLog();
    m_graph->Step();
    // The exit's signal stays pending through b's entry, so b gets no update, and is then carried out. It
    // was raised by a, but a transition always leaves the current state.
    EXPECT_EQ(TakeLog(), (Log{"update 2", "exit 2", "enter 3", "exit 3", "enter 4", "update 4"}));
    EXPECT_EQ(m_graph->GetCurrentState(), c);
}

TEST_F(StateGraphTest, ASignalFromEnterReplacesOneFromTheExitBeforeIt) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ProbeState* c = Add(4);
    ProbeState* d = Add(5);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(a, c, 258));
    ASSERT_TRUE(m_graph->AddAction(b, d, 259));
    a->m_signalOnExit = 258;
    b->m_signalOnEnter = 259;
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), d);
}

TEST_F(StateGraphTest, ARefusedExitGoesToTheFallbackStateInsteadOfTheTarget) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    a->m_exitResult = false;
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), m_graph->GetFallbackState());
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorExit}));
}

TEST_F(StateGraphTest, ARefusedEnterLeavesTheFallbackStateCurrent) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    b->m_enterResult = false;
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    TakeLog();
    m_graph->Step();
    EXPECT_EQ(TakeLog(), (Log{"update 2", "exit 2", "enter 3"}));
    EXPECT_EQ(m_graph->GetCurrentState(), m_graph->GetFallbackState());
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorEnter}));
}

TEST_F(StateGraphTest, StartEntersTheStartStateOrReportsWhyItCannot) {
    EXPECT_FALSE(m_graph->Start());
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorStart}));

    ProbeState* start = Add(2, StateGraph::kStartState);
    start->m_enterResult = false;
    EXPECT_FALSE(m_graph->Start());
    EXPECT_EQ(m_graph->GetCurrentState(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorStart}));

    start->m_enterResult = true;
    EXPECT_TRUE(m_graph->Start());
    EXPECT_EQ(m_graph->GetCurrentState(), start);
}

TEST_F(StateGraphTest, StopLeavesTheCurrentStateAndDropsThePendingTransition) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    TakeLog();
    EXPECT_TRUE(m_graph->Stop());
    EXPECT_EQ(TakeLog(), (Log{"exit 2"}));
    EXPECT_EQ(m_graph->GetCurrentState(), nullptr);
    EXPECT_EQ(m_graph->GetPendingAction(), nullptr);
    m_graph->Step();
    EXPECT_TRUE(TakeLog().empty());
}

struct GraphErrorCase {
    const char* name;
    Vemo::ErrorCode code;
    // Runs the failing call on a graph holding states 2 (start) and 3 and the transition (2, 257) -> 3.
    bool (*call)(StateGraph& graph, State& outsider);
};

class StateGraphErrorTest : public StateGraphTest, public testing::WithParamInterface<GraphErrorCase> {};

TEST_P(StateGraphErrorTest, ReportsAndRefuses) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    State outsider(m_graph.get(), 99);
    m_application.TakeReports();
    EXPECT_FALSE(GetParam().call(*m_graph, outsider));
    EXPECT_EQ(m_application.TakeReports(), (Reports{GetParam().code}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StateGraphErrorTest,
    testing::Values(GraphErrorCase{"SecondStartState", StateGraph::kErrorSecondStartState,
                                   [](StateGraph& graph, State& outsider) {
                                       return graph.AddState(&outsider, StateGraph::kStartState);
                                   }},
                    GraphErrorCase{"DuplicateId", StateGraph::kErrorDuplicateState,
                                   [](StateGraph& graph, State&) {
                                       State twin(&graph, 3);
                                       return graph.AddState(&twin, StateGraph::kOrdinaryState);
                                   }},
                    GraphErrorCase{
                        "RemoveUnknownState", StateGraph::kErrorUnknownState,
                        [](StateGraph& graph, State& outsider) { return graph.RemoveState(&outsider); }},
                    GraphErrorCase{"UnknownSource", StateGraph::kErrorUnknownSource,
                                   [](StateGraph& graph, State& outsider) {
                                       return graph.AddAction(&outsider, graph.FindState(2), 257);
                                   }},
                    GraphErrorCase{"UnknownTarget", StateGraph::kErrorUnknownTarget,
                                   [](StateGraph& graph, State& outsider) {
                                       return graph.AddAction(graph.FindState(2), &outsider, 258);
                                   }},
                    // The target takes no part in the key.
                    GraphErrorCase{"SecondActionForTheOutcome", StateGraph::kErrorDuplicateAction,
                                   [](StateGraph& graph, State&) {
                                       return graph.AddAction(graph.FindState(2), graph.GetFallbackState(),
                                                              257);
                                   }},
                    GraphErrorCase{"RemoveUnknownAction", StateGraph::kErrorUnknownAction,
                                   [](StateGraph& graph, State&) {
                                       return graph.RemoveAction(graph.FindState(3), graph.FindState(2), 257);
                                   }}),
    [](const testing::TestParamInfo<GraphErrorCase>& info) { return std::string(info.param.name); });

TEST_F(StateGraphTest, RemovingAStateRemovesItsTransitionsBothWaysAndTheStartState) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ProbeState* c = Add(4);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(b, c, 257));
    ASSERT_TRUE(m_graph->AddAction(c, a, 258));
    ASSERT_TRUE(m_graph->RemoveState(a));
    EXPECT_EQ(m_graph->GetStartState(), nullptr);
    EXPECT_EQ(m_graph->FindState(2), nullptr);
    // Left: b -> c on 257 and the fallback transitions of b and c.
    ASSERT_EQ(m_graph->GetActions().Size(), 3u);
    for (const Action* action : m_graph->GetActions()) {
        EXPECT_NE(action->GetSource(), a);
        EXPECT_NE(action->GetTarget(), a);
    }
    delete a;
    EXPECT_EQ(m_destroyed, 1);
}

TEST_F(StateGraphTest, RemovingThePendingTransitionLeavesNothingPending) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->Start());
    ASSERT_NE(a->Signal(257), nullptr);
    ASSERT_TRUE(m_graph->RemoveAction(a, b, 257));
    EXPECT_EQ(m_graph->GetPendingAction(), nullptr);
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), a);
}

TEST_F(StateGraphTest, RemovingTheTargetOfThePendingTransitionLeavesNothingPending) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    ASSERT_TRUE(m_graph->RemoveState(b));
    delete b;
    m_graph->Step();
    EXPECT_EQ(m_graph->GetCurrentState(), a);
}

TEST_F(StateGraphTest, AnAddedStateWhoseFallbackTransitionIsRefusedIsTakenOutAgain) {
    class RefusingGraph : public StateGraph {
    public:
        bool AddAction(State* from, State* to, std::uint32_t outcome) override {
            return m_refuse ? false : StateGraph::AddAction(from, to, outcome);
        }
        bool m_refuse = false;
    };
    RefusingGraph graph;
    ASSERT_TRUE(graph.Initialize());
    graph.m_refuse = true;
    State state(&graph, 2);
    EXPECT_FALSE(graph.AddState(&state, StateGraph::kStartState));
    EXPECT_EQ(graph.FindState(2), nullptr);
    EXPECT_EQ(graph.GetStartState(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorFallbackAction}));
}

TEST_F(StateGraphTest, AFailingReadStatesFailsInitialize) {
    class UnreadableGraph : public StateGraph {
    public:
        bool ReadStates() override { return false; }
    };
    UnreadableGraph graph;
    EXPECT_FALSE(graph.Initialize());
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorReadStates}));
}

TEST_F(StateGraphTest, TheGraphDeletesEveryStateAndTransition) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3, StateGraph::kEndState);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->Start());
    a->Signal(257);
    m_graph.reset();
    EXPECT_EQ(m_destroyed, 2);
}

TEST_F(StateGraphTest, ACycleOfSignallingStatesStopsAtTheBoundAndGoesOnNextStep) {
    ProbeState* a = Add(2, StateGraph::kStartState);
    ProbeState* b = Add(3);
    ASSERT_TRUE(m_graph->AddAction(a, b, 257));
    ASSERT_TRUE(m_graph->AddAction(b, a, 257));
    a->m_signalOnEnter = 257;
    b->m_signalOnEnter = 257;
    ASSERT_TRUE(m_graph->Start());
    TakeLog();

    m_graph->Step();
    EXPECT_EQ(TakeLog().size(), 1 + 2 * StateGraph::kMaxTransitionsPerStep);
    EXPECT_NE(m_graph->GetPendingAction(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorTransitionBound}));

    // No update for the state the previous step stopped in.
    m_graph->Step();
    EXPECT_EQ(TakeLog().size(), 2 * StateGraph::kMaxTransitionsPerStep);
    EXPECT_TRUE(m_application.TakeReports().empty());

    m_graph->Stop();
    ASSERT_TRUE(m_graph->Start());
    m_graph->Step();
    EXPECT_EQ(m_application.TakeReports(), (Reports{StateGraph::kErrorTransitionBound}));
}

TEST_F(StateGraphTest, ALongChainIsFinishedByTheNextStepWithoutLosingATransition) {
    const std::uint32_t length = StateGraph::kMaxTransitionsPerStep + 20;
    std::vector<ProbeState*> chain;
    for (std::uint32_t i = 0; i <= length; ++i) {
        chain.push_back(Add(2 + i, i == 0 ? StateGraph::kStartState : StateGraph::kOrdinaryState));
    }
    for (std::uint32_t i = 0; i < length; ++i) {
        ASSERT_TRUE(m_graph->AddAction(chain[i], chain[i + 1], 257));
        chain[i]->m_signalOnEnter = 257;
    }
    ASSERT_TRUE(m_graph->Start());
    m_graph->Step();
    State* reached = m_graph->GetCurrentState();
    EXPECT_EQ(reached, chain[StateGraph::kMaxTransitionsPerStep]);
    TakeLog();

    // The state the chain stopped in gets no update: the chain goes on from it.
    m_graph->Step();
    const Log log = TakeLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "exit " + std::to_string(reached->GetId()));
    EXPECT_EQ(log.back(), "update " + std::to_string(2 + length));
    EXPECT_EQ(m_graph->GetCurrentState(), chain[length]);
}

} // namespace
