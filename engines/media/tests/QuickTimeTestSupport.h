// The QuickTime engine tests' machine: the DirectX 6 tests' main window, Graphic System and DirectX 6 engine
// (headless), a fake clock, a temporary C: drive (the volume HD0) with the Win32 storage engine, the Movie
// and Sound Systems, and QuickTime on the null audio sink once the hook is installed on the main window.
// Movie and sound files are written there with FFmpeg. Every test must leave nothing of QuickTime open or
// started.
#pragma once

#include "engines/graphics/testing/DirectXTestSupport.h"
#include "engines/media/MovieSystem.h"
#include "engines/media/SoundSystem.h"
#include "engines/media/quicktime/QuickTimeEngineHook.h"
#include "engines/media/quicktime/QuickTimeMovieEngine.h"
#include "engines/media/quicktime/QuickTimeSoundEngine.h"
#include "engines/media/tests/MediaTestText.h"
#include "platform/testing/Clock.h"
#include "platform/testing/Drives.h"
#include "platform/testing/GdiTesting.h"
#include "platform/testing/MediaWriter.h"
#include "platform/testing/QuickTimeTesting.h"
#include "resources/storage/Path.h"
#include "resources/storage/StorageSystem.h"
#include "resources/storage/win32/Win32StorageEngine.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace VemoTest {

class QuickTimeTest : public DirectX6Test {
public:
    // Writes a file on C: and gives its path on HD0.
    Vemo::Path Write(const std::string& name, const qt::testing::MediaFile& file) {
        qt::testing::WriteMediaFile(HostPath(name), file);
        return PathOf(name);
    }
    std::string HostPath(const std::string& name) const { return m_drives.HostPath('C', name); }
    static Vemo::Path PathOf(const std::string& name) {
        Vemo::Path path;
        EXPECT_TRUE(path.Parse(Vemo::String(("HD0:/" + name).c_str()))) << name;
        return path;
    }

    static qt::testing::MediaFile Pictures(int frames = 10, int width = 64, int height = 48) {
        qt::testing::MediaFile file;
        qt::testing::PictureTrack track;
        track.frames = frames;
        track.width = width;
        track.height = height;
        file.pictures.push_back(track);
        return file;
    }
    static qt::testing::MediaFile Tone(double seconds = 1.0) {
        qt::testing::MediaFile file;
        qt::testing::SoundTrack track;
        track.seconds = seconds;
        file.sounds.push_back(track);
        return file;
    }

protected:
    void SetUp() override {
        DirectX6Test::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        qt::testing::UseAudioBackend(video::AudioBackendKind::None);
        qt::testing::SetQuickTimeVersion("6.0");
        m_application.m_storageSystem = Vemo::StorageSystem::Create();
        ASSERT_TRUE(m_application.m_storageSystem->AddEngine(Vemo::Win32StorageEngine::Create()));
        m_application.m_movieSystem = Vemo::MovieSystem::Create();
        m_application.m_soundSystem = Vemo::SoundSystem::Create();
        m_gdiObjects = win32::testing::LiveGdiObjects();
        m_application.TakeReports();
    }

    void TearDown() override {
        if (m_application.m_movieSystem != nullptr) {
            m_application.m_movieSystem->Shutdown();
            m_application.m_movieSystem = nullptr;
        }
        if (m_application.m_soundSystem != nullptr) {
            m_application.m_soundSystem->Shutdown();
            m_application.m_soundSystem = nullptr;
        }
        if (Vemo::QuickTimeEngineHook::Installed() != nullptr) {
            Vemo::QuickTimeEngineHook::Remove();
        }
        if (m_application.m_storageSystem != nullptr) {
            m_application.m_storageSystem->Shutdown();
            m_application.m_storageSystem = nullptr;
        }
        qt::testing::ClearFailures();
        qt::testing::SetQuickTimeVersion(std::nullopt);
        win32::testing::ClearGdiFailures();
        EXPECT_EQ(win32::testing::LiveGdiObjects(), m_gdiObjects) << "DIB sections left";
        EXPECT_EQ(win32::testing::LiveDeviceContexts(), 0U);
        const qt::testing::OpenObjects open = qt::testing::GetOpenObjects();
        EXPECT_TRUE(open.None()) << "left open: movies " << open.movies << ", tracks " << open.tracks
                                 << ", controllers " << open.controllers << ", ports " << open.windowPorts
                                 << ", worlds " << open.worlds << ", handles " << open.handles << ", files "
                                 << open.files;
        EXPECT_EQ(qt::testing::GetStartupCounts().qtml, 0);
        EXPECT_EQ(qt::testing::GetStartupCounts().movieServices, 0);
        DirectX6Test::TearDown();
    }

    // The application's main window, which the hook gives its QuickTime port.
    win32::HWND Window() const { return m_main->GetWindowHandle(); }

    bool InstallHook(const Vemo::String* ownMoviePath = nullptr) {
        return Vemo::QuickTimeEngineHook::Install(Window(), 0, 0, ownMoviePath);
    }

    // The hook, then the two engines in their systems.
    void StartEngines() {
        ASSERT_TRUE(InstallHook());
        m_movieEngine = Vemo::QuickTimeMovieEngine::Create();
        ASSERT_NE(m_movieEngine, nullptr);
        ASSERT_TRUE(m_application.m_movieSystem->AddEngine(m_movieEngine));
        m_soundEngine = Vemo::QuickTimeSoundEngine::Create();
        ASSERT_NE(m_soundEngine, nullptr);
        ASSERT_TRUE(m_application.m_soundSystem->AddEngine(m_soundEngine));
        m_application.TakeReports();
    }

    void Advance(std::uint32_t milliseconds) { m_clock.Advance(milliseconds); }
    Reports Taken() { return m_application.TakeReports(); }

    platform::testing::FakeClock m_clock{1000};
    win32::testing::TemporaryDrives m_drives{{'C', win32::DRIVE_FIXED}};
    Vemo::QuickTimeMovieEngine* m_movieEngine = nullptr;
    Vemo::QuickTimeSoundEngine* m_soundEngine = nullptr;

private:
    std::size_t m_gdiObjects = 0;
};

} // namespace VemoTest
