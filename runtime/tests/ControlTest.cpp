#include "runtime/screen/Control.h"

#include "runtime/testing/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace ControlTest;

class ControlTest : public Fixture {};

std::vector<Vemo::ErrorCode> Codes(const Reports& reports) {
    std::vector<Vemo::ErrorCode> codes;
    for (const VemoTest::Reported& reported : reports) {
        codes.push_back(reported.m_code);
    }
    return codes;
}

std::string Flags(const Control& control) {
    std::string flags = Describe(control.GetRectangle());
    flags += control.IsTransparent() ? " transparent" : "";
    flags += control.IsShown() ? " shown" : (control.IsVisible() ? " visible" : "");
    flags += control.IsEffectivelyEnabled() ? " enabled" : (control.IsEnabled() ? " enabling" : "");
    flags += control.IsEffectivelyActive() ? " active" : (control.IsActive() ? " activating" : "");
    flags += control.HasFocus() ? " focus" : "";
    return flags;
}

const char* const kNested = "[Menu]\nControl=Panel\nControl=Plain\n"
                            "[Panel]\nClass=TestPanel\nPosition=2,3\nSize=10,8\nControl=Inner\n"
                            "[Inner]\nClass=TestPanel\nPosition=1,1\nSize=4,4\nEnable=false\n"
                            "[Plain]\nClass=Control\nSize=5,5\n";

TEST_F(ControlTest, ControlsComeFromTheScriptListWithTheirChildrenInCreationOrder) {
    m_script = m_world.AddScript("Main", kNested);
    m_owner = new Messenger(S("Menu"), nullptr, m_script);
    ASSERT_TRUE(m_owner->ReadScript());
    ASSERT_TRUE(Control::CreateFromScriptKey(m_script, S("Menu"), S("Control"), m_owner, &m_controls, Root(),
                                             &m_behaviors));
    EXPECT_EQ(Take(Events()),
              (Log{"Panel Attached", "Panel ParentChanged", "Panel Moved", "Panel Resized", "Panel Enabled",
                   "Panel Shown", "Panel Activated", "Inner Attached", "Inner ParentChanged", "Inner Moved",
                   "Inner Resized", "Inner Shown", "Inner Activated"}));
    std::vector<std::string> created;
    for (Control* control : m_controls) {
        created.push_back(Text(control->GetName()));
    }
    EXPECT_EQ(created, (std::vector<std::string>{"Panel", "Inner", "Plain"}));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"Panel", "Plain"}));
    EXPECT_EQ(Flags(Get("Panel")), "2,3,12,11 shown enabled active");
    EXPECT_EQ(Flags(Get("Inner")), "3,4,7,8 shown active");
    EXPECT_EQ(Flags(*Find("Plain")), "0,0,5,5 transparent shown enabled active");
    EXPECT_EQ(Text(Find("Plain")->GetClassName()), "Control");
    EXPECT_EQ(Get("Panel").m_prepared, 1);
    EXPECT_EQ(TakeReports(), Reports{});
}

struct CreationCase {
    const char* name;
    const char* script;
    std::vector<std::string> created;
    // The codes reported, in order; the script's own parse reports are not listed.
    std::vector<Vemo::ErrorCode> codes;
};

void PrintTo(const CreationCase& row, std::ostream* out) {
    *out << row.name;
}

class ControlCreationTest : public ControlTest, public testing::WithParamInterface<CreationCase> {};

