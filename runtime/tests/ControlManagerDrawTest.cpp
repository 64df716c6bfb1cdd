#include "runtime/screen/ControlManager.h"

#include "runtime/testing/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace ControlTest;

class ControlManagerDrawTest : public Fixture {};

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080;

const std::vector<std::pair<std::uint32_t, char>> kLegend{
    {kRed, 'R'}, {kGreen, 'G'}, {kBlue, 'B'}, {kGrey, '.'}, {0xFFFF00, 'Y'}};

// The drawing log as the order in which controls were first drawn and the pixels each painted.
struct Painted {
    std::vector<std::string> order;
    std::map<std::string, int> pixels;
};

Painted Summarize(const Log& draws) {
    Painted painted;
    for (const std::string& entry : draws) {
        const std::string name = entry.substr(0, entry.find(' '));
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        std::sscanf(entry.c_str() + name.size() + 1, "%d,%d,%d,%d", &left, &top, &right, &bottom);
        if (painted.order.empty() || painted.order.back() != name) {
            painted.order.push_back(name);
        }
        painted.pixels[name] += (right - left) * (bottom - top);
    }
    return painted;
}

// Back is red and opaque, Middle green and transparent, Front blue and opaque, Hidden yellow and hidden.
const char* const kLayers =
    "[Menu]\nControl=Back\nControl=Middle\nControl=Front\nControl=Hidden\n"
    "[Back]\nClass=TestPanel\nSize=12,6\nColor=0xFF0000\n"
    "[Middle]\nClass=TestPanel\nPosition=2,1\nSize=6,4\nColor=0x00FF00\nOpaque=false\n"
    "[Front]\nClass=TestPanel\nPosition=6,2\nSize=4,2\nColor=0x0000FF\n"
    "[Hidden]\nClass=TestPanel\nSize=12,6\nColor=0xFFFF00\nVisible=false\n";

const std::vector<std::string> kLayersPicture{"RRRRRRRRRRRR.", "RRGGGGGGRRRR.", "RRGGGGBBBBRR.",
                                              "RRGGGGBBBBRR.", "RRGGGGGGRRRR.", "RRRRRRRRRRRR.",
                                              "............."};

TEST_F(ControlManagerDrawTest, ThePassPaintsBackToFrontAndNothingTwiceBehindAnOpaqueControl) {
    ASSERT_TRUE(Load(kLayers));
    FillBuffer(kGrey);
    const Vemo::Rect bounds = DrawFrame();
    EXPECT_EQ(Describe(bounds), "0,0,40,30");
    EXPECT_EQ(Picture(kLegend, Vemo::Rect(0, 0, 13, 7)), kLayersPicture);
    const Painted painted = Summarize(Take(Draws()));
    EXPECT_EQ(painted.order, (std::vector<std::string>{"Back", "Middle", "Front"}));
    // Back under the transparent Middle, but not under Front; Middle not under Front.
    EXPECT_EQ(painted.pixels,
              (std::map<std::string, int>{{"Back", 72 - 8}, {"Middle", 24 - 4}, {"Front", 8}}));
    EXPECT_EQ(Dirty(), "");
    // The clip rectangle the pass found is the one it leaves.
    EXPECT_EQ(Describe(*m_viewport->GetClipRect()), "0,0,40,30");
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlManagerDrawTest, OnlyTheDirtyAreaIsRedrawn) {
    ASSERT_TRUE(Load(kLayers));
    Panel& front = Get("Front");
    FillBuffer(kGrey);
    DrawFrame();
    Draws().clear();

    Vemo::Rect bounds = DrawFrame();
    EXPECT_EQ(Describe(bounds), "0,0,0,0");
    EXPECT_EQ(Take(Draws()), Log{});

    front.m_color = kRed;
    m_manager->InvalidateControl(&front, nullptr);
    bounds = DrawFrame();
    EXPECT_EQ(Describe(bounds), "6,2,10,4");
    EXPECT_EQ(Take(Draws()), Log{"Front 0,0,4,2"});

    // A part of Front only, given in its own coordinates and cut to its size.
    const Vemo::Rect part(3, -5, 9, 1);
    m_manager->InvalidateControl(&front, &part);
    EXPECT_EQ(Dirty(), "9,2,10,3");
    DrawFrame();
    EXPECT_EQ(Take(Draws()), Log{"Front 3,0,4,1"});

    // Moving uncovers Back and Middle where Front was; nothing else is drawn.
    front.m_color = kBlue;
    ASSERT_TRUE(front.SetPosition(Vemo::Point(8, 0)));
    bounds = DrawFrame();
    EXPECT_EQ(Describe(bounds), "6,0,12,4");
    EXPECT_EQ(Summarize(Take(Draws())).pixels,
              (std::map<std::string, int>{{"Back", 8}, {"Middle", 4}, {"Front", 8}}));
    EXPECT_EQ(Picture(kLegend, Vemo::Rect(0, 0, 13, 7)),
              (std::vector<std::string>{"RRRRRRRRBBBB.", "RRGGGGGGBBBB.", "RRGGGGGGRRRR.", "RRGGGGGGRRRR.",
                                        "RRGGGGGGRRRR.", "RRRRRRRRRRRR.", "............."}));
}

