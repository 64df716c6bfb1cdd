// The movie control on a screen of the product's application: real movie and sound files, the messages a
// script sends, the headless viewport's window read back and the clock moved by the test.
#include "controls/MovieControl.h"

#include "engines/graphics/Graphic.h"
#include "engines/media/Movie.h"
#include "engines/media/MovieController.h"
#include "engines/media/MovieControllerGraphic.h"
#include "engines/media/MovieControllerHandle.h"
#include "platform/testing/CaseNames.h"
#include "runtime/states/NavigationState.h"
#include "runtime/testing/MovieTitleSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using MovieTitle::Near;
using MovieTitle::Pictures;
using MovieTitle::Tone;

std::string Dimensions(const Vemo::Size& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

Vemo::String S(const std::string& text) {
    return Vemo::String(text.c_str());
}

// A screen with the movie control Film (its keys given) whose "AtEnd" leads to End and "AtBeginning" to
// Start.
std::string Title(const std::string& filmKeys, const std::string& screenKeys = "") {
    return "[Graph]\nClass=NavigationStateGraph\nStartState=Screen\nState=End\nEndState=Start\n"
           "Action=Screen, 1, End\nAction=Screen, 2, Start\n"
           "[Screen]\nClass=NavigationState\nControl=Film\n"
           "OnMessage=AtEnd(Film), Progress(1)\nOnMessage=AtBeginning(Film), Progress(2)\n" +
           screenKeys + "\n[Film]\nClass=MovieControl\nPosition=100, 100\n" + filmKeys +
           "\n[End]\nClass=NavigationState\n[Start]\nClass=NavigationState\n";
}

class MovieControlTest : public MovieTitle::Fixture {
protected:
    void StartWith(const std::string& filmKeys, const std::string& screenKeys = "") {
        WriteTitle(Title(filmKeys, screenKeys));
        ASSERT_TRUE(Start());
        App().Step();
        ASSERT_NE(Film(), nullptr);
    }

    NavigationState* Screen() {
        return dynamic_cast<NavigationState*>(App().GetStateGraph()->GetCurrentState());
    }

    MovieControl* Film() {
        NavigationState* screen = Screen();
        if (screen == nullptr || screen->GetControls().Empty()) {
            return nullptr;
        }
        return dynamic_cast<MovieControl*>(screen->GetControls()[0]);
    }

    // The script's message to the control, as a screen's actions send it; its answer.
    bool Send(const std::string& text) { return Screen()->SendText(S(text), Film()); }

    std::uint32_t FilmMilliseconds() {
        return Film()->GetMovie()->movie->GetDuration(Vemo::MediaTimeUnit::Milliseconds);
    }

    bool Reports(Vemo::ErrorCode code) {
        const std::vector<Vemo::ErrorCode> reported = Reported();
        return std::find(reported.begin(), reported.end(), code) != reported.end();
    }

    void WriteClip(int frames = 10) { WriteMedia("Title/Clip.mov", Pictures(frames)); }
};

TEST_F(MovieControlTest, FramesLandScaledInTheRectangleAndTheScreenMovesOnAtTheEnd) {
    WriteClip();
    StartWith("Size=128, 96\nMovie=Clip.mov", "OpenAction=Message(Film(Play))");
    EXPECT_EQ(Film()->GetRectangle(), Vemo::Rect(100, 100, 228, 196));
    Vemo::Graphic* picture = Film()->GetController()->GetControllerHandle()->GetGraphic();
    EXPECT_EQ(Dimensions(picture->GetSize()), "128x96");
    Run(250);
    EXPECT_TRUE(Film()->IsPlaying());
    EXPECT_TRUE(Near(ShownAt(100, 100), qt::testing::FrameColor(2))) << std::hex << ShownAt(100, 100);
    EXPECT_TRUE(Near(ShownAt(227, 195), qt::testing::FrameColor(2))) << "the rectangle's last pixel";
    Run(400);
    EXPECT_TRUE(Near(ShownAt(160, 150), qt::testing::FrameColor(6)));
    EXPECT_EQ(CurrentState(), "Screen");
    Run(400);
    EXPECT_EQ(CurrentState(), "End");
}

TEST_F(MovieControlTest, PlayingBackwardsStartsAtTheEndAndSaysAtBeginningAtTheStart) {
    WriteClip();
    StartWith("Movie=Clip.mov");
    EXPECT_EQ(Dimensions(Film()->GetSize()), "64x48") << "the movie's size";
    EXPECT_TRUE(Send("Play(false)"));
    Run(250);
    EXPECT_TRUE(Near(ShownAt(120, 120), qt::testing::FrameColor(7))) << std::hex << ShownAt(120, 120);
    EXPECT_EQ(CurrentState(), "Screen");
    Run(800);
    EXPECT_EQ(CurrentState(), "Start");
}

TEST_F(MovieControlTest, PlayRestartsInTheLastDirectionAndPlayTrueTrueGoesOnFromWhereItStood) {
    WriteClip(30);
    StartWith("Movie=Clip.mov");
    EXPECT_TRUE(Send("Play"));
    Run(500);
    EXPECT_TRUE(Send("Pause"));
    const std::uint32_t paused = Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds);
    EXPECT_GE(paused, 450U);
    EXPECT_TRUE(Send("Play(true, true)"));
    Run(100);
    EXPECT_GE(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), paused + 50);
    EXPECT_TRUE(Send("Play"));
    Run(100);
    EXPECT_LE(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), 150U);
}