TEST_P(ControlCreationTest, AFailureDeletesTheControlItStoppedAtAndKeepsTheOnesBefore) {
    const CreationCase& row = GetParam();
    EXPECT_FALSE(Load(std::string("[Menu]\nControl=First\nControl=Panel\nControl=Last\n"
                                  "[First]\nClass=TestPanel\nSize=1,1\n[Last]\nClass=TestPanel\nSize=1,1\n") +
                      row.script));
    std::vector<std::string> created;
    for (Control* control : m_controls) {
        created.push_back(Text(control->GetName()));
    }
    EXPECT_EQ(created, row.created);
    std::vector<Vemo::ErrorCode> codes;
    for (Vemo::ErrorCode code : Codes(TakeReports())) {
        if ((code >> 16) != (Script::kErrorSyntax >> 16)) {
            codes.push_back(code);
        }
    }
    EXPECT_EQ(codes, row.codes);
    EXPECT_EQ(Find("Last"), nullptr);
    // What failed left the tree.
    EXPECT_EQ(Children(*Root()), created);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlCreationTest,
    testing::Values(
        CreationCase{"ZeroSize", "[Panel]\nClass=TestPanel\nSize=0,0\n", {"First"}, {kFailure, kFailure}},
        CreationCase{
            "SizeWithoutHeight", "[Panel]\nClass=TestPanel\nSize=4\n", {"First"}, {kFailure, kFailure}},
        CreationCase{
            "BrokenPosition", "[Panel]\nClass=TestPanel\nPosition=(\n", {"First"}, {kFailure, kFailure}},
        // A section that names no class is refused: no "Control" is taken for it.
        CreationCase{
            "NoClass", "[Panel]\nSize=4,4\n", {"First"}, {MessengerFactory::kErrorNoClassKey, kFailure}},
        CreationCase{"NoSection", "", {"First"}, {MessengerFactory::kErrorNoClassKey, kFailure}},
        CreationCase{"NotAControl", "[Panel]\nClass=Messenger\n", {"First"}, {kFailure}},
        CreationCase{"NotABehavior",
                     "[Panel]\nClass=TestPanel\nSize=1,1\nBehavior=Odd\n[Odd]\nClass=Messenger\n",
                     {"First"},
                     {kFailure, kFailure}},
        CreationCase{
            "FailingChild",
            "[Panel]\nClass=TestPanel\nSize=2,2\nControl=Child\n[Child]\nClass=TestPanel\nSize=0,1\n",
            {"First", "Panel"},
            {kFailure, kFailure, kFailure}}),
    [](const testing::TestParamInfo<CreationCase>& info) { return std::string(info.param.name); });

TEST_F(ControlTest, ASiblingNamePlacesTheControlDirectlyBehindThatChild) {
    ASSERT_TRUE(
        Load("[Menu]\nControl=Button1\nControl=Button2\nControl=Panel, Button1\nControl=Other, Nobody\n"
             "Control=Back, Button2\n"
             "[Button1]\nClass=TestPanel\nSize=1,1\n[Button2]\nClass=TestPanel\nSize=1,1\n"
             "[Panel]\nClass=TestPanel\nSize=1,1\n[Other]\nClass=TestPanel\nSize=1,1\n"
             "[Back]\nClass=TestPanel\nSize=1,1\n"));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"Panel", "Button1", "Back", "Button2", "Other"}));
}

// A plain scripted Control is a transparent container: what lies behind it is still drawn where it lies.
TEST_F(ControlTest, APlainControlLetsTheControlsBehindItShowThrough) {
    ASSERT_TRUE(Load("[Menu]\nControl=Back\nControl=Box\n"
                     "[Back]\nClass=TestPanel\nSize=8,4\nColor=0xFF0000\n"
                     "[Box]\nClass=Control\nPosition=2,1\nSize=4,2\n"));
    FillBuffer(0x0000FF);
    DrawFrame();
    EXPECT_EQ(Picture({{0xFF0000, 'R'}, {0x0000FF, '.'}}, Vemo::Rect(0, 0, 9, 4)),
              (std::vector<std::string>{"RRRRRRRR.", "RRRRRRRR.", "RRRRRRRR.", "RRRRRRRR."}));
    EXPECT_EQ(Take(Draws()), (Log{"Back 0,0,8,4"}));
}

TEST_F(ControlTest, PlacingMovesWithinTheParentAndRepeatingChangesNothing) {
    ASSERT_TRUE(Load("[Menu]\nControl=A\nControl=B\nControl=C\n"
                     "[A]\nClass=TestPanel\nSize=2,2\n[B]\nClass=TestPanel\nPosition=4,0\nSize=2,2\n"
                     "[C]\nClass=TestPanel\nPosition=8,0\nSize=2,2\n"));
    Panel& a = Get("A");
    Panel& c = Get("C");
    DrawFrame();

    EXPECT_TRUE(c.PlaceAfter(Root()));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"C", "A", "B"}));
    EXPECT_EQ(Take(Events()), Log{"C ZOrderChanged"});
    EXPECT_EQ(Dirty(), "8,0,10,2");
    DrawFrame();
    EXPECT_TRUE(c.PlaceAfter(Root()));
    EXPECT_TRUE(a.PlaceAfter(&c));
    EXPECT_EQ(Take(Events()), Log{});
    EXPECT_EQ(Dirty(), "");

    EXPECT_TRUE(a.PlaceAfter(nullptr));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(a.PlaceAfter(nullptr));
    EXPECT_TRUE(a.PlaceBefore(&c));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"A", "C", "B"}));
    EXPECT_TRUE(Get("B").PlaceBefore(&c));
    EXPECT_EQ(Children(*Root()), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(Take(Events()), (Log{"A ZOrderChanged", "A ZOrderChanged", "B ZOrderChanged"}));
    EXPECT_EQ(TakeReports(), Reports{});

    // Only the parent and its children are places; the root has none.
    Control loose(S("Loose"), nullptr, nullptr);
    EXPECT_FALSE(a.PlaceAfter(&loose));
    EXPECT_FALSE(a.PlaceBefore(nullptr));
    EXPECT_FALSE(Root()->PlaceAfter(nullptr));
    EXPECT_EQ(Codes(TakeReports()), (std::vector<Vemo::ErrorCode>{kFailure, kFailure, kFailure}));
}

