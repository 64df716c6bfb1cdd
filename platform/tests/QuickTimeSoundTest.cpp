#include "platform/tests/QuickTimeFixture.h"

#include "platform/testing/ScopedEnvironment.h"
#include "platform/video/AudioBackend.h"
#include "platform/win32/headless/HeadlessRunner.h"

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

namespace qt::tests {
namespace {

class QuickTimeSoundTest : public QuickTimeTest {
protected:
    // Lets the null sink consume the clock's time so far and says how loud it was.
    static float Loudness() {
        testing::ResetAudioPeak();
        TaskMovies(nullptr, 0);
        return testing::GetAudio().peak;
    }

    Movie OpenTone(double seconds = 1.0) { return Open(Write("tone.mov", Sound(seconds))); }

    // A controller that plays the movie over and over; null when none could be made.
    static MovieController PlayLooping(Movie movie) {
        Rect bounds{0, 0, 4, 4};
        MovieController controller = NewMovieController(movie, &bounds, mcTopLeftMovie | mcNotVisible);
        if (controller != nullptr) {
            ControllerAction(controller, mcActionSetLooping, ActionValue(1));
            SetMovieActive(movie, true);
            ControllerAction(controller, mcActionPlay, ActionValue(kFixed1));
        }
        return controller;
    }
};

TEST_F(QuickTimeSoundTest, TheNullSinkConsumesAtTheClocksPace) {
    DisposeMovie(NewMovie(0));
    TaskMovies(nullptr, 0);
    const std::uint64_t before = testing::GetAudio().framesRendered;
    Advance(500);
    TaskMovies(nullptr, 0);
    testing::AudioState audio = testing::GetAudio();
    EXPECT_EQ(audio.name, "none");
    EXPECT_EQ(audio.framesRendered - before, static_cast<std::uint64_t>(audio.sampleRate / 2));
}

TEST_F(QuickTimeSoundTest, APlayingActiveSoundIsHeardAtItsVolume) {
    Movie movie = OpenTone();
    SetMovieActive(movie, true);
    Advance(100);
    EXPECT_EQ(Loudness(), 0.0f) << "not started";
    StartMovie(movie);
    Advance(100);
    const float full = Loudness();
    EXPECT_NEAR(full, 0.5f, 0.05f);
    SetMovieVolume(movie, 128);
    Advance(100);
    EXPECT_NEAR(Loudness(), full / 2, 0.05f);
    SetMovieVolume(movie, -256);
    Advance(100);
    EXPECT_EQ(Loudness(), 0.0f) << "muted";
    SetMovieVolume(movie, 256);
    SetMovieActive(movie, false);
    Advance(100);
    EXPECT_EQ(Loudness(), 0.0f) << "inactive";
    DisposeMovie(movie);
}

TEST_F(QuickTimeSoundTest, ASoundEndsOnTheFakeClockAndFallsSilent) {
    Movie movie = OpenTone(0.5);
    StartMovie(movie);
    Advance(400);
    EXPECT_FALSE(IsMovieDone(movie));
    EXPECT_GT(Loudness(), 0.3f);
    Advance(200);
    EXPECT_TRUE(IsMovieDone(movie));
    Advance(200);
    EXPECT_EQ(Loudness(), 0.0f);
    DisposeMovie(movie);
}

TEST_F(QuickTimeSoundTest, ALoopingControllerKeepsTheSoundPlaying) {
    Movie movie = OpenTone(0.5);
    MovieController controller = PlayLooping(movie);
    ASSERT_NE(controller, nullptr);
    Advance(700);
    EXPECT_FALSE(IsMovieDone(movie));
    EXPECT_EQ(GetControllerTime(controller, nullptr), 120);
    EXPECT_GT(Loudness(), 0.3f);
    ControllerAction(controller, mcActionSetLooping, ActionValue(0));
    Advance(500);
    EXPECT_TRUE(IsMovieDone(movie));
    DisposeMovieController(controller);
    DisposeMovie(movie);
}

// A sound file read in small packets, long enough that what was decoded first is let go before its end, played
// in the small steps of a real run: each pass starts it over.
TEST_F(QuickTimeSoundTest, ALoopingSoundIsHeardFromTheStartOfEachPass) {
    testing::MediaFile file = Sound(1.5);
    file.format = "wav";
    Movie movie = Open(Write("tone.wav", file));
    MovieController controller = PlayLooping(movie);
    ASSERT_NE(controller, nullptr);
    // How loud the sound was over the next milliseconds, taken ten at a time.
    const auto play = [this](int milliseconds) {
        testing::ResetAudioPeak();
        for (int played = 0; played < milliseconds; played += 10) {
            Advance(10);
            TaskMovies(nullptr, 0);
        }
        return testing::GetAudio().peak;
    };
    for (int pass = 1; pass <= 3; ++pass) {
        EXPECT_GT(play(100), 0.3f) << "the start of pass " << pass;
        play(1400);
    }
    DisposeMovieController(controller);
    DisposeMovie(movie);
}

TEST_F(QuickTimeSoundTest, AScaledSoundPlaysSlowerAndLonger) {
    Movie movie = OpenTone(0.5);
    ASSERT_EQ(ScaleMovieSegment(movie, 0, 300, 600), noErr);
    StartMovie(movie);
    Advance(900);
    EXPECT_FALSE(IsMovieDone(movie));
    EXPECT_GT(Loudness(), 0.3f);
    Advance(200);
    EXPECT_TRUE(IsMovieDone(movie));
    DisposeMovie(movie);
}

// SDL's own audio thread pulls the mix from a real SDL device under the dummy driver.
TEST(QuickTimeSdlAudioTest, SdlAudioPlaysUnderTheDummyDriver) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    win32::testing::TemporaryDrives drives{{'C', win32::DRIVE_FIXED}};
    {
        testing::QuickTimeSession session(video::AudioBackendKind::Sdl);
        ASSERT_TRUE(session.Started());
        testing::MediaFile file;
        file.sounds.push_back(testing::SoundTrack{8000, 2, 2.0, 440.0, 0.5, true});
        testing::WriteMediaFile(drives.HostPath('C', "tone.mov"), file);
        FSSpec spec{};
        ASSERT_EQ(NativePathToFileSpec("C:\\tone.mov", &spec, 0), noErr);
        std::int16_t refNum = 0;
        ASSERT_EQ(OpenMovieFile(&spec, &refNum, 1), noErr);
        Movie movie = nullptr;
        ASSERT_EQ(NewMovieFromFile(&movie, refNum, nullptr, nullptr, newMovieActive, nullptr), noErr);
        CloseMovieFile(refNum);
        ASSERT_EQ(testing::GetAudio().name, "sdl");
        EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
        StartMovie(movie);
        // SDL mixes on its own thread at the real pace; wait until it has rendered the tone.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (testing::GetAudio().peak < 0.3f && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_NEAR(testing::GetAudio().peak, 0.5f, 0.05f);
        EXPECT_GT(testing::GetAudio().framesRendered, 0U);
        DisposeMovie(movie);
    }
    unsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(testing::GetAudio().open);
}

// Which sound output a program gets when nothing picks one for it: the null sink wherever the video is
// headless, and always in a scripted run, whose sounds must keep its clock; SDL (a device under the dummy
// driver here) where a window is shown or sdl is asked for by name.
struct AudioChoiceCase {
    const char* name;
    const char* video;
    const char* audio;
    bool scripted;
    const char* expected;
};

class AudioChoiceTest : public ::testing::TestWithParam<AudioChoiceCase> {};

TEST_P(AudioChoiceTest, TheBackendFollowsTheVideoAndTheSettings) {
    const AudioChoiceCase& param = GetParam();
    platform::testing::ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
    platform::testing::ScopedEnvironment video("VEMO_VIDEO", param.video);
    platform::testing::ScopedEnvironment audio("VEMO_AUDIO", param.audio);
    std::optional<win32::HeadlessRunner> run;
    if (param.scripted) {
        run.emplace(std::vector<win32::HeadlessStep>{}, "steps");
    }
    EXPECT_STREQ(video::MakeAudioBackend()->Name(), param.expected);
}

const AudioChoiceCase kAudioChoices[] = {
    {"HeadlessVideo", "headless", nullptr, false, "none"},
    {"HeadlessVideoSdlByName", "headless", "sdl", false, "sdl"},
    {"SdlVideo", "sdl", nullptr, false, "sdl"},
    {"SdlVideoNoneByName", "sdl", "none", false, "none"},
    {"ScriptedRun", nullptr, nullptr, true, "none"},
    {"ScriptedRunSdlByName", nullptr, "sdl", true, "none"},
};

INSTANTIATE_TEST_SUITE_P(Settings, AudioChoiceTest, ::testing::ValuesIn(kAudioChoices),
                         [](const ::testing::TestParamInfo<AudioChoiceCase>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace qt::tests
