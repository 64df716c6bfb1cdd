// The ambient sound control: the product's "AmbientSound" and one declared in a screen, cross-fading real WAV
// files on the fake clock; the fade task's watchdog driven by the clock alone.
#include "controls/AmbientSoundControl.h"

#include "controls/SoundControl.h"
#include "controls/tests/SoundTitleSupport.h"
#include "engines/media/Sound.h"
#include "platform/win32/kernel/Time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace {

using SoundTitle::Log;
using SoundTitle::S;

class AmbientSoundControlTest : public SoundTitle::SoundTitleTest {
protected:
    void SetUp() override {
        SoundTitleTest::SetUp();
        WriteTone("a.wav", 3.0);
        WriteTone("b.wav", 3.0, 660.0);
        m_machine.Write("Title/junk.wav", "not a sound at all");
        ASSERT_TRUE(Begin("[Screen]\n"
                          "Class=NavigationState\n"
                          "Control=Background\n"
                          "\n"
                          "[Background]\n"
                          "Class=AmbientSoundControl\n"
                          "Sound=b.wav\n"));
        m_ambient = FindAs<AmbientSoundControl>("AmbientSound");
        ASSERT_NE(m_ambient, nullptr);
    }

    bool Tell(const std::string& text) { return App().SendTextTo(S(text), S("AmbientSound")); }

    std::string CurrentName() {
        return m_ambient->GetCurrent() != nullptr ? m_ambient->GetCurrent()->GetName().CStr() : "-";
    }

    std::vector<std::string> FadingOut() {
        std::vector<std::string> names;
        for (const Vemo::String& name : m_ambient->GetFadingOutNames()) {
            names.emplace_back(name.CStr());
        }
        return names;
    }

    SoundControl* Channel(const std::string& name) { return FindAs<SoundControl>(name); }

    // Waits, in real time, for what another thread does; false after ten seconds.
    static bool Eventually(const std::function<bool()>& condition) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    AmbientSoundControl* m_ambient = nullptr;
};

TEST_F(AmbientSoundControlTest, TheFirstSoundFadesInOnceItPlays) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
    SoundControl* a = Channel("AmbientSound_0");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->GetLoop());
    EXPECT_EQ(a->GetVolume(), 0U);
    EXPECT_FALSE(m_ambient->IsPlaying());
    ASSERT_TRUE(Tell("Play"));
    EXPECT_TRUE(m_ambient->IsPlaying());
    Listen("AmbientSound_0");
    Run(500);
    EXPECT_EQ(m_ambient->GetVolume(), 128U);
    Run(500);
    EXPECT_EQ(m_ambient->GetVolume(), 255U);
    EXPECT_EQ(m_listener.Take(), Log{"AmbientSound_0: FadeAtEnd"});
    // Looping: it never ends.
    Run(4000);
    EXPECT_TRUE(m_ambient->IsPlaying());
    EXPECT_EQ(m_listener.Take(), Log{});
}

TEST_F(AmbientSoundControlTest, AnotherSoundCrossFadesOverASecondAndTheOldOneIsKeptSilent) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(1000);
    ASSERT_TRUE(Tell("Sound(b.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_1");
    EXPECT_EQ(FadingOut(), std::vector<std::string>{"AmbientSound_0"});
    ASSERT_TRUE(Tell("Play"));
    SoundControl* a = Channel("AmbientSound_0");
    SoundControl* b = Channel("AmbientSound_1");
    Run(500);
    EXPECT_EQ(a->GetVolume(), 128U);
    EXPECT_EQ(b->GetVolume(), 128U);
    Run(500);
    EXPECT_EQ(a->GetVolume(), 0U);
    EXPECT_EQ(b->GetVolume(), 255U);
    EXPECT_EQ(FadingOut(), std::vector<std::string>{});
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 2U);
    EXPECT_TRUE(a->IsSoundPlaying()) << "kept looping, silent";
}

TEST_F(AmbientSoundControlTest, TheSameFileAgainChangesNothing) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(1000);
    ASSERT_TRUE(Tell("Sound(A.WAV)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
    EXPECT_FALSE(Channel("AmbientSound_0")->IsFading());
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 1U);
}

TEST_F(AmbientSoundControlTest, GoingBackWithinTheFadeReusesTheSoundFromItsPresentVolume) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(1000);
    ASSERT_TRUE(Tell("Sound(b.wav)"));
    Run(300);
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
    EXPECT_EQ(FadingOut(), std::vector<std::string>{"AmbientSound_1"});
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 2U);
    // 255 less 76.5, rounded.
    EXPECT_EQ(m_ambient->GetVolume(), 179U);
    Run(1000);
    EXPECT_EQ(m_ambient->GetVolume(), 255U);
}

TEST_F(AmbientSoundControlTest, SoundWithoutAFileStops) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(200);
    ASSERT_TRUE(Tell("Sound"));
    EXPECT_FALSE(m_ambient->IsPlaying());
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
}

