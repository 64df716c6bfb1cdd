#include "controls/SlidingControl.h"
#include "controls/tests/CoreControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace CoreControlTest;

class SlidingControlTest : public Fixture {
protected:
    SlidingControl& Load(const std::string& position = "10,10") {
        EXPECT_TRUE(
            Fixture::Load("[Menu]\nControl=Slide\n[Slide]\nClass=SlidingControl\nPosition=" + position +
                          "\nSize=4,4\nControl=Knob\n[Knob]\nClass=TestPanel\nPosition=1,1\nSize=2,2\n"));
        auto* slide = dynamic_cast<SlidingControl*>(Find("Slide"));
        EXPECT_NE(slide, nullptr);
        m_watcher = Watch(*slide);
        return *slide;
    }

    std::string At() { return Describe(Find("Slide")->GetPosition()); }

    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(SlidingControlTest, SlidesWithItsChildrenOverTheDefaultSecondAndAnnouncesTheEndOnce) {
    SlidingControl& slide = Load();
    EXPECT_TRUE(slide.IsTransparent());
    EXPECT_TRUE(Send("Slide", "SlideTo(30, 20)"));
    Advance(250);
    EXPECT_EQ(At(), "15,13") << "a quarter of (20, 10), rounded half up";
    EXPECT_EQ(Describe(Find("Knob")->GetRectangle()), "16,14,18,16") << "the children go along";
    Advance(749);
    EXPECT_EQ(At(), "30,20");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Advance(1);
    EXPECT_EQ(At(), "30,20");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
    Advance(1000);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{}) << "one end, one AtEnd";
    EXPECT_EQ(TakeReports(), (Reports{}));
}

TEST_F(SlidingControlTest, AZeroDurationMovesAndAnnouncesTheEndInTheSameCall) {
    Load();
    EXPECT_TRUE(Send("Slide", "SlideTo(3, 4, 0)"));
    EXPECT_EQ(At(), "3,4");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
}

TEST_F(SlidingControlTest, AHalfPixelTowardTheLeftIsCutTowardZero) {
    Load();
    EXPECT_TRUE(Send("Slide", "SlideTo(-1, 10, 1000)"));
    Advance(500);
    EXPECT_EQ(At(), "5,10") << "-5.5 + 0.5 cut toward zero is -5";
}

TEST_F(SlidingControlTest, PauseAndContinueKeepTheTotalTime) {
    Load("0,0");
    EXPECT_TRUE(Send("Slide", "SlideTo(100, 0, 1000)"));
    Advance(400);
    EXPECT_EQ(At(), "40,0");
    EXPECT_TRUE(Send("Slide", "Pause"));
    Advance(5000);
    EXPECT_EQ(At(), "40,0");
    EXPECT_TRUE(Send("Slide", "Continue"));
    Advance(300);
    EXPECT_EQ(At(), "70,0");
    Advance(299);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Advance(1);
    EXPECT_EQ(At(), "100,0");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
}

TEST_F(SlidingControlTest, StopEndsWithoutAtEndAndContinueWithoutASlideDoesNothing) {
    Load("0,0");
    EXPECT_TRUE(Send("Slide", "Continue"));
    Advance(100);
    EXPECT_EQ(At(), "0,0");
    EXPECT_TRUE(Send("Slide", "SlideTo(100, 0, 1000)"));
    Advance(500);
    EXPECT_TRUE(Send("Slide", "Stop, Continue"));
    Advance(1000);
    EXPECT_EQ(At(), "50,0");
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
}

TEST_F(SlidingControlTest, ASlideToTheCurrentPlaceStillTakesItsTime) {
    Load();
    EXPECT_TRUE(Send("Slide", "SlideTo(10, 10, 200)"));
    Advance(199);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Advance(1);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
}

TEST_F(SlidingControlTest, SlideToVarTakesItsDurationFromAVariable) {
    Load("0,0");
    m_world.SetVariable("Timing", "Slide", "0x64");
    EXPECT_TRUE(Send("Slide", "SlideToVar(10, 0, Slide(Timing))"));
    Advance(50);
    EXPECT_EQ(At(), "5,0") << "0x64 is 100 ms";
    Advance(50);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});

    EXPECT_TRUE(Send("Slide", "SlideToVar(20, 0, Missing(Timing))"));
    EXPECT_EQ(At(), "20,0") << "a missing variable is a duration of 0";
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});

    EXPECT_FALSE(Send("Slide", "SlideToVar(30, 0)"));
    EXPECT_EQ(At(), "20,0");
}

} // namespace
