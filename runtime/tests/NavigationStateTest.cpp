// Navigation states in a real navigation graph over a real viewport (the DirectX 6 engine, headless): the
// graph and the states come from a script through the factory, clicks go in at pixels of the viewport's
// window, and what the states' actions do shows in the application's variables.
#include "engines/graphics/testing/DirectXTestSupport.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/application/MultimediaApplication.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/ControlBehavior.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/states/NavigationStateGraph.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

// The multimedia application of these tests: the one script of the test, the viewport the test makes.
class StateTestApplication : public MultimediaApplication {
public:
    StateTestApplication() : MultimediaApplication(S("StateTest")) {}
    ~StateTestApplication() override = default;

    Script* GetScript(const Vemo::String&) override { return m_script; }
    using MultimediaApplication::GetScript;
    int ShowMessage(const Vemo::String*, const Vemo::String*) override { return 0; }
    const Vemo::String& GetConfigFileName() const override { return m_name; }
    const Vemo::String& GetLocaleFileName() const override { return m_name; }
    bool MatchIdent(const Vemo::String&) override { return false; }
    void OnStateEntered(MessengerState* state) override { Note("entered", state); }
    void OnStateExited(MessengerState* state) override { Note("exited", state); }

    void SetViewport(MessengerViewport* viewport) { m_viewport = viewport; }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        GetVariables().GetValue(S(section), S(key), value);
        return value.CStr();
    }

    Script* m_script = nullptr;
    std::vector<std::string> m_hooks;

private:
    void Note(const char* what, MessengerState* state) {
        m_hooks.push_back(std::string(what) + " " + state->GetName().CStr());
    }

    Vemo::String m_name{"Test.ini"};
};

const char* const kViewport = "[Viewport]\nClass=Viewport\nSize=320, 240\n";

class NavigationStateTest : public VemoTest::DirectX6Test {
protected:
    void TearDown() override {
        if (m_graph != nullptr) {
            m_graph->Stop();
            delete m_graph;
        }
        delete m_viewport;
        m_application.reset();
        VemoTest::DirectX6Test::TearDown();
    }

    // A graph [Graph] of the script's states, started; the viewport of kViewport.
    bool Load(const std::string& text) {
        m_script = std::make_unique<Script>();
        const std::string whole = std::string(kViewport) + text;
        EXPECT_TRUE(m_script->LoadBuffer(whole.data(), whole.size(), false));
        m_application->m_script = m_script.get();
        m_viewport = dynamic_cast<MessengerViewport*>(
            MessengerFactory::CreateFromScript(S("Viewport"), m_application.get(), m_script.get()));
        EXPECT_NE(m_viewport, nullptr);
        m_application->SetViewport(m_viewport);
        m_graph = dynamic_cast<NavigationStateGraph*>(
            MessengerFactory::CreateFromScript(S("Graph"), m_application.get(), m_script.get()));
        return m_graph != nullptr && m_graph->Start();
    }

    std::string CurrentName() {
        auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }

    // The message handled by the current state as sent by the named messenger of the state's, or by the
    // state itself.
    bool Send(const std::string& text, const std::string& from = "") {
        auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
        Messenger* sender = from.empty() ? state : state->FindMessenger(S(from));
        EXPECT_NE(sender, nullptr) << from;
        Vemo::BasicArray<Fragment> message;
        EXPECT_TRUE(Script::TokenizeText(message, text.c_str(), static_cast<std::uint32_t>(text.size())));
        return state->HandleFragment(message, sender);
    }

    void Click(int x, int y) {
        win32::testing::Click(WindowOf(*m_viewport), win32::testing::MouseButton::Left, x, y);
        Pump();
        m_viewport->ProcessEvents();
    }

    std::string Variable(const char* key) { return m_application->Variable("Log", key); }

    std::unique_ptr<StateTestApplication> m_application = std::make_unique<StateTestApplication>();
    std::unique_ptr<Script> m_script;
    MessengerViewport* m_viewport = nullptr;
    NavigationStateGraph* m_graph = nullptr;
};

