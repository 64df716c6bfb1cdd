// A button on the running title: the real program's application draws it, a click injected into the
// viewport's window reaches it, and the screen's "OnMessage" record for its "Clicked" moves the title on.
#include "controls/ButtonControl.h"
#include "runtime/testing/PictureTestSupport.h"
#include "runtime/testing/RunningTitle.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ButtonTitleTest : public TitleTest::RunningTitle {
protected:
    std::string CurrentState() {
        auto* state = dynamic_cast<NavigationState*>(App().GetStateGraph()->GetCurrentState());
        return state != nullptr ? state->GetName().CStr() : "-";
    }
};

TEST_F(ButtonTitleTest, AClickOnTheButtonMovesTheTitleOn) {
    const VemoTest::Bytes picture =
        PictureTest::Bmp(VemoTest::Picture(10, std::vector<std::uint32_t>(20, 0x00FF00)));
    Write("Title/go.bmp", std::string(picture.begin(), picture.end()));
    ASSERT_TRUE(Start("", "Control=Go\nOnMessage=Clicked(Go), Progress(1)\n",
                      "[Go]\nClass=ButtonControl\nPosition=20, 30\nSize=20, 10\nUpBitmap=go.bmp\n"));
    Step();
    EXPECT_EQ(Shown().At(20, 30) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(CurrentState(), "Menu");
    // A click beside the button does nothing.
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 45, 35);
    Step();
    Step();
    EXPECT_EQ(CurrentState(), "Menu");
    win32::testing::Click(Window(), win32::testing::MouseButton::Left, 25, 35);
    for (int step = 0; step < 3 && CurrentState() == "Menu"; ++step) {
        Step();
    }
    EXPECT_EQ(CurrentState(), "Done");
}

} // namespace
