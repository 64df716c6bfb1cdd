// The number display on the running title: its bounds, its messages and "Changed", its bindings followed
// every frame, and the bounds it keeps whatever the messages ask.
#include "controls/NumDisplayControl.h"
#include "controls/tests/TextControlSupport.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using namespace TextTest;

class NumDisplayControlTest : public Fixture {
protected:
    NumDisplayControl& Number() { return Get<NumDisplayControl>("Score"); }

    // "value text changed-count" after the message.
    std::string After(const std::string& message, bool expected = true) {
        EXPECT_EQ(Send(Number(), message), expected) << message;
        int changed = 0;
        for (const std::string& word : m_watch->TakeReceived()) {
            changed += word == "Changed" ? 1 : 0;
        }
        return std::to_string(Number().GetValue()) + " " + Text(Number().GetText()) + " " +
               std::to_string(changed);
    }

    void StartNumber(const std::string& keys) {
        StartWith("Control=Score\n",
                  "[Score]\nClass=NumDisplayControl\nPosition=0, 0\nSize=60, 20\nFont=Big\n" + keys + "\n");
        m_watch = &Watch(Number());
    }

    std::string Variable(const char* section, const char* key) {
        Vemo::String value;
        return App().GetVar(S(section), S(key), value) ? Text(value) : "<missing>";
    }

    MessengerTest::Recorder* m_watch = nullptr;
};

TEST_F(NumDisplayControlTest, ScriptKeysSetTheBoundsTheStepAndTheStartingValue) {
    StartNumber("Min=-5\nMax=0x10\nStep=3\nSet=0x20\n");
    EXPECT_EQ(Number().GetMinimum(), -5);
    EXPECT_EQ(Number().GetMaximum(), 16);
    EXPECT_EQ(Number().GetStep(), 3);
    EXPECT_EQ(Number().GetValue(), 16);
    EXPECT_EQ(Text(Number().GetText()), "16");
}

TEST_F(NumDisplayControlTest, AMinimumAboveTheMaximumRaisesTheMaximum) {
    StartNumber("Min=200\n");
    EXPECT_EQ(Number().GetMaximum(), 200);
}

TEST_F(NumDisplayControlTest, WithoutSetTheTextIsTheTextKeysUntilTheFirstChange) {
    StartNumber("Text=AV\n");
    EXPECT_EQ(Text(Number().GetText()), "AV");
    EXPECT_EQ(After("Inc"), "1 1 1");
}

TEST_F(NumDisplayControlTest, MessagesMoveTheNumberWithinItsBoundsAndAnnounceEachChange) {
    StartNumber("Set=10\n");
    struct Step {
        const char* message;
        bool result;
        const char* after;
    };
    for (const Step& step : {
             Step{"Inc", true, "11 11 1"},
             Step{"Dec, Dec", true, "9 9 2"},
             Step{"Set(0x10)", true, "16 16 1"},
             Step{"Set", true, "16 16 0"},
             Step{"Step(50), Inc", true, "66 66 1"},
             Step{"Inc", true, "100 100 1"},
             Step{"Inc", true, "100 100 0"},
             Step{"Set(-7)", true, "0 0 1"},
             Step{"Set(10), Max(5)", true, "5 5 2"},
             Step{"Max(100), Min(-1)", false, "5 5 0"},
             Step{"Min(7)", true, "7 7 1"},
             Step{"Min", true, "7 7 0"},
             Step{"Max(6)", false, "7 7 0"},
         }) {
        EXPECT_EQ(After(step.message, step.result), step.after) << step.message;
    }
}

TEST_F(NumDisplayControlTest, BoundsNeverCrossAndStepsNeverOverflow) {
    // A maximum of -1 passes the unsigned test against the minimum 0, and would hold the value below it.
    StartNumber("Set=50\n");
    EXPECT_EQ(After("Max(-1)", false), "50 50 0");
    EXPECT_EQ(Number().GetMaximum(), 100);
    // At the top a step that passes 32 bits stays at the top instead of wrapping to the bottom.
    EXPECT_EQ(After("Step(0x7FFFFFFF), Inc, Inc"), "100 100 1");
    EXPECT_EQ(After("Dec, Dec"), "0 0 1");
    EXPECT_EQ(After("Step(-2147483648), Dec"), "100 100 1");
    EXPECT_EQ(After("Inc"), "0 0 1");
}

TEST_F(NumDisplayControlTest, AMinimumAboveANegativeMaximumIsRefused) {
    // 0 passes the unsigned test against the maximum -1, and would put the minimum above it.
    StartNumber("Min=-10\nMax=-1\nSet=-5\n");
    EXPECT_EQ(After("Min(0)", false), "-5 -5 0");
    EXPECT_EQ(Number().GetMinimum(), -10);
    // A negative minimum below the negative maximum passes both tests.
    EXPECT_EQ(After("Min(-3)"), "-3 -3 1");
    EXPECT_EQ(Number().GetMinimum(), -3);
}

