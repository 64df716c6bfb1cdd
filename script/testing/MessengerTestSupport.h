// Support for the messenger tests: an application that serves scripts, locale tables and shared settings from
// memory, and a messenger class, registered under "TestRecorder", that records every word it handles.
//
//     MessengerTest::World world;                        // error recording and the application
//     Script* script = world.AddScript("Main", "[Menu]\nClass=TestRecorder\n");
//     auto* menu = world.Create<MessengerTest::Recorder>("Menu", &world.Application(), script);
//     world.Application().SendTextTo("Tag(x)", "Menu");
//     EXPECT_EQ(menu->TakeReceived(), (Log{"Tag(x)"}));
//     EXPECT_EQ(world.TakeReports(), (Reports{}));
#pragma once

#include "resources/error/Error.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/Config.h"
#include "script/ErrorString.h"
#include "script/Fragment.h"
#include "script/Messenger.h"
#include "script/MessengerApplication.h"
#include "script/MessengerFactory.h"
#include "script/Script.h"
#include "script/TextLocale.h"
#include "script/testing/ScriptTestSupport.h"
#include "script/testing/SettingsApplication.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace MessengerTest {

using Log = std::vector<std::string>;
using VemoTest::Reported;
using VemoTest::Reports;

inline std::string Text(const Vemo::String& text) {
    return ScriptTest::Text(text);
}

// A message as value text: words and arguments as written, quoted items in double quotes.
inline std::string Written(const Fragment& message) {
    Vemo::BasicArray<Fragment> list;
    list.PushBack(message);
    std::string text = ScriptTest::Describe(list);
    std::string plain;
    for (char c : text) {
        if (c != '[' && c != ']') {
            plain += c;
        }
    }
    return plain;
}

// Every event of the messengers of a test, in order (destruction, notifications), across messengers.
inline Log& Events() {
    static Log events;
    return events;
}

class Recorder : public Messenger {
public:
    Recorder(const Vemo::String& name, Messenger* parent, Script* script) : Messenger(name, parent, script) {}
    ~Recorder() override { Events().push_back(Text(GetName()) + " destroyed"); }

    static const Vemo::String& ClassWord() {
        static const Vemo::String word("TestRecorder");
        return word;
    }

    static Messenger* Create(const Vemo::String& name, Messenger* parent, Script* script) {
        auto* recorder = new Recorder(name, parent, script);
        if (!recorder->ReadScript()) {
            delete recorder;
            ErrorString text;
            AppendQuotedItem(text, parent != nullptr ? parent->GetName() : Vemo::String());
            AppendQuotedItem(text, name);
            RaiseError(kErrorCreateFailed, &text);
            return nullptr;
        }
        return recorder;
    }

    Vemo::String GetClassName() const override { return ClassWord(); }

    // Records the word, then runs the test's reaction to it, if any; the word "Fail" is refused, and so is
    // every word while m_refuse is set.
    bool HandleMessage(const Fragment& message, Messenger* sender) override {
        const std::string word = ScriptTest::Text(message.GetText());
        m_received.push_back(Written(message));
        if (word == "Subscribed" || word == "Unsubscribed") {
            Events().push_back(Text(GetName()) + " " + word + " by " +
                               (sender != nullptr ? Text(sender->GetName()) : "-"));
        }
        if (m_onWord) {
            m_onWord(*this, word);
        }
        if (word == "Fail" || m_refuse) {
            return false;
        }
        return Messenger::HandleMessage(message, sender);
    }

    Log TakeReceived() {
        Log taken;
        taken.swap(m_received);
        return taken;
    }

    Log m_received;
    bool m_refuse = false;
    std::function<void(Recorder&, const std::string&)> m_onWord;
};

// Recorders subscribed to messengers for a test, named Watcher0, Watcher1, ..., each with its own
// "Subscribed" taken; they live until Clear or the end of their owner.
class Watchers {
public:
    Recorder& Watch(Messenger& subject) {
        const std::string name = "Watcher" + std::to_string(m_recorders.size());
        m_recorders.push_back(std::make_unique<Recorder>(Vemo::String(name.c_str()), nullptr, nullptr));
        Recorder& watcher = *m_recorders.back();
        watcher.Subscribe(subject);
        watcher.TakeReceived();
        return watcher;
    }

