// The sound control on the product's application: real WAV files, scripts sending messages, the fake clock.
#include "controls/SoundControl.h"

#include "controls/tests/SoundTitleSupport.h"
#include "engines/media/Sound.h"
#include "runtime/application/MultimediaApplication.h"

#include <gtest/gtest.h>

namespace {

using SoundTitle::Log;

class SoundControlTest : public SoundTitle::SoundTitleTest {
protected:
    void SetUp() override {
        SoundTitleTest::SetUp();
        WriteTone("one.wav", 1.0);
        WriteTone("half.wav", 0.5, 660.0);
        WriteTone("long.wav", 5.0);
        m_machine.Write("Title/junk.wav", "not a sound at all");
        ASSERT_TRUE(Begin("[Screen]\n"
                          "Class=NavigationState\n"
                          "Control=Music\n"
                          "Control=Pair\n"
                          "Control=Long\n"
                          "Control=Empty\n"
                          "OnMessage=AtEnd(Music), Progress(1)\n"
                          "\n"
                          "[Music]\n"
                          "Class=SoundControl\n"
                          "Sound=one.wav\n"
                          "\n"
                          "[Pair]\n"
                          "Class=SoundControl\n"
                          "Sound=one.wav\n"
                          "Sound=half.wav\n"
                          "\n"
                          "[Long]\n"
                          "Class=SoundControl\n"
                          "Sound=long.wav\n"
                          "\n"
                          "[Empty]\n"
                          "Class=SoundControl\n"));
        m_music = FindAs<SoundControl>("Music");
        m_pair = FindAs<SoundControl>("Pair");
        m_long = FindAs<SoundControl>("Long");
        ASSERT_NE(m_music, nullptr);
        ASSERT_NE(m_pair, nullptr);
        ASSERT_NE(m_long, nullptr);
        Listen("Music");
        Listen("Pair");
        Listen("Long");
        Listen("Empty");
    }

    std::uint32_t Position(SoundControl* control) {
        return control->GetTime(Vemo::MediaTimeUnit::Milliseconds);
    }
    std::uint32_t HeardVolume(SoundControl* control) { return control->GetSound()->GetVolume(); }

    SoundControl* m_music = nullptr;
    SoundControl* m_pair = nullptr;
    SoundControl* m_long = nullptr;
};

TEST_F(SoundControlTest, ScriptSoundsAreLoadedInactiveAndPlayOnlyWhenTold) {
    EXPECT_FALSE(m_music->GetSound()->IsActive());
    EXPECT_FALSE(m_music->IsPlaying());
    EXPECT_EQ(m_music->GetVolume(), 255U);
    Run(300);
    EXPECT_TRUE(m_music->IsAtBeginning());
    EXPECT_EQ(m_listener.Take(), Log{});
    EXPECT_EQ(TakeReports(), std::vector<Vemo::ErrorCode>{});
}

TEST_F(SoundControlTest, PlayWithoutASoundAnnouncesTheEndAtOnce) {
    EXPECT_TRUE(Send("Play", "Empty"));
    EXPECT_EQ(m_listener.Take(), Log{"Empty: AtEnd"});
}

TEST_F(SoundControlTest, ASoundEndsAfterItsDurationRewindsAndTheScriptMovesOn) {
    ASSERT_TRUE(Send("Play", "Music"));
    EXPECT_TRUE(m_music->IsPlaying());
    Run(950);
    EXPECT_TRUE(m_music->IsSoundPlaying());
    EXPECT_EQ(Position(m_music), 950U);
    EXPECT_EQ(m_listener.Take(), Log{});
    EXPECT_EQ(CurrentState(), "Screen");
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"Music: AtEnd"});
    // The state's OnMessage record took the end as its cue.
    EXPECT_EQ(CurrentState(), "Next");
}

TEST_F(SoundControlTest, AnEndedSoundStandsRewoundAndStopped) {
    ASSERT_TRUE(Send("Play", "Pair"));
    Run(1450);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"Pair: AtEnd"});
    EXPECT_FALSE(m_pair->IsPlaying());
    EXPECT_TRUE(m_pair->IsAtBeginning());
    EXPECT_FALSE(m_pair->GetSound()->IsActive());
    Run(500);
    EXPECT_EQ(m_listener.Take(), Log{});
}

TEST_F(SoundControlTest, ALoopingSoundNeverEnds) {
    ASSERT_TRUE(Send("Loop", "Music"));
    EXPECT_TRUE(m_music->GetLoop());
    ASSERT_TRUE(Send("Play", "Music"));
    Run(2500);
    EXPECT_TRUE(m_music->IsSoundPlaying());
    EXPECT_EQ(Position(m_music), 500U);
    EXPECT_EQ(m_listener.Take(), Log{});
    EXPECT_EQ(CurrentState(), "Screen");
}

