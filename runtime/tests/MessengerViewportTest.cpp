// The viewport from its script section: the display it opens and the depths it falls back to, the frames it
// draws and shows, and what its window's close box, paints and display changes do.
#include "runtime/testing/ViewportTestSupport.h"

#include "resources/error/ErrorCodes.h"
#include "script/ErrorString.h"
#include "script/Script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace ViewportTest {
namespace {

// Three panels: an opaque red one at the back, a transparent green one over it, an opaque blue one in front.
const char kPanels[] = "[Menu]\n"
                       "Control=Back\nControl=Glass\nControl=Front\n"
                       "[Back]\nClass=TestPanel\nPosition=10,10\nSize=100,60\nColor=0xFF0000\n"
                       "[Glass]\nClass=TestPanel\nPosition=50,30\nSize=100,60\nColor=0x00FF00\nOpaque=false\n"
                       "[Front]\nClass=TestPanel\nPosition=80,40\nSize=40,20\nColor=0x0000FF\n";

class MessengerViewportTest : public Fixture {
protected:
    // The names of the controls in the draw log, one per run of the same name.
    static Log DrawOrder(const Log& draws) {
        Log order;
        for (const std::string& entry : draws) {
            const std::string name = entry.substr(0, entry.find(' '));
            if (order.empty() || order.back() != name) {
                order.push_back(name);
            }
        }
        return order;
    }
};

TEST_F(MessengerViewportTest, ASectionWithoutKeysOpensA640By480WindowAt100_100InTheDisplaysDepth) {
    for (const int bits : {32, 16}) {
        SCOPED_TRACE(bits);
        ASSERT_TRUE(win32::testing::SetDesktopSize(1920, 1080, bits));
        ASSERT_NE(Open(""), nullptr);
        const win32::testing::WindowState state = win32::testing::GetWindowState(Window());
        EXPECT_EQ(state.rect.left, 100);
        EXPECT_EQ(state.rect.top, 100);
        EXPECT_EQ(state.clientRect.right - state.clientRect.left, 640);
        EXPECT_EQ(state.clientRect.bottom - state.clientRect.top, 480);
        EXPECT_TRUE(state.visible);
        EXPECT_EQ(state.text, "");
        EXPECT_FALSE(Viewport().IsFullscreen());
        EXPECT_EQ(Viewport().GetBackBufferCount(), 1U);
        EXPECT_EQ(Viewport().GetDisplayPixelFormat().depth, Vemo::DepthFromBitsPerPixel(bits));
        EXPECT_EQ(Viewport().GetRootControl()->GetRectangle(), Vemo::Rect(0, 0, 640, 480));
        EXPECT_TRUE(Viewport().HasFocus());
        EXPECT_EQ(Taken(), Reports{});
        m_viewport.reset();
    }
}

struct WindowCase {
    const char* name;
    const char* keys;
    const char* title;
    win32::RECT rect;
    // Whether the size is that of the client area (else of the window).
    bool clientSize;
};

const WindowCase kWindowCases[] = {
    {"TitlePositionAndSize",
     "Title=\"Quorven\"\nPosition=30,40\nSize=320,200",
     "Quorven",
     {30, 40, 320, 200},
     true},
    {"SizeOfTheWindow", "Size=320,200,false", "", {100, 100, 320, 200}, false},
    {"PositionFlagSetsTheSizeFlag", "Position=30,40,false\nSize=320,200", "", {30, 40, 320, 200}, false},
    {"SizeFlagComesLater", "Position=30,40,false\nSize=320,200,true", "", {30, 40, 320, 200}, true},
    {"SizeFlagWinsWhereverWritten", "Size=320,200,false\nPosition=30,40,true", "", {30, 40, 320, 200}, false},
};

class ViewportKeysTest : public Fixture, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(ViewportKeysTest, TheKeysDescribeTheWindow) {
    const WindowCase& wanted = GetParam();
    ASSERT_NE(Open(wanted.keys), nullptr);
    const win32::testing::WindowState state = win32::testing::GetWindowState(Window());
    EXPECT_EQ(state.text, wanted.title);
    EXPECT_EQ(state.rect.left, wanted.rect.left);
    EXPECT_EQ(state.rect.top, wanted.rect.top);
    const win32::RECT& measured = wanted.clientSize ? state.clientRect : state.rect;
    EXPECT_EQ(measured.right - measured.left, wanted.rect.right);
    EXPECT_EQ(measured.bottom - measured.top, wanted.rect.bottom);
    EXPECT_EQ(Viewport().GetRootControl()->GetRectangle(),
              Vemo::Rect(0, 0, state.clientRect.right - state.clientRect.left,
                         state.clientRect.bottom - state.clientRect.top));
    EXPECT_EQ(Taken(), Reports{});
}

INSTANTIATE_TEST_SUITE_P(Keys, ViewportKeysTest, ::testing::ValuesIn(kWindowCases),
                         [](const ::testing::TestParamInfo<WindowCase>& info) {
                             return std::string(info.param.name);
                         });

struct DepthCase {
    const char* name;
    int desktopBits;
    const char* depthKey;
    std::vector<int> refused;
    std::uint32_t openedBits;
};

const DepthCase kDepthCases[] = {
    {"NoKeyTakesTheDisplays32Bits", 32, "", {}, 32},
    {"NoKeyTakesTheDisplays16Bits", 16, "", {}, 16},
    {"NoKeyOnAn8BitDisplayOpens16Bits", 8, "", {}, 16},
    {"ZeroBitsTakeTheDisplays", 16, "Depth=0", {}, 16},
    {"QualityOnAn8BitDisplayOpens32Bits", 8, "Depth=0,Quality", {}, 32},
    {"QualityOf8BitsOpens32Bits", 16, "Depth=8,Quality", {}, 32},
    {"QualityFallsBackTo24", 16, "Depth=8,quality", {32}, 24},
    {"QualityFallsBackTo16Last", 32, "Depth=8,QUALITY", {32, 24}, 16},
    {"PerformanceOf8BitsOpens16Bits", 32, "Depth=8,Performance", {}, 16},
    {"PerformanceFallsBackTo24", 32, "Depth=8,performance", {16}, 24},
    {"PerformanceFallsBackTo32Last", 32, "Depth=8,Performance", {16, 24}, 32},
    {"AnotherWordKeepsPerformance", 32, "Depth=8,Beauty", {16}, 24},
    {"A24BitWishFallsBackTo16First", 32, "Depth=24", {24}, 16},
};

class ViewportDepthTest : public Fixture, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(ViewportDepthTest, AFullScreenViewportOpensInTheFirstDepthTheDisplayAccepts) {
    const DepthCase& wanted = GetParam();
    ASSERT_TRUE(win32::testing::SetDesktopSize(1920, 1080, wanted.desktopBits));
    for (const int bits : wanted.refused) {
        win32::testing::RefuseDisplayDepth(bits);
    }
    ASSERT_NE(Open(std::string("Fullscreen=true\n") + wanted.depthKey), nullptr);
    EXPECT_TRUE(Viewport().IsFullscreen());
    EXPECT_EQ(Viewport().GetDisplayPixelFormat().depth, Vemo::DepthFromBitsPerPixel(wanted.openedBits));
    EXPECT_EQ(Viewport().GetRootControl()->GetRectangle(), Vemo::Rect(0, 0, 640, 480));
    EXPECT_EQ(Reported(MessengerViewport::kErrorOpen), false);
}

INSTANTIATE_TEST_SUITE_P(Depths, ViewportDepthTest, ::testing::ValuesIn(kDepthCases),
                         [](const ::testing::TestParamInfo<DepthCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MessengerViewportTest, ADisplayThatAcceptsNoDepthTriedFailsTheViewport) {
    for (const int bits : {16, 24, 32}) {
        win32::testing::RefuseDisplayDepth(bits);
    }
    EXPECT_EQ(Open("Fullscreen=true"), nullptr);
    EXPECT_TRUE(Reported(MessengerViewport::kErrorOpen));
    EXPECT_EQ(MessengerViewport::kErrorOpen, 0x0107000000150001U);
}

TEST_F(MessengerViewportTest, BitsWithoutADepthCodeFailTheViewport) {
    EXPECT_EQ(Open("Depth=15"), nullptr);
    EXPECT_TRUE(Reported(Control::kErrorFailure));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U) << "only the main window";
}

// A window whose far edges do not fit 32 bits is refused as a malformed key is, naming the key.
TEST_F(MessengerViewportTest, AWindowBeyond32BitsFailsTheViewportNamingTheKey) {
    const std::pair<const char*, const char*> cases[] = {
        {"Size=2147483647, 480", "Size"},
        {"Position=-2147483648, 0\nSize=-1, 480, false", "Size"},
        {"Position=2147483647, 2147483647", "Position"},
    };
    for (const auto& [keys, key] : cases) {
        SCOPED_TRACE(keys);
        EXPECT_EQ(Open(keys), nullptr);
        const Reports reports = Taken();
        const std::string where =
            "\"" + std::string(ScriptPathText(m_script).CStr()) + "\",\"Viewport\",\"" + key + "\"";
        EXPECT_TRUE(VemoTest::ReportedInOrder(reports, {{Script::kErrorKeyNotParsed, where.c_str()}}))
            << ::testing::PrintToString(reports);
        EXPECT_EQ(win32::testing::LiveWindowCount(), 1U) << "only the main window";
    }
}

// A window whose client area fits 32 bits but whose frame does not: the frame wraps, and the display that
// cannot hold it fails the viewport as any display that cannot be opened does.
TEST_F(MessengerViewportTest, AWindowWhoseFrameRunsPast32BitsFailsToOpen) {
    EXPECT_EQ(Open("Position=0, 0\nSize=2147483647, 480, false"), nullptr);
    EXPECT_TRUE(Reported(MessengerViewport::kErrorOpen));
    EXPECT_EQ(win32::testing::LiveWindowCount(), 1U) << "only the main window";
}

TEST_F(MessengerViewportTest, AViewportWithoutAScriptOpensNothingAndDrawsNothing) {
    MessengerViewport viewport(S("Bare"), nullptr, nullptr);
    ASSERT_TRUE(viewport.ReadScript());
    EXPECT_FALSE(viewport.IsOpen());
    viewport.DrawFrame(true);
    viewport.ProcessEvents();
    EXPECT_EQ(Taken(), Reports{});
}

TEST_F(MessengerViewportTest, ControlsAreDrawnBackToFrontAndOnlyWhatChangedReachesTheScreen) {
    ASSERT_NE(Open("", kPanels), nullptr);
    Step();
    EXPECT_EQ(DrawOrder(Take(Draws())), (Log{"Back", "Glass", "Front"}));
    {
        const ddraw::testing::Frame frame = Shown();
        EXPECT_EQ(frame.At(10, 10), kRed);
        EXPECT_EQ(frame.At(49, 69), kRed);
        EXPECT_EQ(frame.At(50, 30), kGreen);
        EXPECT_EQ(frame.At(149, 89), kGreen);
        EXPECT_EQ(frame.At(80, 40), kBlue);
        EXPECT_EQ(frame.At(119, 59), kBlue);
        EXPECT_EQ(frame.At(120, 59), kGreen) << "the right edge is outside";
        EXPECT_EQ(frame.At(119, 60), kGreen) << "the bottom edge is outside";
        EXPECT_EQ(frame.At(9, 10), 0U);
        EXPECT_EQ(frame.At(110, 20), 0U);
        EXPECT_EQ(frame.At(150, 89), 0U);
    }

    // The glass changes. Drawn straight into the back buffer, a mark elsewhere stays off the screen: only the
    // changed area is copied.
    Panel& glass = Get("Glass");
    glass.m_color = kWhite;
    Viewport().InvalidateControl(&glass, nullptr);
    Viewport().FillRect(Vemo::Rect(300, 300, 310, 310), kWhite, true, 3);
    Step();
    Log drawn = DrawOrder(Take(Draws()));
    std::sort(drawn.begin(), drawn.end());
    drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
    EXPECT_EQ(drawn, (Log{"Back", "Glass"}))
        << "the red behind the glass shows through it; the front hides it";
    {
        const ddraw::testing::Frame frame = Shown();
        EXPECT_EQ(frame.At(50, 30), kWhite);
        EXPECT_EQ(frame.At(80, 40), kBlue) << "the opaque front still covers it";
        EXPECT_EQ(frame.At(10, 10), kRed);
        EXPECT_EQ(frame.At(300, 300), 0U);
    }

    // Nothing changed: nothing is drawn.
    Step();
    EXPECT_TRUE(Draws().empty());
    EXPECT_EQ(Shown().At(300, 300), 0U);

    // Uncovering the window repaints it from the back buffer.
    win32::testing::HostExposes(Window());
    Pump();
    EXPECT_EQ(Shown().At(300, 300), kWhite);
    EXPECT_EQ(Shown().At(80, 40), kBlue);
    EXPECT_EQ(Taken(), Reports{});
}

TEST_F(MessengerViewportTest, ClosingTheWindowAsksTheApplicationToQuitAndKeepsTheWindow) {
    ASSERT_NE(Open(""), nullptr);
    const win32::HWND window = Window();
    win32::testing::HostCloses(window);
    Pump();
    EXPECT_TRUE(win32::testing::GetWindowState(window).exists);
    EXPECT_TRUE(Viewport().IsOpen());
    EXPECT_EQ(m_world.Application().m_quits, 1);
}

TEST_F(MessengerViewportTest, ADisplayChangePreparesTheControlsAgainAndRedrawsEverything) {
    ASSERT_NE(Open("", kPanels), nullptr);
    Step();
    Take(Draws());
    Panel& back = Get("Back");
    const int prepared = back.m_prepared;
    EXPECT_EQ(Dirty(), "");

    Vemo::ViewportDescription description(*Viewport().GetDescription());
    description.title = S("Retitled");
    ASSERT_TRUE(Viewport().OpenWindow(description));
    EXPECT_EQ(back.m_prepared, prepared + 1);
    EXPECT_EQ(Dirty(), "0,0,640,480");
    Step();
    EXPECT_EQ(DrawOrder(Take(Draws())), (Log{"Back", "Glass", "Front"}));
}

TEST_F(MessengerViewportTest, SurfacesMadeAgainAfterALossAreDrawnAgainWhole) {
    ASSERT_NE(Open("", kPanels), nullptr);
    Step();
    Take(Draws());
    ASSERT_TRUE(ddraw::testing::LoseSurface(HandleOf(Viewport())->GetPrimarySurface()));
    ASSERT_TRUE(Viewport().IsLost());
    ASSERT_TRUE(Viewport().Restore());
    EXPECT_EQ(Dirty(), "0,0,640,480");
    Step();
    EXPECT_EQ(DrawOrder(Take(Draws())), (Log{"Back", "Glass", "Front"}));
    EXPECT_EQ(Shown().At(80, 40), kBlue);
}

TEST_F(MessengerViewportTest, AStillPointerFollowsAControlThatMovedUnderIt) {
    ASSERT_NE(Open("", kPanels), nullptr);
    win32::testing::MoveMouse(Window(), 300, 200);
    Step();
    EXPECT_TRUE(Take(Events()).empty());
    Get("Front").SetPosition(Vemo::Point(290, 190));
    Step();
    EXPECT_EQ(Take(Events()), (Log{"Front Moved", "Front Enter 10,10"}));
    Step();
    EXPECT_TRUE(Events().empty()) << "the pointer is already inside";
}

TEST_F(MessengerViewportTest, BusyPeriodsNestAndNeverCountBelowZero) {
    ASSERT_NE(Open(""), nullptr);
    Viewport().SetBusy(true);
    Viewport().SetBusy(true);
    Viewport().SetBusy(false);
    EXPECT_EQ(Viewport().GetBusyCount(), 1U);
    Viewport().SetBusy(false);
    Viewport().SetBusy(false);
    EXPECT_EQ(Viewport().GetBusyCount(), 0U);
}

} // namespace
} // namespace ViewportTest