TEST_F(NumDisplayControlTest, ExtremeBoundsFromTheScriptStillStepWithoutOverflow) {
    StartNumber("Min=-2147483648\nMax=2147483647\nStep=2147483647\nSet=2147483647\n");
    EXPECT_EQ(After("Inc"), "2147483647 2147483647 0");
    EXPECT_EQ(After("Set(-2147483648), Dec"), "-2147483648 -2147483648 1");
}

TEST_F(NumDisplayControlTest, AttributesGiveTheNumbersInDecimal) {
    StartNumber("Min=-3\nMax=9\nStep=2\nSet=4\n");
    for (const auto& [word, expected] : std::vector<std::pair<const char*, const char*>>{
             {"GetValue", "4"}, {"getmin", "-3"}, {"GetMax", "9"}, {"GetStep", "2"}, {"Text", "4"}}) {
        Vemo::BasicArray<Fragment> out;
        EXPECT_TRUE(Number().ExpandAttribute(Fragment(S(word)), out));
        ASSERT_EQ(out.Size(), 1U) << word;
        EXPECT_EQ(Text(out[0].GetText().GetString()), expected) << word;
    }
}

TEST_F(NumDisplayControlTest, ABoundVariableIsCreatedFollowedEachFrameAndWrittenOnChanges) {
    StartNumber("Min=3\n");
    EXPECT_EQ(Number().GetValue(), 3) << "the value is kept within the bounds from the start";
    EXPECT_EQ(Text(Number().GetText()), "");
    EXPECT_EQ(Variable("Game", "Score"), "<missing>");
    // The missing variable is made empty, which reads as 0, clamped to the minimum: no change, not written.
    EXPECT_EQ(After("BindVar(Score(Game))"), "3 3 0");
    EXPECT_EQ(Number().GetBinding(), NumDisplayControl::kBindVariable);
    EXPECT_EQ(Variable("Game", "Score"), "");
    EXPECT_EQ(After("Inc"), "4 4 1");
    EXPECT_EQ(Variable("Game", "Score"), "4");
    ASSERT_TRUE(App().SetVar(S("Game"), S("Score"), S("0x2A")));
    Step();
    EXPECT_EQ(After("Step(0)"), "42 42 1");
    EXPECT_EQ(Variable("Game", "Score"), "42");
    // Inactive, the display no longer follows.
    ASSERT_TRUE(Send(Number(), "Active(false)"));
    ASSERT_TRUE(App().SetVar(S("Game"), S("Score"), S("7")));
    Step();
    EXPECT_EQ(Number().GetValue(), 42);
    ASSERT_TRUE(Send(Number(), "Active(true)"));
    Step();
    EXPECT_EQ(Number().GetValue(), 7);
}

TEST_F(NumDisplayControlTest, ABindingToAVariableThatLeavesTheNumberUnchangedWritesNothing) {
    StartNumber("");
    EXPECT_EQ(After("BindVar(Lives(Game))"), "0 0 0");
    EXPECT_EQ(Variable("Game", "Lives"), "");
    EXPECT_EQ(After("BindVar"), "0 0 0");
}

TEST_F(NumDisplayControlTest, UserAndSharedSettingsBindTheSameWay) {
    StartNumber("");
    EXPECT_EQ(After("Set(5), BindUser(Level(Game))"), "0 0 2");
    Vemo::String value;
    EXPECT_TRUE(App().GetUserSetting(S("Game"), S("Level"), value));
    EXPECT_EQ(Text(value), "0");
    EXPECT_EQ(After("Inc"), "1 1 1");
    EXPECT_TRUE(App().GetUserSetting(S("Game"), S("Level"), value));
    EXPECT_EQ(Text(value), "1");
    EXPECT_EQ(After("BindShared(Best(Game)), Set(9)"), "9 9 2");
    EXPECT_TRUE(App().GetSharedSetting(S("Game"), S("Best"), value));
    EXPECT_EQ(Text(value), "9");
}

TEST_F(NumDisplayControlTest, TheNumberIsDrawnAsItsText) {
    StartNumber("Set=1\n");
    const std::vector<std::string> one = Picture({{kRed, '#'}}, 0, 0, 20, 16);
    ASSERT_TRUE(Send(Number(), "Set(10)"));
    Step();
    EXPECT_NE(Picture({{kRed, '#'}}, 0, 0, 20, 16), one);
}

} // namespace