TEST_F(SoundControlTest, LoopTakesAFlagOrToggles) {
    struct Step {
        const char* message;
        bool loop;
    };
    const Step steps[] = {{"Loop(toggle)", true}, {"Loop(Toggle)", false}, {"Loop", true},
                          {"Loop(0)", false},     {"Loop(true)", true},    {"Loop(false)", false}};
    for (const Step& step : steps) {
        EXPECT_TRUE(Send(step.message, "Music")) << step.message;
        EXPECT_EQ(m_music->GetLoop(), step.loop) << step.message;
        EXPECT_EQ(m_music->GetSound()->IsLooping(), step.loop) << step.message;
    }
}

TEST_F(SoundControlTest, FilesOfOneControlPlayAsOneSoundThatClearAndSoundRebuild) {
    ASSERT_TRUE(Send("GetDuration(Length(Intro))", "Pair"));
    EXPECT_EQ(Variable("Intro", "Length"), "1500");
    ASSERT_TRUE(Send("Clear", "Pair"));
    EXPECT_EQ(m_pair->GetSound(), nullptr);
    ASSERT_TRUE(Send("GetDuration(Length(Intro))", "Pair"));
    EXPECT_EQ(Variable("Intro", "Length"), "0");
    ASSERT_TRUE(Send("Sound(half.wav)", "Pair"));
    ASSERT_TRUE(Send("GetDuration(Length(Intro))", "Pair"));
    EXPECT_EQ(Variable("Intro", "Length"), "500");
    // A "Sound" message on a control that holds a sound appends.
    ASSERT_TRUE(Send("Sound(one.wav, half.wav)", "Pair"));
    ASSERT_TRUE(Send("GetDuration(Length(Intro))", "Pair"));
    EXPECT_EQ(Variable("Intro", "Length"), "2000");
    EXPECT_TRUE(Send("GetDuration", "Pair"));
    EXPECT_FALSE(Send("GetDuration(\"\"(Intro))", "Pair"));
}

TEST_F(SoundControlTest, AFadeOfNoLengthSetsTheVolumeAndEndsAtOnce) {
    ASSERT_TRUE(Send("Play", "Long"));
    ASSERT_TRUE(Send("Fade(200, 40, 0)", "Long"));
    EXPECT_EQ(m_long->GetVolume(), 40U);
    EXPECT_EQ(HeardVolume(m_long), 40U);
    EXPECT_FALSE(m_long->IsFading());
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
}

TEST_F(SoundControlTest, AFadeStepsTheVolumeAlongItsTimeAndAnnouncesItsEnd) {
    ASSERT_TRUE(Send("Play", "Long"));
    ASSERT_TRUE(Send("Fade(0, 255, 1000)", "Long"));
    EXPECT_EQ(HeardVolume(m_long), 0U);
    Run(250);
    EXPECT_EQ(m_long->GetVolume(), 64U);
    Run(250);
    // 127.5, rounded by adding a half and truncating.
    EXPECT_EQ(m_long->GetVolume(), 128U);
    EXPECT_EQ(HeardVolume(m_long), 128U);
    Run(450);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_long->GetVolume(), 255U);
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
    EXPECT_TRUE(m_long->IsSoundPlaying());
    // Defaults: from and to the current volume, over a second.
    ASSERT_TRUE(Send("FadeTo(55)", "Long"));
    Run(1000);
    EXPECT_EQ(m_long->GetVolume(), 55U);
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
}

TEST_F(SoundControlTest, FadeOutEndsInStop) {
    ASSERT_TRUE(Send("Play", "Long"));
    Run(200);
    ASSERT_TRUE(Send("FadeOut(1000)", "Long"));
    Run(500);
    EXPECT_EQ(m_long->GetVolume(), 128U);
    Run(500);
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
    EXPECT_FALSE(m_long->IsSoundPlaying());
    EXPECT_TRUE(m_long->IsAtBeginning());
    EXPECT_EQ(m_long->GetVolume(), 0U);
}

TEST_F(SoundControlTest, FadeOutOfASilentStoppedOrInstantSound) {
    // Not playing: only the announcement.
    ASSERT_TRUE(Send("FadeOut", "Long"));
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
    EXPECT_EQ(m_long->GetVolume(), 255U);
    EXPECT_FALSE(m_long->IsFading());
    // No length: silent at once, and still playing.
    ASSERT_TRUE(Send("Play", "Long"));
    ASSERT_TRUE(Send("FadeOut(0)", "Long"));
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
    EXPECT_EQ(m_long->GetVolume(), 0U);
    EXPECT_TRUE(m_long->IsSoundPlaying());
    // Silent already: announced, then stopped.
    ASSERT_TRUE(Send("FadeOut(500)", "Long"));
    EXPECT_EQ(m_listener.Take(), Log{"Long: FadeAtEnd"});
    EXPECT_FALSE(m_long->IsSoundPlaying());
    EXPECT_TRUE(m_long->IsAtBeginning());
}

