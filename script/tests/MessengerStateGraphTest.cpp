#include "script/MessengerStateGraph.h"

#include "platform/testing/CaseNames.h"
#include "resources/testing/StorageTestSupport.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/MessengerFactory.h"
#include "script/MessengerState.h"
#include "script/tests/ScriptedApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace {

using ScriptedTest::Log;
using ScriptedTest::S;
using ScriptedTest::ScriptedApplication;
using ScriptedTest::TakeTrace;
using Vemo::StateGraph;
using VemoTest::Reports;

constexpr std::uint32_t kOutcome(std::uint32_t scriptOutcome) {
    return scriptOutcome + MessengerStateGraph::kScriptOutcomeBase;
}

// What every failed reading of the graph "Game" made by the application reports after its own errors.
Reports FailedCreation(Reports reports) {
    reports.push_back({StateGraph::kErrorReadStates});
    reports.push_back({Messenger::kErrorCreateFailed, "\"App\",\"Game\""});
    reports.push_back({MessengerFactory::kErrorCreationFailed, "\"\",\"Game\""});
    return reports;
}

class MessengerStateGraphTest : public testing::Test {
protected:
    // The graph "Game" of the script text, created for the application.
    MessengerStateGraph* Create(const std::string& script) {
        m_script = m_application.AddScript("Main", script);
        return dynamic_cast<MessengerStateGraph*>(
            MessengerFactory::CreateFromScript(S("Game"), &m_application, m_script));
    }

    MessengerState* State(MessengerStateGraph* graph, const char* name) {
        return dynamic_cast<MessengerState*>(graph->FindMessenger(S(name)));
    }

    // The target's name of the transition of the state on the outcome, or "-" when there is none.
    std::string Target(MessengerStateGraph* graph, Vemo::State* from, std::uint32_t outcome) {
        for (const Vemo::Action* action : graph->GetActions()) {
            if (action->GetSource() == from && action->GetOutcome() == outcome) {
                if (action->GetTarget() == graph->GetFallbackState()) {
                    return "fallback";
                }
                return dynamic_cast<MessengerState*>(action->GetTarget())->GetName().CStr();
            }
        }
        return "-";
    }

    VemoTest::TestApplication m_errors;
    ScriptedApplication m_application;
    Script* m_script = nullptr;
};

TEST_F(MessengerStateGraphTest, StatesAreNumberedInTheOrderOfTheirKeys) {
    MessengerStateGraph* graph =
        Create("[Game]\nClass=StateGraph\nState=Menu\nstartstate=Intro\nEndState=Done\n"
               "[Menu]\nClass=State\n[Intro]\nClass=State\n[Done]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    EXPECT_STREQ(graph->GetClassName().CStr(), "StateGraph");
    MessengerState* menu = State(graph, "Menu");
    ASSERT_NE(menu, nullptr);
    EXPECT_STREQ(menu->GetClassName().CStr(), "State");
    EXPECT_EQ(menu->GetId(), 257u);
    EXPECT_EQ(State(graph, "Intro")->GetId(), 258u);
    EXPECT_EQ(State(graph, "Done")->GetId(), 259u);
    EXPECT_EQ(graph->GetStartState(), State(graph, "Intro"));
    EXPECT_EQ(menu->GetGraph(), static_cast<StateGraph*>(graph));
    EXPECT_EQ(menu->GetParent(), graph);
    EXPECT_EQ(graph->GetOwner(), nullptr);
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

TEST_F(MessengerStateGraphTest, TellsTheKindsOfItsStates) {
    MessengerStateGraph* graph =
        Create("[Game]\nClass=StateGraph\nState=Menu\nStartState=Intro\nEndState=Done\n"
               "[Menu]\nClass=State\n[Intro]\nClass=State\n[Done]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    struct Case {
        const char* name;
        std::uint32_t kind;
        bool expected;
    };
    const Case cases[] = {
        {"Menu", 0, true},  {"Menu", 1, false},   {"Menu", 2, false},   {"Intro", 0, false},
        {"Intro", 1, true}, {"Intro", 2, false},  {"Done", 0, false},   {"Done", 2, true},
        {"Menu", 3, false}, {"Nobody", 0, false}, {"Parent", 0, false},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(graph->IsStateOfKind(S(test.name), test.kind), test.expected)
            << test.name << " " << test.kind;
    }
}

TEST_F(MessengerStateGraphTest, ScriptedStatesMoveTheGraphOnTheirOutcomes) {
    MessengerStateGraph* graph = Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                                        "Action=Intro, 1, Menu\n"
                                        "[Intro]\nClass=TestActionState\nUpdateAction=Progress(1)\n"
                                        "[Menu]\nClass=TestActionState\nUpdateAction=Progress(7)\n");
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->Start());
    graph->Step();
    // Menu's outcome 7 has no transition: Menu falls back in the same step.
    EXPECT_EQ(TakeTrace(),
              (Log{"enter Intro", "update Intro", "exit Intro", "enter Menu", "update Menu", "exit Menu"}));
    EXPECT_EQ(graph->GetReachedEndState(), graph->GetFallbackState());
}

