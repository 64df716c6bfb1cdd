// The product's application in this process on the fixture title (runtime/tests/TitleTestSupport.h), with
// the controls under test placed on its first screen by the title's own script, and the emulated machine
// around it: the Windows folder C:\WINDOWS, a fresh desktop session, the shell's opener a script that writes
// down what it was asked to open, message boxes answered and recorded. A listener subscribes to a control and
// keeps every message it announces.
//
//     class MyTest : public TitleControlTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         ASSERT_TRUE(Start("Launcher", "[Launcher]\nClass=ExecuteControl\n"));
//         Listen("Launcher");
//         Send("Launcher", "Execute(\"C:\\\\Title\\\\Readme.txt\")");
//         EXPECT_EQ(Heard(), Log{});
//     }
#pragma once

#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/testing/SystemParameters.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/Module.h"
#include "platform/win32/Window.h"
#include "platform/win32/WindowMessages.h"
#include "runtime/Control.h"
#include "runtime/MessengerViewport.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/tests/TitleTestSupport.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace TitleControlTest {

using MessengerTest::Log;

class Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(win32::testing::LiveWindowCount(), 0U);
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::testing::ReleaseAllInput();
        win32::testing::ResetSystemParameters();
        const std::string opener = m_title.Host('C', "Opener.sh");
        m_title.Write('C', "Opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + OpenedLog() + "'\n");
        ::chmod(opener.c_str(), 0755);
        m_opener.Set(opener.c_str());
        m_windir.Set(m_title.Host('C', "WINDOWS").c_str());
    }

    void TearDown() override {
        m_listener.reset();
        Stop();
        win32::MSG message;
        while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
        }
        win32::testing::ReleaseAllInput();
        win32::testing::ResetSystemParameters();
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    }

    // Starts the title with the controls (a "Control" value each, one a line) on its first screen and the
    // sections added to its script.
    bool Start(const std::string& controls, const std::string& sections) {
        if (m_script.empty()) {
            m_script = m_title.Read('C', "Title/Quorven.ini");
        }
        std::string script = m_script;
        std::string lines;
        std::size_t from = 0;
        while (from < controls.size()) {
            const std::size_t end = controls.find('\n', from);
            lines += "\nControl=" +
                     controls.substr(from, end == std::string::npos ? std::string::npos : end - from);
            from = end == std::string::npos ? controls.size() : end + 1;
        }
        const std::string anchor = "Control=PlayButton";
        script.insert(script.find(anchor) + anchor.size(), lines);
        m_title.Write('C', "Title/Quorven.ini", script + "\n" + sections);
        Vemo::Win32Application::SetProcessValues(win32::GetModuleHandleA(nullptr), nullptr, win32::SW_SHOW);
        m_application = std::make_unique<QuorvenApp>();
        Vemo::BasicArray<Vemo::String> arguments;
        arguments.PushBack(Vemo::String());
        return m_application->MessengerApplication::Initialize(arguments);
    }

    bool Stop() {
        m_listener.reset();
        if (m_application == nullptr) {
            return true;
        }
        const bool shut = m_application->Shutdown();
        m_application.reset();
        win32::UnregisterClassA(Win32DXQTMultimediaApplication::kMutexWindowClassName,
                                win32::GetModuleHandleA(nullptr));
        return shut;
    }

    QuorvenApp& App() { return *m_application; }

    // The control of that name on the screen, or null.
    template <class T = Control>
    T* Find(const std::string& name) {
        return dynamic_cast<T*>(FindIn(App().GetViewport()->GetRootControl(), name));
    }

    // From now on the listener keeps what the control announces.
    void Listen(const std::string& name) {
        Control* control = Find(name);
        ASSERT_NE(control, nullptr) << name;
        m_listener = std::make_unique<MessengerTest::Recorder>(Vemo::String("Listener"), nullptr, nullptr);
        m_listener->Subscribe(*control);
        m_listener->TakeReceived();
    }

    Log Heard() { return m_listener != nullptr ? m_listener->TakeReceived() : Log{}; }

    // The message handled by the control, as a script sends it (its subscribers do not get it).
    bool Send(const std::string& name, const std::string& text) {
        Control* control = Find(name);
        EXPECT_NE(control, nullptr) << name;
        const Vemo::String sender("Tester");
        return control != nullptr && control->ReceiveTextFrom(Vemo::String(text.c_str()), SubString(sender));
    }

    // "caption|text" of each box shown since the last look.
    std::vector<std::string> Boxes() {
        std::vector<std::string> boxes;
        for (const win32::testing::ShownMessageBox& box : m_boxes.Take()) {
            boxes.push_back(box.caption + "|" + box.text);
        }
        return boxes;
    }

    // A variable of the application, empty when it has none.
    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        App().GetVariables().GetValue(Vemo::String(section), Vemo::String(key), value);
        return value.CStr();
    }

    std::string OpenedLog() const { return m_title.Host('C', "Opened.log"); }

    // What the opener was asked to open, once it has written that many lines (or ten seconds passed).
    std::string Opened(std::size_t lines) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string text = m_title.Read('C', "Opened.log");
        while (Lines(text) < lines && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = m_title.Read('C', "Opened.log");
        }
        return text == "<missing>" ? "" : text;
    }

    TitleTest::InstalledTitle m_title;
    win32::testing::MessageBoxRecorder m_boxes;
    platform::testing::ScopedEnvironment m_opener{"VEMO_OPENER", nullptr};
    platform::testing::ScopedEnvironment m_windir{"VEMO_WINDIR", nullptr};
    std::unique_ptr<QuorvenApp> m_application;
    std::unique_ptr<MessengerTest::Recorder> m_listener;

private:
    // The title's own script, before the controls under test joined it.
    std::string m_script;

    static std::size_t Lines(const std::string& text) {
        return text == "<missing>" ? 0 : static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }

    static Control* FindIn(Control* control, const std::string& name) {
        if (control == nullptr) {
            return nullptr;
        }
        if (std::string(control->GetName().CStr()) == name) {
            return control;
        }
        for (Control* child = control->GetFirstChild(); child != nullptr; child = child->GetNextSibling()) {
            if (Control* found = FindIn(child, name)) {
                return found;
            }
        }
        return nullptr;
    }
};

} // namespace TitleControlTest
