// The full-screen movie state in the product's application: real movie and sound files on the emulated
// machine, the headless viewport's window read back, the clock moved by the test.
#include "runtime/states/FullscreenMovieState.h"

#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "platform/testing/CaseNames.h"
#include "runtime/testing/MovieTitleSupport.h"
#include "script/Messenger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using MovieTitle::Near;
using MovieTitle::Pictures;
using MovieTitle::Tone;

constexpr std::uint32_t kBlack = 0x000000;

// An opening movie, then a plain screen, then the end.
std::string Graph(const std::string& introKeys) {
    return "[Graph]\nClass=NavigationStateGraph\nStartState=Intro\nState=Menu\nEndState=Done\n"
           "Action=Intro, 0, Menu\nAction=Menu, 1, Done\n"
           "[Intro]\nClass=FullscreenMovieState\n" +
           introKeys + "\n[Menu]\nClass=NavigationState\n[Done]\nClass=NavigationState\n";
}

class FullscreenMovieStateTest : public MovieTitle::Fixture {
protected:
    // A title whose opening state has the keys, started and stepped once.
    void StartWith(const std::string& introKeys) {
        WriteTitle(Graph(introKeys));
        ASSERT_TRUE(Start());
        App().Step();
    }

    FullscreenMovieState* Intro() {
        return dynamic_cast<FullscreenMovieState*>(App().GetStateGraph()->GetCurrentState());
    }

    std::uint32_t MovieMilliseconds() {
        return Intro()->GetMovies().front()->movie->GetDuration(Vemo::MediaTimeUnit::Milliseconds);
    }
};

TEST_F(FullscreenMovieStateTest, PlaysCentredOnABlackScreenAndMovesOnAtItsEnd) {
    WriteMedia("Title/Clip.mov", Pictures(10, 64, 48));
    StartWith("Movie=Clip.mov");
    FullscreenMovieState* intro = Intro();
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(Intro()->GetMovieControl()->GetRectangle(), Vemo::Rect(288, 216, 352, 264));
    EXPECT_EQ(Intro()->GetBackdrop()->GetRectangle(), Vemo::Rect(0, 0, 640, 480));
    EXPECT_TRUE(Intro()->GetBackdrop()->HasFocus());
    Run(250);
    EXPECT_TRUE(Near(ShownAt(320, 240), qt::testing::FrameColor(2))) << std::hex << ShownAt(320, 240);
    EXPECT_TRUE(Near(ShownAt(288, 216), qt::testing::FrameColor(2))) << "the movie's first pixel";
    EXPECT_EQ(ShownAt(287, 216), kBlack) << "left of the movie";
    EXPECT_EQ(ShownAt(5, 5), kBlack);
    Run(400);
    EXPECT_TRUE(Near(ShownAt(351, 263), qt::testing::FrameColor(6))) << "the movie's last pixel";
    EXPECT_EQ(CurrentState(), "Intro");
    Run(400);
    EXPECT_EQ(CurrentState(), "Menu");
    EXPECT_EQ(intro->GetController(), nullptr);
    EXPECT_EQ(intro->GetBackdrop(), nullptr);
    EXPECT_TRUE(intro->GetMovies().empty());
    EXPECT_TRUE(Reported().empty());
}

struct ModeCase {
    const char* name;
    std::string modeKey;
    Vemo::Size viewport;
    Vemo::Size movie;
    Vemo::Rect expected;
};

