// The voice-over control: the product's "VOSound" and a narrator declared in the screen, with real WAV clips,
// the 750 ms request delay and the 150 ms fade-out on the fake clock.
#include "controls/VoiceoverControl.h"

#include "controls/tests/SoundTitleSupport.h"
#include "engines/media/Sound.h"
#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using SoundTitle::Log;
using SoundTitle::S;

class VoiceoverControlTest : public SoundTitle::SoundTitleTest {
protected:
    void SetUp() override {
        SoundTitleTest::SetUp();
        WriteTone("first.wav", 3.0);
        WriteTone("second.wav", 3.0, 660.0);
        WriteTone("short.wav", 0.5, 880.0);
        ASSERT_TRUE(Begin("[Screen]\n"
                          "Class=NavigationState\n"
                          "Control=Narrator\n"
                          "\n"
                          "[Narrator]\n"
                          "Class=VoiceoverControl\n"));
        m_vo = FindAs<VoiceoverControl>("VOSound");
        m_narrator = FindAs<VoiceoverControl>("Narrator");
        ASSERT_NE(m_vo, nullptr);
        ASSERT_NE(m_narrator, nullptr);
        Listen("VOSound");
    }

    bool Tell(const std::string& text) { return App().SendTextTo(S(text), S("VOSound")); }

    // The file name of the clip that plays now ("-" for none).
    static std::string Playing() {
        const std::string path = VoiceoverControl::CurrentPath().CStr();
        return path.empty() ? "-" : path.substr(path.find_last_of("/\\") + 1);
    }

    std::uint32_t Position(VoiceoverControl* control) {
        return control->GetTime(Vemo::MediaTimeUnit::Milliseconds);
    }

    VoiceoverControl* m_vo = nullptr;
    VoiceoverControl* m_narrator = nullptr;
};

TEST_F(VoiceoverControlTest, VOPlaysAClipAtOnceAndVOAloneStopsIt) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    EXPECT_EQ(Playing(), "first.wav");
    EXPECT_TRUE(m_vo->IsSoundPlaying());
    Run(200);
    ASSERT_TRUE(Tell("VO"));
    EXPECT_FALSE(m_vo->IsSoundPlaying());
    EXPECT_EQ(Playing(), "-");
}

TEST_F(VoiceoverControlTest, ARequestWithdrawnWithinTheDelayPlaysNothing) {
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    Run(500);
    ASSERT_TRUE(Tell("VOExit"));
    Run(1000);
    EXPECT_EQ(m_vo->GetSound(), nullptr);
    EXPECT_EQ(Playing(), "-");
    EXPECT_EQ(m_listener.Take(), Log{});
}

TEST_F(VoiceoverControlTest, TheNewerOfTwoRequestsPlaysOnceItHasStoodForTheDelay) {
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    Run(500);
    ASSERT_TRUE(Tell("VOEnter(second.wav)"));
    Run(750);
    EXPECT_EQ(m_vo->GetSound(), nullptr);
    Run(50);
    EXPECT_EQ(Playing(), "second.wav");
    EXPECT_TRUE(m_vo->IsSoundPlaying());
    EXPECT_EQ(m_vo->GetClipCount(), 1U) << "the first was never opened";
}

TEST_F(VoiceoverControlTest, ARequestForTheClipThatPlaysWithNothingWaitingChangesNothing) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    Run(300);
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    EXPECT_TRUE(m_vo->GetPending().GetText().IsEmpty());
    Run(1000);
    EXPECT_EQ(Position(m_vo), 1300U);
    EXPECT_EQ(m_listener.Take(), Log{});
}

TEST_F(VoiceoverControlTest, LocksNestAndSuspendRequests) {
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    ASSERT_TRUE(Tell("Lock"));
    EXPECT_TRUE(m_vo->GetPending().GetText().IsEmpty()) << "locking withdraws the request";
    ASSERT_TRUE(Tell("Lock"));
    ASSERT_TRUE(Tell("Unlock"));
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    EXPECT_TRUE(m_vo->GetPending().GetText().IsEmpty());
    Run(1000);
    EXPECT_EQ(m_vo->GetSound(), nullptr);
    ASSERT_TRUE(Tell("Unlock"));
    ASSERT_TRUE(Tell("Unlock"));
    EXPECT_EQ(m_vo->GetLockCount(), 0U);
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    Run(800);
    EXPECT_EQ(Playing(), "first.wav");
}

