#include "controls/CrossfadeControl.h"
#include "controls/tests/PictureControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace PictureControlTest;
using Rows = std::vector<std::vector<std::uint32_t>>;

constexpr std::uint32_t kBlack = 0x000000;
const Vemo::Rect kArea(2, 2, 6, 6);

class CrossfadeControlTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        const VemoTest::Picture first = PictureTest::CellGrid(4, 4, 1);
        VemoTest::Picture second(first.rbegin(), first.rend());
        for (auto& row : second) {
            std::reverse(row.begin(), row.end());
        }
        m_first = first;
        m_second = second;
        WriteFile("a.bmp", ShownBmp(first));
        WriteFile("b.bmp", ShownBmp(second));
    }

    CrossfadeControl& Load(const std::string& keys = "BitmapA=a.bmp\nBitmapB=b.bmp\n") {
        Open("[Menu]\nControl=Fade\nControl=Cover\n[Fade]\nClass=CrossfadeControl\nPosition=2,2\nSize=4,4\n" +
             keys + "[Cover]\nClass=TestPanel\nPosition=3,3\nSize=2,2\nColor=0xFF00FF\nVisible=false\n");
        auto& fade = Get<CrossfadeControl>("Fade");
        m_watcher = &Watch(fade);
        return fade;
    }

    Rows m_first;
    Rows m_second;
    MessengerTest::Recorder* m_watcher = nullptr;
};

TEST_F(CrossfadeControlTest, AFadeRisesFrameByFrameAndEndsExactlyOnTheSecondPictureWithOneAtEnd) {
    CrossfadeControl& fade = Load();
    Step();
    EXPECT_EQ(Pixels(kArea), m_first) << "level 0 shows the first picture";

    EXPECT_TRUE(Send("Fade", "Fade(0, 255, 1000)"));
    EXPECT_EQ(fade.GetLevel(), 0u);
    Step(250);
    EXPECT_EQ(fade.GetLevel(), 64u) << "255 / 4 + 0.5, cut";
    const Rows quarter = Pixels(kArea);
    EXPECT_NE(quarter, m_first);
    EXPECT_NE(quarter, m_second);
    Step(500);
    EXPECT_EQ(fade.GetLevel(), 191u);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{});
    Step(250);
    EXPECT_EQ(fade.GetLevel(), 255u);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{"AtEnd"});
    EXPECT_EQ(Pixels(kArea), m_second);
    Step(1000);
    EXPECT_EQ(m_watcher->TakeReceived(), Log{}) << "one end, one AtEnd";
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(CrossfadeControlTest, ZeroDurationsJumpAtOnceAndOnlyTimedFadesAreLimitedTo255) {
    CrossfadeControl& fade = Load();
    struct Case {
        const char* message;
        unsigned level;
        bool atEndAtOnce;
    };
    const Case cases[] = {
        {"FadeTo(100)", 100, true},      {"Fade(10, 20, 0)", 20, true}, {"Level(300)", 300, false},
        {"Fade(0, 400, 100)", 0, false}, {"FadeTo", 0, true},
    };
    for (const Case& test : cases) {
        EXPECT_TRUE(Send("Fade", test.message)) << test.message;
        EXPECT_EQ(fade.GetLevel(), test.level) << test.message;
        EXPECT_EQ(m_watcher->TakeReceived(), test.atEndAtOnce ? Log{"AtEnd"} : Log{}) << test.message;
    }
    EXPECT_TRUE(Send("Fade", "Fade(0, 400, 100)"));
    Step(100);
    EXPECT_EQ(fade.GetLevel(), 255u) << "a timed fade's end is limited";
}

TEST_F(CrossfadeControlTest, APartialRedrawPaintsWhatAWholeOnePaintsThere) {
    Load();
    EXPECT_TRUE(Send("Fade", "Level(100)"));
    Step();
    // With the border around the control, which the partial redraw must leave alone.
    const Vemo::Rect around(1, 1, 7, 7);
    const Rows whole = Pixels(around);
    EXPECT_TRUE(Send("Cover", "Visible(true)"));
    Step();
    EXPECT_EQ(Shown().At(3, 3) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_TRUE(Send("Cover", "Visible(false)"));
    Step();
    EXPECT_EQ(Pixels(around), whole);
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(CrossfadeControlTest, WithoutBothPicturesOrWithAFailedOneTheControlIsBlack) {
    Load("BitmapA=a.bmp\n");
    Step();
    EXPECT_EQ(Pixels(kArea), Rows(4, std::vector<std::uint32_t>(4, kBlack)));
    EXPECT_TRUE(Send("Fade", "BitmapB(b.bmp)"));
    Step();
    EXPECT_EQ(Pixels(kArea), m_first);

    Taken();
    EXPECT_FALSE(Send("Fade", "BitmapB(missing.bmp)"));
    EXPECT_FALSE(Taken().empty());
    Step();
    EXPECT_EQ(Pixels(kArea), Rows(4, std::vector<std::uint32_t>(4, kBlack))) << "the failed side is missing";
    EXPECT_TRUE(Send("Fade", "BitmapB(b.bmp), Level(255)"));
    Step();
    EXPECT_EQ(Pixels(kArea), m_second);
}

} // namespace
