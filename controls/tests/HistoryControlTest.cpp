#include "controls/HistoryControl.h"
#include "controls/tests/CoreControlTestSupport.h"
#include "script/Script.h"

#include <gtest/gtest.h>

namespace {

using namespace CoreControlTest;

class HistoryControlTest : public Fixture {
protected:
    // A state's history control: the one before it is gone, as when the next state begins.
    HistoryControl& Enter() {
        m_watchers.Clear();
        delete m_owner;
        m_owner = nullptr;
        m_controls.Clear();
        EXPECT_TRUE(Load("[Menu]\nControl=History\n[History]\nClass=HistoryControl\n"));
        auto* history = dynamic_cast<HistoryControl*>(Find("History"));
        EXPECT_NE(history, nullptr);
        m_watcher = Watch(*history);
        return *history;
    }

    std::string States() { return Variable("History", "States"); }
    std::string Current() { return Variable("History", "CurrentState"); }
    Log Sent() { return m_watcher->TakeReceived(); }

    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(HistoryControlTest, GotoRecordsTheEntryAndSendsTheCommandThatSignalsAndSetsGoto) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(Next, Page3)"));
    EXPECT_EQ(Sent(), (Log{"Progress(Next)", "SetVar(GOTO,\"Page3\")"}));
    EXPECT_EQ(HistoryControl::CommandOf(S("Next.Page3")).CStr(),
              std::string("Progress(Next),SetVar(GOTO,\"Page3\")"));
    EXPECT_EQ(States(), "Next.Page3");
    EXPECT_EQ(Current(), "1");

    EXPECT_TRUE(Send("History", "Goto(3, Page4), Goto(4)"));
    EXPECT_EQ(Sent(), (Log{"Progress(3)", "SetVar(GOTO,\"Page4\")", "Progress(4)"}));
    EXPECT_EQ(States(), "Next.Page3,3.Page4,4");
    EXPECT_EQ(Current(), "3");
    EXPECT_EQ(TakeReports(), (Reports{})) << "GOTO is set without a complaint";
    EXPECT_EQ(m_world.Variable("", "GOTO"), "Page4");
    m_watcher->ReceiveTextFrom(S("Tag(@GOTO)"), SubString());
    EXPECT_EQ(MessengerTest::Text(m_watcher->GetTag()), "Page4") << "where @GOTO reads it";
    Sent();

    EXPECT_TRUE(Send("History", "Goto(, Page9), Add()"));
    EXPECT_EQ(Sent(), Log{}) << "an empty outcome or entry is ignored";
    EXPECT_EQ(States(), "Next.Page3,3.Page4,4");
}

TEST_F(HistoryControlTest, GotoAfterAStepBackDropsTheForwardHistory) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(1, A), Goto(2, B), Goto(3, C)"));
    Sent();
    EXPECT_TRUE(Send("History", "GoBackward"));
    EXPECT_EQ(Sent(), (Log{"Progress(2)", "SetVar(GOTO,\"B\")"}));
    EXPECT_EQ(Current(), "2");
    EXPECT_EQ(States(), "1.A,2.B,3.C");
    EXPECT_TRUE(Send("History", "Goto(4, D)"));
    EXPECT_EQ(States(), "1.A,2.B,4.D");
    EXPECT_EQ(Current(), "3");
}

TEST_F(HistoryControlTest, EachControlStepsBackAndForwardAtMostOnceAndOnlyWhereThereIsAnEntry) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(1, A), GoBackward, GoForward"));
    EXPECT_EQ(Sent(), (Log{"Progress(1)", "SetVar(GOTO,\"A\")"}))
        << "index 1 has no previous, the last no next";

    Enter();
    EXPECT_TRUE(Send("History", "GoBackward"));
    EXPECT_EQ(Sent(), Log{}) << "the new control starts at the stored index";
    EXPECT_TRUE(Send("History", "Add(2.B), Add(3.C)"));
    EXPECT_EQ(Sent(), Log{}) << "Add sends nothing";
    EXPECT_EQ(Current(), "3");
    EXPECT_TRUE(Send("History", "GoBackward"));
    EXPECT_EQ(Sent(), Log{}) << "the first GoBackward was used up at index 1";

    Enter();
    EXPECT_TRUE(Send("History", "GoBackward, GoBackward"));
    EXPECT_EQ(Sent(), (Log{"Progress(2)", "SetVar(GOTO,\"B\")"})) << "a second one is ignored";
    EXPECT_EQ(Current(), "2");

    Enter();
    EXPECT_TRUE(Send("History", "GoForward, GoForward"));
    EXPECT_EQ(Sent(), (Log{"Progress(3)", "SetVar(GOTO,\"C\")"}));
    EXPECT_EQ(Current(), "3");
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(HistoryControlTest, ClearHistoryKeepsTheKeysWithNothingInThem) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(1, A), ClearHistory"));
    Vemo::String states(S("unset"));
    EXPECT_TRUE(m_world.Application().GetVariables().GetValue(S("History"), S("States"), states));
    EXPECT_EQ(MessengerTest::Text(states), "");
    EXPECT_EQ(Current(), "0");
    Enter();
    EXPECT_TRUE(Send("History", "GoBackward, GoForward"));
    EXPECT_EQ(Sent(), Log{});
}