const char* const kTwoStates =
    "[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Next\nState=Third\n"
    "Action=Menu, 0, Next\nAction=Menu, 3, Third\n"
    "[Next]\nClass=NavigationState\n[Third]\nClass=NavigationState\n";

TEST_F(NavigationStateTest, ProgressSignalsOutcome256PlusItsNumber) {
    for (const auto& [message, target] : {std::pair{"Progress", "Next"}, {"Progress(3)", "Third"}}) {
        ASSERT_TRUE(Load(std::string(kTwoStates) + "[Menu]\nClass=NavigationState\n"));
        EXPECT_EQ(m_graph->FindState(257)->GetId(), 257u);
        EXPECT_TRUE(Send(message));
        m_graph->Step();
        EXPECT_EQ(CurrentName(), target) << message;
        m_graph->Stop();
        delete m_graph;
        m_graph = nullptr;
        delete m_viewport;
        m_viewport = nullptr;
    }
}

TEST_F(NavigationStateTest, AProgressBeyondTheLastOutcomeIsRefused) {
    ASSERT_TRUE(Load(std::string(kTwoStates) + "[Menu]\nClass=NavigationState\n"));
    EXPECT_FALSE(Send("Progress(4294967041)"));
    m_graph->Step();
    EXPECT_EQ(CurrentName(), "Menu");
}

TEST_F(NavigationStateTest, MatchesWordsSendersTagsAndArgumentsWithoutRegardToCaseAndRunsEveryMatch) {
    ASSERT_TRUE(Load(std::string(kTwoStates) + "[Menu]\nClass=NavigationState\nControl=Slot\n"
                                               "OnMessage=Clicked(slot), SetVar(Log(a), 1)\n"
                                               "OnMessage=CLICKED(Slot), SetVar(Log(b), 2)\n"
                                               "OnMessage=Chosen(Slot(Saved), Left), SetVar(Log(c), 3)\n"
                                               "OnMessage=Chosen(Slot(Other)), SetVar(Log(d), 4)\n"
                                               "[Slot]\nClass=Control\n"));
    EXPECT_TRUE(Send("clicked", "Slot"));
    EXPECT_EQ(Variable("a"), "1");
    EXPECT_EQ(Variable("b"), "2");
    EXPECT_TRUE(Send("Chosen(left)", "Slot"));
    EXPECT_EQ(Variable("c"), "");
    auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    state->FindMessenger(S("Slot"))->SetTag(S("SAVED"));
    EXPECT_TRUE(Send("Chosen(Right)", "Slot"));
    EXPECT_EQ(Variable("c"), "");
    EXPECT_TRUE(Send("Chosen(LEFT)", "Slot"));
    EXPECT_EQ(Variable("c"), "3");
    EXPECT_EQ(Variable("d"), "");
}

TEST_F(NavigationStateTest, ItsOwnWordsNeverRunRecordsAndOtherSendersGoToTheBuiltInHandler) {
    ASSERT_TRUE(Load(std::string(kTwoStates) + "[Menu]\nClass=NavigationState\nControl=Slot\n"
                                               "OnMessage=Progress(Slot), SetVar(Log(progress), 1)\n"
                                               "OnMessage=CreateControl(Slot), SetVar(Log(create), 1)\n"
                                               "OnMessage=Tag(Nobody), SetVar(Log(tag), 1)\n"
                                               "[Slot]\nClass=Control\n"));
    EXPECT_TRUE(Send("CreateControl", "Slot"));
    EXPECT_TRUE(Send("Tag(Seen)", "Slot"));
    auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    EXPECT_EQ(std::string(state->GetTag().CStr()), "Seen");
    EXPECT_EQ(Variable("create"), "");
    EXPECT_EQ(Variable("tag"), "");
    EXPECT_TRUE(Send("Progress", "Slot"));
    m_graph->Step();
    EXPECT_EQ(CurrentName(), "Next");
    EXPECT_EQ(Variable("progress"), "");
}

