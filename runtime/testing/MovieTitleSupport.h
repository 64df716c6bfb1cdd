// A title with movies, run in this process: the product's application on a fresh emulated machine (C: holds
// Title, User and Shared, the registry store the product's paths), the whole engine world on the headless
// backend with QuickTime on the null audio sink, and a fake clock that the test moves. The test writes the
// configuration and the movies (real files, made with FFmpeg) before starting.
//
//     MovieTitle::Fixture: Write("Title/Quorven.ini", ...); WriteMedia("Title/Clip.mov", Pictures(10));
//     ASSERT_TRUE(Start()); Run(250); EXPECT_TRUE(Near(ShownAt(320, 240), qt::testing::FrameColor(2)));
#pragma once

#include "platform/testing/Clock.h"
#include "platform/testing/DirectDrawTesting.h"
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
#include "resources/error/ErrorHandle.h"
#include "resources/error/ErrorLog.h"
#include "resources/error/ErrorSystem.h"
#include "resources/testing/ReportedErrors.h"
#include "runtime/application/WindowFunctions.h"
#include "runtime/product/QuorvenApp.h"
#include "runtime/screen/MessengerViewport.h"
#include "runtime/testing/RunningApplication.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace MovieTitle {

inline const char* const kProductKey = "Software\\Vemo Company\\Products\\Quorven ZUT Plexotron\\System";

// The configuration's usual start: a 640 x 480 window, a font cache, the graph in [Graph].
inline const char* const kAppSections = "[App]\nViewport=Viewport\nFonts=Fonts\nGraph=Graph\n"
                                        "[Viewport]\nClass=Viewport\nTitle=Quorven\nSize=640, 480\n"
                                        "[Fonts]\nClass=FontCache\n";

inline qt::testing::MediaFile Pictures(int frames, int width = 64, int height = 48,
                                       int framesPerSecond = 10) {
    qt::testing::MediaFile file;
    qt::testing::PictureTrack track;
    track.frames = frames;
    track.width = width;
    track.height = height;
    track.framesPerSecond = framesPerSecond;
    file.pictures.push_back(track);
    return file;
}

inline qt::testing::MediaFile Tone(double seconds) {
    qt::testing::MediaFile file;
    qt::testing::SoundTrack track;
    track.seconds = seconds;
    file.sounds.push_back(track);
    file.format = "wav";
    return file;
}

// Colours a movie frame shows after scaling and conversion, within a few steps of each channel.
inline bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 8) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(difference) > tolerance) {
            return false;
        }
    }
    return true;
}

class Fixture : public ::testing::Test {
protected:
    Fixture() : m_drives({{'C'}}) {
        for (const char* folder : {"Title", "User", "Shared", "Temp"}) {
            std::filesystem::create_directories(m_drives.HostPath('C', folder));
        }
        m_temporary = std::make_unique<platform::testing::ScopedEnvironment>(
            "TMPDIR", m_drives.HostPath('C', "Temp").c_str());
        m_registry.WriteText("");
        EXPECT_TRUE(m_registry.SetStrings(
            win32::HKEY_LOCAL_MACHINE, kProductKey,
            {{"GamePath", "C:\\Title"}, {"SharedPath", "C:\\Shared"}, {"UserPath", "C:\\User"}}));
        Write("Title/Quorven.loc", std::string("TITLE\0Quorven\0", 14));
    }

    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows());
        qt::testing::UseAudioBackend(video::AudioBackendKind::None);
    }

    void TearDown() override {
        m_running.TearDown();
        qt::testing::ClearFailures();
        const qt::testing::OpenObjects open = qt::testing::GetOpenObjects();
        EXPECT_TRUE(open.None()) << "left open: movies " << open.movies << ", tracks " << open.tracks
                                 << ", controllers " << open.controllers << ", ports " << open.windowPorts
                                 << ", worlds " << open.worlds << ", handles " << open.handles;
    }

    void Write(const std::string& relative, const std::string& text) const {
        const std::filesystem::path path = m_drives.HostPath('C', relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }

    void WriteMedia(const std::string& relative, const qt::testing::MediaFile& file) const {
        qt::testing::WriteMediaFile(m_drives.HostPath('C', relative), file);
    }

    // The configuration: the usual start, then the graph and the states.
    void WriteTitle(const std::string& sections) const {
        Write("Title/Quorven.ini", kAppSections + sections);
    }

    // Start-up as the program's run function makes it, without the single-instance guard.
    bool Start() { return m_running.Start(); }
    bool Stop() { return m_running.Stop(); }

    QuorvenApp& App() { return m_running.App(); }
    MessengerViewport& Viewport() { return *App().GetViewport(); }
    win32::HWND Window() { return GetViewportWindowHandle(App().GetViewport()); }

    // Application steps over the time, one every 10 ms of the clock.
    void Run(std::uint32_t milliseconds) {
        for (std::uint32_t passed = 0; passed < milliseconds; passed += 10) {
            m_clock.Advance(10);
            App().Step();
        }
    }

    // The name of the current state, "-" without one.
    std::string CurrentState() {
        Vemo::State* state =
            App().GetStateGraph() != nullptr ? App().GetStateGraph()->GetCurrentState() : nullptr;
        auto* messenger = dynamic_cast<Messenger*>(state);
        return messenger != nullptr ? messenger->GetName().CStr() : "-";
    }

    // What the viewport's window shows at the point, movies included.
    std::uint32_t ShownAt(int x, int y) {
        const std::optional<video::Frame> frame = ddraw::testing::ReadFrame(Window());
        return frame.has_value() && x < frame->width && y < frame->height ? frame->At(x, y) & 0xFFFFFF
                                                                          : 0xFF000000;
    }

    // The codes reported so far, oldest first.
    static std::vector<Vemo::ErrorCode> Reported() { return VemoTest::ReportedCodes(); }

    platform::testing::FakeClock m_clock{1000};
    win32::testing::TemporaryDrives m_drives;
    win32::testing::TemporaryRegistry m_registry;
    std::unique_ptr<platform::testing::ScopedEnvironment> m_temporary;
    win32::testing::MessageBoxRecorder m_boxes;
    TitleTest::RunningApplication m_running;
};

} // namespace MovieTitle