class FullscreenMovieModeTest : public FullscreenMovieStateTest,
                                public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FullscreenMovieModeTest, TheModePlacesTheMovie) {
    const ModeCase& mode = GetParam();
    WriteMedia("Title/Clip.mov", Pictures(10, mode.movie.width, mode.movie.height));
    Write("Title/Quorven.ini", "[App]\nViewport=Viewport\nFonts=Fonts\nGraph=Graph\n[Viewport]\nClass="
                               "Viewport\nTitle=Quorven\nSize=" +
                                   std::to_string(mode.viewport.width) + ", " +
                                   std::to_string(mode.viewport.height) + "\n[Fonts]\nClass=FontCache\n" +
                                   Graph("Movie=Clip.mov\n" + mode.modeKey));
    ASSERT_TRUE(Start());
    App().Step();
    ASSERT_NE(Intro(), nullptr);
    const Vemo::Rect& place = Intro()->GetMovieControl()->GetRectangle();
    EXPECT_EQ(place, mode.expected);
    Vemo::Rect box;
    EXPECT_EQ(Intro()->GetController()->GetBox(box), mode.expected);
    Run(150);
    const std::uint32_t frame = qt::testing::FrameColor(1);
    EXPECT_TRUE(Near(ShownAt(place.left, place.top), frame)) << std::hex << ShownAt(place.left, place.top);
    EXPECT_TRUE(Near(ShownAt(place.right - 1, place.bottom - 1), frame));
    if (place.left > 0) {
        EXPECT_EQ(ShownAt(place.left - 1, place.top), kBlack);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FullscreenMovieModeTest,
    ::testing::Values(
        ModeCase{"NoModeIsNormal", "", {640, 480}, {320, 240}, {160, 120, 480, 360}},
        ModeCase{"AnUnknownWordIsNormal", "Mode=Sideways", {640, 480}, {320, 240}, {160, 120, 480, 360}},
        ModeCase{"HalfInAnyCase", "Mode=half", {640, 480}, {320, 240}, {240, 180, 400, 300}},
        ModeCase{"DoubleFillsTheViewport", "Mode=Double", {640, 480}, {320, 240}, {0, 0, 640, 480}},
        ModeCase{"FullCoversTheViewport", "Mode=Full", {640, 480}, {64, 48}, {0, 0, 640, 480}},
        ModeCase{"OddSizesHalveEachTermApart", "Mode=Normal", {641, 480}, {101, 48}, {270, 216, 371, 264}}),
    platform::testing::NameFromText<&ModeCase::name>());

// --- Skipping
// -----------------------------------------------------------------------------------------------------

struct SkipCase {
    const char* name;
    int x;
    int y;
};

class FullscreenMovieSkipTest : public FullscreenMovieStateTest,
                                public ::testing::WithParamInterface<SkipCase> {};

TEST_P(FullscreenMovieSkipTest, ReleasingTheLeftButtonEndsTheStateAndPressingAloneDoesNot) {
    WriteMedia("Title/Clip.mov", Pictures(30));
    StartWith("Movie=Clip.mov");
    Run(100);
    win32::testing::PressMouse(Window(), win32::testing::MouseButton::Left, GetParam().x, GetParam().y);
    Run(50);
    EXPECT_EQ(CurrentState(), "Intro");
    win32::testing::ReleaseMouse(Window(), win32::testing::MouseButton::Left, GetParam().x, GetParam().y);
    Run(30);
    EXPECT_EQ(CurrentState(), "Menu");
}

INSTANTIATE_TEST_SUITE_P(Skips, FullscreenMovieSkipTest,
                         ::testing::Values(SkipCase{"OverTheMovie", 320, 240},
                                           SkipCase{"OverTheBackdrop", 20, 20}),
                         platform::testing::NameFromText<&SkipCase::name>());

TEST_F(FullscreenMovieStateTest, TheRightButtonDoesNotSkip) {
    WriteMedia("Title/Clip.mov", Pictures(30));
    StartWith("Movie=Clip.mov");
    Run(100);
    win32::testing::Click(Window(), win32::testing::MouseButton::Right, 320, 240);
    Run(50);
    EXPECT_EQ(CurrentState(), "Intro");
}

TEST_F(FullscreenMovieStateTest, ReleasingTheSpaceBarEndsTheStateAndOtherKeysDoNot) {
    WriteMedia("Title/Clip.mov", Pictures(30));
    StartWith("Movie=Clip.mov");
    Run(100);
    win32::testing::TypeKey(win32::VK_ESCAPE, Window());
    win32::testing::TypeKey('A', Window());
    win32::testing::PressKey(win32::VK_SPACE, Window());
    Run(50);
    EXPECT_EQ(CurrentState(), "Intro");
    win32::testing::ReleaseKey(win32::VK_SPACE, Window());
    Run(30);
    EXPECT_EQ(CurrentState(), "Menu");
}

// --- Composing the movie
// ------------------------------------------------------------------------------------------

TEST_F(FullscreenMovieStateTest, ASecondMovieValueIsAppendedAndPlaysAfterTheFirst) {
    WriteMedia("Title/One.mov", Pictures(10));
    WriteMedia("Title/Two.mov", Pictures(5));
    StartWith("Movie=One.mov\nMovie=Two.mov");
    ASSERT_NE(Intro(), nullptr);
    EXPECT_EQ(Intro()->GetMovies().size(), 2U);
    EXPECT_EQ(MovieMilliseconds(), 1500U);
    Run(1250);
    EXPECT_TRUE(Near(ShownAt(320, 240), qt::testing::FrameColor(2))) << "the second movie's third frame";
    EXPECT_EQ(CurrentState(), "Intro");
    Run(300);
    EXPECT_EQ(CurrentState(), "Menu");
}

struct SoundCase {
    const char* name;
    std::string keys;
    std::uint32_t milliseconds;
};

class FullscreenMovieSoundTest : public FullscreenMovieStateTest,
                                 public ::testing::WithParamInterface<SoundCase> {};

TEST_P(FullscreenMovieSoundTest, ALongerSoundHoldsTheLastPictureAndAShorterOneIsMixedOverItsLength) {
    WriteMedia("Title/Clip.mov", Pictures(10));
    WriteMedia("Title/Long.wav", Tone(2.5));
    WriteMedia("Title/Short.wav", Tone(0.5));
    StartWith(GetParam().keys);
    ASSERT_NE(Intro(), nullptr);
    EXPECT_EQ(MovieMilliseconds(), GetParam().milliseconds);
    Run(GetParam().milliseconds - 200);
    EXPECT_EQ(CurrentState(), "Intro");
    EXPECT_TRUE(Near(ShownAt(320, 240),
                     qt::testing::FrameColor(std::min<int>(9, (GetParam().milliseconds - 200) / 100))))
        << std::hex << ShownAt(320, 240);
    Run(300);
    EXPECT_EQ(CurrentState(), "Menu");
}

INSTANTIATE_TEST_SUITE_P(Sounds, FullscreenMovieSoundTest,
                         ::testing::Values(SoundCase{"InTheMovieValue", "Movie=Clip.mov, Long.wav", 2500},
                                           SoundCase{"ByTheAudioKey", "Movie=Clip.mov\nAudio=Long.wav", 2500},
                                           SoundCase{"ShorterThanTheMovie", "Movie=Clip.mov, Short.wav",
                                                     1000}),
                         platform::testing::NameFromText<&SoundCase::name>());

// --- Nothing to show, and failures
// --------------------------------------------------------------------------------

TEST_F(FullscreenMovieStateTest, WithoutAMovieTheStateEndsAtItsFirstStep) {
    StartWith("Mode=Full");
    App().Step();
    EXPECT_EQ(CurrentState(), "Menu");
    EXPECT_TRUE(Reported().empty());
}

// A screen that moves on at once to the movie state, whose entry can so fail without failing the start-up.
std::string GraphIntoTheMovie(const std::string& introKeys) {
    return "[Graph]\nClass=NavigationStateGraph\nStartState=Menu\nState=Intro\nEndState=Done\n"
           "Action=Menu, 1, Intro\nAction=Intro, 0, Done\n"
           "[Menu]\nClass=NavigationState\nOpenAction=Progress(1)\n"
           "[Intro]\nClass=FullscreenMovieState\n" +
           introKeys + "\n[Done]\nClass=NavigationState\n";
}

TEST_F(FullscreenMovieStateTest, AMovieTheFinderCannotFindFailsTheEntry) {
    WriteMedia("Title/Clip.mov", Pictures(10));
    WriteTitle(GraphIntoTheMovie("Movie=Clip.mov\nMovie=Missing.mov"));
    ASSERT_TRUE(Start());
    App().Step();
    App().Step();
    EXPECT_NE(CurrentState(), "Intro");
    EXPECT_TRUE(App().IsQuitting());
    EXPECT_FALSE(App().GetExitSuccess());
    const std::vector<Vemo::ErrorCode> reported = Reported();
    EXPECT_NE(std::find(reported.begin(), reported.end(), Messenger::kErrorSettings), reported.end());
}

// An entry that fails once movies are open is never left: what it built goes at the next entry and at the
// state's end (the end of the test finds nothing of QuickTime open and nothing leaked).
TEST_F(FullscreenMovieStateTest, WhatAFailedEntryBuiltIsReleasedByTheNextEntryAndByTheStatesEnd) {
    WriteMedia("Title/Clip.mov", Pictures(10));
    WriteMedia("Title/Long.wav", Tone(2.0));
    Write("Title/Broken.wav", "no sound at all");
    WriteTitle(GraphIntoTheMovie("Movie=Clip.mov, Long.wav\nAudio=Broken.wav"));
    ASSERT_TRUE(Start());
    App().Step();
    App().Step();
    EXPECT_FALSE(App().GetExitSuccess());
    auto* intro = dynamic_cast<FullscreenMovieState*>(App().GetStateGraph()->FindState(258));
    ASSERT_NE(intro, nullptr);
    EXPECT_NE(CurrentState(), "Intro");
    ASSERT_EQ(intro->GetMovies().size(), 1U);
    EXPECT_FALSE(intro->Enter());
    ASSERT_EQ(intro->GetMovies().size(), 1U) << "the first entry's movie was released";
    EXPECT_EQ(intro->GetMovies().front()->sounds.size(), 1U);
    EXPECT_TRUE(Stop());
}

TEST_F(FullscreenMovieStateTest, ASoundThatDoesNotOpenFailsTheEntryAndKeepsNothing) {
    WriteMedia("Title/Clip.mov", Pictures(10));
    Write("Title/Broken.wav", "no sound at all");
    WriteTitle(GraphIntoTheMovie("Movie=Clip.mov, Broken.wav"));
    ASSERT_TRUE(Start());
    App().Step();
    App().Step();
    EXPECT_FALSE(App().GetExitSuccess());
    auto* intro = dynamic_cast<FullscreenMovieState*>(App().GetStateGraph()->FindState(258));
    ASSERT_NE(intro, nullptr);
    EXPECT_TRUE(intro->GetMovies().empty()) << "the movie its sound was for is gone";
}

// --- The program
// -------------------------------------------------------------------------------------------------

// The program quorven in a process of its own, headless, on this machine, with scripted input: a long opening
// movie, then a screen that notes its visit in the user settings, then the end.
class FullscreenMovieProgramTest : public MovieTitle::Fixture {
protected:
    void SetUp() override {
        MovieTitle::Fixture::SetUp();
        WriteMedia("Title/Clip.mov", Pictures(20));
        WriteTitle(
            "[Graph]\nClass=NavigationStateGraph\nStartState=Intro\nState=Menu\nEndState=Done\n"
            "Action=Intro, 0, Menu\nAction=Menu, 1, Done\n"
            "[Intro]\nClass=FullscreenMovieState\nMovie=Clip.mov\n"
            "[Menu]\nClass=NavigationState\nOpenAction=SetUserSetting(Visited(Menu), yes), Progress(1)\n"
            "[Done]\nClass=NavigationState\n");
    }

    // The exit code of a run of the steps.
    int Run(const std::string& steps) {
        const std::filesystem::path folder = std::filesystem::path(m_drives.Base()) / "run";
        // A runtime folder of its own keeps the single-instance guard away from programs run beside it.
        const std::filesystem::path runtime = std::filesystem::path(m_drives.Base()) / "runtime";
        std::filesystem::create_directories(folder);
        std::filesystem::create_directories(runtime);
        std::ofstream(folder / "steps") << steps;
        const std::string command =
            "cd '" + folder.string() +
            "' && env VEMO_VIDEO=headless VEMO_AUDIO=none VEMO_DRIVES='C=" + m_drives.Folder('C') +
            ":fixed' VEMO_REGISTRY='" + m_registry.Path() + "' TMPDIR='" + m_drives.HostPath('C', "Temp") +
            "' XDG_RUNTIME_DIR='" + runtime.string() + "' VEMO_HEADLESS_INPUT='" +
            (folder / "steps").string() + "' '" + std::string(VEMO_BINARY_DIR) +
            "/runtime/quorven' > out 2> errors; echo $? > code";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::ifstream code(folder / "code");
        int exitCode = -1;
        code >> exitCode;
        return exitCode;
    }

    bool MenuVisited() {
        std::ifstream in(m_drives.HostPath('C', "User/User.ini"));
        std::ostringstream text;
        text << in.rdbuf();
        return text.str().find("Menu=yes") != std::string::npos;
    }
};

TEST_F(FullscreenMovieProgramTest, AClickSkipsTheOpeningMovie) {
    EXPECT_EQ(Run("wait 200\nclick 320 240\nwait 100\n"), 0);
    EXPECT_TRUE(MenuVisited());
}

TEST_F(FullscreenMovieProgramTest, TheSpaceBarSkipsTheOpeningMovie) {
    EXPECT_EQ(Run("wait 200\nkey Space\nwait 100\n"), 0);
    EXPECT_TRUE(MenuVisited());
}

TEST_F(FullscreenMovieProgramTest, TheMovieMovesOnAtItsEnd) {
    EXPECT_EQ(Run("wait 2200\n"), 0);
    EXPECT_TRUE(MenuVisited());
}

TEST_F(FullscreenMovieProgramTest, WithoutASkipTheMovieIsStillShowingWhenTheStepsEnd) {
    Run("wait 200\nkey Escape\nwait 100\n");
    EXPECT_FALSE(MenuVisited());
}

} // namespace
