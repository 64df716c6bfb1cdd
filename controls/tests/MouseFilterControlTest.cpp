#include "controls/MouseFilterControl.h"
#include "controls/tests/CoreControlTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace CoreControlTest;
using ControlTest::Events;

class MouseFilterControlTest : public Fixture {};

TEST_F(MouseFilterControlTest, ClicksFallThroughToWhatLiesBehindButReachItsChildren) {
    ASSERT_TRUE(Load("[Menu]\nControl=Back\nControl=Filter\n"
                     "[Back]\nClass=TestPanel\nPosition=0,0\nSize=20,20\nColor=0xFF0000\n"
                     "[Filter]\nClass=MouseFilterControl\nPosition=0,0\nSize=20,20\nControl=Child\n"
                     "[Child]\nClass=TestPanel\nPosition=5,5\nSize=2,2\nColor=0x00FF00\n"));
    Control* filter = Find("Filter");
    EXPECT_TRUE(filter->IsTransparent());
    EXPECT_TRUE(filter->IsShown());

    m_manager->MouseButton(Vemo::Point(1, 1), 0, true);
    m_manager->MouseButton(Vemo::Point(1, 1), 0, false);
    const Log events = Events();
    EXPECT_NE(std::find(events.begin(), events.end(), "Back Pressed 1,1 0"), events.end());
    EXPECT_EQ(m_manager->HitTest(Vemo::Point(6, 6)), Find("Child"));
    EXPECT_EQ(m_manager->HitTest(Vemo::Point(15, 15)), Find("Back"));

    FillBuffer(0);
    m_manager->Invalidate(nullptr);
    DrawFrame();
    EXPECT_EQ(Picture({{0xFF0000, 'r'}, {0x00FF00, 'g'}}, Vemo::Rect(4, 4, 8, 8)),
              (std::vector<std::string>{"rrrr", "rggr", "rggr", "rrrr"}))
        << "the filter draws nothing and hides nothing";
    EXPECT_EQ(TakeReports(), (Reports{}));
}

} // namespace
