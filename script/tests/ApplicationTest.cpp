#include "script/Application.h"

#include "resources/testing/TestResourceFamily.h"
#include "script/StateGraph.h"
#include "script/tests/ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <new>

namespace {

using ApplicationTest::BaseApplication;
using ApplicationTest::Log;
using Vemo::Application;
using Vemo::StateGraph;
using VemoTest::Reports;
using VemoTest::TestApplication;

// A graph with one start state that counts its updates, and whose Stop can be made to fail.
class CountingGraph : public StateGraph {
public:
    class CountingState : public Vemo::State {
    public:
        CountingState(StateGraph* graph, int* updates) : State(graph, 2), m_updates(updates) {}
        void Update() override { ++*m_updates; }

    private:
        int* m_updates;
    };

    CountingGraph(int* updates, bool* destroyed, bool withStartState = true) : m_destroyed(destroyed) {
        Initialize();
        if (withStartState) {
            AddState(new CountingState(this, updates), kStartState);
        }
    }
    ~CountingGraph() override { *m_destroyed = true; }

    bool Stop() override { return StateGraph::Stop() && !m_failStop; }

    bool m_failStop = false;

private:
    bool* m_destroyed;
};

class ApplicationTestFixture : public testing::Test {
protected:
    TestApplication m_systems;
    BaseApplication m_application;
    const Vemo::BasicArray<Vemo::String> m_noArguments{};
};

using ApplicationLifeTest = ApplicationTestFixture;

TEST_F(ApplicationLifeTest, TheApplicationIsCurrentWhileItLives) {
    EXPECT_EQ(Vemo::GetApplication(), &m_application);
    {
        BaseApplication other;
        EXPECT_EQ(Vemo::GetApplication(), &other);
    }
    EXPECT_EQ(Vemo::GetApplication(), nullptr);
}

TEST_F(ApplicationLifeTest, TheNameIsTheConstructorsUntilSet) {
    EXPECT_STREQ(m_application.GetName().CStr(), "Life");
    EXPECT_TRUE(m_application.SetName("Quorven"));
    EXPECT_STREQ(m_application.GetName().CStr(), "Quorven");
}

TEST_F(ApplicationLifeTest, TheAuxiliarySlotsDoNothingAndItsHooksAnswerTrue) {
    m_application.AuxiliaryOperationA();
    m_application.AuxiliaryOperationB();
    EXPECT_TRUE(m_application.AuxiliaryHookA());
    EXPECT_TRUE(m_application.AuxiliaryHookB());
    EXPECT_TRUE(m_application.TakeLog().empty());
    EXPECT_FALSE(m_application.IsQuitting());
    EXPECT_TRUE(m_application.GetExitSuccess());
    EXPECT_STREQ(m_application.GetName().CStr(), "Life");
}

TEST_F(ApplicationLifeTest, WithoutAStateGraphInitializeAndShutdownOnlyCallTheHooks) {
    EXPECT_TRUE(m_application.Initialize(m_noArguments));
    EXPECT_TRUE(m_application.Shutdown());
    EXPECT_EQ(m_application.TakeLog(), (Log{"OnStartup", "CreateStateGraph", "OnShutdown"}));
    EXPECT_TRUE(m_systems.TakeReports().empty());
}

struct InitializeFailure {
    const char* name;
    bool failStartup;
    bool failCreate;
    bool graphWithoutStartState;
    Reports reports;
    Log log;
};

class ApplicationInitializeTest : public ApplicationTestFixture,
                                  public testing::WithParamInterface<InitializeFailure> {};

TEST_P(ApplicationInitializeTest, StopsAtTheFailingStepAndReportsIt) {
    const InitializeFailure& failure = GetParam();
    int updates = 0;
    bool destroyed = false;
    m_application.m_failStartup = failure.failStartup;
    m_application.m_failCreateStateGraph = failure.failCreate;
    m_application.m_graph = new CountingGraph(&updates, &destroyed, !failure.graphWithoutStartState);
    EXPECT_FALSE(m_application.Initialize(m_noArguments));
    EXPECT_EQ(m_systems.TakeReports(), failure.reports);
    EXPECT_EQ(m_application.TakeLog(), failure.log);
    // Shutdown deletes a graph that was created.
    m_application.Shutdown();
    if (m_application.m_graph != nullptr) {
        delete m_application.m_graph;
    }
    EXPECT_TRUE(destroyed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplicationInitializeTest,
    testing::Values(
        InitializeFailure{"OnStartup", true, false, false, {Application::kErrorOnStartup}, {"OnStartup"}},
        InitializeFailure{"CreateStateGraph",
                          false,
                          true,
                          false,
                          {Application::kErrorCreateStateGraph},
                          {"OnStartup", "CreateStateGraph"}},
        InitializeFailure{"StartStateGraph",
                          false,
                          false,
                          true,
                          {StateGraph::kErrorStart, Application::kErrorStartStateGraph},
                          {"OnStartup", "CreateStateGraph"}}),
    [](const testing::TestParamInfo<InitializeFailure>& info) { return std::string(info.param.name); });

TEST_F(ApplicationLifeTest, RunStepsTheStateGraphUntilQuitAndShutdownDeletesIt) {
    int updates = 0;
    bool destroyed = false;
    m_application.m_graph = new CountingGraph(&updates, &destroyed);
    int steps = 0;
    m_application.m_onStep = [&steps](BaseApplication& application) {
        if (++steps == 3) {
            application.Quit();
        }
    };
    ASSERT_TRUE(m_application.Initialize(m_noArguments));
    EXPECT_TRUE(m_application.Run());
    // The step that quit still stepped the graph.
    EXPECT_EQ(updates, 3);
    EXPECT_TRUE(m_application.Shutdown());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(m_application.GetStateGraph(), nullptr);
}

TEST_F(ApplicationLifeTest, RunDoesNotStepOnceTheQuitFlagIsSet) {
    m_application.Quit();
    m_application.SetExitSuccess(false);
    EXPECT_FALSE(m_application.Run());
    EXPECT_TRUE(m_application.TakeLog().empty());
}

TEST_F(ApplicationLifeTest, AGraphThatFailsToStopIsReportedAndStillDeleted) {
    int updates = 0;
    bool destroyed = false;
    auto* graph = new CountingGraph(&updates, &destroyed);
    graph->m_failStop = true;
    m_application.m_graph = graph;
    ASSERT_TRUE(m_application.Initialize(m_noArguments));
    EXPECT_FALSE(m_application.Shutdown());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(m_application.TakeLog().back(), "OnShutdown");
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Application::kErrorStopStateGraph}));
}

