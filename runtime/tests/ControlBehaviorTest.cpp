#include "runtime/screen/ControlBehavior.h"

#include "runtime/testing/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace ControlTest;

// Panel carries Glow and Guard; Guard refuses to let Panel hide, refuses every message and makes Panel's hit
// test fail.
const char* const kBehaviors = "[Menu]\nControl=Panel\nControl=Other\n"
                               "[Panel]\nClass=TestPanel\nSize=10,10\nBehavior=Glow\nBehavior=Guard\n"
                               "[Glow]\nClass=TestBehavior\n"
                               "[Guard]\nClass=TestBehavior\nVeto=Visible\nRefuse=Message\nHit=false\n"
                               "[Other]\nClass=TestPanel\nPosition=20,0\nSize=5,5\n"
                               "[Roamer]\nClass=TestBehavior\nControl=:Other\n"
                               "[Lost]\nClass=TestBehavior\nControl=:Nobody\n";

class ControlBehaviorTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        ASSERT_TRUE(Load(kBehaviors));
    }

    std::vector<std::string> BehaviorsOf(const Control& control) {
        std::vector<std::string> names;
        for (const ControlBehavior* behavior : control.GetBehaviors()) {
            names.push_back(Text(behavior->GetName()));
        }
        return names;
    }

    // Through the factory, owned by Menu.
    Behavior* Make(const char* name) {
        return dynamic_cast<Behavior*>(MessengerFactory::CreateFromScript(S(name), m_owner, m_script));
    }
};

TEST_F(ControlBehaviorTest, TheBehaviorKeyAttachesBehavioursThatHearEverythingAfterTheControl) {
    Panel& panel = Get("Panel");
    EXPECT_EQ(BehaviorsOf(panel), (std::vector<std::string>{"Glow", "Guard"}));
    EXPECT_EQ(m_behaviors.Size(), 2u);
    ASSERT_TRUE(panel.SetPosition(Vemo::Point(1, 1)));
    ASSERT_TRUE(panel.SetEnabled(false));
    panel.Idle();
    EXPECT_EQ(Take(Events()),
              (Log{"Panel Moved", "Glow:Panel Moved", "Guard:Panel Moved", "Glow:Panel AllowEnable",
                   "Guard:Panel AllowEnable", "Panel Disabled", "Glow:Panel Disabled", "Guard:Panel Disabled",
                   "Glow:Panel Idle", "Guard:Panel Idle"}));
    // However the pass cuts the area, each part of Panel is drawn over by Glow, then by Guard.
    DrawFrame();
    const Log draws = Take(Draws());
    int panelPixels = 0;
    for (std::size_t index = 0; index < draws.size(); ++index) {
        if (draws[index].rfind("Panel ", 0) != 0) {
            continue;
        }
        const std::string part = draws[index].substr(6);
        ASSERT_LT(index + 2, draws.size());
        EXPECT_EQ(draws[index + 1], "Glow " + part);
        EXPECT_EQ(draws[index + 2], "Guard " + part);
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        std::sscanf(part.c_str(), "%d,%d,%d,%d", &left, &top, &right, &bottom);
        panelPixels += (right - left) * (bottom - top);
    }
    EXPECT_EQ(panelPixels, 100);
    EXPECT_EQ(draws.back(), "Other 0,0,5,5");
}

TEST_F(ControlBehaviorTest, ABehaviourVetoesAFlagChangeAndChangesTheHitTest) {
    Panel& panel = Get("Panel");
    EXPECT_FALSE(panel.SetVisible(false));
    EXPECT_TRUE(panel.IsShown());
    EXPECT_EQ(Take(Events()), (Log{"Glow:Panel AllowVisible", "Guard:Panel AllowVisible"}));
    EXPECT_EQ(m_manager->HitTest(Vemo::Point(5, 5)), Root());
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlBehaviorTest, MessagesTheControlDoesNotKnowGoToItsBehaviours) {
    EXPECT_TRUE(m_owner->SendTextTo(S("Position(2, 2)"), S("Panel")));
    EXPECT_EQ(Take(Events()), (Log{"Panel Moved", "Glow:Panel Moved", "Guard:Panel Moved"}));
    EXPECT_FALSE(m_owner->SendTextTo(S("Shine(3)"), S("Panel")));
    EXPECT_EQ(Take(Events()), (Log{"Glow:Panel Message Shine(3)", "Guard:Panel Message Shine(3)"}));
    EXPECT_EQ(TakeReports(),
              (Reports{{MessengerErrorCode(8), "\"Panel\""}, {MessengerErrorCode(9), "\"Panel\""}}));
}