TEST_F(VoiceoverControlTest, AClipAskedForWhileAnotherPlaysFollowsItsFadeOut) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    Run(100);
    ASSERT_TRUE(Tell("VOEnter(second.wav)"));
    Run(800);
    // The delay is over: the first fades out now, the second waits for it.
    EXPECT_TRUE(m_vo->IsFading());
    EXPECT_EQ(Playing(), "first.wav");
    Run(100);
    EXPECT_EQ(Playing(), "first.wav");
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"VOSound: FadeAtEnd"});
    EXPECT_EQ(Playing(), "second.wav");
    EXPECT_TRUE(m_vo->IsSoundPlaying());
    EXPECT_EQ(m_vo->GetVolume(), 255U);
    EXPECT_EQ(Position(m_vo), 0U);
}

TEST_F(VoiceoverControlTest, VOEndFadesThePlayingClipOut) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    Run(100);
    ASSERT_TRUE(Tell("VOEnd"));
    Run(150);
    EXPECT_EQ(m_listener.Take(), Log{"VOSound: FadeAtEnd"});
    EXPECT_FALSE(m_vo->IsSoundPlaying());
    EXPECT_EQ(Playing(), "-");
}

TEST_F(VoiceoverControlTest, ControlsShareTheClipThatPlays) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    ASSERT_TRUE(Send("VOEnter(first.wav)", "Narrator"));
    EXPECT_TRUE(m_narrator->GetPending().GetText().IsEmpty());
    ASSERT_TRUE(Send("Sound(FIRST.WAV)", "Narrator"));
    EXPECT_EQ(m_narrator->GetSound(), nullptr) << "treated as already playing";
    EXPECT_EQ(Playing(), "first.wav");
}

TEST_F(VoiceoverControlTest, AFinishedClipCanPlayAgainButAPlayingOneIsNotRestarted) {
    ASSERT_TRUE(Tell("VO(short.wav)"));
    Run(300);
    ASSERT_TRUE(Tell("Sound(short.wav)"));
    EXPECT_EQ(Position(m_vo), 300U) << "not restarted";
    Run(200);
    EXPECT_EQ(m_listener.Take(), Log{"VOSound: AtEnd"});
    EXPECT_EQ(Playing(), "-");
    ASSERT_TRUE(Tell("VOEnter(short.wav)"));
    Run(800);
    EXPECT_EQ(Playing(), "short.wav");
    EXPECT_TRUE(m_vo->IsSoundPlaying());
}

TEST_F(VoiceoverControlTest, ClipsAreCachedAndFlushKeepsOnlyThePlayingOne) {
    ASSERT_TRUE(Tell("VO(first.wav)"));
    ASSERT_TRUE(Tell("VO(second.wav)"));
    ASSERT_TRUE(Tell("VO(first.wav)"));
    EXPECT_EQ(m_vo->GetClipCount(), 2U);
    ASSERT_TRUE(Tell("Flush"));
    EXPECT_EQ(m_vo->GetClipCount(), 1U);
    EXPECT_TRUE(m_vo->IsSoundPlaying());
    EXPECT_EQ(Playing(), "first.wav");
}

TEST_F(VoiceoverControlTest, AMissingClipFailsAndLeavesNoSound) {
    TakeReports();
    EXPECT_FALSE(Send("VO(missing.wav)", "Narrator"));
    EXPECT_TRUE(Reported(TakeReports(), Control::kErrorFailure));
    EXPECT_EQ(m_narrator->GetSound(), nullptr);
}

TEST_F(VoiceoverControlTest, ANarratorLeavingWithItsScreenWhilePlayingLetsTheClipGo) {
    ASSERT_TRUE(Send("VO(first.wav)", "Narrator"));
    Run(100);
    EXPECT_EQ(Playing(), "first.wav");
    ASSERT_TRUE(m_listener.SendText(S("Progress(1)"),
                                    dynamic_cast<Messenger*>(App().GetStateGraph()->GetCurrentState())));
    Run(50);
    EXPECT_EQ(CurrentState(), "Next");
    EXPECT_EQ(Find("Narrator"), nullptr);
    EXPECT_EQ(Playing(), "-");
    ASSERT_TRUE(Tell("VOEnter(first.wav)"));
    Run(800);
    EXPECT_EQ(Playing(), "first.wav");
}

} // namespace