struct MessageCase {
    const char* name;
    const char* message;
    bool handled;
    const char* flags;
};

void PrintTo(const MessageCase& row, std::ostream* out) {
    *out << row.name;
}

class ControlMessageTest : public ControlTest, public testing::WithParamInterface<MessageCase> {};

// Panel at (2, 3) of size 10 x 8, opaque, shown, enabled, active, without the focus; each message is sent
// through its owner, as a script's message reaches it.
TEST_P(ControlMessageTest, AttributeMessagesChangeTheControl) {
    const MessageCase& row = GetParam();
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nPosition=2,3\nSize=10,8\n"));
    EXPECT_EQ(m_owner->SendTextTo(S(row.message), S("Panel")), row.handled);
    EXPECT_EQ(Flags(Get("Panel")), row.flags);
    const std::vector<Vemo::ErrorCode> refused{kFailure, MessengerErrorCode(8), MessengerErrorCode(9)};
    EXPECT_EQ(Codes(TakeReports()), row.handled ? std::vector<Vemo::ErrorCode>{} : refused);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlMessageTest,
    testing::Values(
        MessageCase{"PositionKeepsAMissingValue", "Position(5)", true, "5,3,15,11 shown enabled active"},
        MessageCase{"Size", "Size(3, 4)", true, "2,3,5,7 shown enabled active"},
        MessageCase{"SizeZero", "Size(0, 0)", true, "2,3,2,3 shown enabled active"},
        MessageCase{"SizeNegative", "Size(-1, 4)", false, "2,3,12,11 shown enabled active"},
        MessageCase{"RectangleKeepsMissingEdges", "Rectangle(1, 1, 5)", true,
                    "1,1,5,11 shown enabled active"},
        MessageCase{"RectangleInverted", "Rectangle(5, 5, 4, 9)", false, "2,3,12,11 shown enabled active"},
        MessageCase{"TransparentAlone", "Transparent", true, "2,3,12,11 shown enabled active"},
        MessageCase{"TransparentToggle", "Transparent(toggle)", true,
                    "2,3,12,11 transparent shown enabled active"},
        MessageCase{"VisibleFalse", "Visible(false)", true, "2,3,12,11 enabled active"},
        MessageCase{"VisibleToggle", "Visible(TOGGLE)", true, "2,3,12,11 enabled active"},
        MessageCase{"EnableZero", "Enable(0)", true, "2,3,12,11 shown active"},
        MessageCase{"ActiveToggle", "Active(toggle)", true, "2,3,12,11 shown enabled"},
        MessageCase{"Focus", "Focus", true, "2,3,12,11 shown enabled active"},
        MessageCase{"FocusTrue", "focus(true)", true, "2,3,12,11 shown enabled active focus"},
        MessageCase{"FocusToggle", "Focus(toggle)", true, "2,3,12,11 shown enabled active focus"},
        MessageCase{"FocusFalseWithout", "Focus(false)", true, "2,3,12,11 shown enabled active"}),
    [](const testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.name); });

// "toggle" inverts the effective value: a visible control under a hidden parent is asked to be visible, and
// stays so in its own flag.
TEST_F(ControlTest, ToggleInvertsTheEffectiveValue) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nSize=10,8\nControl=Inner\n"
                     "[Inner]\nClass=TestPanel\nSize=2,2\n"));
    Panel& panel = Get("Panel");
    Panel& inner = Get("Inner");
    ASSERT_TRUE(panel.SetVisible(false));
    ASSERT_TRUE(panel.SetEnabled(false));
    Events().clear();
    EXPECT_TRUE(m_owner->SendTextTo(S("Visible(toggle), Enable(toggle)"), S("Inner")));
    EXPECT_TRUE(inner.IsVisible());
    EXPECT_FALSE(inner.IsShown());
    EXPECT_TRUE(inner.IsEnabled());
    EXPECT_EQ(Take(Events()), Log{});
    ASSERT_TRUE(panel.SetVisible(true));
    EXPECT_TRUE(inner.IsShown());
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlTest, FocusByMessageNeedsAShownEnabledControl) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\nControl=Other\n"
                     "[Panel]\nClass=TestPanel\nSize=10,8\n[Other]\nClass=TestPanel\nSize=1,1\n"));
    Panel& panel = Get("Panel");
    EXPECT_TRUE(m_owner->SendTextTo(S("Focus(true)"), S("Panel")));
    EXPECT_TRUE(m_owner->SendTextTo(S("Focus(false)"), S("Other")));
    EXPECT_EQ(m_manager->GetFocusControl(), &panel);
    EXPECT_TRUE(m_owner->SendTextTo(S("Focus(false)"), S("Panel")));
    EXPECT_EQ(m_manager->GetFocusControl(), nullptr);
    EXPECT_EQ(Take(Events()), (Log{"Panel GotFocus", "Panel LostFocus"}));

    ASSERT_TRUE(panel.SetEnabled(false));
    EXPECT_FALSE(m_owner->SendTextTo(S("Focus(true)"), S("Panel")));
    EXPECT_EQ(Codes(TakeReports()),
              (std::vector<Vemo::ErrorCode>{kFailure, MessengerErrorCode(8), MessengerErrorCode(9)}));
}

