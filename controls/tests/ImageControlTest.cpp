#include "controls/ImageControl.h"
#include "controls/tests/PictureControlTestSupport.h"
#include "runtime/pictures/Bitmap.h"

#include <gtest/gtest.h>

namespace {

using namespace PictureControlTest;
using Rows = std::vector<std::vector<std::uint32_t>>;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

class ImageControlTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        WriteFile("art.bmp", ShownBmp({{kRed, kGreen}, {kBlue, kWhite}}));
        WriteFile("other.bmp", ShownBmp({{kWhite, kBlue}, {kGreen, kRed}}));
    }

    std::string Rectangle() { return ControlTest::Describe(Find("Pic")->GetRectangle()); }
};

TEST_F(ImageControlTest, WithoutASizeTheControlTakesThePictureSizeWhenItBecomesActive) {
    Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nPosition=2,2\nActive=false\nBitmap=art.bmp\n");
    auto& image = Get<ImageControl>("Pic");
    EXPECT_EQ(image.GetBitmap(), nullptr) << "no bitmap while inactive";
    EXPECT_TRUE(Send("Pic", "Active(true)"));
    ASSERT_NE(image.GetBitmap(), nullptr);
    EXPECT_EQ(Rectangle(), "2,2,4,4");
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(1, 1, 5, 5)), (Rows{{kBack, kBack, kBack, kBack},
                                                    {kBack, kRed, kGreen, kBack},
                                                    {kBack, kBlue, kWhite, kBack},
                                                    {kBack, kBack, kBack, kBack}}));
    EXPECT_TRUE(Send("Pic", "Active(false)"));
    EXPECT_EQ(image.GetBitmap(), nullptr) << "released when deactivated";
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(ImageControlTest, ABitmapMessageKeepsTheRectangleAndStretchesTheNewPicture) {
    Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nPosition=2,2\nSize=4,4\nBitmap=art.bmp\n");
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 6, 6)), (Rows{{kRed, kRed, kGreen, kGreen},
                                                    {kRed, kRed, kGreen, kGreen},
                                                    {kBlue, kBlue, kWhite, kWhite},
                                                    {kBlue, kBlue, kWhite, kWhite}}));
    EXPECT_TRUE(Send("Pic", "Bitmap(other.bmp)"));
    EXPECT_EQ(Rectangle(), "2,2,6,6");
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 6, 6)), (Rows{{kWhite, kWhite, kBlue, kBlue},
                                                    {kWhite, kWhite, kBlue, kBlue},
                                                    {kGreen, kGreen, kRed, kRed},
                                                    {kGreen, kGreen, kRed, kRed}}));
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(ImageControlTest, WithoutAPictureAndAfterClearTheRectangleIsBlack) {
    Open("[Menu]\nControl=Empty\nControl=Pic\n[Empty]\nClass=ImageControl\nPosition=0,0\nSize=2,2\n"
         "[Pic]\nClass=ImageControl\nPosition=2,2\nSize=2,2\nBitmap=art.bmp\n");
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(0, 0, 2, 2)), (Rows{{kBlack, kBlack}, {kBlack, kBlack}}));
    EXPECT_TRUE(Send("Pic", "Clear"));
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 4, 4)), (Rows{{kBlack, kBlack}, {kBlack, kBlack}}));
    EXPECT_TRUE(Send("Pic", "Active(false), Active(true)"));
    EXPECT_EQ(Get<ImageControl>("Pic").GetBitmap(), nullptr) << "the description went with Clear";
}

TEST_F(ImageControlTest, ClicksOnTransparentPixelsFallThroughToWhatLiesBehind) {
    Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nPosition=2,2\nSize=4,4\n"
         "Bitmap=art.bmp, TransparentColor(255, 0, 0)\n");
    Step();
    EXPECT_TRUE(Find("Pic")->IsTransparent());
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(3, 3)), Find("Back")) << "stretched red, transparent";
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(4, 3)), Find("Pic"));
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(2, 5)), Find("Pic"));
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 6, 3)), (Rows{{kBack, kBack, kGreen, kGreen}}));

    EXPECT_TRUE(Send("Pic", "Bitmap(other.bmp)"));
    EXPECT_FALSE(Find("Pic")->IsTransparent()) << "a picture without a transparent colour is opaque";
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(5, 5)), Find("Pic"));
}

TEST_F(ImageControlTest, APartOfThePictureIsStretchedAndHitTestedOnItsOwn) {
    Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nPosition=2,2\nSize=2,2\n"
         "Bitmap=art.bmp, Rect(1, 0, 2, 2), TransparentColor(0, 255, 0)\n");
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 4, 4)), (Rows{{kBack, kBack}, {kWhite, kWhite}}));
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(3, 2)), Find("Back")) << "green, the part's transparent top";
    EXPECT_EQ(m_viewport->HitTest(Vemo::Point(2, 3)), Find("Pic"));
    EXPECT_EQ(Taken(), (Reports{}));
}

TEST_F(ImageControlTest, APictureThatCannotBeLoadedFailsTheMessageAndLeavesBlack) {
    Open("[Menu]\nControl=Pic\n[Pic]\nClass=ImageControl\nPosition=2,2\nSize=2,2\nBitmap=art.bmp\n");
    Taken();
    EXPECT_FALSE(Send("Pic", "Bitmap(missing.bmp)"));
    EXPECT_FALSE(Taken().empty());
    EXPECT_EQ(Get<ImageControl>("Pic").GetBitmap(), nullptr);
    Step();
    EXPECT_EQ(Pixels(Vemo::Rect(2, 2, 4, 4)), (Rows{{kBlack, kBlack}, {kBlack, kBlack}}));
}

} // namespace
