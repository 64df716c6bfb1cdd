#include "script/MessengerState.h"

#include "resources/testing/TestResourceFamily.h"
#include "script/MessengerFactory.h"
#include "script/MessengerStateGraph.h"
#include "script/tests/ScriptedApplicationTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ScriptedTest::S;
using ScriptedTest::ScriptedApplication;
using VemoTest::Reports;

class MessengerStateTest : public testing::Test {
protected:
    VemoTest::TestApplication m_errors;
    ScriptedApplication m_application;
};

TEST_F(MessengerStateTest, IsAMessengerOfItsGraphAndAStateOfIt) {
    Script* script = m_application.AddScript("Main", "[Game]\nClass=StateGraph\nStartState=Intro\n"
                                                     "[Intro]\nClass=state\nAttribute=Title(Welcome)\n");
    auto* graph = dynamic_cast<MessengerStateGraph*>(
        MessengerFactory::CreateFromScript(S("Game"), &m_application, script));
    ASSERT_NE(graph, nullptr);
    auto* intro = dynamic_cast<MessengerState*>(graph->FindMessenger(S("Intro")));
    ASSERT_NE(intro, nullptr);
    EXPECT_STREQ(intro->GetClassName().CStr(), "State");
    EXPECT_EQ(intro->GetParent(), graph);
    EXPECT_EQ(intro->GetGraph(), static_cast<Vemo::StateGraph*>(graph));
    EXPECT_EQ(graph->GetStartState(), static_cast<Vemo::State*>(intro));
    // Its messenger part read its section.
    EXPECT_EQ(intro->GetAttributes().Size(), 1u);
    // The plain state does nothing of its own on entering, updating and leaving.
    EXPECT_TRUE(intro->Enter());
    intro->Update();
    EXPECT_TRUE(intro->Exit());
    EXPECT_EQ(graph->GetPendingAction(), nullptr);
    EXPECT_EQ(m_errors.TakeReports(), Reports{});
}

TEST_F(MessengerStateTest, NeedsAStateGraphAsItsOwner) {
    Script* script = m_application.AddScript("Main", "[Intro]\nClass=State\n");
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Intro"), nullptr, script), nullptr);
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Intro"), &m_application, script), nullptr);
    EXPECT_EQ(m_errors.TakeReports(), (Reports{{Messenger::kErrorStateWithoutOwner, "\"Intro\""},
                                               {MessengerFactory::kErrorCreationFailed, "\"\",\"Intro\""},
                                               {Messenger::kErrorOwnerNotStateGraph, "\"Intro\""},
                                               {MessengerFactory::kErrorCreationFailed, "\"\",\"Intro\""}}));
}

TEST_F(MessengerStateTest, AStateWhoseSectionCannotBeReadIsNotMade) {
    // Two states of one graph cannot share a name.
    Script* script =
        m_application.AddScript("Main", "[Game]\nClass=StateGraph\nStartState=Intro\nState=intro\n"
                                        "[Intro]\nClass=State\n");
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Game"), &m_application, script), nullptr);
    const Reports reports = m_errors.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), (VemoTest::Reported{Messenger::kErrorDuplicateName, "\"Game\",\"intro\""}));
}

} // namespace