TEST_F(ControlBehaviorTest, AttachingToAnotherControlLeavesTheFirst) {
    Panel& panel = Get("Panel");
    Panel& other = Get("Other");
    Behavior& glow = GetBehavior("Glow");
    EXPECT_TRUE(other.AddBehavior(&glow));
    EXPECT_TRUE(other.AddBehavior(&glow));
    EXPECT_EQ(Take(Events()), (Log{"Glow:- DetachedFrom", "Glow:Other AttachedTo"}));
    EXPECT_EQ(BehaviorsOf(panel), std::vector<std::string>{"Guard"});
    EXPECT_EQ(BehaviorsOf(other), std::vector<std::string>{"Glow"});
    EXPECT_FALSE(panel.RemoveBehavior(&glow));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}}));
    EXPECT_TRUE(other.RemoveBehavior(&glow));
    EXPECT_EQ(glow.GetControl(), nullptr);
    EXPECT_TRUE(glow.SetControl(&panel));
    EXPECT_EQ(BehaviorsOf(panel), (std::vector<std::string>{"Guard", "Glow"}));
}

TEST_F(ControlBehaviorTest, ABehaviourSectionNamesTheControlToAttachTo) {
    Behavior* roamer = Make("Roamer");
    ASSERT_NE(roamer, nullptr);
    EXPECT_EQ(roamer->GetControl(), &Get("Other"));
    Behavior* lost = Make("Lost");
    ASSERT_NE(lost, nullptr);
    EXPECT_EQ(lost->GetControl(), nullptr);
    EXPECT_EQ(TakeReports(), Reports{});
}

TEST_F(ControlBehaviorTest, DestroyingEitherSideEndsTheAttachment) {
    Panel& panel = Get("Panel");
    Behavior& glow = GetBehavior("Glow");
    Behavior& guard = GetBehavior("Guard");
    delete &glow;
    EXPECT_EQ(BehaviorsOf(panel), std::vector<std::string>{"Guard"});
    delete &panel;
    EXPECT_EQ(guard.GetControl(), nullptr);
    // (A behaviour being destroyed is no longer itself when it detaches: Glow's own hook is not reached.)
    EXPECT_EQ(Take(Events()), (Log{"Guard:Panel Hidden", "Guard:Panel Disabled", "Guard:Panel Detached",
                                   "Guard:- DetachedFrom"}));
}

// A hook that detaches another behaviour: that one hears nothing more of the notification.
TEST_F(ControlBehaviorTest, ABehaviourDetachedDuringANotificationMissesTheRestOfIt) {
    Panel& panel = Get("Panel");
    Behavior& guard = GetBehavior("Guard");
    Panel& other = Get("Other");
    panel.m_onEvent = [&](Panel&, const std::string& event) {
        if (event == "Moved") {
            other.AddBehavior(&guard);
        }
    };
    ASSERT_TRUE(panel.SetPosition(Vemo::Point(3, 3)));
    EXPECT_EQ(Take(Events()),
              (Log{"Panel Moved", "Guard:- DetachedFrom", "Guard:Other AttachedTo", "Glow:Panel Moved"}));
}

TEST_F(ControlBehaviorTest, ABehaviourMayRefuseActivationAndPreparation) {
    Panel& panel = Get("Panel");
    Behavior& glow = GetBehavior("Glow");
    glow.m_refusals = {"Activated", "Prepare"};
    ASSERT_TRUE(panel.SetActive(false));
    Events().clear();
    EXPECT_FALSE(panel.SetActive(true));
    EXPECT_FALSE(panel.IsEffectivelyActive());
    EXPECT_EQ(Take(Events()), (Log{"Glow:Panel AllowActive", "Guard:Panel AllowActive", "Panel Activated",
                                   "Glow:Panel Activated"}));
    EXPECT_FALSE(m_manager->SetPixelFormat(Vemo::PixelFormat(Vemo::StandardPixelFormat::Xrgb32)));
    EXPECT_EQ(TakeReports(), (Reports{{kFailure}, {kFailure}}));
}

} // namespace