struct OcclusionCase {
    const char* name;
    // The control in front of Back (0, 0, 10, 10), and the part of Back that is invalidated.
    const char* front;
    Vemo::Rect part;
    const char* dirty;
};

void PrintTo(const OcclusionCase& row, std::ostream* out) {
    *out << row.name;
}

class ControlOcclusionTest : public ControlManagerDrawTest,
                             public testing::WithParamInterface<OcclusionCase> {};

TEST_P(ControlOcclusionTest, InvalidationLeavesOutWhatOpaqueControlsInFrontHide) {
    const OcclusionCase& row = GetParam();
    ASSERT_TRUE(Load(std::string("[Menu]\nControl=Box\nControl=Cover\n"
                                 "[Box]\nClass=TestPanel\nSize=20,20\nControl=Back\nControl=Sibling\n"
                                 "[Back]\nClass=TestPanel\nSize=10,10\n[Sibling]\nClass=TestPanel\nSize=1,1\n"
                                 "Position=-5,-5\n") +
                     row.front));
    DrawFrame();
    m_manager->InvalidateControl(&Get("Back"), row.part.IsEmpty() ? nullptr : &row.part);
    EXPECT_EQ(Dirty(), row.dirty);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlOcclusionTest,
    testing::Values(
        OcclusionCase{
            "NothingInFront", "[Cover]\nClass=TestPanel\nPosition=30,0\nSize=1,1\n", {}, "0,0,10,10"},
        OcclusionCase{"BehindAnOpaqueControl", "[Cover]\nClass=TestPanel\nSize=10,10\n", {}, ""},
        OcclusionCase{"BehindATransparentControl",
                      "[Cover]\nClass=TestPanel\nSize=10,10\nOpaque=false\n",
                      {},
                      "0,0,10,10"},
        OcclusionCase{
            "BehindAHiddenControl", "[Cover]\nClass=TestPanel\nSize=10,10\nVisible=false\n", {}, "0,0,10,10"},
        OcclusionCase{"HalfCovered", "[Cover]\nClass=TestPanel\nPosition=5,0\nSize=10,10\n", {}, "0,0,5,10"},
        OcclusionCase{"APartBesideTheCover",
                      "[Cover]\nClass=TestPanel\nPosition=5,0\nSize=10,10\n",
                      {1, 1, 4, 20},
                      "1,1,4,10"},
        OcclusionCase{"ThePartCutToTheControl",
                      "[Cover]\nClass=TestPanel\nPosition=30,0\nSize=1,1\n",
                      {-4, 8, 3, 14},
                      "0,8,3,10"}),
    [](const testing::TestParamInfo<OcclusionCase>& info) { return std::string(info.param.name); });

TEST_F(ControlManagerDrawTest, AChildIsClippedByItsAncestors) {
    ASSERT_TRUE(Load("[Menu]\nControl=Box\n[Box]\nClass=TestPanel\nPosition=2,2\nSize=4,3\nColor=0x00FF00\n"
                     "Control=Wide\n[Wide]\nClass=TestPanel\nPosition=1,-1\nSize=10,2\nColor=0x0000FF\n"));
    FillBuffer(kGrey);
    DrawFrame();
    Draws().clear();
    m_manager->InvalidateControl(&Get("Wide"), nullptr);
    EXPECT_EQ(Dirty(), "3,2,6,3");
    DrawFrame();
    EXPECT_EQ(Take(Draws()), Log{"Wide 0,1,3,2"});
    EXPECT_EQ(Picture(kLegend, Vemo::Rect(1, 1, 8, 6)),
              (std::vector<std::string>{".......", ".GBBB..", ".GGGG..", ".GGGG..", "......."}));
}

TEST_F(ControlManagerDrawTest, InvalidatingStaysInsideTheRoot) {
    DrawFrame();
    const Vemo::Rect outside(-5, -5, 3, 2);
    m_manager->Invalidate(&outside);
    EXPECT_EQ(Dirty(), "0,0,3,2");
    m_manager->Invalidate(nullptr);
    EXPECT_EQ(Dirty(), "0,0,40,30");
    DrawFrame();
    const Vemo::Rect beyond(40, 0, 50, 10);
    m_manager->Invalidate(&beyond);
    EXPECT_EQ(Dirty(), "");
}