TEST_F(NavigationStateTest, AClickOnAPlainControlReachesTheStatesRecordsOnceInScriptOrder) {
    ASSERT_TRUE(Load(std::string(kTwoStates) +
                     "[Menu]\nClass=NavigationState\nControl=Button\n"
                     "OpenAction=SetVar(Log(count), none), SetVar(Log(first), no)\n"
                     "OnMessage=Pressed(Button, 0), SetVar(Log(pressed), @count(Log))\n"
                     "OnMessage=Pressed(Button, 0), SetVar(Log(count), done)\n"
                     "OnMessage=Poked(Button), SetVar(Log(second), @first(Log)), SetVar(Log(first), yes)\n"
                     "[Button]\nClass=Control\nPosition=10, 10\nSize=50, 20\n"));
    m_viewport->DrawFrame(true);
    Click(20, 15);
    EXPECT_EQ(Variable("pressed"), "none");
    EXPECT_EQ(Variable("count"), "done");
    auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    ASSERT_EQ(state->GetControls().Size(), 1u);
    // A message to the parent and every subscriber: the state is both, and handles it once.
    EXPECT_TRUE(state->GetControls()[0]->SendTextTo(S("Poked"), Vemo::String()));
    EXPECT_EQ(Variable("first"), "yes");
    EXPECT_EQ(Variable("second"), "no");
}

TEST_F(NavigationStateTest, EnteringCreatesTheControlsAfreshAndLeavingDeletesThem) {
    ASSERT_TRUE(Load("[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Away\n"
                     "Action=Menu, 1, Away\nAction=Away, 1, Menu\n"
                     "[Menu]\nClass=NavigationState\nControl=Panel\nOpenAction=SetVar(Log(opened), yes)\n"
                     "CloseAction=SetVar(Log(closed), yes)\n"
                     "[Panel]\nClass=Control\nControl=Inner\n[Inner]\nClass=Control\n"
                     "[Away]\nClass=NavigationState\n"));
    auto* menu = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    ASSERT_EQ(menu->GetControls().Size(), 2u);
    const std::uint32_t first = menu->GetControls()[0]->GetSerialNumber();
    EXPECT_EQ(Variable("opened"), "yes");
    EXPECT_EQ(m_application->m_hooks, (std::vector<std::string>{"entered Menu"}));
    EXPECT_TRUE(Send("Progress(1)"));
    m_graph->Step();
    EXPECT_EQ(Control::FindLive(first), nullptr);
    EXPECT_EQ(menu->GetControls().Size(), 0u);
    EXPECT_EQ(Variable("closed"), "yes");
    EXPECT_TRUE(Send("Progress(1)"));
    m_graph->Step();
    ASSERT_EQ(menu->GetControls().Size(), 2u);
    EXPECT_NE(menu->GetControls()[0]->GetSerialNumber(), first);
    EXPECT_EQ(m_application->m_hooks, (std::vector<std::string>{"entered Menu", "exited Menu", "entered Away",
                                                                "exited Away", "entered Menu"}));
}

TEST_F(NavigationStateTest, CreateControlMakesAControlOfTheStateUnderTheNamedParentOrTheRoot) {
    ASSERT_TRUE(Load(std::string(kTwoStates) +
                     "[Menu]\nClass=NavigationState\nControl=Panel\n"
                     "[Panel]\nClass=Control\n[Extra]\nClass=Control\n[Other]\nClass=Control\n"));
    auto* state = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    EXPECT_TRUE(Send("CreateControl"));
    EXPECT_TRUE(Send("CreateControl(\"\", Panel)"));
    EXPECT_EQ(state->GetControls().Size(), 1u);
    EXPECT_FALSE(Send("CreateControl(Extra, Panel, Nobody)"));
    EXPECT_EQ(state->GetControls().Size(), 1u);
    EXPECT_TRUE(Send("CreateControl(Extra, Panel)"));
    ASSERT_EQ(state->GetControls().Size(), 2u);
    EXPECT_EQ(state->GetControls()[1]->GetParentControl(), state->GetControls()[0]);
    EXPECT_TRUE(Send("CreateControl(Other, Nothing)"));
    ASSERT_EQ(state->GetControls().Size(), 3u);
    EXPECT_EQ(state->GetControls()[2]->GetParentControl(), m_viewport->GetRootControl());
}