TEST_F(MessengerStateGraphTest, AGraphWithoutAStartStateIsNotCreated) {
    EXPECT_EQ(Create("[Game]\nClass=StateGraph\nState=Menu\nEndState=Done\n[Menu]\nClass=State\n"
                     "[Done]\nClass=State\n"),
              nullptr);
    EXPECT_EQ(m_errors.TakeReports(),
              FailedCreation({{MessengerStateGraph::kErrorNoStartState, "\"\",\"Game\""}}));
}

TEST_F(MessengerStateGraphTest, AnAutoActionLeadsFromEveryOtherStateToItsTarget) {
    MessengerStateGraph* graph =
        Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\nState=Options\n"
               "AutoAction=3, Menu\nAction=Menu, 3, Intro\n"
               "[Intro]\nClass=State\n[Menu]\nClass=State\n[Options]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(Target(graph, State(graph, "Intro"), kOutcome(3)), "Menu");
    EXPECT_EQ(Target(graph, State(graph, "Options"), kOutcome(3)), "Menu");
    EXPECT_EQ(Target(graph, graph->GetFallbackState(), kOutcome(3)), "Menu");
    EXPECT_EQ(Target(graph, State(graph, "Menu"), kOutcome(3)), "Intro");
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

TEST_F(MessengerStateGraphTest, AnActionThatAnAutoActionCoversIsRefused) {
    EXPECT_EQ(Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\nState=Options\n"
                     "AutoAction=3, Menu\nAction=Options, 3, Intro\n"
                     "[Intro]\nClass=State\n[Menu]\nClass=State\n[Options]\nClass=State\n"),
              nullptr);
    EXPECT_EQ(m_errors.TakeReports(), FailedCreation({{StateGraph::kErrorDuplicateAction},
                                                      {MessengerStateGraph::kErrorActionRefused, "259"}}));
}

TEST_F(MessengerStateGraphTest, ASecondAutoActionForAnOutcomeIsRefused) {
    EXPECT_EQ(Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                     "AutoAction=3, Menu\nAutoAction=3, Intro\n[Intro]\nClass=State\n[Menu]\nClass=State\n"),
              nullptr);
    EXPECT_EQ(m_errors.TakeReports(), FailedCreation({{MessengerStateGraph::kErrorSecondAutoAction, "259"}}));
}

struct OutcomeCase {
    const char* name;
    const char* key;
    const char* reported;
};

class MessengerStateGraphOutcomeTest : public MessengerStateGraphTest,
                                       public testing::WithParamInterface<OutcomeCase> {};

