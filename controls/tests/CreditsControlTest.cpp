#include "controls/CreditsControl.h"

#include "controls/tests/TitleControlTestSupport.h"
#include "platform/testing/WindowTesting.h"
#include "runtime/application/WindowFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TitleControlTest::Log;
using win32::testing::MouseButton;

class CreditsControlTest : public TitleControlTest::Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        ASSERT_TRUE(Start("Credits", "[Credits]\nClass=CreditsControl\nPosition=10, 10\nSize=60, 40\n"));
        ASSERT_NE(Find<CreditsControl>("Credits"), nullptr);
        Listen("Credits");
    }

    void TearDown() override {
        for (win32::BYTE key : {win32::BYTE{'H'}, win32::BYTE{'C'}}) {
            win32::testing::ReleaseKey(key);
        }
        Fixture::TearDown();
    }

    void Steps() {
        App().Step();
        App().Step();
    }

    // What the button announced, but for the pointer coming and going.
    Log Announced() {
        Log announced;
        for (const std::string& message : Heard()) {
            if (message != "Enter" && message != "Exit") {
                announced.push_back(message);
            }
        }
        return announced;
    }
};

struct KeysCase {
    const char* name;
    std::vector<win32::BYTE> keys;
    MouseButton button;
    Log onPress;
};

TEST_F(CreditsControlTest, OnlyAPressWithBothKeysHeldAnnouncesCredits) {
    for (const KeysCase& c :
         {KeysCase{"none", {}, MouseButton::Left, {}}, KeysCase{"H alone", {'H'}, MouseButton::Left, {}},
          KeysCase{"C alone", {'C'}, MouseButton::Left, {}},
          KeysCase{"H and C", {'H', 'C'}, MouseButton::Left, {"Credits"}},
          KeysCase{"H and C, right button", {'C', 'H'}, MouseButton::Right, {"Credits"}}}) {
        for (win32::BYTE key : c.keys) {
            win32::testing::PressKey(key, Window());
        }
        Steps();
        Announced();
        win32::testing::PressMouse(Window(), c.button, 20, 20);
        Steps();
        EXPECT_EQ(Announced(), c.onPress) << c.name;
        win32::testing::ReleaseMouse(Window(), c.button, 20, 20);
        Steps();
        EXPECT_EQ(Announced(),
                  c.button == MouseButton::Left ? (Log{"Clicked", "Released(0)"}) : (Log{"Released(1)"}))
            << c.name << ": the release is the button's";
        for (win32::BYTE key : c.keys) {
            win32::testing::ReleaseKey(key, Window());
        }
        Steps();
    }
}

} // namespace
