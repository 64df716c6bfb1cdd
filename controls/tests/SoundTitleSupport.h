// The product's application in this process on a small title of sounds: an emulated machine whose C: (HD0)
// holds the folders Title, User, Shared and Temp and whose registry store holds the product's paths, a
// configuration written by the test, tones written as WAV files into the title folder with FFmpeg, QuickTime
// on the null audio sink, and a fake clock that moves only when the test says. A Listener subscribes to
// controls and records what they announce.
//
//     SoundTitleTest: Begin("[Screen]\nClass=NavigationState\nControl=Music\n[Music]\nClass=SoundControl\n");
//     Send("Play", "Music"); Frame(1100); EXPECT_EQ(listener.Take(), (Log{"Music: AtEnd"}));
#pragma once

#include "engines/media/Sound.h"
#include "platform/testing/Clock.h"
#include "platform/testing/Drives.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/MessageBoxTesting.h"
#include "platform/testing/QuickTimeTesting.h"
#include "platform/testing/Registry.h"
#include "platform/testing/ScopedEnvironment.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"
#include "resources/SystemAccessors.h"
#include "resources/error/Error.h"
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorSystem.h"
#include "resources/testing/ReportedErrors.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/RunningApplication.h"
#include "script/Messenger.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace SoundTitle {

using Log = std::vector<std::string>;

inline Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

// A messenger that records "sender: word" for every message it gets, and the thread it got it on.
class Listener : public Messenger {
public:
    Listener() : Messenger(Vemo::String("Listener"), nullptr, nullptr) {}

    bool HandleMessage(const Fragment& message, Messenger* sender) override {
        Vemo::String word;
        message.GetText().GetString(word);
        const std::string text = word.CStr();
        if (text != "Subscribed" && text != "Unsubscribed") {
            m_heard.push_back((sender != nullptr ? std::string(sender->GetName().CStr()) : "-") + ": " +
                              text);
            m_threads.push_back(std::this_thread::get_id());
        }
        return Messenger::HandleMessage(message, sender);
    }

    Log Take() {
        Log taken;
        taken.swap(m_heard);
        return taken;
    }

    Log m_heard;
    std::vector<std::thread::id> m_threads;
};

// The head of every test title: a 640x480 viewport and a graph whose start state is "Screen", which moves
// on to "Next" at Progress(1); the test adds the states' sections.
inline const char* const kTitleHead = "[App]\n"
                                      "Viewport=Viewport\n"
                                      "Fonts=Fonts\n"
                                      "Graph=Graph\n"
                                      "\n"
                                      "[Viewport]\n"
                                      "Class=Viewport\n"
                                      "Title=Quorven\n"
                                      "Size=640, 480\n"
                                      "\n"
                                      "[Fonts]\n"
                                      "Class=FontCache\n"
                                      "\n"
                                      "[Graph]\n"
                                      "Class=NavigationStateGraph\n"
                                      "StartState=Screen\n"
                                      "State=Next\n"
                                      "EndState=Done\n"
                                      "Action=Screen, 1, Next\n"
                                      "Action=Next, 1, Done\n"
                                      "\n"
                                      "[Next]\n"
                                      "Class=NavigationState\n"
                                      "\n"
                                      "[Done]\n"
                                      "Class=NavigationState\n"
                                      "\n";

// The machine as the installer leaves it, with the product's paths in the registry store.
class Machine {
public:
    Machine() {
        for (const char* folder : {"Title", "User", "Shared", "Temp"}) {
            std::filesystem::create_directories(Host(folder));
        }
        m_temporary.Set(Host("Temp").c_str());
        Write("Title/Quorven.loc", std::string("TITLE\0Quorven\0", 15));
        m_registry.WriteText("");
        EXPECT_TRUE(m_registry.SetStrings(
            win32::HKEY_LOCAL_MACHINE, "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System",
            {{"GamePath", "C:\\Title"}, {"SharedPath", "C:\\Shared"}, {"UserPath", "C:\\User"}}));
    }

    // The host path of a file or folder of C:.
    std::string Host(const std::string& relative) const { return m_drives.HostPath('C', relative); }