// A control whose drawing only ever fills its whole rectangle still changes only the part being drawn.
TEST_F(ControlManagerDrawTest, EachPartIsDrawnUnderItsOwnClipRectangle) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nSize=6,2\nColor=0xFF0000\n"));
    Panel& panel = Get("Panel");
    FillBuffer(kGrey);
    DrawFrame();
    panel.m_color = kBlue;
    panel.m_onDraw = [](Panel& self, const Vemo::Rect&) {
        self.FillRect(Vemo::Rect(Vemo::Point(0, 0), self.GetSize()), self.m_color, true, 3);
    };
    const Vemo::Rect part(2, 0, 4, 1);
    m_manager->InvalidateControl(&panel, &part);
    DrawFrame();
    EXPECT_EQ(Picture(kLegend, Vemo::Rect(0, 0, 7, 3)),
              (std::vector<std::string>{"RRBBRR.", "RRRRRR.", "......."}));
}

// What a control invalidates while it draws is not lost with the area being drawn: the next pass paints it.
TEST_F(ControlManagerDrawTest, AControlThatInvalidatesWhileDrawingIsDrawnAgainNextFrame) {
    ASSERT_TRUE(Load("[Menu]\nControl=Clock\n[Clock]\nClass=TestPanel\nPosition=1,1\nSize=3,3\n"));
    Panel& clock = Get("Clock");
    DrawFrame();
    Draws().clear();
    int frames = 0;
    clock.m_onDraw = [&](Panel& self, const Vemo::Rect&) {
        if (++frames == 1) {
            self.GetManager()->InvalidateControl(&self, nullptr);
        }
    };
    m_manager->InvalidateControl(&clock, nullptr);
    DrawFrame();
    EXPECT_EQ(Dirty(), "1,1,4,4");
    DrawFrame();
    EXPECT_EQ(frames, 2);
    EXPECT_EQ(Dirty(), "");
    EXPECT_EQ(Take(Draws()), (Log{"Clock 0,0,3,3", "Clock 0,0,3,3"}));
}

// Outside the frame pass, while the manager draws: one part of a control, and a tree without occlusion.
TEST_F(ControlManagerDrawTest, APartOrATreeIsDrawnOnRequestWhileTheManagerDraws) {
    ASSERT_TRUE(Load("[Menu]\nControl=Stage\nControl=Box\n"
                     "[Stage]\nClass=TestPanel\nSize=2,2\n"
                     "[Box]\nClass=TestPanel\nPosition=10,10\nSize=6,6\nControl=Inner\nControl=Gone\n"
                     "[Inner]\nClass=TestPanel\nPosition=1,1\nSize=2,2\n"
                     "[Gone]\nClass=TestPanel\nSize=6,6\nVisible=false\n"));
    Panel& box = Get("Box");
    DrawFrame();
    Draws().clear();
    m_manager->DrawTree(&box, Vemo::Rect(0, 0, 6, 6));
    EXPECT_EQ(Take(Draws()), Log{});
    Get("Stage").m_onDraw = [&](Panel& self, const Vemo::Rect&) {
        self.GetManager()->DrawTree(&box, Vemo::Rect(2, 0, 8, 6));
        self.GetManager()->DrawControlPart(&Get("Inner"), Vemo::Rect(0, 0, 1, 1));
    };
    m_manager->InvalidateControl(&Get("Stage"), nullptr);
    DrawFrame();
    EXPECT_EQ(Take(Draws()), (Log{"Stage 0,0,2,2", "Box 2,0,8,6", "Inner 1,0,2,2", "Inner 0,0,1,1"}));
}

TEST_F(ControlManagerDrawTest, ANewPixelFormatPreparesEveryControlAndRedrawsEverything) {
    ASSERT_TRUE(Load("[Menu]\nControl=Box\n[Box]\nClass=TestPanel\nSize=6,6\nControl=Inner\n"
                     "[Inner]\nClass=TestPanel\nSize=2,2\nVisible=false\n"));
    Panel& box = Get("Box");
    Panel& inner = Get("Inner");
    DrawFrame();
    const Vemo::PixelFormat format(Vemo::StandardPixelFormat::Rgb565);
    EXPECT_TRUE(m_manager->SetPixelFormat(format));
    EXPECT_EQ(m_manager->GetDisplayPixelFormat().format, Vemo::StandardPixelFormat::Rgb565);
    EXPECT_EQ(box.m_prepared, 2);
    EXPECT_EQ(inner.m_prepared, 2);
    EXPECT_EQ(Dirty(), "0,0,40,30");

    DrawFrame();
    box.m_refusePreparation = true;
    EXPECT_FALSE(m_manager->SetPixelFormat(format));
    EXPECT_EQ(inner.m_prepared, 2);
    EXPECT_EQ(Dirty(), "");
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}}));
}

} // namespace