TEST_F(MovieControlTest, StepsMoveByAFrameAndToEitherEnd) {
    WriteClip();
    StartWith("Movie=Clip.mov");
    EXPECT_TRUE(Send("Fwd"));
    App().Step();
    EXPECT_EQ(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), 100U);
    EXPECT_TRUE(Near(ShownAt(120, 120), qt::testing::FrameColor(1)));
    EXPECT_TRUE(Send("ToEnd"));
    EXPECT_TRUE(Film()->IsAtEnd());
    EXPECT_TRUE(Send("Rwd"));
    EXPECT_TRUE(Send("Rwd"));
    App().Step();
    EXPECT_EQ(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), 800U);
    EXPECT_TRUE(Near(ShownAt(120, 120), qt::testing::FrameColor(8)));
    EXPECT_TRUE(Send("ToBeginning"));
    EXPECT_TRUE(Film()->IsAtBeginning());
    EXPECT_FALSE(Film()->IsPlaying()) << "steps are no playback";
    EXPECT_EQ(CurrentState(), "Screen");
}

TEST_F(MovieControlTest, TheControllerIsMadeAtTheMoviesSizeAndNegativeSizesAreRefused) {
    WriteClip();
    StartWith("Movie=Clip.mov");
    EXPECT_FALSE(Send("CreateController")) << "one exists";
    EXPECT_TRUE(Send("DestroyController"));
    EXPECT_EQ(Film()->GetVolume(), 255U) << "without a controller";
    EXPECT_FALSE(Send("CreateController(-1, 10)"));
    EXPECT_TRUE(Reports(Control::kErrorFailure));
    EXPECT_EQ(Film()->GetController(), nullptr);
    EXPECT_TRUE(Send("CreateController"));
    EXPECT_EQ(Dimensions(Film()->GetController()->GetControllerHandle()->GetGraphic()->GetSize()), "64x48");
    EXPECT_TRUE(Send("Play"));
    EXPECT_TRUE(Send("Volume(300)"));
    EXPECT_EQ(Film()->GetVolume(), 255U);
    EXPECT_TRUE(Send("Volume(100)"));
    EXPECT_EQ(Film()->GetVolume(), 100U);
}

TEST_F(MovieControlTest, ADisabledControlStopsThePictureAndResumesWithoutAtEnd) {
    WriteClip();
    StartWith("Movie=Clip.mov");
    EXPECT_TRUE(Send("Play"));
    Run(250);
    EXPECT_TRUE(Send("Enable(false)"));
    const std::uint32_t stoppedAt = Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds);
    EXPECT_FALSE(Send("Play")) << "refused";
    EXPECT_FALSE(Film()->IsMoviePlaying());
    Run(1500);
    EXPECT_EQ(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), stoppedAt);
    EXPECT_TRUE(Film()->IsPlaying());
    EXPECT_EQ(CurrentState(), "Screen");
    EXPECT_TRUE(Send("Enable(true)"));
    Run(500);
    EXPECT_EQ(CurrentState(), "Screen");
    Run(400);
    EXPECT_EQ(CurrentState(), "End");
}

TEST_F(MovieControlTest, ALoopingMovieNeverEnds) {
    WriteClip();
    StartWith("Movie=Clip.mov", "OpenAction=Message(Film(Loop, Play))");
    EXPECT_TRUE(Film()->GetLoop());
    Run(2500);
    EXPECT_EQ(CurrentState(), "Screen");
    EXPECT_TRUE(Film()->IsMoviePlaying());
    EXPECT_TRUE(Send("Loop(toggle)"));
    EXPECT_FALSE(Film()->GetLoop());
}

// A new display format makes the controller anew; the movie goes on from where it was.
TEST_F(MovieControlTest, ANewDisplayFormatRebuildsTheControllerAndPlaybackGoesOn) {
    WriteClip(30);
    StartWith("Movie=Clip.mov");
    EXPECT_TRUE(Send("Volume(90)"));
    EXPECT_TRUE(Send("Play"));
    Run(500);
    const Vemo::MovieController* before = Film()->GetController();
    const std::uint32_t time = Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds);
    ASSERT_TRUE(Viewport().SetPixelFormat(Vemo::PixelFormat(Viewport().GetDisplayPixelFormat())));
    EXPECT_NE(Film()->GetController(), before);
    EXPECT_TRUE(Film()->IsMoviePlaying());
    EXPECT_GE(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), time);
    EXPECT_LE(Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds), time + 20);
    EXPECT_EQ(Film()->GetVolume(), 90U);
    Run(300);
    const std::uint32_t frame = Film()->GetTime(Vemo::MediaTimeUnit::Milliseconds) / 100;
    EXPECT_TRUE(Near(ShownAt(120, 120), qt::testing::FrameColor(static_cast<int>(frame))));
}

