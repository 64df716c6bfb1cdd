// The title's animated cursor on a viewport of the DirectX 6 engine (headless): its cells come from a
// generated 624 x 208 grid whose 26 x 26 cells each have a colour of their own, so that a picture read back
// names the cell shown. The animation runs on the fake clock.
#include "engines/graphics/Graphic.h"
#include "platform/testing/DirectDrawTesting.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/pictures/BitmapCacheTimer.h"
#include "runtime/screen/Control.h"
#include "runtime/screen/Cursor.h"
#include "runtime/testing/ControlTestSupport.h"
#include "runtime/testing/PictureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using MessengerTest::S;
using VemoTest::Reports;

std::string CellText(const Vemo::Point& cell) {
    return std::to_string(cell.x) + "," + std::to_string(cell.y);
}

class CursorTest : public PictureTest::Fixture {
protected:
    void SetUp() override {
        PictureTest::Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        m_viewport = MakeCursorViewport();
        ASSERT_NE(m_viewport, nullptr);
        m_cursor = m_viewport->GetCursor();
        ASSERT_NE(m_cursor, nullptr);
        EXPECT_EQ(m_application.TakeReports(), Reports{});
    }

    // One animation frame: a frame period and a little more pass, and the cursor is drawn.
    Vemo::Rect Step() {
        Milliseconds(30);
        Vemo::Rect drawn;
        m_cursor->Draw(drawn);
        return drawn;
    }

    // The states after each of n steps, separated by spaces.
    std::string Steps(int n) {
        std::string states;
        for (int i = 0; i < n; ++i) {
            Step();
            states += (i == 0 ? "" : " ") + std::to_string(m_cursor->GetState());
        }
        return states;
    }

    std::string ShownCell(int x, int y) { return Fixture::ShownCell(*m_viewport, x, y); }

    MessengerViewport* m_viewport = nullptr;
    Cursor* m_cursor = nullptr;
};

TEST_F(CursorTest, TheViewportMakesItHiddenAt40FramesASecond) {
    EXPECT_EQ(m_cursor->GetState(), Cursor::kNone);
    EXPECT_EQ(m_cursor->GetFramePeriod(), 25u);
    ASSERT_NE(m_cursor->GetBitmap(), nullptr);
    EXPECT_EQ(m_cursor->GetBitmap()->GetWidth(), 624);
    EXPECT_EQ(m_cursor->GetBitmap()->GetHeight(), 208);
    Vemo::Rect drawn(1, 1, 2, 2);
    m_cursor->Draw(drawn);
    EXPECT_TRUE(drawn.IsEmpty());
}

TEST_F(CursorTest, StateNamesAreFoundInAnyCase) {
    EXPECT_EQ(m_cursor->FindState(S("pointer")), 1);
    EXPECT_EQ(m_cursor->FindState(S("CLICKABLE")), 2);
    EXPECT_EQ(m_cursor->FindState(S("Count")), 22);
    EXPECT_EQ(m_cursor->FindState(S("ThumbsUp")), 21);
    EXPECT_EQ(m_cursor->FindState(S("Busy")), -1);
    m_cursor->SetState(23);
    m_cursor->QueueState(40, true);
    EXPECT_EQ(m_cursor->GetState(), Cursor::kNone);
    EXPECT_EQ(m_cursor->GetTarget(), -1);
}

TEST_F(CursorTest, EveryStateHasTheFramesOfItsAnimation) {
    const int counts[] = {1, 1,  18, 14, 12, 1, 24, 18, 12, 1,  5, 1, 1, 1, 1, 1, 1, 1,
                          1, 12, 12, 24, 28, 0, 0,  6,  1,  3,  3, 5, 1, 6, 3, 5, 8, 8,
                          8, 8,  8,  8,  4,  4, 4,  12, 13, 13, 6, 6, 8, 8, 8, 8, 8};
    for (std::uint32_t state = 0; state < std::size(counts); ++state) {
        EXPECT_EQ(Cursor::FrameCount(state), counts[state]) << state;
    }
}

TEST_F(CursorTest, TheBusyAnimationShowsItsCellsInOrderAndLoops) {
    m_cursor->SetState(Cursor::kCount);
    std::vector<std::string> cells;
    for (int i = 0; i < 29; ++i) {
        Step();
        cells.push_back(CellText(m_cursor->GetCell()));
    }
    std::vector<std::string> wanted;
    for (int frame = 1; frame < 28; ++frame) {
        wanted.push_back(CellText(Vemo::Point(frame % 24, 5 + frame / 24)));
    }
    wanted.push_back("0,5");
    wanted.push_back("1,5");
    EXPECT_EQ(cells, wanted);
}

