#include "engines/input/InputDevice.h"

#include "engines/input/Joystick.h"
#include "engines/input/tests/InputTestSupport.h"
#include "engines/testing/TimingSetup.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Vemo;
using namespace VemoTest;

class InputFrontEndTest : public ::testing::Test {
protected:
    Log m_log;
    TestApplication m_application;
    ScriptedInputSetup m_input{m_application, &m_log};
};

TEST_F(InputFrontEndTest, QueriesWithoutAHandleReportTheFrontEndsClassWord) {
    InputDevice device;
    Keyboard keyboard;
    Mouse mouse;
    Joystick joystick;
    struct Case {
        const char* classWord;
        std::function<std::uint32_t()> call;
    };
    Point point(3, 4);
    const Case cases[] = {
        {"InputDevice", [&] { return device.Kind(); }},
        {"InputDevice", [&] { return static_cast<std::uint32_t>(device.IsAttached()); }},
        {"InputDevice", [&] { return static_cast<std::uint32_t>(device.NextFilter(nullptr) != nullptr); }},
        {"Keyboard", [&] { return static_cast<std::uint32_t>(keyboard.IsKeyDown(30)); }},
        {"Keyboard", [&] { return keyboard.KeyCount(); }},
        {"Mouse", [&] { return static_cast<std::uint32_t>(mouse.AxisPosition(0)); }},
        {"Mouse",
         [&] {
             mouse.GetPosition(point, false);
             return static_cast<std::uint32_t>(!(point == Point(3, 4)));
         }},
        {"Joystick", [&] { return joystick.PovDirection(0); }},
        {"Joystick", [&] { return static_cast<std::uint32_t>(joystick.IsButtonUp(0)); }},
    };
    // Each answers 0 or false; GetPosition leaves its point as it was.
    for (const Case& test : cases) {
        EXPECT_EQ(test.call(), 0u) << test.classWord;
        EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoHandle, test.classWord}}));
    }
}

TEST_F(InputFrontEndTest, OpenRefusesAPlainDeviceASecondOpenAndAMissingSystem) {
    InputDevice device;
    EXPECT_FALSE(device.Open(0));
    EXPECT_FALSE(device.Open(String("Keyboard 0")));
    EXPECT_TRUE(m_application.TakeReports().empty());

    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Open(0));
    ResourceHandle* handle = keyboard.GetHandle();
    EXPECT_FALSE(keyboard.Open(1));
    EXPECT_EQ(keyboard.GetHandle(), handle);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrAlreadyOpen}}));
    EXPECT_EQ(keyboard.Kind(), InputDeviceHandle::kKeyboard);
    String name;
    EXPECT_TRUE(keyboard.GetName(name));
    EXPECT_STREQ(name.CStr(), "Keyboard 0");

    InputDeviceSystem* system = m_application.m_inputDeviceSystem;
    m_application.m_inputDeviceSystem = nullptr;
    Mouse mouse;
    EXPECT_FALSE(mouse.Open(0));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNoSystem}}));
    m_application.m_inputDeviceSystem = system;
}

// The base engine's joystick: every query answers its constant through the front-end.
TEST_F(InputFrontEndTest, AJoystickOfTheBaseEngineAnswersItsConstants) {
    Joystick joystick;
    ASSERT_TRUE(joystick.Open(0));
    EXPECT_EQ(joystick.Kind(), InputDeviceHandle::kJoystick);
    EXPECT_TRUE(joystick.IsButtonUp(0));
    EXPECT_FALSE(joystick.IsButtonDown(0));
    EXPECT_FALSE(joystick.SetButtonState(0, true));
    EXPECT_EQ(joystick.AxisCount(), 0u);
    EXPECT_EQ(joystick.SliderCount(), 0u);
    EXPECT_EQ(joystick.PovDirection(0), 0xFFFFFFFFu) << "a centred hat";
    EXPECT_FALSE(joystick.SetAxisGranularity(0, 5));
    EXPECT_EQ(joystick.AxisGranularity(0), 0u);
    EXPECT_FALSE(joystick.IsAttached());
    EXPECT_TRUE(m_application.TakeReports().empty());
}

} // namespace
