// A history control in the states of a real navigation graph over a real viewport (the DirectX 6 engine,
// headless): its commands reach the state, which signals the outcome, and the next state's control goes on
// with the shared history.
#include "controls/HistoryControl.h"
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "runtime/MessengerViewport.h"
#include "runtime/MultimediaApplication.h"
#include "runtime/NavigationState.h"
#include "runtime/NavigationStateGraph.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

class HistoryApplication : public MultimediaApplication {
public:
    HistoryApplication() : MultimediaApplication(S("HistoryTest")) {}

    Script* GetScript(const Vemo::String&) override { return m_script; }
    using MultimediaApplication::GetScript;
    int ShowMessage(const Vemo::String*, const Vemo::String*) override { return 0; }
    const Vemo::String& GetConfigFileName() const override { return m_name; }
    const Vemo::String& GetLocaleFileName() const override { return m_name; }
    bool MatchIdent(const Vemo::String&) override { return false; }

    void SetViewport(MessengerViewport* viewport) { m_viewport = viewport; }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        GetVariables().GetValue(S(section), S(key), value);
        return value.CStr();
    }

    Script* m_script = nullptr;

private:
    Vemo::String m_name{"Test.ini"};
};

const char* const kTitle = "[Viewport]\nClass=Viewport\nSize=64, 48\n"
                           "[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Page\n"
                           "Action=Menu, 3, Page\nAction=Page, 2, Menu\n"
                           "[Menu]\nClass=NavigationState\nControl=History\n"
                           "[Page]\nClass=NavigationState\nControl=History\n"
                           "[History]\nClass=HistoryControl\n";

class HistoryNavigationTest : public VemoTest::DirectX6Test {
protected:
    void SetUp() override {
        VemoTest::DirectX6Test::SetUp();
        m_script = std::make_unique<Script>();
        const std::string text(kTitle);
        ASSERT_TRUE(m_script->LoadBuffer(text.data(), text.size(), false));
        m_title->m_script = m_script.get();
        m_viewport = dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), m_title.get(), m_script.get()));
        ASSERT_NE(m_viewport, nullptr);
        m_title->SetViewport(m_viewport);
        m_graph = dynamic_cast<NavigationStateGraph*>(
            MessengerFactory::CreateFromScript(S("Graph"), m_title.get(), m_script.get()));
        ASSERT_NE(m_graph, nullptr);
        ASSERT_TRUE(m_graph->Start());
    }

    void TearDown() override {
        if (m_graph != nullptr) {
            m_graph->Stop();
            delete m_graph;
        }
        delete m_viewport;
        m_title.reset();
        VemoTest::DirectX6Test::TearDown();
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

    std::unique_ptr<HistoryApplication> m_title = std::make_unique<HistoryApplication>();
    std::unique_ptr<Script> m_script;
    MessengerViewport* m_viewport = nullptr;
    NavigationStateGraph* m_graph = nullptr;
};

TEST_F(HistoryNavigationTest, GotoSignalsItsOutcomeAndSetsGotoAndTheNextStateStepsBack) {
    EXPECT_TRUE(Send("Add(2.Start), Goto(3, Page3)"));
    EXPECT_EQ(Current(), "Page") << "outcome 256 + 3";
    EXPECT_EQ(m_title->Variable("", "GOTO"), "Page3");
    EXPECT_EQ(m_title->Variable("History", "States"), "2.Start,3.Page3");
    EXPECT_EQ(m_application.TakeReports(), (VemoTest::Reports{}));

    EXPECT_TRUE(Send("GoBackward"));
    EXPECT_EQ(Current(), "Menu") << "the entry before replays outcome 2";
    EXPECT_EQ(m_title->Variable("", "GOTO"), "Start");
    EXPECT_EQ(m_title->Variable("History", "CurrentState"), "1");

    EXPECT_TRUE(Send("GoForward"));
    EXPECT_EQ(Current(), "Page");
    EXPECT_EQ(m_title->Variable("", "GOTO"), "Page3");
    EXPECT_EQ(m_application.TakeReports(), (VemoTest::Reports{}));
}

} // namespace