TEST_F(SoundControlTest, VolumesAreClampedAndReachTheSound) {
    ASSERT_TRUE(Send("Volume(300)", "Long"));
    EXPECT_EQ(m_long->GetVolume(), 255U);
    ASSERT_TRUE(Send("Volume(0x20)", "Long"));
    EXPECT_EQ(HeardVolume(m_long), 32U);
    // Without a sound the volume is kept for the next one, and the message fails.
    EXPECT_FALSE(Send("Volume(300)", "Empty"));
    EXPECT_EQ(FindAs<SoundControl>("Empty")->GetVolume(), 255U);
}

TEST_F(SoundControlTest, PauseKeepsThePlaceAndPlayResumes) {
    ASSERT_TRUE(Send("Play", "Pair"));
    Run(400);
    ASSERT_TRUE(Send("Pause", "Pair"));
    EXPECT_TRUE(m_pair->IsPaused());
    EXPECT_FALSE(m_pair->IsPlaying());
    Run(500);
    EXPECT_EQ(Position(m_pair), 400U);
    EXPECT_EQ(m_listener.Take(), Log{});
    ASSERT_TRUE(Send("Play", "Pair"));
    EXPECT_FALSE(m_pair->IsPaused());
    Run(1050);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"Pair: AtEnd"});
}

TEST_F(SoundControlTest, PauseAtTheEndOfASoundThatDoesNotLoopAnnouncesTheEnd) {
    ASSERT_TRUE(Send("Play", "Music"));
    ASSERT_TRUE(Send("ToEnd", "Music"));
    ASSERT_TRUE(Send("Pause", "Music"));
    EXPECT_EQ(m_listener.Take(), Log{"Music: AtEnd"});
}

TEST_F(SoundControlTest, StopOnAPausedSoundRewindsItSoThatPlayStartsAfresh) {
    ASSERT_TRUE(Send("Play", "Pair"));
    Run(400);
    ASSERT_TRUE(Send("Pause", "Pair"));
    ASSERT_TRUE(Send("Stop", "Pair"));
    EXPECT_FALSE(m_pair->IsPaused());
    EXPECT_TRUE(m_pair->IsAtBeginning());
    EXPECT_FALSE(m_pair->GetSound()->IsActive());
    EXPECT_EQ(m_listener.Take(), Log{});
    ASSERT_TRUE(Send("Play", "Pair"));
    Run(1450);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"Pair: AtEnd"});
}

TEST_F(SoundControlTest, DisablingSilencesAndEnablingResumesWhereItWas) {
    ASSERT_TRUE(Send("Play", "Pair"));
    Run(300);
    ASSERT_TRUE(Send("Enable(0)", "Pair"));
    EXPECT_FALSE(m_pair->IsSoundPlaying());
    EXPECT_TRUE(m_pair->IsPlaying());
    EXPECT_FALSE(Send("Play", "Pair"));
    EXPECT_FALSE(Send("Pause", "Pair"));
    EXPECT_TRUE(Send("Stop", "Pair"));
    Run(2000);
    EXPECT_EQ(Position(m_pair), 300U);
    EXPECT_EQ(m_listener.Take(), Log{});
    ASSERT_TRUE(Send("Enable(1)", "Pair"));
    EXPECT_TRUE(m_pair->IsSoundPlaying());
    Run(1150);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"Pair: AtEnd"});
}

TEST_F(SoundControlTest, AFileThatIsMissingOrNoSoundFailsAndKeepsTheSound) {
    EXPECT_FALSE(Send("Sound(junk.wav)", "Pair"));
    EXPECT_TRUE(Reported(TakeReports(), Control::kErrorFailure));
    ASSERT_TRUE(Send("GetDuration(Length(Intro))", "Pair"));
    EXPECT_EQ(Variable("Intro", "Length"), "1500");

    EXPECT_FALSE(Send("Sound(missing.wav)", "Pair"));
    const std::vector<Vemo::ErrorCode> reports = TakeReports();
    EXPECT_TRUE(Reported(reports, MultimediaApplication::kErrorFileNotFound));
    EXPECT_TRUE(Reported(reports, Control::kErrorFailure));
}

} // namespace
