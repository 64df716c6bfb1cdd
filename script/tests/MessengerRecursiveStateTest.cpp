#include "script/MessengerRecursiveState.h"

#include "resources/testing/TestResourceFamily.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/tests/ScriptedApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using ScriptedTest::Log;
using ScriptedTest::S;
using ScriptedTest::ScriptedApplication;
using ScriptedTest::TakeTrace;
using Vemo::StateGraph;
using VemoTest::Reported;
using VemoTest::Reports;

constexpr std::uint32_t kOutcome(std::uint32_t scriptOutcome) {
    return scriptOutcome + MessengerStateGraph::kScriptOutcomeBase;
}

const char* const kLevelKeys = "Graph=Inner\nAutoProgress=Victory, 5\nAutoProgress=Defeat, 6\n";

// The outer graph runs the level, a recursive state, and goes to Won or Lost by the level's outcome; Intro
// leads to the level on its first update. The nested graph's Play state does what its keys say.
std::string Title(const std::string& playKeys, const std::string& levelKeys = kLevelKeys,
                  const std::string& start = "Level") {
    const std::string other = start == "Level" ? "Intro" : "Level";
    return "[Outer]\nClass=StateGraph\nStartState=" + start + "\nState=" + other +
           "\nState=Won\nState=Lost\n"
           "Action=Intro, 1, Level\nAction=Level, 5, Won\nAction=Level, 6, Lost\n"
           "[Intro]\nClass=TestActionState\nUpdateAction=Progress(1)\n"
           "[Level]\nClass=RecursiveState\n" +
           levelKeys +
           "[Won]\nClass=TestActionState\n[Lost]\nClass=TestActionState\n"
           "[Inner]\nClass=StateGraph\nStartState=Play\nState=Mid\nEndState=Victory\nEndState=Defeat\n"
           "EndState=Draw\nAction=Play, 1, Victory\nAction=Play, 2, Defeat\nAction=Play, 3, Draw\n"
           "Action=Play, 4, Mid\n"
           "[Play]\nClass=TestActionState\n" +
           playKeys +
           "\n[Mid]\nClass=TestActionState\n"
           "[Victory]\nClass=TestActionState\n[Defeat]\nClass=TestActionState\n[Draw]\nClass="
           "TestActionState\n";
}

class MessengerRecursiveStateTest : public testing::Test {
protected:
    // Creates the outer graph and starts it in the level, which starts the nested graph.
    MessengerStateGraph* StartAtLevel(const std::string& script) {
        MessengerStateGraph* outer = Create(script);
        if (outer == nullptr) {
            return nullptr;
        }
        EXPECT_TRUE(outer->Start());
        EXPECT_EQ(Name(outer->GetCurrentState()), "Level");
        TakeTrace();
        return outer;
    }

    MessengerStateGraph* Create(const std::string& script) {
        Script* loaded = m_application.AddScript("Main", script);
        return dynamic_cast<MessengerStateGraph*>(
            MessengerFactory::CreateFromScript(S("Outer"), &m_application, loaded));
    }

    static std::string Name(Vemo::State* state) {
        auto* messenger = dynamic_cast<Messenger*>(state);
        return messenger != nullptr ? messenger->GetName().CStr() : state != nullptr ? "fallback" : "none";
    }

    static MessengerRecursiveState* Level(MessengerStateGraph* outer) {
        return dynamic_cast<MessengerRecursiveState*>(outer->FindMessenger(S("Level")));
    }

    VemoTest::TestApplication m_errors;
    ScriptedApplication m_application;
};

TEST_F(MessengerRecursiveStateTest, TheNestedGraphRunsInsideTheStateAndBelongsToIt) {
    MessengerStateGraph* outer = StartAtLevel(Title(""));
    ASSERT_NE(outer, nullptr);
    MessengerRecursiveState* level = Level(outer);
    ASSERT_NE(level, nullptr);
    EXPECT_STREQ(level->GetClassName().CStr(), "RecursiveState");
    MessengerStateGraph* inner = level->GetNestedGraph();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->GetOwner(), static_cast<Vemo::State*>(level));
    EXPECT_EQ(inner->GetParent(), level);
    EXPECT_EQ(Name(inner->GetCurrentState()), "Play");
    EXPECT_EQ(level->GetAutoProgress().Size(), 2u);
}

