// The viewport's window events as the controls and their subscribers receive them: clicks at exact pixels,
// the capture and its loss, the pointer leaving the client area, keys through the key table, the focus of the
// window, power events, and the queue drained while a reaction runs a message loop of its own.
#include "runtime/testing/ViewportTestSupport.h"

#include "engines/graphics/win32/Win32Window.h"
#include "platform/win32/kernel/Power.h"
#include "platform/win32/windows/Window.h"
#include "runtime/screen/MessengerViewportEventHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace ViewportTest {
namespace {

using win32::testing::MouseButton;

// Two opaque panels side by side, red and blue.
const char kPanels[] = "[Menu]\n"
                       "Control=Red\nControl=Blue\n"
                       "[Red]\nClass=TestPanel\nPosition=10,10\nSize=100,60\nColor=0xFF0000\n"
                       "[Blue]\nClass=TestPanel\nPosition=200,10\nSize=100,60\nColor=0x0000FF\n";

// The entries whose word (after the control's name, or the whole entry of a subscriber's log) begins
// with one of the words.
Log Only(const Log& log, const std::vector<std::string>& words) {
    Log kept;
    for (const std::string& entry : log) {
        const std::size_t space = entry.find(' ');
        const std::string word = space == std::string::npos ? entry : entry.substr(space + 1);
        for (const std::string& wanted : words) {
            if (word.rfind(wanted, 0) == 0) {
                kept.push_back(entry);
                break;
            }
        }
    }
    return kept;
}

class MessengerViewportEventsTest : public Fixture {
protected:
    void SetUp() override {
        Fixture::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        ASSERT_NE(Open("", kPanels), nullptr);
        Step();
    }