struct TransitionCase {
    const char* name;
    unsigned from;
    // Asked for in order, each with flush.
    std::vector<unsigned> wanted;
    // The state after each step.
    const char* states;
};

std::string Repeat(const std::string& state, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += (i == 0 ? "" : " ") + state;
    }
    return text;
}

const TransitionCase kTransitionCases[] = {
    {"ClickableFromPointerAtOnce", 1, {2}, "2 2 2"},
    {"GrabToPointerThroughTransition28", 5, {1}, "28 28 28 1"},
    {"PointerToGrabThrough27", 1, {5}, "27 27 27 5 5"},
    {"FadeInFromPointerDoesNothing", 1, {19}, "1 1 1"},
    {"ReleasePlaysThenPoints", 6, {}, nullptr},
    {"PickPointToPickedPoint", 8, {9}, nullptr},
    {"CountLeavesForPointerAtFrame11", 22, {1}, nullptr},
    {"CountPlaysToItsEndForGrab", 22, {5}, nullptr},
    {"FadeOutHidesTheCursor", 20, {}, nullptr},
    {"FadeInFollowsTheEndOfFadeOut", 20, {19}, nullptr},
};

// The longer sequences, written out.
std::string Expected(const TransitionCase& c) {
    const std::string name = c.name;
    if (name == "ReleasePlaysThenPoints") {
        return Repeat("6", 23) + " 1 1";
    }
    if (name == "PickPointToPickedPoint") {
        return Repeat("8", 11) + " 9 9";
    }
    if (name == "CountLeavesForPointerAtFrame11") {
        return Repeat("22", 10) + " " + Repeat("50", 8) + " 1";
    }
    if (name == "CountPlaysToItsEndForGrab") {
        return Repeat("22", 27) + " 5 5";
    }
    if (name == "FadeOutHidesTheCursor") {
        return Repeat("20", 11) + " 0 0";
    }
    if (name == "FadeInFollowsTheEndOfFadeOut") {
        return Repeat("20", 11) + " " + Repeat("19", 12) + " 21";
    }
    return c.states;
}