TEST_F(HistoryControlTest, AnEntryWithACommaComesBackAsOneEntry) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(1, \"a,b\"), Goto(2, Plain)"));
    EXPECT_EQ(Sent(), (Log{"Progress(1)", "SetVar(GOTO,\"a,b\")", "Progress(2)", "SetVar(GOTO,\"Plain\")"}));
    EXPECT_EQ(States(), "\"1.a,b\",2.Plain");

    HistoryControl& next = Enter();
    EXPECT_EQ(next.GetEntries().Size(), 2u);
    EXPECT_TRUE(Send("History", "GoBackward"));
    EXPECT_EQ(Sent(), (Log{"Progress(1)", "SetVar(GOTO,\"a,b\")"}));
    EXPECT_EQ(m_world.Variable("", "GOTO"), "a,b");
}

TEST_F(HistoryControlTest, OutcomesAndTargetsStayOneArgumentOfTheCommand) {
    Enter();
    EXPECT_TRUE(Send("History", "Goto(\"1),Tag(x),Progress(\", \"say \\\"hi\\\"\")"));
    EXPECT_EQ(Sent(), (Log{"Progress(\"1),Tag(x),Progress(\")", "SetVar(GOTO,\"say \"hi\"\")"}));
    EXPECT_EQ(MessengerTest::Text(Find("History")->GetTag()), "") << "no message was added";
    EXPECT_EQ(m_world.Variable("", "GOTO"), "say \"hi\"");

    HistoryControl& next = Enter();
    ASSERT_EQ(next.GetEntries().Size(), 1u);
    EXPECT_EQ(MessengerTest::Text(next.GetEntries()[0]), "1),Tag(x),Progress(.say \"hi\"");
}

TEST_F(HistoryControlTest, TheIndexStopsAtItsLargestValue) {
    m_world.SetVariable("History", "CurrentState", "2147483647");
    Enter();
    EXPECT_TRUE(Send("History", "Add(1.A), Goto(2, B)"));
    EXPECT_EQ(Current(), "2147483647");
    EXPECT_EQ(States(), "1.A,2.B");
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(HistoryControlTest, AStoredIndexBeyond32BitsIsRefusedWithItsSectionAndKey) {
    for (const char* index : {"2147483648", "-2147483649", "0x100000000"}) {
        m_watchers.Clear();
        delete m_owner;
        m_owner = nullptr;
        m_controls.Clear();
        m_world.SetVariable("History", "CurrentState", index);
        EXPECT_FALSE(Load("[Menu]\nControl=History\n[History]\nClass=HistoryControl\n")) << index;
        EXPECT_EQ(Find("History"), nullptr) << index;
        const Reports reports = TakeReports();
        EXPECT_TRUE(VemoTest::ReportedInOrder(reports,
                                              {{Script::kErrorKeyNotParsed, "\"History\",\"CurrentState\""}}))
            << index << ": " << ::testing::PrintToString(reports);
    }
}

TEST_F(HistoryControlTest, StatesSplitOnlyAtCommasOutsideQuotes) {
    const auto entries = HistoryControl::SplitEntries(S("1.A,,\"2.b,c\",\"3.q\\\"x\",4"));
    ASSERT_EQ(entries.Size(), 4u);
    EXPECT_EQ(MessengerTest::Text(entries[0]), "1.A");
    EXPECT_EQ(MessengerTest::Text(entries[1]), "2.b,c");
    EXPECT_EQ(MessengerTest::Text(entries[2]), "3.q\"x");
    EXPECT_EQ(MessengerTest::Text(entries[3]), "4");
    EXPECT_EQ(MessengerTest::Text(HistoryControl::JoinEntries(entries)), "1.A,\"2.b,c\",\"3.q\\\"x\",4");
}

} // namespace