TEST_F(ApplicationLifeTest, AFailingOnShutdownIsReported) {
    m_application.m_failShutdown = true;
    EXPECT_FALSE(m_application.Shutdown());
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Application::kErrorOnShutdown}));
}

TEST_F(ApplicationLifeTest, ShutdownFailuresAreNotReportedWithoutAnErrorSystem) {
    m_systems.ShutdownErrorSystem();
    m_application.m_failShutdown = true;
    EXPECT_FALSE(m_application.Shutdown());
}

TEST_F(ApplicationLifeTest, TheFrameStepTakesTheElapsedTimeAcrossAWrapOfTheClock) {
    m_application.SetCurrentTime(0xFFFFFFF0u);
    m_application.Step();
    m_application.SetCurrentTime(0x10u);
    m_application.Step();
    EXPECT_EQ(m_application.GetElapsedTime(), 0x20u);
    EXPECT_EQ(m_application.GetPreviousTime(), 0x10u);
    EXPECT_EQ(m_application.TakeLog(), (Log{"OnStep", "StepStateGraph", "OnStep", "StepStateGraph"}));
}

TEST_F(ApplicationLifeTest, APendingAllocationFailureIsThrownByTheNextStepOnly) {
    m_application.SetAllocationFailurePending();
    EXPECT_THROW(m_application.Step(), std::bad_alloc);
    EXPECT_TRUE(m_application.TakeLog().empty());
    EXPECT_NO_THROW(m_application.Step());
}

} // namespace