// A negative outcome and one beyond the integer range are refused alike, the latter with its number as
// written: a number cut to the largest integer would quietly name another outcome.
TEST_P(MessengerStateGraphOutcomeTest, AnOutcomeOutOfRangeIsRefusedWithTheNumber) {
    EXPECT_EQ(Create(std::string("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n") +
                     GetParam().key + "\n[Intro]\nClass=State\n[Menu]\nClass=State\n"),
              nullptr);
    EXPECT_EQ(m_errors.TakeReports(),
              FailedCreation({{MessengerStateGraph::kErrorNegativeOutcome, GetParam().reported}}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MessengerStateGraphOutcomeTest,
    testing::Values(OutcomeCase{"NegativeAction", "Action=Intro, -1, Menu", "-1"},
                    OutcomeCase{"NegativeAutoAction", "AutoAction=-1, Menu", "-1"},
                    OutcomeCase{"HugeAction", "Action=Intro, 3000000000, Menu", "3000000000"},
                    OutcomeCase{"HugeAutoAction", "AutoAction=3000000000, Menu", "3000000000"},
                    OutcomeCase{"HugeNegativeAction", "Action=Intro, -3000000000, Menu", "-3000000000"},
                    OutcomeCase{"HexAction", "Action=Intro, 0x80000000, Menu", "0x80000000"}),
    [](const testing::TestParamInfo<OutcomeCase>& info) { return std::string(info.param.name); });

// The largest outcome a script may give still has room for the graph's own numbers below it.
TEST_F(MessengerStateGraphTest, TheLargestIntegerIsAnOutcome) {
    MessengerStateGraph* graph =
        Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
               "Action=Intro, 2147483647, Menu\n[Intro]\nClass=State\n[Menu]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(Target(graph, State(graph, "Intro"), kOutcome(2147483647u)), "Menu");
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

// A graph whose state is the graph's own section would be made inside its own making without end: the
// factory refuses the section while it is being made, whether it is reached directly or through "Defined".
TEST_F(MessengerStateGraphTest, AGraphThatNamesItselfAsAStateIsRefused) {
    const char* const scripts[] = {
        "[Game]\nClass=StateGraph\nStartState=Game\n",
        "[Game]\nDefined=Other\n",
    };
    m_application.AddScript("Other", "[Game]\nClass=StateGraph\nState=Intro\nStartState=Game\n"
                                     "[Intro]\nClass=State\n");
    for (const char* script : scripts) {
        EXPECT_EQ(Create(script), nullptr) << script;
        const Reports reports = m_errors.TakeReports();
        const Reports expected =
            FailedCreation({{MessengerFactory::kErrorCreationInProgress, "\"\",\"Game\""},
                            {Messenger::kErrorStateNotCreated, "\"\",\"Game\",\"Game\""},
                            {MessengerStateGraph::kErrorCreateState, "\"\",\"Game\",\"Game\""}});
        EXPECT_EQ(reports, expected) << script;
        EXPECT_TRUE(m_application.GetChildren().Empty()) << script;
    }
}

TEST_F(MessengerStateGraphTest, AStateKeyNamingAnotherClassIsRefusedAndItsMessengerDestroyed) {
    EXPECT_EQ(Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Helper\n"
                     "[Intro]\nClass=State\n[Helper]\nClass=Messenger\n"),
              nullptr);
    EXPECT_EQ(m_errors.TakeReports(),
              FailedCreation({{MessengerStateGraph::kErrorNotAState, "\"\",\"Helper\",\"Helper\""},
                              {MessengerStateGraph::kErrorCreateState, "\"\",\"Game\",\"Helper\""}}));
    EXPECT_TRUE(m_application.GetChildren().Empty());
}

TEST_F(MessengerStateGraphTest, AStateThatCannotBeMadeFailsTheReading) {
    EXPECT_EQ(Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Ghost\n[Intro]\nClass=State\n"),
              nullptr);
    const Reports reports = m_errors.TakeReports();
    ASSERT_GE(reports.size(), 5u);
    // The factory's own reports come first.
    EXPECT_EQ(reports[reports.size() - 5],
              (VemoTest::Reported{Messenger::kErrorStateNotCreated, "\"\",\"Game\",\"Ghost\""}));
    EXPECT_EQ(reports[reports.size() - 4],
              (VemoTest::Reported{MessengerStateGraph::kErrorCreateState, "\"\",\"Game\",\"Ghost\""}));
}

TEST_F(MessengerStateGraphTest, ActionsByNameNeedStatesAtBothEnds) {
    MessengerStateGraph* graph = Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                                        "[Intro]\nClass=State\n[Menu]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    EXPECT_FALSE(graph->AddActionByName(S("Nobody"), kOutcome(1), S("Menu")));
    EXPECT_FALSE(graph->AddActionByName(S("Intro"), kOutcome(1), S("Nobody")));
    // The graph's parent is a messenger, not a state.
    EXPECT_FALSE(graph->AddActionByName(S("Intro"), kOutcome(1), S("Parent")));
    EXPECT_FALSE(graph->AddAutoAction(kOutcome(2), S("Nobody")));
    EXPECT_EQ(m_errors.TakeReports(), (Reports{{MessengerStateGraph::kErrorNoSource, "\"Nobody\""},
                                               {MessengerStateGraph::kErrorNoTarget, "\"Nobody\""},
                                               {MessengerStateGraph::kErrorNoTarget, "\"Parent\""},
                                               {MessengerStateGraph::kErrorNoTarget, "\"Nobody\""}}));
    EXPECT_TRUE(graph->AddActionByName(S("Intro"), kOutcome(1), S("Menu")));
    EXPECT_EQ(Target(graph, State(graph, "Intro"), kOutcome(1)), "Menu");
}

TEST_F(MessengerStateGraphTest, AStateAddedLaterReceivesEveryAutoAction) {
    MessengerStateGraph* graph =
        Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\nState=Options\n"
               "AutoAction=3, Menu\nAutoAction=1, Options\n"
               "[Intro]\nClass=State\n[Menu]\nClass=State\n[Options]\nClass=State\n"
               "[Late]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->CreateState(S("Late"), StateGraph::kOrdinaryState));
    MessengerState* late = State(graph, "Late");
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(late->GetId(), 260u);
    EXPECT_EQ(Target(graph, late, StateGraph::kFallbackOutcome), "fallback");
    EXPECT_EQ(Target(graph, late, kOutcome(1)), "Options");
    EXPECT_EQ(Target(graph, late, kOutcome(3)), "Menu");
}

TEST_F(MessengerStateGraphTest, RemovingATargetOfAutoActionsDropsThemAll) {
    MessengerStateGraph* graph = Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                                        "AutoAction=3, Menu\nAutoAction=4, Menu\n"
                                        "[Intro]\nClass=State\n[Menu]\nClass=State\n[Late]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    MessengerState* menu = State(graph, "Menu");
    ASSERT_TRUE(graph->RemoveState(menu));
    delete menu;
    EXPECT_TRUE(graph->GetAutoActions().Empty());
    for (const Vemo::Action* action : graph->GetActions()) {
        EXPECT_NE(action->GetOutcome(), kOutcome(3));
        EXPECT_NE(action->GetOutcome(), kOutcome(4));
    }
    // A state added afterwards is not led to the state that is gone.
    EXPECT_TRUE(graph->CreateState(S("Late"), StateGraph::kOrdinaryState));
    EXPECT_EQ(Target(graph, State(graph, "Late"), kOutcome(3)), "-");
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

TEST_F(MessengerStateGraphTest, AStateRefusedAnAutoActionIsTakenOutBeforeItIsDestroyed) {
    MessengerStateGraph* graph = Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                                        "[Intro]\nClass=State\n[Menu]\nClass=State\n[Late]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    // Outcome 1 is every state's fallback outcome, so no state can take an auto action on it.
    EXPECT_FALSE(graph->AddAutoAction(StateGraph::kFallbackOutcome, S("Menu")));
    EXPECT_FALSE(graph->CreateState(S("Late"), StateGraph::kOrdinaryState));
    EXPECT_EQ(graph->FindMessenger(S("Late")), nullptr);
    EXPECT_EQ(graph->Vemo::StateGraph::FindState(259), nullptr);
    EXPECT_EQ(m_errors.TakeReports(),
              (Reports{{StateGraph::kErrorDuplicateAction}, {StateGraph::kErrorDuplicateAction}}));
}

TEST_F(MessengerStateGraphTest, DestroyingTheGraphDestroysItsStates) {
    MessengerStateGraph* graph = Create("[Game]\nClass=StateGraph\nStartState=Intro\nState=Menu\n"
                                        "[Intro]\nClass=State\n[Menu]\nClass=State\n");
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(graph->Start());
    delete static_cast<Messenger*>(graph);
    EXPECT_TRUE(m_application.GetChildren().Empty());
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

using MessengerStateGraphFileTest = VemoTest::Win32DrivesTest;

TEST_F(MessengerStateGraphFileTest, ErrorsNameTheFileOfTheScript) {
    std::filesystem::create_directories(Host('C', "title"));
    VemoTest::WriteHostFile(Host('C', "title/Main.scr"),
                            "[Game]\r\nClass=StateGraph\r\nState=Menu\r\n[Menu]\r\nClass=State\r\n");
    Script script;
    ASSERT_TRUE(script.Load(At("HD0:/title/Main.scr"), false));
    ScriptedApplication application;
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Game"), &application, &script), nullptr);
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), (VemoTest::Reported{MessengerStateGraph::kErrorNoStartState,
                                                   "\"HD0:/title/Main.scr\",\"Game\""}));
}

} // namespace
