// Support for the tests that drive scripted state graphs: an application derived from MessengerApplication
// that serves scripts from memory and creates its state graph from one, and a state class, registered under
// "TestActionState", whose script keys say what it does.
//
//     ScriptedTest::ScriptedApplication application;
//     application.AddScript("Main", "[Game]\nClass=StateGraph\nStartState=Intro\n...");
//     application.UseStateGraph("Game", "Main");          // created by CreateStateGraph
//     ASSERT_TRUE(application.Initialize(arguments));
//     application.Step();
//     EXPECT_EQ(ScriptedTest::TakeTrace(), (Log{"update Intro", "exit Intro", "enter Menu", ...}));
#pragma once

#include "foundation/String.h"
#include "script/Config.h"
#include "script/FragmentStream.h"
#include "script/MessengerApplication.h"
#include "script/MessengerFactory.h"
#include "script/MessengerState.h"
#include "script/MessengerStateGraph.h"
#include "script/Script.h"
#include "script/testing/ScriptTestSupport.h"
#include "script/testing/SettingsApplication.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ScriptedTest {

using Log = std::vector<std::string>;

inline Log& Trace() {
    static Log trace;
    return trace;
}

inline Log TakeTrace() {
    Log taken;
    taken.swap(Trace());
    return taken;
}

inline Vemo::String S(const std::string& text) {
    return ScriptTest::Bytes(text);
}

// A state that runs the messages of its "OpenAction" key when entered, of "UpdateAction" on every update and
// of "CloseAction" when left, each handled by the state itself, and that writes each of these events into the
// trace. The message word Progress(N) signals the script outcome N; a "RefuseEnter" key makes Enter fail.
class ActionState : public MessengerState {
public:
    ActionState(const Vemo::String& name, MessengerStateGraph* owner, Script* script)
        : MessengerState(name, owner, script) {}

    static const Vemo::String& ClassWord() {
        static const Vemo::String word("TestActionState");
        return word;
    }

    static Messenger* Create(const Vemo::String& name, Messenger* owner, Script* script) {
        MessengerStateGraph* graph = StateGraphOwner(name, owner);
        if (graph == nullptr) {
            return nullptr;
        }
        auto* state = new ActionState(name, graph, script);
        if (!state->ReadScript()) {
            delete state;
            return nullptr;
        }
        return state;
    }

    Vemo::String GetClassName() const override { return ClassWord(); }

    bool Enter() override {
        Note("enter");
        RunKey("OpenAction");
        Vemo::String refuse;
        return !GetScript()->GetValueText(GetSectionName(), S("RefuseEnter"), refuse);
    }
    void Update() override {
        Note("update");
        RunKey("UpdateAction");
    }
    bool Exit() override {
        Note("exit");
        RunKey("CloseAction");
        return true;
    }

    bool HandleMessage(const Fragment& message, Messenger* sender) override {
        if (message.GetText().CompareNoCase(SubString(S("Progress"))) == 0) {
            unsigned outcome = 0;
            FragmentStream(message.GetChildren()) >> outcome;
            Signal(outcome + MessengerStateGraph::kScriptOutcomeBase);
            return true;
        }
        return MessengerState::HandleMessage(message, sender);
    }

private:
    void Note(const char* event) { Trace().push_back(std::string(event) + " " + GetName().CStr()); }

    void RunKey(const char* key) {
        const Vemo::BasicArray<Fragment>* messages = nullptr;
        if (GetScript()->GetFragments(GetSectionName(), S(key), messages)) {
            HandleFragment(*messages, this);
        }
    }
};

inline const MessengerFactory::Registrar g_actionStateRegistrar(ActionState::ClassWord(),
                                                                &ActionState::Create);

// The application: scripts by name from memory, no locale tables, shared settings in a Config, and the
// top-level state graph created from a script section by CreateStateGraph. It closes its user settings when
// it shuts down, as the product does.
class ScriptedApplication : public ScriptTest::SettingsApplication {
public:
    explicit ScriptedApplication(const char* name = "App") : SettingsApplication(S(name)) { Trace().clear(); }
    // The messengers made from the scripts go before the scripts.
    ~ScriptedApplication() override {
        while (!GetChildren().Empty()) {
            delete *GetChildren().Begin();
        }
    }

    Script* AddScript(const std::string& name, const std::string& text) {
        auto script = std::make_unique<Script>();
        EXPECT_TRUE(script->LoadBuffer(text.data(), text.size(), false));
        Script* added = script.get();
        m_scripts[name] = std::move(script);
        return added;
    }

    // CreateStateGraph creates the graph of that section of that script.
    void UseStateGraph(const std::string& graph, const std::string& script) {
        m_graphName = graph;
        m_graphScript = script;
    }

    // The graph as a messenger, once created.
    MessengerStateGraph* Graph() const { return dynamic_cast<MessengerStateGraph*>(GetStateGraph()); }

    Script* GetScript(const Vemo::String& name) override {
        const auto found = m_scripts.find(name.CStr());
        return found != m_scripts.end() ? found->second.get() : nullptr;
    }
    using MessengerApplication::GetScript;

    TextLocale* GetTextLocale(const Fragment&) override { return nullptr; }

    bool CreateStateGraph() override {
        if (m_graphName.empty()) {
            return true;
        }
        Script* script = GetScript(S(m_graphScript));
        if (script == nullptr) {
            return false;
        }
        Messenger* made = MessengerFactory::CreateFromScript(S(m_graphName), this, script);
        auto* graph = dynamic_cast<MessengerStateGraph*>(made);
        if (graph == nullptr) {
            delete made;
            return false;
        }
        SetStateGraph(graph);
        return true;
    }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        return GetVariables().GetValue(S(section), S(key), value) ? value.CStr() : "<missing>";
    }

private:
    std::map<std::string, std::unique_ptr<Script>> m_scripts;
    std::string m_graphName;
    std::string m_graphScript;
};

} // namespace ScriptedTest