TEST_F(AmbientSoundControlTest, TheVolumeIsClampedAndANewSoundStillFadesToFull) {
    EXPECT_FALSE(Tell("Volume(40)")) << "no sound yet";
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Volume(300)"));
    EXPECT_EQ(m_ambient->GetVolume(), 255U);
    ASSERT_TRUE(Tell("Play"));
    ASSERT_TRUE(Tell("Volume(40)"));
    ASSERT_TRUE(Tell("Sound(b.wav)"));
    Run(1000);
    EXPECT_EQ(m_ambient->GetVolume(), 255U);
}

TEST_F(AmbientSoundControlTest, ACurrentSoundFadedToSilenceIsLetGo) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(1000);
    ASSERT_TRUE(Tell("FadeOut(0)"));
    EXPECT_EQ(m_ambient->GetCurrent(), nullptr);
    EXPECT_TRUE(m_ambient->GetCurrentPath().IsEmpty());
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 1U);
    EXPECT_FALSE(Tell("Play"));
    // And it comes back as the current sound when named again.
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
}

TEST_F(AmbientSoundControlTest, AFileThatIsNoSoundFailsAndThePreviousSoundPlaysOn) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Run(1000);
    TakeReports();
    EXPECT_FALSE(Tell("Sound(junk.wav)"));
    EXPECT_TRUE(Reported(TakeReports(), Control::kErrorFailure));
    EXPECT_EQ(CurrentName(), "AmbientSound_0");
    EXPECT_TRUE(m_ambient->IsPlaying());
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 1U);
    EXPECT_EQ(Find("AmbientSound_1"), nullptr) << "the failed control is gone";
    Run(500);
    EXPECT_EQ(m_ambient->GetVolume(), 255U);
    ASSERT_TRUE(Tell("Sound(b.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_2");
}

TEST_F(AmbientSoundControlTest, ClearDestroysTheSoundsAndTheSameFileCanBeSetAgain) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    ASSERT_TRUE(Tell("Clear"));
    EXPECT_EQ(m_ambient->GetCurrent(), nullptr);
    EXPECT_EQ(m_ambient->GetSoundControlCount(), 0U);
    EXPECT_EQ(m_ambient->GetFirstChild(), nullptr);
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    EXPECT_EQ(CurrentName(), "AmbientSound_1");
    ASSERT_TRUE(Tell("Play"));
    EXPECT_TRUE(m_ambient->IsPlaying());
}

TEST_F(AmbientSoundControlTest, AScreensAmbientControlTakesItsSoundKeyAndRunsItsTask) {
    auto* background = FindAs<AmbientSoundControl>("Background");
    ASSERT_NE(background, nullptr);
    EXPECT_TRUE(background->IsTaskRunning());
    ASSERT_NE(background->GetCurrent(), nullptr);
    EXPECT_EQ(std::string(background->GetCurrent()->GetName().CStr()), "AmbientSound_0");
    ASSERT_TRUE(Send("Play", "Background"));
    Run(1000);
    EXPECT_EQ(background->GetVolume(), 255U);
}

TEST_F(AmbientSoundControlTest, WhileTheMainThreadStandsTheTaskFadesAndItsNewsWaitsForTheMainThread) {
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Listen("AmbientSound_0");
    Vemo::Sound* sound = Channel("AmbientSound_0")->GetSound();
    // The main thread's last step; from now on only the task can move the volume, once the watchdog's 67 ms
    // are over.
    m_ambient->Idle();
    m_clock.Advance(100);
    ASSERT_TRUE(Eventually([&] { return sound->GetVolume() == 26; }));
    m_clock.Advance(1000);
    ASSERT_TRUE(Eventually([&] { return sound->GetVolume() == 255; }));
    EXPECT_EQ(m_listener.Take(), Log{}) << "the task announces nothing itself";
    App().Step();
    EXPECT_EQ(m_listener.Take(), Log{"AmbientSound_0: FadeAtEnd"});
    ASSERT_EQ(m_listener.m_threads.size(), 1U);
    EXPECT_EQ(m_listener.m_threads[0], std::this_thread::get_id());
}

// On the host's clock the task sleeps through the looks that could not find the watchdog run out: it still
// takes over once the main thread stands, and wakes to end with the control.
TEST_F(AmbientSoundControlTest, OnTheHostsClockTheTaskStillTakesOverWhenTheMainThreadStands) {
    // The host's clock in place of the fake one, for this test alone.
    struct HostClock {
        HostClock() : fake(win32::seam::InstallClockSource(nullptr)) {}
        ~HostClock() { win32::seam::InstallClockSource(fake); }
        win32::seam::ClockSource* const fake;
    } const hostClock;
    ASSERT_TRUE(Tell("Sound(a.wav)"));
    ASSERT_TRUE(Tell("Play"));
    Listen("AmbientSound_0");
    Vemo::Sound* sound = Channel("AmbientSound_0")->GetSound();
    m_ambient->Idle();
    EXPECT_TRUE(Eventually([&] { return sound->GetVolume() == 255; }));
    EXPECT_EQ(m_listener.Take(), Log{}) << "the task announces nothing itself";
    EXPECT_TRUE(Stop());
}

} // namespace