TEST_F(ControlTest, ReparentingRefusesTheRootAndCyclesAndFollowsTheNewParentsFlags) {
    ASSERT_TRUE(Load("[Menu]\nControl=Shown\nControl=Hidden\n"
                     "[Shown]\nClass=TestPanel\nPosition=10,10\nSize=10,10\nControl=Item\n"
                     "[Item]\nClass=TestPanel\nPosition=1,2\nSize=2,2\n"
                     "[Hidden]\nClass=TestPanel\nPosition=20,0\nSize=10,10\nVisible=false\nEnable=false\n"));
    Panel& shown = Get("Shown");
    Panel& hidden = Get("Hidden");
    Panel& item = Get("Item");
    EXPECT_FALSE(Root()->SetVisible(false));
    EXPECT_FALSE(Root()->SetParent(&shown, nullptr));
    EXPECT_FALSE(shown.SetParent(&item, nullptr));
    EXPECT_FALSE(shown.SetParent(&shown, nullptr));
    EXPECT_FALSE(item.SetParent(&hidden, &shown));
    EXPECT_EQ(Codes(TakeReports()), std::vector<Vemo::ErrorCode>(5, kFailure));
    DrawFrame();

    // Within one manager the control takes its new parent's place and flags.
    EXPECT_TRUE(item.SetParent(&hidden, nullptr));
    EXPECT_EQ(Flags(item), "21,2,23,4 visible enabling active");
    EXPECT_EQ(Take(Events()), (Log{"Item Hidden", "Item Disabled", "Item ParentChanged"}));
    EXPECT_EQ(Dirty(), "11,12,13,14");
    EXPECT_TRUE(item.SetParent(&shown, &shown));
    EXPECT_EQ(Flags(item), "11,12,13,14 shown enabled active");
    EXPECT_EQ(Take(Events()), (Log{"Item Shown", "Item Enabled", "Item ParentChanged"}));
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlTest, JoiningAnotherManagerDetachesFromTheFirst) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nPosition=4,4\nSize=6,6\n"
                     "Control=Inner\n[Inner]\nClass=TestPanel\nPosition=1,1\nSize=2,2\n"));
    Panel& panel = Get("Panel");
    std::unique_ptr<ControlManager> other(MakeManager("Other"));
    ASSERT_TRUE(panel.SetFocus());
    DrawFrame();
    Events().clear();

    EXPECT_TRUE(panel.SetParent(other->GetRootControl(), nullptr));
    EXPECT_EQ(Take(Events()),
              (Log{"Inner Hidden", "Inner Disabled", "Inner Deactivated", "Inner Detached", "Panel LostFocus",
                   "Panel Hidden", "Panel Disabled", "Panel Deactivated", "Panel Detached", "Panel Attached",
                   "Inner Attached", "Panel Shown", "Inner Shown", "Panel Enabled", "Inner Enabled",
                   "Panel Activated", "Inner Activated", "Panel ParentChanged"}));
    EXPECT_EQ(panel.GetManager(), other.get());
    EXPECT_EQ(Get("Inner").GetManager(), other.get());
    EXPECT_EQ(m_manager->GetFocusControl(), nullptr);
    EXPECT_EQ(Dirty(), "4,4,10,10");
    EXPECT_EQ(Children(*Root()), std::vector<std::string>{});
    other.reset();
    EXPECT_EQ(panel.GetManager(), nullptr);
    EXPECT_EQ(panel.GetParentControl(), nullptr);
    EXPECT_EQ(Describe(Get("Inner").GetRectangle()), "0,0,0,0");
    EXPECT_EQ(TakeReports(), Reports{});
}

