// The windowed controls' tests: a messenger viewport on the DirectX engine (headless), controls made from a
// real script's [Menu] section under its root, the doubles of the outside players, and what the platform
// still holds once a control is gone (host windows, the hosting library's start, COM on the thread).
#pragma once

#include "controls/OSWindowSubclass.h"
#include "controls/tests/HostedPlayerDoubles.h"
#include "platform/testing/ComTesting.h"
#include "runtime/testing/ViewportTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace WindowedTest {

using MessengerTest::S;

class Fixture : public ViewportTest::Fixture {
protected:
    void SetUp() override {
        ViewportTest::Fixture::SetUp();
        HostedDoubles::Calls().clear();
        HostedDoubles::Shockwave::s_windowless = false;
        HostedDoubles::Flash::s_windowless = false;
    }

    void TearDown() override {
        ViewportTest::Fixture::TearDown();
        EXPECT_EQ(com::testing::HostingStartCount(), 0);
        EXPECT_EQ(com::testing::ThreadInitializeCount(), 0);
        EXPECT_EQ(com::testing::LiveHostObjects(), 0U);
    }

    // The viewport with the controls of [Menu], made from the rest of the script.
    void OpenMenu(const std::string& sections) {
        ASSERT_NE(Open("Size=320,240", sections), nullptr);
        Step();
    }

    template <class T = Control>
    T& Find(const std::string& name) {
        auto* control = dynamic_cast<T*>(Control::FromMessenger(m_owner->FindMessenger(S(name))));
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    // The first child window of the viewport's window, or null.
    win32::HWND FirstChild() { return win32::GetWindow(Window(), win32::GW_CHILD); }

    // The messages the control announced since the last look, as the recorder saw them.
    MessengerTest::Log Announced(MessengerTest::Recorder& recorder) {
        MessengerTest::Log words;
        for (const std::string& word : recorder.TakeReceived()) {
            if (word != "Subscribed" && word != "Unsubscribed") {
                words.push_back(word);
            }
        }
        return words;
    }
};

} // namespace WindowedTest