    MessengerViewportEventHandler& Handler() { return *Viewport().GetEventHandler(); }
};

TEST_F(MessengerViewportEventsTest, AClickAtExactPixelsReachesTheControlAndItsSubscriber) {
    MessengerTest::Recorder& watcher = Watch(Get("Red"));
    win32::testing::Click(Window(), MouseButton::Left, 10, 10);
    win32::testing::Click(Window(), MouseButton::Right, 109, 69);
    win32::testing::Click(Window(), MouseButton::Left, 110, 30);
    win32::testing::Click(Window(), MouseButton::Left, 50, 70);
    Step();
    EXPECT_EQ(
        Only(Take(Events()), {"Pressed", "Released"}),
        (Log{"Red Pressed 0,0 0", "Red Released 0,0 0", "Red Pressed 99,59 1", "Red Released 99,59 1"}));
    EXPECT_EQ(Only(watcher.TakeReceived(), {"Pressed", "Released"}),
              (Log{"Pressed(0)", "Released(0)", "Pressed(1)", "Released(1)"}));
}

TEST_F(MessengerViewportEventsTest, TheWindowHoldsTheCaptureWhileAButtonPressedInItIsDown) {
    win32::testing::PressMouse(Window(), MouseButton::Left, 20, 20);
    Pump();
    EXPECT_EQ(win32::GetCapture(), Window());
    win32::testing::PressMouse(Window(), MouseButton::Right, 20, 20);
    win32::testing::ReleaseMouse(Window(), MouseButton::Left, 20, 20);
    Pump();
    EXPECT_EQ(win32::GetCapture(), Window()) << "the right button is still down";
    EXPECT_EQ(Handler().GetHeldButtons(), 2U);
    win32::testing::ReleaseMouse(Window(), MouseButton::Right, 20, 20);
    Pump();
    EXPECT_EQ(win32::GetCapture(), nullptr);
    EXPECT_EQ(Handler().GetHeldButtons(), 0U);
    EXPECT_EQ(Queued(),
              (Log{"move 20,20", "press 20,20 0", "press 20,20 1", "release 20,20 0", "release 20,20 1"}));
}

TEST_F(MessengerViewportEventsTest, ALostCaptureReleasesEveryHeldButtonAtMinusOne) {
    MessengerTest::Recorder& watcher = Watch(Get("Red"));
    win32::testing::PressMouse(Window(), MouseButton::Left, 20, 20);
    win32::testing::PressMouse(Window(), MouseButton::Middle, 20, 20);
    Pump();
    win32::testing::TakeCaptureAway();
    Step();
    EXPECT_EQ(Handler().GetHeldButtons(), 0U);
    EXPECT_EQ(Only(Take(Events()), {"Pressed", "Released"}),
              (Log{"Red Pressed 10,10 0", "Red Pressed 10,10 2", "Red Released -11,-11 0",
                   "Red Released -11,-11 2"}));
    EXPECT_EQ(Only(watcher.TakeReceived(), {"Pressed", "Released"}),
              (Log{"Pressed(0)", "Pressed(2)", "Released(0)", "Released(2)"}));

    // The buttons' own releases come later and find nothing held.
    win32::testing::ReleaseMouse(Window(), MouseButton::Left, 20, 20);
    Step();
    EXPECT_TRUE(Only(Take(Events()), {"Released"}).empty());
}

TEST_F(MessengerViewportEventsTest, ThePointerLeavingTheClientAreaIsOneMoveFarOutside) {
    win32::testing::MoveMouse(Window(), 20, 20);
    Step();
    EXPECT_EQ(Take(Events()), (Log{"Red Enter 10,10"}));
    EXPECT_TRUE(Viewport().IsPointerInside());

    const win32::POINT outside = OnScreen(-30, 20);
    win32::testing::MovePointerTo(outside.x, outside.y);
    Pump();
    Viewport().DrawFrame(true);
    Viewport().DrawFrame(true);
    EXPECT_EQ(Queued(), (Log{"move -10000,-10000"})) << "once, however many frames pass";
    EXPECT_FALSE(Viewport().IsPointerInside());
    Viewport().ProcessEvents();
    EXPECT_EQ(Take(Events()), (Log{"Red Move -10010,-10010", "Red Exit -10010,-10010"}));

    // In again, and out over another window that lies above the viewport.
    const win32::POINT inside = OnScreen(300, 300);
    win32::testing::MovePointerTo(inside.x, inside.y);
    Step();
    EXPECT_TRUE(Viewport().IsPointerInside());
    Vemo::Win32Window cover;
    const Vemo::Point at(inside.x - 10, inside.y - 10);
    const Vemo::Size size(50, 50);
    ASSERT_TRUE(
        cover.Create("Cover", &at, &size, false, false, 0, win32::WS_POPUP, nullptr, nullptr, true, true));
    Pump();
    Viewport().DrawFrame(true);
    const Log queued = Queued();
    EXPECT_EQ(std::count(queued.begin(), queued.end(), "move -10000,-10000"), 1);
    ASSERT_TRUE(cover.Destroy());
}

TEST_F(MessengerViewportEventsTest, WithAButtonHeldThePointerOutsideStillCountsAsInside) {
    win32::testing::PressMouse(Window(), MouseButton::Left, 20, 20);
    Step();
    const win32::POINT outside = OnScreen(-30, -40);
    win32::testing::MovePointerTo(outside.x, outside.y);
    Pump();
    Viewport().DrawFrame(true);
    EXPECT_EQ(Queued(), (Log{"move -30,-40"})) << "the captured window hears the move; no leave";
    EXPECT_TRUE(Viewport().IsPointerInside());
    Viewport().ProcessEvents();

    // Released outside: the press's control hears it there, and the next frame finds the pointer gone.
    win32::testing::ReleaseMouse(Window(), MouseButton::Left, -30, -40);
    Step();
    EXPECT_EQ(Only(Take(Events()), {"Released"}), (Log{"Red Released -40,-50 0"}));
    EXPECT_EQ(Queued(), (Log{"move -10000,-10000"}));
}

TEST_F(MessengerViewportEventsTest, KeysReachTheFocusControlAsDirectInputCodes) {
    win32::testing::Click(Window(), MouseButton::Left, 20, 20);
    Step();
    Take(Events());
    win32::testing::TypeKey(win32::VK_ESCAPE);
    win32::testing::PressKey(win32::VK_SPACE);
    win32::testing::PressKey(win32::VK_SPACE, nullptr, true);
    win32::testing::ReleaseKey(win32::VK_SPACE);
    win32::testing::TypeKey(win32::VK_UP);
    win32::testing::TypeKey(win32::VK_F24);
    win32::testing::TypeKey('A');
    Step();
    EXPECT_EQ(Take(Events()), (Log{"Red KeyDown 1 0", "Red Character 27 0", "Red KeyUp 1", "Red KeyDown 57 0",
                                   "Red Character 32 0", "Red KeyDown 57 1", "Red Character 32 1",
                                   "Red KeyUp 57", "Red KeyDown 200 0", "Red KeyUp 200", "Red KeyDown 30 0",
                                   "Red Character 97 0", "Red KeyUp 30"}));
}

TEST_F(MessengerViewportEventsTest, AltPressedAloneDoesNotOpenTheWindowMenu) {
    win32::testing::Click(Window(), MouseButton::Left, 20, 20);
    Step();
    Take(Events());
    const std::size_t menus = win32::testing::WindowMenuRequests();
    win32::testing::TypeKey(win32::VK_LMENU);
    win32::testing::PressKey(win32::VK_LMENU);
    win32::testing::TypeKey('X');
    win32::testing::ReleaseKey(win32::VK_LMENU);
    Step();
    EXPECT_EQ(win32::testing::WindowMenuRequests(), menus);
    EXPECT_EQ(Take(Events()), (Log{"Red KeyDown 56 0", "Red KeyUp 56", "Red KeyDown 56 0", "Red KeyDown 45 0",
                                   "Red Character 120 0", "Red KeyUp 45", "Red KeyUp 56"}));
}

TEST_F(MessengerViewportEventsTest, EachWindowMessageBecomesItsRecord) {
    struct Message {
        win32::UINT message;
        win32::WPARAM first;
        win32::LPARAM second;
    };
    const auto at = [](int x, int y) {
        return win32::MAKELPARAM(static_cast<win32::WORD>(x), static_cast<win32::WORD>(y));
    };
    const Message messages[] = {
        {win32::WM_MOUSEMOVE, 0, at(-5, 7)},
        {win32::WM_LBUTTONDBLCLK, 0, at(1, 2)},
        {win32::WM_MBUTTONDOWN, 0, at(3, 4)},
        {win32::WM_RBUTTONDOWN, 0, at(5, 6)},
        {win32::WM_RBUTTONUP, 0, at(5, 6)},
        {win32::WM_MBUTTONUP, 0, at(3, 4)},
        {win32::WM_LBUTTONUP, 0, at(1, 2)},
        {win32::WM_KEYDOWN, win32::VK_RIGHT, win32::KF_REPEAT_BIT},
        {win32::WM_KEYUP, win32::VK_RIGHT, win32::KF_REPEAT_BIT | win32::KF_UP_BIT},
        {win32::WM_SYSKEYDOWN, win32::VK_RMENU, 0},
        {win32::WM_SYSKEYUP, 0x1FF, 0},
        {win32::WM_KEYDOWN, win32::VK_LBUTTON, 0},
        {win32::WM_CHAR, 0x1E9, win32::KF_REPEAT_BIT},
        {win32::WM_SYSCHAR, 'q', 0},
        {win32::WM_KILLFOCUS, 0, 0},
        {win32::WM_SETFOCUS, 0, 0},
    };
    for (const Message& message : messages) {
        win32::SendMessageA(Window(), message.message, message.first, message.second);
    }
    EXPECT_EQ(Queued(), (Log{"move -5,7", "press 1,2 0 repeat", "press 3,4 2", "press 5,6 1", "release 5,6 1",
                             "release 3,4 2", "release 1,2 0", "key down 205 repeat", "key up 205",
                             "key down 184", "char 233 repeat", "char 113", "focus lost", "focus gained"}));
}

TEST_F(MessengerViewportEventsTest, TheFocusLeavesForAnotherWindowButNotForAWindowInsideTheViewport) {
    win32::testing::Click(Window(), MouseButton::Left, 20, 20);
    Step();
    Take(Events());
    Vemo::Win32Window player;
    const Vemo::Point at(0, 0);
    const Vemo::Size size(20, 20);
    ASSERT_TRUE(player.Create("Player", &at, &size, true, true, 0, win32::WS_CHILD | win32::WS_VISIBLE,
                              HandleOf(Viewport())->GetWindow(), nullptr, false, false));
    win32::SendMessageA(Window(), win32::WM_KILLFOCUS,
                        reinterpret_cast<win32::WPARAM>(player.GetWindowHandle()), 0);
    Step();
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(Viewport().HasFocus());
    ASSERT_TRUE(player.Destroy());

    win32::testing::HostUnfocuses(Window());
    Step();
    EXPECT_EQ(Only(Take(Events()), {"LostFocus"}), (Log{"Red LostFocus"}));
    EXPECT_FALSE(Viewport().HasFocus());
    EXPECT_EQ(Viewport().GetFocusControl(), nullptr);

    win32::testing::HostFocuses(Window());
    Pump();
    EXPECT_EQ(Dirty(), "0,0,640,480") << "activation redraws everything";
    Viewport().ProcessEvents();
    EXPECT_TRUE(Viewport().HasFocus());
}

struct PowerCase {
    const char* name;
    win32::UINT message;
    win32::WPARAM event;
    bool refused;
    // The code every control is asked with, or none.
    const char* asked;
    win32::LRESULT answer;
};

const PowerCase kPowerCases[] = {
    {"QuerySuspend", win32::WM_POWERBROADCAST, win32::PBT_APMQUERYSUSPEND, false, "0", win32::TRUE},
    {"QuerySuspendRefused", win32::WM_POWERBROADCAST, win32::PBT_APMQUERYSUSPEND, true, "0",
     win32::BROADCAST_QUERY_DENY},
    {"QuerySuspendFailed", win32::WM_POWERBROADCAST, win32::PBT_APMQUERYSUSPENDFAILED, false, "1",
     win32::TRUE},
    {"Suspend", win32::WM_POWERBROADCAST, win32::PBT_APMSUSPEND, false, "2", win32::TRUE},
    {"ResumeCritical", win32::WM_POWERBROADCAST, win32::PBT_APMRESUMECRITICAL, false, "3", win32::TRUE},
    {"ResumeSuspend", win32::WM_POWERBROADCAST, win32::PBT_APMRESUMESUSPEND, false, "3", win32::TRUE},
    {"ResumeAutomatic", win32::WM_POWERBROADCAST, win32::PBT_APMRESUMEAUTOMATIC, false, "3", win32::TRUE},
    {"PowerStatusChange", win32::WM_POWERBROADCAST, win32::PBT_APMPOWERSTATUSCHANGE, false, "4", win32::TRUE},
    {"OemEvent", win32::WM_POWERBROADCAST, win32::PBT_APMOEMEVENT, true, "5", win32::BROADCAST_QUERY_DENY},
    {"BatteryLowAsksNobody", win32::WM_POWERBROADCAST, win32::PBT_APMBATTERYLOW, true, nullptr, win32::TRUE},
    {"SuspendRequest", win32::WM_POWER, win32::PWR_SUSPENDREQUEST, false, "0", win32::PWR_OK},
    {"SuspendRequestRefused", win32::WM_POWER, win32::PWR_SUSPENDREQUEST, true, "0", win32::PWR_FAIL},
    {"SuspendResumeIsAlwaysAgreed", win32::WM_POWER, win32::PWR_SUSPENDRESUME, true, "3", win32::PWR_OK},
    {"CriticalResume", win32::WM_POWER, win32::PWR_CRITICALRESUME, false, "3", win32::PWR_OK},
};

class ViewportPowerTest : public MessengerViewportEventsTest,
                          public ::testing::WithParamInterface<PowerCase> {};

TEST_P(ViewportPowerTest, EveryControlIsAskedAndTheWindowAnswersForAll) {
    const PowerCase& power = GetParam();
    Get("Red").m_refusePower = power.refused;
    const win32::LRESULT answer = power.message == win32::WM_POWER
                                      ? win32::testing::SendPower(power.event)
                                      : win32::testing::SendPowerBroadcast(power.event, 0);
    EXPECT_EQ(answer, power.answer);
    const Log asked = power.asked != nullptr ? Log{std::string("Red Power ") + power.asked,
                                                   std::string("Blue Power ") + power.asked}
                                             : Log{};
    EXPECT_EQ(Take(Events()), asked);
}

INSTANTIATE_TEST_SUITE_P(Power, ViewportPowerTest, ::testing::ValuesIn(kPowerCases),
                         [](const ::testing::TestParamInfo<PowerCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(MessengerViewportEventsTest, EveryEventArrivesOnceInOrderWhileAReactionRunsAMessageLoop) {
    Panel& red = Get("Red");
    bool boxShown = false;
    // The press opens a modal box: its message loop takes more input meanwhile, and a paint.
    red.m_onEvent = [&](Panel&, const std::string& event) {
        if (event != "Pressed" || boxShown) {
            return;
        }
        boxShown = true;
        win32::testing::Click(Window(), MouseButton::Left, 210, 20);
        win32::testing::TypeKey(win32::VK_ESCAPE);
        win32::testing::HostExposes(Window());
        Pump();
    };
    win32::testing::Click(Window(), MouseButton::Left, 20, 20);
    Step();
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(Only(Take(Events()), {"Pressed", "Released", "KeyDown", "KeyUp"}),
              (Log{"Red Pressed 10,10 0", "Red Released 10,10 0", "Blue Pressed 10,10 0",
                   "Blue Released 10,10 0", "Blue KeyDown 1 0", "Blue KeyUp 1"}));
    EXPECT_TRUE(Viewport().GetEvents().Empty());
    EXPECT_EQ(Shown().At(20, 20), kRed);
}

TEST_F(SdlFixture, ARealSdlClickUnderTheDummyDriverPressesTheControl) {
    ASSERT_NE(Open("", kPanels), nullptr);
    MessengerTest::Recorder& watcher = Watch(Get("Red"));
    Step();
    ASSERT_TRUE(win32::testing::PushSdlClick(Window(), MouseButton::Left, 15, 25));
    Step();
    EXPECT_EQ(Only(watcher.TakeReceived(), {"Pressed", "Released"}), (Log{"Pressed(0)", "Released(0)"}));
    Pump();
    EXPECT_EQ(Shown().At(15, 25), kRed);
}

} // namespace
} // namespace ViewportTest
