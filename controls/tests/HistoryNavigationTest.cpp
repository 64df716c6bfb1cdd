// A history control in the states of a real navigation graph over a real viewport (the DirectX 6 engine,
// headless): its commands reach the state, which signals the outcome, and the next state's control goes on
// with the shared history.
#include "controls/HistoryControl.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/states/NavigationStateGraph.h"
#include "runtime/testing/PictureTestSupport.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using MessengerTest::S;

const char* const kTitle = "[Viewport]\nClass=Viewport\nSize=64, 48\n"
                           "[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Page\n"
                           "Action=Menu, 3, Page\nAction=Page, 2, Menu\n"
                           "[Menu]\nClass=NavigationState\nControl=History\n"
                           "[Page]\nClass=NavigationState\nControl=History\n"
                           "[History]\nClass=HistoryControl\n";

class HistoryNavigationTest : public PictureTest::Fixture {
protected:
    void SetUp() override {
        PictureTest::Fixture::SetUp();
        Script* script = LoadScript(kTitle);
        auto* viewport = dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), m_title.get(), script));
        ASSERT_NE(viewport, nullptr);
        m_title->UseViewport(viewport);
        m_graph = dynamic_cast<NavigationStateGraph*>(
            MessengerFactory::CreateFromScript(S("Graph"), m_title.get(), script));
        ASSERT_NE(m_graph, nullptr);
        ASSERT_TRUE(m_graph->Start());
    }

    void TearDown() override {
        if (m_graph != nullptr) {
            m_graph->Stop();
            delete m_graph;
        }
        PictureTest::Fixture::TearDown();
    }

    std::string Current() {
        auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }

    // The message handed to the current state's history control, then the graph's step.
    bool Send(const std::string& text) {
        auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
        Messenger* history = state->FindMessenger(S("History"));
        EXPECT_NE(history, nullptr);
        const bool handled = history != nullptr && state->SendText(S(text), history);
        m_graph->Step();
        return handled;
    }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        m_title->GetVariables().GetValue(S(section), S(key), value);
        return value.CStr();
    }

    NavigationStateGraph* m_graph = nullptr;
};

TEST_F(HistoryNavigationTest, GotoSignalsItsOutcomeAndSetsGotoAndTheNextStateStepsBack) {
    EXPECT_TRUE(Send("Add(2.Start), Goto(3, Page3)"));
    EXPECT_EQ(Current(), "Page") << "outcome 256 + 3";
    EXPECT_EQ(Variable("", "GOTO"), "Page3");
    EXPECT_EQ(Variable("History", "States"), "2.Start,3.Page3");
    EXPECT_EQ(m_application.TakeReports(), (VemoTest::Reports{}));

    EXPECT_TRUE(Send("GoBackward"));
    EXPECT_EQ(Current(), "Menu") << "the entry before replays outcome 2";
    EXPECT_EQ(Variable("", "GOTO"), "Start");
    EXPECT_EQ(Variable("History", "CurrentState"), "1");

    EXPECT_TRUE(Send("GoForward"));
    EXPECT_EQ(Current(), "Page");
    EXPECT_EQ(Variable("", "GOTO"), "Page3");
    EXPECT_EQ(m_application.TakeReports(), (VemoTest::Reports{}));
}

} // namespace
