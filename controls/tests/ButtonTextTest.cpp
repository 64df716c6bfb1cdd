// A button's line of text in the font of its current look, on the running title: drawn over the look's
// picture, placed by the button's alignments.
#include "controls/ButtonControl.h"
#include "controls/tests/TextControlSupport.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace TextTest;

constexpr std::uint32_t kBlue = 0x0000FF;

class ButtonTextTest : public Fixture {
protected:
    void StartButton(const std::string& keys) {
        Write("Title/up.bmp", [] {
            const VemoTest::Bytes bytes =
                PictureTest::Bmp(VemoTest::Picture(20, std::vector<std::uint32_t>(40, 0xFF0000)));
            return std::string(bytes.begin(), bytes.end());
        }());
        StartWith("Control=Button\n",
                  "[Button]\nClass=ButtonControl\nPosition=10, 10\nSize=40, 20\nUpBitmap=up.bmp\n" + keys);
    }

    ButtonControl& Button() { return Get<ButtonControl>("Button"); }
};

TEST_F(ButtonTextTest, TheTextIsDrawnOverThePictureInTheLooksFont) {
    StartButton("Font=Big\nText=AV\nHorizontal=Left\nVertical=Top\n");
    EXPECT_EQ(InkBox(kBlue), "10,10,50,30");
    EXPECT_EQ(InkBox(kRed), "10,12,26,22");
    ASSERT_TRUE(Send(Button(), "Horizontal(Right)"));
    Step();
    EXPECT_EQ(InkBox(kRed), "33,12,49,22");
    EXPECT_EQ(ReportsOf(kFailure), 0);
}

TEST_F(ButtonTextTest, ALookWithoutAFontShowsNoText) {
    StartButton("DownFont=Big\nText=AV\n");
    EXPECT_EQ(InkBox(kRed), "none");
    EXPECT_NE(Button().GetLookRecord(ButtonControl::kLookDown).font, nullptr);
    EXPECT_EQ(Button().GetLookRecord(ButtonControl::kLookUp).font, nullptr);
}

TEST_F(ButtonTextTest, AnUnknownFontIsReported) {
    StartButton("Font=Nowhere\nText=AV\n");
    EXPECT_GT(ReportsOf(kFailure), 0);
    EXPECT_EQ(Button().GetLookRecord(ButtonControl::kLookUp).font, nullptr);
    EXPECT_EQ(InkBox(kRed), "none");
}

} // namespace