class CursorTransitionTest : public CursorTest, public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(CursorTransitionTest, FollowsTheTable) {
    const TransitionCase& c = GetParam();
    m_cursor->SetState(c.from);
    for (unsigned state : c.wanted) {
        m_cursor->QueueState(state, true);
    }
    const std::string expected = Expected(c);
    const int steps = static_cast<int>(std::count(expected.begin(), expected.end(), ' ')) + 1;
    EXPECT_EQ(Steps(steps), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CursorTransitionTest, ::testing::ValuesIn(kTransitionCases),
                         [](const ::testing::TestParamInfo<TransitionCase>& info) {
                             return info.param.name;
                         });

TEST_F(CursorTest, ClickablePlaysToItsEndBeforeThePointer) {
    m_cursor->SetState(Cursor::kPointer);
    m_cursor->QueueState(Cursor::kClickable, true);
    Step();
    m_cursor->QueueState(Cursor::kPointer, true);
    EXPECT_EQ(Steps(18), Repeat("2", 17) + " 1");
}

TEST_F(CursorTest, QueueingTheSameStateTwiceAddsItOnce) {
    m_cursor->SetState(Cursor::kPointer);
    m_cursor->QueueState(Cursor::kClickable, false);
    m_cursor->QueueState(Cursor::kClicked, false);
    m_cursor->QueueState(Cursor::kClicked, false);
    m_cursor->QueueState(Cursor::kPointer, false);
    EXPECT_EQ(m_cursor->GetTarget(), 2);
    ASSERT_EQ(m_cursor->GetQueue().Size(), 2u);
    EXPECT_EQ(m_cursor->GetQueue().Front(), 3u);
    // Clickable to its end, then Clicked, then the pointer.
    EXPECT_EQ(Steps(18 + 14 + 2), Repeat("2", 18) + " " + Repeat("3", 14) + " 1 1");
}

TEST_F(CursorTest, AskingForAnyStateWakesAHiddenCursorAtThePointer) {
    m_cursor->QueueState(Cursor::kGrab, false);
    EXPECT_EQ(m_cursor->GetState(), Cursor::kPointer);
    EXPECT_EQ(m_cursor->GetTarget(), 5);
}

TEST_F(CursorTest, OneFrameADrawHoweverLongTheWait) {
    m_cursor->SetState(Cursor::kClickable);
    Milliseconds(25);
    Vemo::Rect drawn;
    m_cursor->Draw(drawn);
    EXPECT_EQ(m_cursor->GetFrame(), 0);
    Milliseconds(1);
    m_cursor->Draw(drawn);
    EXPECT_EQ(m_cursor->GetFrame(), 1);
    Milliseconds(100);
    m_cursor->Draw(drawn);
    EXPECT_EQ(m_cursor->GetFrame(), 2);
    // The phase stays: 126 ms have passed, 125 of them counted.
    Milliseconds(24);
    m_cursor->Draw(drawn);
    EXPECT_EQ(m_cursor->GetFrame(), 2);
    Milliseconds(1);
    m_cursor->Draw(drawn);
    EXPECT_EQ(m_cursor->GetFrame(), 3);
}

// The cursor enters state 0 with the frame it had (the pointer asked for "None", the end of a fade-out); a
// wake before the next step must draw a cell of the frame table, not one read past state 0's single entry.
TEST_F(CursorTest, AHiddenCursorWakesAtItsFirstCell) {
    m_cursor->SetState(Cursor::kFadeOut);
    EXPECT_EQ(Steps(12), Repeat("20", 11) + " 0");
    EXPECT_EQ(m_cursor->GetFrame(), 0);
    EXPECT_EQ(CellText(m_cursor->GetCell()), "0,0");
    m_cursor->QueueState(Cursor::kClickable, true);
    Vemo::Rect drawn;
    m_cursor->Draw(drawn);
    EXPECT_FALSE(drawn.IsEmpty());
    EXPECT_EQ(CellText(m_cursor->GetCell()), "0,0");

    m_cursor->SetState(Cursor::kPointer);
    m_cursor->QueueState(Cursor::kNone, true);
    EXPECT_EQ(Steps(1), "0");
    EXPECT_EQ(m_cursor->GetFrame(), 0);
    m_cursor->QueueState(Cursor::kPointer, true);
    EXPECT_EQ(Steps(1), "1");
    EXPECT_EQ(CellText(m_cursor->GetCell()), "0,0");
}

TEST_F(CursorTest, ControlsNameTheStateTheyWant) {
    auto control = std::make_unique<Control>(S("Panel"), nullptr, nullptr);
    ASSERT_TRUE(control->Configure(m_viewport->GetRootControl(), nullptr));
    Control::CursorInfo wish;
    ASSERT_TRUE(control->ReadCursorInfo(MessengerTest::Parsed("grab(true)")[0], wish));
    EXPECT_EQ(wish.state, 5u);
    EXPECT_EQ(wish.immediate, 1u);
    ASSERT_TRUE(control->SetCursor(wish));
    EXPECT_EQ(m_cursor->GetState(), Cursor::kGrab);
    ASSERT_TRUE(control->ReadCursorInfo(MessengerTest::Parsed("Clickable")[0], wish));
    EXPECT_EQ(wish.state, 2u);
    EXPECT_EQ(wish.immediate, 1u);
    ASSERT_TRUE(control->ReadCursorInfo(MessengerTest::Parsed("Clickable(false)")[0], wish));
    ASSERT_TRUE(control->SetCursor(wish));
    EXPECT_EQ(m_cursor->GetState(), Cursor::kGrab);
    EXPECT_EQ(m_cursor->GetTarget(), 2);
    ASSERT_TRUE(control->SetCursorState(0));
    EXPECT_EQ(m_cursor->GetState(), Cursor::kNone);
    EXPECT_EQ(m_application.TakeReports(), Reports{});
    EXPECT_FALSE(control->ReadCursorInfo(MessengerTest::Parsed("Hover")[0], wish));
    EXPECT_EQ(wish.state, 2u);
    EXPECT_EQ(m_application.TakeReports(), Reports{Control::kErrorFailure});
}

TEST_F(CursorTest, ACursorThatCannotBeMadeFailsTheViewport) {
    EXPECT_EQ(MakeViewport("[Viewport]\nClass=Viewport\nSize=64, 48\nDepth=32\nCursor=nowhere.bmp\n"),
              nullptr);
    EXPECT_TRUE(VemoTest::ReportedInOrder(m_application.TakeReports(), {Control::kErrorFailure}));
}

TEST_F(CursorTest, ANewDisplayFormatRebuildsTheCursorsBitmap) {
    BitmapCache::Record* record = m_cursor->GetBitmap()->GetRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(Cache().GetTimer()->IsRunning());
    m_viewport->OnStyleChanged();
    // The old bitmap let go of the image (the eviction timer started) and the new one took it again.
    EXPECT_TRUE(Cache().GetTimer()->IsRunning());
    ASSERT_NE(m_cursor->GetBitmap(), nullptr);
    EXPECT_EQ(m_cursor->GetBitmap()->GetRecord(), record);
    EXPECT_EQ(record->count, 1u);
    EXPECT_EQ(m_cursor->GetBitmap()->GetWidth(), 624);
}

TEST_F(CursorTest, TheFrameDrawsTheCellAtThePointerOverTheControls) {
    const win32::HWND window = WindowOf(*m_viewport);
    win32::testing::MoveMouse(window, 20, 30);
    Pump();
    m_viewport->ProcessEvents();
    EXPECT_EQ(m_cursor->GetPosition(), Vemo::Point(20, 30));
    m_cursor->SetState(Cursor::kCount);
    Milliseconds(30);
    m_viewport->DrawFrame(true);
    // The hot spot (4, 3) of the cell lies on the pointer.
    EXPECT_EQ(m_viewport->GetCursorRect(), Vemo::Rect(16, 27, 42, 48));
    EXPECT_EQ(ShownCell(16, 27), "1,5");
    EXPECT_EQ(ShownCell(41, 47), "1,5");
    EXPECT_EQ(ShownCell(15, 27), "-");

    m_viewport->DrawFrame(false);
    EXPECT_TRUE(m_viewport->GetCursorRect().IsEmpty());
}

// A frame after still ones: what happens in between, whether the panel under the cursor is drawn again, and
// the cell then shown at a point of the cursor's place (16, 27 to 42, 48), "-" for the panel.
enum class Between { Nothing, PanelChanges, PointerMoves, PointerMovedAFrameAgo, AnimationMovesOn };

struct StillFrameCase {
    const char* name;
    Between between;
    bool panelDrawn;
    int x;
    int y;
    const char* cell;
};

const StillFrameCase kStillFrameCases[] = {
    {"NothingChanged", Between::Nothing, false, 16, 27, "0,0"},
    {"ThePanelChanged", Between::PanelChanges, true, 16, 27, "0,0"},
    {"ThePointerMoved", Between::PointerMoves, true, 16, 40, "-"},
    // Its new place is drawn once more as a part of its own, as a still cursor's place always was.
    {"ThePointerStoppedAFrameAgo", Between::PointerMovedAFrameAgo, true, 26, 17, "0,0"},
    {"TheAnimationMovedOn", Between::AnimationMovesOn, true, 16, 27, "1,0"},
};

class CursorStillFrameTest : public CursorTest, public ::testing::WithParamInterface<StillFrameCase> {};

// Once a still cursor's place has been drawn again, a frame in which nothing changed leaves the buffer and
// the screen as they are; any change draws what lies under the cursor and the cursor over it again.
TEST_P(CursorStillFrameTest, OnlyAChangeDrawsTheCursorsPlaceAgain) {
    const StillFrameCase& test = GetParam();
    ControlTest::Panel panel(S("Under"), nullptr, nullptr);
    ASSERT_TRUE(panel.Configure(m_viewport->GetRootControl(), nullptr));
    ASSERT_TRUE(panel.SetRectangle(Vemo::Rect(0, 0, 64, 48)));
    panel.m_color = 0x204060;
    win32::testing::MoveMouse(WindowOf(*m_viewport), 20, 30);
    Pump();
    m_viewport->ProcessEvents();
    m_cursor->SetState(Cursor::kPointer);
    for (int frame = 0; frame < 3; ++frame) {
        Milliseconds(30);
        m_viewport->DrawFrame(true);
    }
    ASSERT_EQ(ShownCell(16, 27), "0,0");
    ControlTest::Draws().clear();

    switch (test.between) {
    case Between::Nothing:
        break;
    case Between::PanelChanges:
        panel.m_color = 0x604020;
        m_viewport->InvalidateControl(&panel, nullptr);
        break;
    case Between::PointerMoves:
    case Between::PointerMovedAFrameAgo:
        win32::testing::MoveMouse(WindowOf(*m_viewport), 30, 20);
        Pump();
        m_viewport->ProcessEvents();
        if (test.between == Between::PointerMovedAFrameAgo) {
            Milliseconds(30);
            m_viewport->DrawFrame(true);
            ControlTest::Draws().clear();
        }
        break;
    case Between::AnimationMovesOn:
        m_cursor->SetState(Cursor::kClickable);
        break;
    }
    Milliseconds(30);
    m_viewport->DrawFrame(true);
    EXPECT_EQ(!ControlTest::Draws().empty(), test.panelDrawn);
    EXPECT_EQ(ShownCell(test.x, test.y), test.cell);
    const auto frame = ddraw::testing::ReadFrame(WindowOf(*m_viewport));
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->At(2, 2), panel.m_color) << "the panel shows beside the cursor";
    EXPECT_EQ(m_application.TakeReports(), Reports{});
}

INSTANTIATE_TEST_SUITE_P(Frames, CursorStillFrameTest, ::testing::ValuesIn(kStillFrameCases),
                         [](const ::testing::TestParamInfo<StillFrameCase>& info) { return info.param.name; });

} // namespace
