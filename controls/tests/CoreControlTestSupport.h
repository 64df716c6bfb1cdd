// Support for the tests of the clock-driven and invisible controls: the control fixture (a manager, a drawing
// viewport, controls from a real script) with a fake clock and the timer family, so that a test moves time
// and runs the frame step's timer update and Idle as the application does.
//
//     class MyTest : public CoreControlTest::Fixture {};
//     TEST_F(MyTest, ...) {
//         Load("[Menu]\nControl=Clock\n[Clock]\nClass=TimerControl\nInterval=500\n");
//         Send("Clock", "Start");
//         Advance(1500);
//     }
#pragma once

#include "engines/testing/TimingSetup.h"
#include "platform/testing/Clock.h"
#include "runtime/tests/ControlTestSupport.h"

#include <string>

namespace CoreControlTest {

using ControlTest::Describe;
using MessengerTest::Log;
using MessengerTest::S;
using VemoTest::Reports;

constexpr Vemo::ErrorCode kFailure = Control::kErrorFailure;

class Fixture : public ControlTest::Fixture {
protected:
    // Low-precision timers count calendar seconds: start on a whole one.
    Fixture() { m_clock.SetUnixTime(1000000000); }

    // The menu messenger sends the text to the control; the handling's answer.
    bool Send(const std::string& control, const std::string& text) {
        Control* target = Find(control);
        EXPECT_NE(target, nullptr) << control;
        return target != nullptr && m_owner->SendText(S(text), target);
    }

    // One application step after the clock moved: the timer update, then every control's Idle.
    void Advance(std::uint32_t milliseconds) {
        m_clock.Advance(milliseconds);
        m_timing.Update();
        for (Control* control : m_controls) {
            control->Idle();
        }
    }

    // The variable (key(section)) as text, empty when missing.
    std::string Variable(const char* section, const char* key) { return m_world.Variable(section, key); }

    platform::testing::FakeClock m_clock{1000};
    VemoTest::TimingSetup m_timing{m_systems};
};

} // namespace CoreControlTest