    void Clear() { m_recorders.clear(); }

private:
    std::vector<std::unique_ptr<Recorder>> m_recorders;
};

inline const MessengerFactory::Registrar g_recorderRegistrar(Recorder::ClassWord(), &Recorder::Create);

// The application of the tests: scripts and locale tables by name from memory, shared settings in a Config,
// and a Quit that only counts (the pump's quit message would outlive the test).
class TestApplication : public ScriptTest::SettingsApplication {
public:
    TestApplication() : SettingsApplication(Vemo::String("App")) {}
    ~TestApplication() override {
        CloseUserSettings();
        if (TextLocaleProvider::GetCurrent() == this) {
            TextLocaleProvider::SetCurrent(nullptr);
        }
    }

    Script* GetScript(const Vemo::String& name) override {
        const auto found = m_scripts.find(Text(name));
        return found != m_scripts.end() ? found->second.get() : nullptr;
    }

    TextLocale* GetTextLocale(const Fragment& name) override {
        const auto found = m_locales.find(ScriptTest::Text(name.GetText()));
        return found != m_locales.end() ? found->second.get() : nullptr;
    }

    void Quit() override { ++m_quits; }

    std::map<std::string, std::unique_ptr<Script>> m_scripts;
    std::map<std::string, std::unique_ptr<TextLocale>> m_locales;
    int m_quits = 0;
};

// The error recording and the application of one test. Messengers made with Create are destroyed with the
// world, before the application.
class World {
public:
    // Without own error recording, the test provides the current application systems (storage tests do).
    explicit World(bool recordErrors = true) {
        Events().clear();
        if (recordErrors) {
            m_errors = std::make_unique<VemoTest::TestApplication>();
        }
    }
    ~World() {
        for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it) {
            delete *it;
        }
    }

    Script* AddScript(const std::string& name, const std::string& text) {
        auto script = std::make_unique<Script>();
        EXPECT_TRUE(script->LoadBuffer(text.data(), text.size(), false));
        return Adopt(name, std::move(script));
    }

    // The application serves the script under the name from now on.
    Script* Adopt(const std::string& name, std::unique_ptr<Script> script) {
        Script* result = script.get();
        m_application.m_scripts[name] = std::move(script);
        return result;
    }

    void AddLocale(const std::string& name, const std::string& text) {
        auto locale = std::make_unique<TextLocale>();
        EXPECT_TRUE(locale->LoadBuffer(text.data(), text.size()));
        m_application.m_locales[name] = std::move(locale);
    }

    // Through the factory; a messenger without a parent is destroyed with the world.
    template <class T = Messenger>
    T* Create(const std::string& name, Messenger* parent, Script* script) {
        Messenger* made = MessengerFactory::CreateFromScript(ScriptTest::Bytes(name), parent, script);
        if (made != nullptr && parent == nullptr) {
            m_roots.push_back(made);
        }
        return dynamic_cast<T*>(made);
    }

    TestApplication& Application() { return m_application; }
    Reports TakeReports() { return m_errors->TakeReports(); }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        m_application.GetVariables().GetValue(Vemo::String(section), Vemo::String(key), value);
        return Text(value);
    }

    void SetVariable(const char* section, const char* key, const std::string& value) {
        EXPECT_TRUE(m_application.GetVariables().SetValue(Vemo::String(section), Vemo::String(key),
                                                          ScriptTest::Bytes(value)));
    }

private:
    std::unique_ptr<VemoTest::TestApplication> m_errors;
    TestApplication m_application;
    std::vector<Messenger*> m_roots;
};

inline Vemo::String S(const std::string& text) {
    return ScriptTest::Bytes(text);
}

inline Vemo::BasicArray<Fragment> Parsed(const std::string& text) {
    Vemo::BasicArray<Fragment> fragments;
    EXPECT_TRUE(Script::TokenizeText(fragments, text.data(), static_cast<std::uint32_t>(text.size())));
    return fragments;
}

} // namespace MessengerTest
