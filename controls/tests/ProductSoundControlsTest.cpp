// The product application's three sound controls, which belong to no state: made at start-up, reached by
// name from the scripts of every state, stepped once per application step, deleted at shut-down.
#include "controls/AmbientSoundControl.h"
#include "controls/SoundControl.h"
#include "controls/VoiceoverControl.h"
#include "controls/tests/SoundTitleSupport.h"

#include "script/StateGraph.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using SoundTitle::Log;
using SoundTitle::S;

class ProductSoundControlsTest : public SoundTitle::SoundTitleTest {
protected:
    void SetUp() override {
        SoundTitleTest::SetUp();
        WriteTone("tone.wav", 0.5);
        WriteTone("theme.wav", 2.0, 330.0);
        // Each screen's scripts reach the product's controls by their registered names.
        ASSERT_TRUE(Begin("[Screen]\n"
                          "Class=NavigationState\n"
                          "OpenAction=Message(^AmbientSound(Sound(theme.wav), Play))\n"
                          "\n"
                          "[Next]\n"
                          "Class=NavigationState\n"
                          "OpenAction=Message(^VOSound(VO(tone.wav)))\n"));
    }
};

TEST_F(ProductSoundControlsTest, TheThreeControlsAreMadeRegisteredAndTransparentInThisOrder) {
    std::vector<std::string> made;
    for (Control* control : App().GetProductControls()) {
        made.push_back(std::string(control->GetName().CStr()) + " " + control->GetClassName().CStr());
        EXPECT_TRUE(control->IsTransparent());
        EXPECT_TRUE(control->IsEffectivelyEnabled());
        EXPECT_EQ(Messenger::FindRegistered(control->GetName()), control);
        EXPECT_TRUE(control->GetParentControl()->IsSameControl(App().GetViewport()->GetRootControl()));
    }
    EXPECT_EQ(made, (std::vector<std::string>{"AmbientSound AmbientSoundControl",
                                              "RolloverSound SoundControl", "VOSound VoiceoverControl"}));
}

TEST_F(ProductSoundControlsTest, ScriptsOfEveryStateReachThemAndTheyAreSteppedOutsideEveryState) {
    auto* ambient = FindAs<AmbientSoundControl>("AmbientSound");
    auto* rollover = FindAs<SoundControl>("RolloverSound");
    auto* voice = FindAs<VoiceoverControl>("VOSound");
    ASSERT_NE(ambient, nullptr);
    ASSERT_NE(rollover, nullptr);
    ASSERT_NE(voice, nullptr);
    EXPECT_TRUE(ambient->IsPlaying());
    // Only the application's step of the product controls can see the rollover sound's end.
    Listen("RolloverSound");
    ASSERT_TRUE(App().SendTextTo(S("Sound(tone.wav), Play"), S("RolloverSound")));
    Run(450);
    EXPECT_EQ(m_listener.Take(), Log{});
    Run(50);
    EXPECT_EQ(m_listener.Take(), Log{"RolloverSound: AtEnd"});
    ASSERT_TRUE(m_listener.SendText(S("Progress(1)"),
                                    dynamic_cast<Messenger*>(App().GetStateGraph()->GetCurrentState())));
    Run(500);
    EXPECT_EQ(CurrentState(), "Next");
    EXPECT_TRUE(voice->IsSoundPlaying());
    // The ambient sound went on across the change of screen, and its fade was stepped to the end.
    EXPECT_TRUE(ambient->IsPlaying());
    EXPECT_EQ(ambient->GetVolume(), 255U);
}

TEST_F(ProductSoundControlsTest, ShutDownDeletesThemBeforeTheEngineWorldGoes) {
    ASSERT_TRUE(App().SendTextTo(S("Sound(tone.wav), Loop, Play"), S("RolloverSound")));
    Run(100);
    EXPECT_TRUE(Stop());
    EXPECT_EQ(Messenger::FindRegistered(S("RolloverSound")), nullptr);
    EXPECT_EQ(Messenger::FindRegistered(S("AmbientSound")), nullptr);
}

} // namespace