// --- Composing the movie
// ------------------------------------------------------------------------------------------

TEST_F(MovieControlTest, ALongerSoundHoldsTheLastPictureUntilItEnds) {
    WriteClip();
    WriteMedia("Title/Long.wav", Tone(1.5));
    StartWith("Movie=Clip.mov\nAudio=Long.wav");
    EXPECT_EQ(FilmMilliseconds(), 1500U) << "the whole sound";
    EXPECT_TRUE(Send("Play"));
    Run(1300);
    EXPECT_TRUE(Near(ShownAt(120, 120), qt::testing::FrameColor(9)));
    EXPECT_EQ(CurrentState(), "Screen");
    Run(300);
    EXPECT_EQ(CurrentState(), "End");
}

TEST_F(MovieControlTest, SoundsOfOneListAreHeldByTheLongest) {
    WriteClip();
    WriteMedia("Title/Four.wav", Tone(0.4));
    WriteMedia("Title/Six.wav", Tone(0.6));
    StartWith("Movie=Clip.mov, Four.wav, Six.wav");
    ASSERT_EQ(Film()->GetMovie()->audio.size(), 1U);
    const MovieControl::AudioRecord& holder = *Film()->GetMovie()->audio[0];
    EXPECT_EQ(holder.movie->GetDuration(Vemo::MediaTimeUnit::Milliseconds), 600U);
    ASSERT_EQ(holder.merged.size(), 1U);
    EXPECT_EQ(holder.merged[0]->movie->GetDuration(Vemo::MediaTimeUnit::Milliseconds), 400U);
    EXPECT_EQ(FilmMilliseconds(), 1000U) << "shorter sounds leave the movie's length";
}

TEST_F(MovieControlTest, AMovieMessageChainsAfterTheMovieAndAfterClearMovieReplacesIt) {
    WriteClip();
    WriteMedia("Title/Two.mov", Pictures(5));
    StartWith("Movie=Clip.mov");
    EXPECT_TRUE(Send("Movie(Two.mov)"));
    EXPECT_EQ(Film()->GetMovie()->chained.size(), 1U);
    EXPECT_EQ(FilmMilliseconds(), 1500U);
    EXPECT_TRUE(Send("ClearMovie"));
    EXPECT_EQ(Film()->GetMovie(), nullptr);
    EXPECT_TRUE(Send("Movie(Two.mov)"));
    EXPECT_EQ(FilmMilliseconds(), 500U);
    EXPECT_TRUE(Send("Play"));
    Run(600);
    EXPECT_EQ(CurrentState(), "End");
}

TEST_F(MovieControlTest, AudioWithoutAMovieFails) {
    WriteMedia("Title/Long.wav", Tone(1.0));
    StartWith("Size=64, 48");
    EXPECT_FALSE(Send("Audio(Long.wav)"));
    EXPECT_TRUE(Reports(Control::kErrorFailure));
    EXPECT_FALSE(Send("Play"));
}

// --- Transparency
// -------------------------------------------------------------------------------------------------

TEST_F(MovieControlTest, ATransparentControlTakesNoClickOnItsTransparentColour) {
    WriteClip();
    const std::uint32_t first = qt::testing::FrameColor(0);
    StartWith("Movie=Clip.mov\nTransparentColor=" + std::to_string((first >> 16) & 0xFF) + ", " +
                  std::to_string((first >> 8) & 0xFF) + ", " + std::to_string(first & 0xFF),
              "OnMessage=Pressed(Film, 0), Progress(1)");
    EXPECT_TRUE(Film()->IsTransparent());
    EXPECT_FALSE(Film()->ContainsPoint(Vemo::Point(10, 10)));
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 120, 120);
    Run(30);
    EXPECT_EQ(CurrentState(), "Screen");
    Film()->SetTransparentColor(Vemo::Color(Vemo::PixelValue(1, 2, 3), 1));
    EXPECT_TRUE(Film()->ContainsPoint(Vemo::Point(10, 10)));
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 120, 120);
    Run(30);
    EXPECT_EQ(CurrentState(), "End");
}

TEST_F(MovieControlTest, FourTransparentColourValuesFailTheControl) {
    WriteClip();
    WriteTitle(Title("Movie=Clip.mov\nTransparentColor=1, 2, 3, 4"));
    Start();
    App().Step();
    EXPECT_NE(CurrentState(), "Screen");
    EXPECT_TRUE(Reports(Control::kErrorFailure));
}

} // namespace