TEST_F(NavigationStateTest, AFailedEntryLeavesNothingBehindAndEndsTheBusyTime) {
    ASSERT_TRUE(Load("[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Broken\nState=Failing\n"
                     "Action=Menu, 1, Broken\nAction=Menu, 2, Failing\n"
                     "[Menu]\nClass=NavigationState\n"
                     "[Broken]\nClass=NavigationState\nControl=Panel\nControl=Missing\n"
                     "[Failing]\nClass=NavigationState\nControl=Panel\nOpenAction=SetUserSetting(x(y), z)\n"
                     "[Panel]\nClass=Control\nBehavior=Glow\n[Glow]\nClass=ControlBehavior\n"));
    for (const char* progress : {"Progress(1)", "Progress(2)"}) {
        const std::uint32_t before = m_viewport->GetBusyCount();
        EXPECT_TRUE(Send(progress));
        m_graph->Step();
        // The graph fell into its fallback state: the entry failed.
        EXPECT_EQ(m_graph->GetReachedEndState(), m_graph->FindState(1)) << progress;
        EXPECT_EQ(m_viewport->GetBusyCount(), before) << progress;
        for (std::uint32_t id : {258u, 259u}) {
            auto* state = dynamic_cast<NavigationState*>(m_graph->FindState(id));
            EXPECT_EQ(state->GetControls().Size(), 0u);
            EXPECT_EQ(state->GetBehaviors().Size(), 0u);
        }
        EXPECT_EQ(m_viewport->GetRootControl()->GetFirstChild(), nullptr);
        delete m_graph;
        m_graph = dynamic_cast<NavigationStateGraph*>(
            MessengerFactory::CreateFromScript(S("Graph"), m_application.get(), m_script.get()));
        ASSERT_TRUE(m_graph->Start());
    }
}

TEST_F(NavigationStateTest, AFailingCloseActionFailsTheExitButCleansUp) {
    ASSERT_TRUE(Load(std::string(kTwoStates) +
                     "[Menu]\nClass=NavigationState\nControl=Panel\nCloseAction=SetUserSetting(x(y), z)\n"
                     "CloseAction=SetVar(Log(after), yes)\n[Panel]\nClass=Control\n"));
    auto* menu = dynamic_cast<NavigationState*>(m_graph->GetCurrentState());
    EXPECT_FALSE(menu->Exit());
    EXPECT_EQ(Variable("after"), "yes");
    EXPECT_EQ(menu->GetControls().Size(), 0u);
}

TEST_F(NavigationStateTest, AMessagePatternWithoutASenderFailsTheGraph) {
    EXPECT_FALSE(
        Load(std::string(kTwoStates) + "[Menu]\nClass=NavigationState\nOnMessage=Clicked, Progress\n"));
    EXPECT_EQ(m_graph, nullptr);
}

TEST_F(NavigationStateTest, StatesNeedAStateGraphAsOwner) {
    Script script;
    const std::string text = "[Lost]\nClass=NavigationState\n";
    ASSERT_TRUE(script.LoadBuffer(text.data(), text.size(), false));
    m_application->m_script = &script;
    EXPECT_EQ(MessengerFactory::CreateFromScript(S("Lost"), m_application.get(), &script), nullptr);
    EXPECT_TRUE(VemoTest::ReportedInOrder(Taken(), {Messenger::kErrorSettings}));
}

} // namespace