    void Write(const std::string& relative, const std::string& bytes) const {
        std::ofstream(Host(relative), std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    win32::testing::TemporaryDrives m_drives{{'C'}};
    win32::testing::TemporaryRegistry m_registry;
    platform::testing::ScopedEnvironment m_temporary{"TMPDIR", nullptr};
};

class SoundTitleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows());
        qt::testing::UseAudioBackend(video::AudioBackendKind::None);
    }

    void TearDown() override {
        m_running.TearDown();
        const qt::testing::OpenObjects open = qt::testing::GetOpenObjects();
        EXPECT_TRUE(open.None()) << "left open: movies " << open.movies << ", controllers "
                                 << open.controllers;
    }

    // A tone of the length as a WAV file in the title folder.
    void WriteTone(const std::string& name, double seconds, double frequency = 440.0) {
        qt::testing::MediaFile file;
        qt::testing::SoundTrack track;
        track.seconds = seconds;
        track.frequency = frequency;
        file.sounds.push_back(track);
        file.format = "wav";
        qt::testing::WriteMediaFile(m_machine.Host("Title/" + name), file);
    }

    // Writes the title's configuration (the head and the states) and starts the program on it.
    bool Begin(const std::string& states) {
        m_machine.Write("Title/Quorven.ini", std::string(kTitleHead) + states);
        if (!m_running.Start()) {
            for (Vemo::ErrorCode code : TakeReports()) {
                ADD_FAILURE() << "reported " << std::hex << code;
            }
            return false;
        }
        TakeReports();
        return true;
    }

    bool Stop() { return m_running.Stop(); }

    QuorvenApp& App() { return m_running.App(); }

    // The live control of that name anywhere under the viewport's root, or null.
    Control* Find(const std::string& name) { return FindUnder(App().GetViewport()->GetRootControl(), name); }

    template <class T>
    T* FindAs(const std::string& name) {
        T* control = dynamic_cast<T*>(Find(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    // The message as script text, from the listener to the control of that name.
    bool Send(const std::string& text, const std::string& name) {
        Control* control = Find(name);
        EXPECT_NE(control, nullptr) << name;
        return control != nullptr && m_listener.SendText(S(text), control);
    }

    // Moves the clock on and runs one application step (the state's and the product controls' Idle).
    void Frame(std::uint32_t milliseconds) {
        m_clock.Advance(milliseconds);
        App().Step();
    }

    // Frames of at most 50 ms until the clock has moved on by the time.
    void Run(std::uint32_t milliseconds) {
        while (milliseconds > 0) {
            const std::uint32_t step = milliseconds < 50 ? milliseconds : 50;
            Frame(step);
            milliseconds -= step;
        }
    }

    std::string CurrentState() {
        auto* state = dynamic_cast<NavigationState*>(App().GetStateGraph()->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        App().GetVar(S(section), S(key), value);
        return value.CStr();
    }

    // The codes reported since the last look, oldest first.
    std::vector<Vemo::ErrorCode> TakeReports() {
        std::vector<Vemo::ErrorCode> codes = VemoTest::ReportedCodes(m_reportsSeen);
        m_reportsSeen = static_cast<std::uint32_t>(VemoTest::ReportedCodes().size());
        return codes;
    }

    static bool Reported(const std::vector<Vemo::ErrorCode>& reports, Vemo::ErrorCode code) {
        return std::find(reports.begin(), reports.end(), code) != reports.end();
    }

    // Hears the control's announcements.
    void Listen(const std::string& name) {
        Control* control = Find(name);
        ASSERT_NE(control, nullptr) << name;
        m_listener.Subscribe(*control);
    }

    platform::testing::FakeClock m_clock{1000};
    Machine m_machine;
    win32::testing::MessageBoxRecorder m_boxes;
    Listener m_listener;
    TitleTest::RunningApplication m_running;

private:
    static Control* FindUnder(Control* control, const std::string& name) {
        for (Control* at = control; at != nullptr; at = at->GetNextSibling()) {
            if (name == at->GetName().CStr()) {
                return at;
            }
            if (Control* found = FindUnder(at->GetFirstChild(), name)) {
                return found;
            }
        }
        return nullptr;
    }

    std::uint32_t m_reportsSeen = 0;
};

} // namespace SoundTitle
