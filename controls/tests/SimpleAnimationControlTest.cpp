#include "controls/SimpleAnimationControl.h"
#include "controls/tests/PictureControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace PictureControlTest;
using Rows = std::vector<std::vector<std::uint32_t>>;

// One frame of the sheet of three 2 x 2 cells, shown at (2, 2).
Rows Cell(std::uint32_t column) {
    const std::uint32_t color = Swapped(PictureTest::CellColor(column, 0));
    return Rows(2, std::vector<std::uint32_t>(2, color));
}

const Vemo::Rect kFrameArea(2, 2, 4, 4);

class SimpleAnimationControlTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        WriteFile("sheet.bmp", PictureTest::Bmp(PictureTest::CellGrid(3, 1, 2)));
    }

    SimpleAnimationControl& Load(const std::string& keys) {
        Open("[Menu]\nControl=Anim\n[Anim]\nClass=SimpleAnimationControl\nPosition=0,0\nSize=6,6\n"
             "Bitmap=sheet.bmp\n" +
             keys);
        auto& animation = Get<SimpleAnimationControl>("Anim");
        m_watcher = &Watch(animation);
        return animation;
    }

    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(SimpleAnimationControlTest, FramesFromKeysAndMessagesPlayOnceAtTheirRateAndTheLastStays) {
    SimpleAnimationControl& animation = Load("FPS=10\nFrame=2, 2, 0, 0, 2, 2\nFrame=2, 2, 2, 0, 2, 2\n");
    EXPECT_TRUE(Send("Anim", "AddFrame(2, 2, 4, 0, 6, 2)"));
    ASSERT_EQ(animation.GetFrames().Size(), 3u);
    const SimpleAnimationControl::Frame& second = animation.GetFrames()[1];
    const SimpleAnimationControl::Frame& third = animation.GetFrames()[2];
    EXPECT_EQ(second.right - second.left, third.right - third.left) << "width and right edge, one size";
    Step();
    EXPECT_EQ(Pixels(kFrameArea), Cell(0));
    EXPECT_EQ(Shown().At(0, 0) & 0xFFFFFF, kBack) << "outside the frame the animation shows what is behind";

    EXPECT_TRUE(Send("Anim", "Start"));
    EXPECT_EQ(animation.GetAnimationLength(), 300u);
    Step(99);
    EXPECT_EQ(Pixels(kFrameArea), Cell(0));
    Step(1);
    EXPECT_EQ(Pixels(kFrameArea), Cell(1));
    Step(100);
    EXPECT_EQ(Pixels(kFrameArea), Cell(2));
    Step(99);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Step(1);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
    Step(500);
    EXPECT_EQ(Pixels(kFrameArea), Cell(2)) << "the last frame stays";
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(SimpleAnimationControlTest, FifteenFramesASecondAreFramesOf66Milliseconds) {
    std::string frames;
    for (int i = 0; i < 10; ++i) {
        frames += "Frame=2, 2, " + std::to_string(2 * (i % 3)) + ", 0, 2, 2\n";
    }
    SimpleAnimationControl& animation = Load(frames);
    EXPECT_EQ(animation.GetFps(), 15u);
    EXPECT_TRUE(Send("Anim", "Start"));
    EXPECT_EQ(animation.GetAnimationLength(), 660u);
    Step(66);
    EXPECT_EQ(animation.GetCurrentFrame(), 1u);
    Step(593);
    EXPECT_EQ(animation.GetCurrentFrame(), 9u);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Step(1);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
}

TEST_F(SimpleAnimationControlTest, StopEndsARunWithoutAtEnd) {
    Load("FPS=10\nFrame=2, 2, 0, 0, 2, 2\nFrame=2, 2, 2, 0, 2, 2\n");
    EXPECT_TRUE(Send("Anim", "Start"));
    Step(100);
    EXPECT_TRUE(Send("Anim", "Stop"));
    Step(1000);
    EXPECT_EQ(Pixels(kFrameArea), Cell(1));
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
}

TEST_F(SimpleAnimationControlTest, TheAnimationNeverTakesTheMouse) {
    Load("Frame=2, 2, 0, 0, 2, 2\n");
    Step();
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(3, 3)), Find("Back"));
}

TEST_F(SimpleAnimationControlTest, ARateWithoutAFrameTimeIsReportedAndIgnored) {
    for (const char* fps : {"0", "fast", "-5", "1001"}) {
        SimpleAnimationControl& animation = Load(std::string("FPS=") + fps + "\nFrame=2, 2, 0, 0, 2, 2\n");
        EXPECT_EQ(animation.GetFps(), 15u) << fps;
        EXPECT_EQ(Taken(), (Reports{{kFailure}})) << fps;
    }
    EXPECT_EQ(Load("FPS=0x3E8\n").GetFps(), 1000u) << "1000 a second is a frame a millisecond";
}

TEST_F(SimpleAnimationControlTest, StartWithoutFramesFailsAndSendsNothing) {
    Load("");
    Taken();
    EXPECT_FALSE(Send("Anim", "Start"));
    EXPECT_FALSE(Taken().empty());
    Step(1000);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
}

} // namespace
