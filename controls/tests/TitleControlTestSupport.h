// The product's application in this process on a title written by the test (runtime/testing/RunningTitle.h),
// with the controls under test on its first screen, and the emulated machine around it: the Windows folder
// C:\WINDOWS, a fresh desktop session, the shell's opener a script that writes down what it was asked to
// open, message boxes answered and recorded. A listener subscribes to a control and keeps every message it
// announces.
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
#include "resources/storage/Path.h"
#include "resources/testing/MonolithArchiveWriter.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/testing/RunningTitle.h"
#include "script/testing/MessengerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace TitleControlTest {

using MessengerTest::Log;

class Fixture : public TitleTest::RunningTitle {
protected:
    void SetUp() override {
        RunningTitle::SetUp();
        win32::testing::ResetSystemParameters();
        const std::string opener = Host("Opener.sh");
        Write("Opener.sh", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + Host("Opened.log") + "'\n");
        std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
        m_opener.Set(opener.c_str());
        m_windir.Set(Host("WINDOWS").c_str());
    }

    void TearDown() override {
        m_listener.reset();
        RunningTitle::TearDown();
        win32::testing::ResetSystemParameters();
    }

    // Starts the title with the controls (a "Control" value each, one a line) on its first screen and the
    // sections added to its script.
    bool Start(const std::string& controls, const std::string& sections) {
        m_listener.reset();
        std::string menu;
        std::istringstream lines(controls);
        for (std::string line; std::getline(lines, line);) {
            menu += "Control=" + line + "\n";
        }
        return RunningTitle::Start("", menu, sections);
    }

    bool Stop() {
        m_listener.reset();
        return RunningTitle::Stop();
    }

    // The host path of a file or folder of drive C:.
    std::string Host(const std::string& relative) const { return m_drives.HostPath('C', relative); }

    // A file of drive C:, "<missing>" when there is none.
    std::string Read(const std::string& relative) const {
        std::ifstream in(Host(relative), std::ios::binary);
        if (!in) {
            return "<missing>";
        }
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // An archive of the title's folder (C:\Title\name.qib), written through the running title's storage.
    bool WriteTitleArchive(const char* name, const std::vector<VemoTest::ArchiveEntry>& entries) {
        Vemo::Path inTitle;
        return inTitle.Parse(Vemo::String("HD0:/Title/x")) &&
               VemoTest::WriteMonolithArchive(*inTitle.GetDirectory(), name, entries);
    }

    // The control of that name on the screen, or null.
    template <class T = Control>
    T* Find(const std::string& name) {
        return dynamic_cast<T*>(RunningTitle::Find(name));
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

    // What the opener was asked to open, once it has written that many lines (or ten seconds passed).
    std::string Opened(std::size_t lines) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string text = Read("Opened.log");
        while (Lines(text) < lines && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            text = Read("Opened.log");
        }
        return text == "<missing>" ? "" : text;
    }

    win32::testing::MessageBoxRecorder m_boxes;
    platform::testing::ScopedEnvironment m_opener{"VEMO_OPENER", nullptr};
    platform::testing::ScopedEnvironment m_windir{"VEMO_WINDIR", nullptr};
    std::unique_ptr<MessengerTest::Recorder> m_listener;

private:
    static std::size_t Lines(const std::string& text) {
        return text == "<missing>" ? 0 : static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    }
};

} // namespace TitleControlTest