// Destroying a parent, attached or not, leaves its children alive and parentless.
TEST_F(ControlTest, DestroyingAParentLeavesItsChildrenParentless) {
    ASSERT_TRUE(
        Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nSize=6,6\nControl=Inner\n"
             "[Inner]\nClass=TestPanel\nSize=2,2\nControl=Leaf\n[Leaf]\nClass=TestPanel\nSize=1,1\n"));
    Panel& inner = Get("Inner");
    Panel& leaf = Get("Leaf");
    delete &Get("Panel");
    EXPECT_EQ(inner.GetParentControl(), nullptr);
    EXPECT_EQ(inner.GetManager(), nullptr);
    EXPECT_EQ(leaf.GetParentControl(), &inner);
    EXPECT_EQ(Children(*Root()), std::vector<std::string>{});
    Events().clear();

    delete &inner;
    EXPECT_EQ(leaf.GetParentControl(), nullptr);
    EXPECT_EQ(Take(Events()), Log{"Leaf ParentChanged"});
    EXPECT_TRUE(leaf.SetParent(Root(), nullptr));
    EXPECT_TRUE(leaf.IsShown());
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlTest, ARefusedActivationLeavesTheControlAndItsChildrenInactive) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nSize=6,6\nControl=Inner\n"
                     "[Inner]\nClass=TestPanel\nSize=2,2\n"));
    Panel& panel = Get("Panel");
    ASSERT_TRUE(panel.SetActive(false));
    EXPECT_EQ(Take(Events()), (Log{"Panel Deactivated", "Inner Deactivated"}));
    panel.m_refuseActivation = true;
    EXPECT_FALSE(panel.SetActive(true));
    EXPECT_EQ(Take(Events()), Log{"Panel Activated"});
    EXPECT_TRUE(panel.IsActive());
    EXPECT_FALSE(panel.IsEffectivelyActive());
    EXPECT_FALSE(Get("Inner").IsEffectivelyActive());
    EXPECT_EQ(Codes(TakeReports()), std::vector<Vemo::ErrorCode>{kFailure});
}

TEST_F(ControlTest, MovingAndResizingTellWhatChanged) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nPosition=1,1\nSize=6,6\n"));
    Panel& panel = Get("Panel");
    DrawFrame();
    EXPECT_TRUE(panel.SetRectangle(Vemo::Rect(1, 1, 7, 7)));
    EXPECT_TRUE(panel.SetRectangle(Vemo::Rect(1, 1, 4, 9)));
    EXPECT_TRUE(panel.SetRectangle(Vemo::Rect(2, 0, 5, 8)));
    EXPECT_TRUE(panel.SetRectangle(Vemo::Rect(0, 0, 1, 1)));
    EXPECT_EQ(Take(Events()), (Log{"Panel Resized", "Panel Moved", "Panel RectangleChanged"}));
    EXPECT_EQ(Describe(m_manager->GetDirtyRegion().Bounds()), "0,0,7,9");
    EXPECT_GE(panel.m_appearanceUpdates, 3);
}

TEST_F(ControlTest, DrawingAndCursorHelpersNeedTheirManager) {
    ASSERT_TRUE(Load("[Menu]\nControl=Panel\n[Panel]\nClass=TestPanel\nSize=6,6\n"));
    Panel& panel = Get("Panel");
    Control detached(S("Loose"), nullptr, nullptr);
    Control::CursorInfo info;
    info.state = 7;
    const Fragment state(S("Pointer(true)"));
    EXPECT_EQ(panel.GetViewport(), nullptr);
    EXPECT_FALSE(panel.FillRect(Vemo::Rect(0, 0, 1, 1), 0u, true, 3));
    EXPECT_FALSE(detached.ReadCursorInfo(state, info));
    EXPECT_FALSE(detached.SetCursor(info));
    EXPECT_FALSE(detached.QueueCursorState(1, true));
    EXPECT_FALSE(detached.SetCursorState(1));
    EXPECT_FALSE(detached.SetFocus());
    EXPECT_EQ(Codes(TakeReports()), std::vector<Vemo::ErrorCode>(7, kFailure));

    // Without a cursor the wish is left as it was.
    EXPECT_TRUE(panel.ReadCursorInfo(state, info));
    EXPECT_EQ(info.state, 7u);
    EXPECT_TRUE(panel.SetCursor(info));
    EXPECT_TRUE(panel.QueueCursorState(1, false));
    EXPECT_TRUE(panel.SetCursorState(1));
    EXPECT_EQ(TakeReports(), Reports{});
}

} // namespace