TEST_F(MessengerRecursiveStateTest, ReachingAnEndStateFollowsItsOutcomeInTheSameOuterStep) {
    MessengerStateGraph* outer = StartAtLevel(Title("UpdateAction=Progress(1)"));
    ASSERT_NE(outer, nullptr);
    outer->Step();
    EXPECT_EQ(TakeTrace(), (Log{"update Play", "exit Play", "enter Victory", "update Victory", "exit Victory",
                                "enter Won", "update Won"}));
    EXPECT_EQ(Name(outer->GetCurrentState()), "Won");
    EXPECT_EQ(Level(outer)->GetNestedGraph()->GetCurrentState(), nullptr);
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

struct FallbackCase {
    const char* name;
    const char* playUpdate;
    Reports reports;
};

class MessengerRecursiveStateFallbackTest : public MessengerRecursiveStateTest,
                                            public testing::WithParamInterface<FallbackCase> {};

TEST_P(MessengerRecursiveStateFallbackTest, SendsTheOuterGraphToItsFallbackState) {
    MessengerStateGraph* outer = StartAtLevel(Title(GetParam().playUpdate));
    ASSERT_NE(outer, nullptr);
    outer->Step();
    EXPECT_EQ(outer->GetCurrentState(), outer->GetFallbackState());
    EXPECT_EQ(m_errors.TakeReports(), GetParam().reports);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessengerRecursiveStateFallbackTest,
    testing::Values(
        // Outcome 9 has no transition in the nested graph, which falls into its own fallback state.
        FallbackCase{"NestedFallback", "UpdateAction=Progress(9)", {}},
        // Draw (id 261) is an end state without "AutoProgress".
        FallbackCase{"EndStateWithoutAutoProgress",
                     "UpdateAction=Progress(3)",
                     {{MessengerRecursiveState::kErrorNoAutoProgress, "261"}}}),
    [](const testing::TestParamInfo<FallbackCase>& info) { return std::string(info.param.name); });

TEST_F(MessengerRecursiveStateTest, WithoutAGraphTheStateLeavesOnItsFirstUpdate) {
    MessengerStateGraph* outer = StartAtLevel(Title("", ""));
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(Level(outer)->GetNestedGraph(), nullptr);
    outer->Step();
    EXPECT_EQ(outer->GetCurrentState(), outer->GetFallbackState());
}

TEST_F(MessengerRecursiveStateTest, EveryEntryStartsTheNestedGraphAgain) {
    MessengerStateGraph* outer =
        StartAtLevel(Title("UpdateAction=Progress(4)") + "[Pause]\nClass=TestActionState\n");
    ASSERT_NE(outer, nullptr);
    ASSERT_TRUE(outer->CreateState(S("Pause"), StateGraph::kOrdinaryState));
    ASSERT_TRUE(outer->AddActionByName(S("Level"), kOutcome(8), S("Pause")));
    ASSERT_TRUE(outer->AddActionByName(S("Pause"), kOutcome(8), S("Level")));
    MessengerRecursiveState* level = Level(outer);
    outer->Step();
    EXPECT_EQ(Name(level->GetNestedGraph()->GetCurrentState()), "Mid");

    level->Signal(kOutcome(8));
    outer->Step();
    EXPECT_EQ(Name(outer->GetCurrentState()), "Pause");
    dynamic_cast<Vemo::State*>(outer->FindMessenger(S("Pause")))->Signal(kOutcome(8));
    TakeTrace();
    outer->Step();
    EXPECT_EQ(TakeTrace(), (Log{"update Pause", "exit Pause", "enter Play", "update Play", "exit Play",
                                "enter Mid", "update Mid"}));
}

TEST_F(MessengerRecursiveStateTest, ANestedGraphThatDoesNotStartKeepsTheStateFromBeingEntered) {
    MessengerStateGraph* outer = Create(Title("RefuseEnter=1", kLevelKeys, "Intro"));
    ASSERT_NE(outer, nullptr);
    ASSERT_TRUE(outer->Start());
    outer->Step();
    EXPECT_EQ(outer->GetCurrentState(), outer->GetFallbackState());
    EXPECT_EQ(m_errors.TakeReports(), (Reports{{StateGraph::kErrorStart},
                                               {MessengerRecursiveState::kErrorStart, "\"Level\""},
                                               {StateGraph::kErrorEnter}}));
}

struct ReadingCase {
    const char* name;
    const char* levelKeys;
    // The reports up to the state's own error 1, which every failed reading ends with.
    Reports reports;
};

class MessengerRecursiveStateReadingTest : public MessengerRecursiveStateTest,
                                           public testing::WithParamInterface<ReadingCase> {};

TEST_P(MessengerRecursiveStateReadingTest, FailsTheStateAndSoTheOuterGraph) {
    EXPECT_EQ(Create(Title("", GetParam().levelKeys) + "[Helper]\nClass=Messenger\n"), nullptr);
    Reports reports = m_errors.TakeReports();
    const Reported readGraph(MessengerRecursiveState::kErrorReadGraph, "\"Level\"");
    std::size_t end = 0;
    while (end < reports.size() && !(reports[end] == readGraph)) {
        ++end;
    }
    ASSERT_LT(end, reports.size()) << "no error 1";
    reports.resize(end);
    // Only the reports of the state's own module and of its graph's module are compared: the factory's
    // come between them where a messenger is created.
    Reports own;
    for (const Reported& report : reports) {
        const Vemo::ErrorFacility facility = Vemo::ErrorCodeFacility(report.m_code);
        if (facility != Vemo::kMessengerFactoryFacility) {
            own.push_back(report);
        }
    }
    EXPECT_EQ(own, GetParam().reports);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessengerRecursiveStateReadingTest,
    testing::Values(
        ReadingCase{"NotAStateOfTheNestedGraph",
                    "Graph=Inner\nAutoProgress=Ghost, 5\n",
                    {{MessengerStateGraph::kErrorNoSuchState, "\"Ghost\""},
                     {MessengerRecursiveState::kErrorUnknownEndState, "\"\",\"Level\",\"Ghost\""}}},
        ReadingCase{"SecondAutoProgressForAnEndState",
                    "Graph=Inner\nAutoProgress=Victory, 5\nAutoProgress=Victory, 6\n",
                    {{MessengerRecursiveState::kErrorSecondAutoProgress, "\"\",\"Level\",\"Victory\""}}},
        ReadingCase{"NotAnEndState",
                    "Graph=Inner\nAutoProgress=Mid, 5\n",
                    {{MessengerRecursiveState::kErrorNotAnEndState, "\"\",\"Level\",\"Mid\""}}},
        ReadingCase{"AutoProgressWithoutGraph",
                    "AutoProgress=Victory, 5\n",
                    {{MessengerRecursiveState::kErrorUnknownEndState, "\"\",\"Level\",\"Victory\""}}},
        ReadingCase{"EmptyGraphName",
                    "Graph=\n",
                    {{MessengerRecursiveState::kErrorEmptyGraphName, "\"\",\"Level\""}}},
        ReadingCase{"GraphIsNotAGraph",
                    "Graph=Helper\n",
                    {{MessengerRecursiveState::kErrorNotAGraph, "\"\",\"Level\",\"Helper\""}}},
        ReadingCase{"GraphCannotBeMade",
                    "Graph=Ghost\n",
                    {{Messenger::kErrorStateNotCreated, "\"\",\"Level\",\"Ghost\""}}},
        // The outcome is the number plus 256, which must not wrap round to the graph's own outcomes.
        ReadingCase{"NegativeAutoProgress",
                    "Graph=Inner\nAutoProgress=Victory, -1\n",
                    {{MessengerStateGraph::kErrorNegativeOutcome, "-1"}}},
        ReadingCase{"AutoProgressBeyondTheLastOutcome",
                    "Graph=Inner\nAutoProgress=Victory, 4294967040\n",
                    {{MessengerStateGraph::kErrorNegativeOutcome, "4294967040"}}},
        ReadingCase{"AutoProgressBeyondTheIntegerRange",
                    "Graph=Inner\nAutoProgress=Victory, 99999999999\n",
                    {{MessengerStateGraph::kErrorNegativeOutcome, "99999999999"}}}),
    [](const testing::TestParamInfo<ReadingCase>& info) { return std::string(info.param.name); });

TEST_F(MessengerRecursiveStateTest, TheLastOutcomeIsKept) {
    MessengerStateGraph* outer = Create(Title("", "Graph=Inner\nAutoProgress=Victory, 4294967039\n"));
    ASSERT_NE(outer, nullptr);
    const auto& records = Level(outer)->GetAutoProgress();
    ASSERT_EQ(records.Size(), 1u);
    EXPECT_EQ(records.Begin()->outcome, 0xFFFFFFFFu);
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

// A recursive state whose nested graph is the graph that holds it would make that graph inside its own
// making without end: the factory refuses it, and the reading of both fails.
TEST_F(MessengerRecursiveStateTest, AStateWhoseGraphHoldsItIsRefused) {
    EXPECT_EQ(Create(Title("", "Graph=Outer\n")), nullptr);
    const Reports reports = m_errors.TakeReports();
    const Reports expected{{MessengerFactory::kErrorCreationInProgress, "\"\",\"Outer\""},
                           {Messenger::kErrorStateNotCreated, "\"\",\"Level\",\"Outer\""},
                           {MessengerRecursiveState::kErrorReadGraph, "\"Level\""},
                           {Messenger::kErrorCreateFailed, "\"Outer\",\"Level\""},
                           {MessengerFactory::kErrorCreationFailed, "\"\",\"Level\""},
                           {Messenger::kErrorStateNotCreated, "\"\",\"Outer\",\"Level\""},
                           {MessengerStateGraph::kErrorCreateState, "\"\",\"Outer\",\"Level\""},
                           {StateGraph::kErrorReadStates},
                           {Messenger::kErrorCreateFailed, "\"App\",\"Outer\""},
                           {MessengerFactory::kErrorCreationFailed, "\"\",\"Outer\""}};
    EXPECT_EQ(reports, expected);
    EXPECT_TRUE(m_application.GetChildren().Empty());
}

TEST_F(MessengerRecursiveStateTest, AFailedReadingReportsTheStateAndDestroysIt) {
    EXPECT_EQ(Create(Title("", "Graph=\n")), nullptr);
    const Reports reports = m_errors.TakeReports();
    const Reports expected{{MessengerRecursiveState::kErrorEmptyGraphName, "\"\",\"Level\""},
                           {MessengerRecursiveState::kErrorReadGraph, "\"Level\""},
                           {Messenger::kErrorCreateFailed, "\"Outer\",\"Level\""}};
    ASSERT_GE(reports.size(), expected.size());
    EXPECT_EQ(Reports(reports.begin(), reports.begin() + expected.size()), expected);
    EXPECT_TRUE(m_application.GetChildren().Empty());
}

TEST_F(MessengerRecursiveStateTest, ARecursiveStateNeedsAStateGraphAsItsOwner) {
    Script* script = m_application.AddScript("Main", "[Level]\nClass=RecursiveState\n");
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Level"), nullptr, script), nullptr);
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Level"), &m_application, script), nullptr);
    const Reports reports = m_errors.TakeReports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0], Reported(Messenger::kErrorStateWithoutOwner, "\"Level\""));
    EXPECT_EQ(reports[2], Reported(Messenger::kErrorOwnerNotStateGraph, "\"Level\""));
}

} // namespace
