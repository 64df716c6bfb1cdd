#include "engines/input/directx/DirectXInputDeviceEngine.h"

#include "engines/graphics/directx/DirectXWindow.h"
#include "engines/graphics/testing/WindowTestSupport.h"
#include "engines/input/InputDeviceSystem.h"
#include "engines/input/Joystick.h"
#include "engines/input/tests/InputTestSupport.h"
#include "engines/testing/TimingSetup.h"
#include "platform/testing/Clock.h"
#include "platform/testing/DirectInputTesting.h"
#include "resources/testing/HookTestWindows.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>

namespace {

using namespace Vemo;
using namespace VemoTest;
using dinput::testing::DeviceCall;

constexpr std::uint32_t kKeyA = 0x1E;
constexpr std::uint32_t kKeyS = 0x1F;
constexpr std::uint32_t kKeyRightControl = 0x9D;

// The DirectX input engine in an application with the timer family, on the headless window system with both
// engine hooks; a test makes the main window when it needs one.
class DirectXInputTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        dinput::testing::ResetDevices();
        m_devicesBefore = dinput::testing::LiveDirectInputDevices();
        m_objectsBefore = dinput::testing::LiveDirectInputObjects();
        m_timing = std::make_unique<TimingSetup>(m_application);
        m_application.m_inputDeviceSystem = InputDeviceSystem::Create();
        m_engine = DirectXInputDeviceEngine::Create();
        ASSERT_TRUE(m_application.m_inputDeviceSystem->AddEngine(m_engine));
    }

    void TearDown() override {
        if (m_application.m_inputDeviceSystem != nullptr) {
            m_application.m_inputDeviceSystem->Shutdown();
            m_application.m_inputDeviceSystem = nullptr;
        }
        m_timing.reset();
        if (m_main != nullptr) {
            m_main->Destroy();
            m_main.reset();
        }
        dinput::testing::ResetDevices();
        EXPECT_EQ(dinput::testing::LiveDirectInputDevices(), m_devicesBefore) << "every device was released";
        EXPECT_EQ(dinput::testing::LiveDirectInputObjects(), m_objectsBefore);
        WindowTest::TearDown();
    }

    win32::HWND MakeMainWindow() {
        m_main = std::make_unique<DirectXWindow>(true);
        EXPECT_TRUE(Create(*m_main, true));
        return m_main->GetWindowHandle();
    }

    void Poll() { m_application.m_inputDeviceSystem->Update(); }

    platform::testing::FakeClock m_clock{0xFFFFFF00};
    std::unique_ptr<TimingSetup> m_timing;
    DirectXInputDeviceEngine* m_engine = nullptr;
    std::unique_ptr<DirectXWindow> m_main;
    int m_devicesBefore = 0;
    int m_objectsBefore = 0;
};

TEST_F(DirectXInputTest, TheEngineTakesItsDirectInputWhenStartedAndGivesItBackWhenStopped) {
    {
        Keyboard keyboard;
        ASSERT_TRUE(keyboard.Open(0));
        EXPECT_TRUE(m_engine->IsStarted());
        EXPECT_NE(m_engine->GetDirectInput(), nullptr);
        EXPECT_EQ(m_engine->GetDirectInputObject().GetInterfaceCount(), 1U);
    }
    ASSERT_TRUE(m_engine->Stop());
    EXPECT_EQ(m_engine->GetDirectInput(), nullptr);
    EXPECT_EQ(m_engine->GetDirectInputObject().GetDirectInput(), nullptr);
    EXPECT_EQ(dinput::testing::LiveDirectInputObjects(), m_objectsBefore);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(DirectXInputTest, AStartThatGetsNoDirectInputFails) {
    Keyboard keyboard;
    dinput::testing::FailNextDirectInputCreate(win32::E_FAIL);
    EXPECT_FALSE(keyboard.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(),
                                {{DirectXEngineHookErrDirectInput},
                                 {DirectXInputErrCreateObject},
                                 {ResourceEngineErrActivateFailed, "DirectX Input Device Engine"},
                                 {ResourceSystemErrOpenFailed}}));

    dinput::testing::FailDeviceCall(DeviceCall::QueryInterface, win32::E_NOINTERFACE);
    EXPECT_FALSE(keyboard.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{DirectXEngineHookErrQueryInterface},
                                                              {DirectXInputErrNoDirectInput2},
                                                              {ResourceSystemErrOpenFailed}}));
    EXPECT_EQ(m_engine->GetDirectInputObject().GetDirectInput(), nullptr) << "the object was released again";
    EXPECT_TRUE(keyboard.Open(0));
}

TEST_F(DirectXInputTest, StoppingReportsWhatItCannotGiveBack) {
    {
        Keyboard keyboard;
        ASSERT_TRUE(keyboard.Open(0));
    }
    // The interfaces go behind the engine's back; then the hook goes.
    auto& object = const_cast<DirectInputObject&>(m_engine->GetDirectInputObject());
    ASSERT_TRUE(DirectXEngineHook::RemoveInputObject(&object));
    EXPECT_FALSE(m_engine->Stop());
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{DirectXEngineHookErrInterfaceUnknown},
                                                              {DirectXInputErrReleaseDirectInput2}}));

    {
        Keyboard keyboard;
        ASSERT_TRUE(keyboard.Open(0));
    }
    DirectXEngineHook::Uninstall();
    EXPECT_FALSE(m_engine->Stop());
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(),
                                {{EngineHookErrNotInstalled}, {DirectXInputErrReleaseObject}}));
    // The engine goes with its system, and its object releases its DirectInput without the hook.
}

TEST_F(DirectXInputTest, OnlyTheDefaultKeyboardAndMouseCanBeOpened) {
    Keyboard keyboard;
    EXPECT_FALSE(keyboard.Open(String("Keyboard")));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{ResourceSystemErrNotSupported},
                                                              {InputDeviceEngineErrKeyboardFailed},
                                                              {ResourceSystemErrOpenFailed}}));
    EXPECT_FALSE(keyboard.Open(1));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{ResourceSystemErrNotSupported},
                                                              {InputDeviceEngineErrKeyboardFailed},
                                                              {ResourceSystemErrOpenFailed}}));

    Mouse mouse;
    Joystick joystick;
    EXPECT_FALSE(mouse.Open(0)) << "no main window yet";
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(),
                                {{DirectXInputErrNoMainWindow}, {InputDeviceEngineErrMouseFailed}}));
    EXPECT_FALSE(joystick.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(),
                                {{DirectXInputErrNoMainWindow}, {InputDeviceEngineErrJoystickFailed}}));

    HookTestDisplayWindow nativeless(true);
    ASSERT_TRUE(DirectXEngineHook::SetCurrentWindow(&nativeless));
    EXPECT_FALSE(mouse.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{DirectXInputErrNoNativeWindow}}));
    ASSERT_TRUE(DirectXEngineHook::ReleaseCurrentWindow(&nativeless));

    MakeMainWindow();
    EXPECT_FALSE(joystick.Open(0));
    EXPECT_TRUE(ReportedInOrder(m_application.TakeReports(), {{DirectXInputErrCreateDevice},
                                                              {InputDeviceEngineErrJoystickFailed},
                                                              {ResourceSystemErrOpenFailed}}));
    EXPECT_TRUE(mouse.Open(0));
    EXPECT_TRUE(m_application.TakeReports().empty());
}

struct CreationFault {
    const char* name;
    bool mouse;
    DeviceCall call;
    ErrorCode expected;
};

void PrintTo(const CreationFault& fault, std::ostream* out) {
    *out << fault.name;
}

class DirectXInputCreationTest : public DirectXInputTest,
                                 public ::testing::WithParamInterface<CreationFault> {};

TEST_P(DirectXInputCreationTest, AFailingStepReportsItsCodeAndLeavesNoDevice) {
    const CreationFault& fault = GetParam();
    MakeMainWindow();
    {
        Keyboard warmUp;
        ASSERT_TRUE(warmUp.Open(0)) << "the engine is started before the fault";
    }
    m_application.TakeReports();
    dinput::testing::FailDeviceCall(fault.call, win32::E_FAIL);
    Keyboard keyboard;
    Mouse mouse;
    EXPECT_FALSE(fault.mouse ? mouse.Open(0) : keyboard.Open(0));
    const ErrorCode engineError =
        fault.mouse ? InputDeviceEngineErrMouseFailed : InputDeviceEngineErrKeyboardFailed;
    const Reports reports = m_application.TakeReports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), Reported(fault.expected)) << "reported first, without text";
    EXPECT_TRUE(ReportedInOrder(reports, {{fault.expected}, {engineError}, {ResourceSystemErrOpenFailed}}));
    EXPECT_EQ(dinput::testing::LiveDirectInputDevices(), m_devicesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, DirectXInputCreationTest,
    ::testing::Values(
        CreationFault{"KeyboardCreateDevice", false, DeviceCall::CreateDevice, DirectXInputErrCreateDevice},
        CreationFault{"KeyboardQueryInterface", false, DeviceCall::QueryInterface,
                      DirectXInputErrDeviceInterface},
        CreationFault{"KeyboardDataFormat", false, DeviceCall::SetDataFormat, DirectXInputErrDataFormat},
        CreationFault{"KeyboardAcquire", false, DeviceCall::Acquire, DirectXInputErrAcquire},
        CreationFault{"KeyboardDeviceInfo", false, DeviceCall::GetDeviceInfo, DirectXInputErrDeviceInfo},
        CreationFault{"KeyboardCapabilities", false, DeviceCall::GetCapabilities,
                      DirectXInputErrCapabilities},
        CreationFault{"KeyboardDeviceState", false, DeviceCall::GetDeviceState, DirectXInputErrDeviceState},
        CreationFault{"MouseCreateDevice", true, DeviceCall::CreateDevice, DirectXInputErrCreateDevice},
        CreationFault{"MouseCooperativeLevel", true, DeviceCall::SetCooperativeLevel,
                      DirectXInputErrCooperativeLevel},
        CreationFault{"MouseDeviceState", true, DeviceCall::GetDeviceState, DirectXInputErrDeviceState}),
    [](const ::testing::TestParamInfo<CreationFault>& info) { return std::string(info.param.name); });

TEST_F(DirectXInputTest, ADeviceWithoutATimerCannotBeOpened) {
    TimerSystem* timers = m_application.m_timerSystem;
    m_application.m_timerSystem = nullptr;
    Keyboard keyboard;
    EXPECT_FALSE(keyboard.Open(0));
    EXPECT_TRUE(ReportedInOrder(
        m_application.TakeReports(),
        {{ResourceSystemErrNoSystem}, {DirectXInputErrTimerOpen}, {InputDeviceEngineErrKeyboardFailed}}));
    m_application.m_timerSystem = timers;
}

TEST_F(DirectXInputTest, TheKeyboardDescribesItselfAndRefusesToBeSet) {
    Keyboard keyboard;
    ASSERT_TRUE(keyboard.Open(0));
    String text;
    EXPECT_TRUE(keyboard.GetName(text));
    EXPECT_STREQ(text.CStr(), "Keyboard");
    EXPECT_TRUE(keyboard.GetIdentifier(text));
    EXPECT_STREQ(text.CStr(), "Not implemented!");
    EXPECT_EQ(keyboard.GetIndex(), 0U);
    EXPECT_EQ(keyboard.KeyCount(), 256U);
    EXPECT_EQ(keyboard.TranslateKey(kKeyA), kKeyA);
    EXPECT_TRUE(keyboard.IsAttached());
    EXPECT_FALSE(keyboard.HasForceFeedback());
    EXPECT_FALSE(keyboard.SetKeyState(kKeyA, true));
    EXPECT_EQ(m_application.TakeReports(), (Reports{{ResourceSystemErrNotSupported}}));

    dinput::testing::SetDeviceCapabilities(dinput::testing::DeviceKind::Keyboard, dinput::DIDC_FORCEFEEDBACK,
                                           104, 0);
    EXPECT_FALSE(keyboard.IsAttached()) << "read again each time";
    dinput::testing::FailDeviceCall(DeviceCall::GetCapabilities, win32::E_FAIL);
    dinput::testing::SetDeviceCapabilities(dinput::testing::DeviceKind::Keyboard, dinput::DIDC_ATTACHED, 104,
                                           0);
    EXPECT_FALSE(keyboard.IsAttached());
    EXPECT_TRUE(keyboard.IsAttached());
}

TEST_F(DirectXInputTest, KeysArriveAsChangesInKeyOrderAndReachEveryKeyboard) {
    Log log;
    RecordingKeyboard first(&log, "first");
    RecordingKeyboard second(&log, "second");
    ASSERT_TRUE(first.Open(0));
    ASSERT_TRUE(second.Open(0));
    win32::testing::PressKey('S');
    win32::testing::PressKey('A');
    win32::testing::PressKey(win32::VK_RCONTROL);
    Poll();
    // The chain has the newest front-end first.
    EXPECT_EQ(log, (Log{"second KeyDown 30", "first KeyDown 30", "second KeyDown 31", "first KeyDown 31",
                        "second KeyDown 157", "first KeyDown 157"}));
    EXPECT_TRUE(first.IsKeyDown(kKeyA));
    EXPECT_TRUE(second.IsKeyDown(kKeyRightControl));
    EXPECT_FALSE(first.IsKeyUp(kKeyS));

    log.clear();
    m_clock.Advance(250);
    win32::testing::ReleaseKey('A');
    Poll();
    Poll();
    EXPECT_EQ(log, (Log{"second KeyUp 30", "first KeyUp 30"})) << "held keys make no further events";
    EXPECT_TRUE(first.IsKeyUp(kKeyA));
    EXPECT_EQ(first.KeyHeldTime(kKeyS), 250U);
    EXPECT_EQ(first.KeyHeldTime(kKeyA), 0U);
    EXPECT_FALSE(first.IsKeyDown(256));
    EXPECT_FALSE(first.IsKeyUp(256));
    EXPECT_EQ(first.KeyHeldTime(256), 0U);
}

TEST_F(DirectXInputTest, AKeyHeldWhenTheKeyboardOpensIsDownWithoutAnEvent) {
    win32::testing::PressKey('A');
    Log log;
    RecordingKeyboard keyboard(&log, "keyboard");
    ASSERT_TRUE(keyboard.Open(0));
    EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));
    Poll();
    EXPECT_TRUE(log.empty());
}

TEST_F(DirectXInputTest, ASwallowedKeyLeavesTheStateAsItWas) {
    Log log;
    RecordingKeyboard keyboard(&log, "keyboard");
    ASSERT_TRUE(keyboard.Open(0));
    RecordingFilter swallower(1, &log, "filter");
    swallower.m_action = [](InputDeviceEvent* event) { event->kind = InputDeviceEvent::None; };
    swallower.Attach(keyboard);
    win32::testing::PressKey('A');
    Poll();
    EXPECT_EQ(log, (Log{"filter none", "filter key 30 down"}));
    EXPECT_FALSE(keyboard.IsKeyDown(kKeyA));
    swallower.Detach();
    log.clear();
    Poll();
    EXPECT_EQ(log, Log{}) << "the poll's own copy moved on: the change is not read again";
}

// What a keyboard is told may close keyboards of its device, its own among them. One closed before its turn
// hears nothing; when the last one goes the handle goes with it, and the rest of the poll with the handle.
TEST_F(DirectXInputTest, AKeyboardMayCloseItselfOrAnotherFromItsNotification) {
    struct Case {
        const char* name;
        bool closeFirst;
        bool closeSecond;
        Log heard;
    };
    // The chain has the newest front-end, "second", first; it closes what its case says on its first key.
    const Case cases[] = {
        {"itself", false, true, {"second KeyDown 30", "first KeyDown 30", "first KeyDown 31"}},
        {"the next one", true, false, {"second KeyDown 30", "second KeyDown 31"}},
        {"both, and so the handle", true, true, {"second KeyDown 30"}},
    };
    for (const Case& test : cases) {
        Log log;
        auto* first = new RecordingKeyboard(&log, "first");
        auto* second = new RecordingKeyboard(&log, "second");
        ASSERT_TRUE(first->Open(0));
        ASSERT_TRUE(second->Open(0));
        second->m_action = [&](const std::string&) {
            if (test.closeFirst) {
                delete std::exchange(first, nullptr);
            }
            if (test.closeSecond) {
                delete std::exchange(second, nullptr);
            }
        };
        win32::testing::PressKey('A');
        win32::testing::PressKey('S');
        Poll();
        EXPECT_EQ(log, test.heard) << test.name;
        delete first;
        delete second;
        win32::testing::ReleaseKey('A');
        win32::testing::ReleaseKey('S');
        Poll();
        EXPECT_TRUE(m_application.TakeReports().empty()) << test.name;
    }
}

// A filter that closes the device's last front-end takes the handle with it: the filters after it and the
// notifications do not hear of that event, nor of the rest of the poll.
TEST_F(DirectXInputTest, AFilterMayCloseTheLastFrontEnd) {
    Log log;
    auto* keyboard = new RecordingKeyboard(&log, "keyboard");
    ASSERT_TRUE(keyboard->Open(0));
    RecordingFilter closer(1, &log, "closer");
    RecordingFilter after(2, &log, "after");
    closer.m_action = [&](InputDeviceEvent* event) {
        if (event->kind == InputDeviceEvent::Key) {
            delete std::exchange(keyboard, nullptr);
        }
    };
    closer.Attach(*keyboard);
    after.Attach(*keyboard);
    win32::testing::PressKey('A');
    win32::testing::PressKey('S');
    Poll();
    EXPECT_EQ(log, (Log{"closer none", "after none", "closer key 30 down"}));
    EXPECT_EQ(keyboard, nullptr);
    Poll();
    EXPECT_TRUE(m_application.TakeReports().empty());
}

// A mouse that closes itself on its first axis hears of no other axis, nor of the buttons of the same poll.
TEST_F(DirectXInputTest, AMouseMayCloseItselfFromItsNotification) {
    win32::HWND window = MakeMainWindow();
    win32::testing::MoveMouse(window, 10, 10);
    Log log;
    auto* mouse = new RecordingMouse(&log, "mouse");
    ASSERT_TRUE(mouse->Open(0));
    mouse->m_action = [&](const std::string&) { delete std::exchange(mouse, nullptr); };
    win32::testing::PressMouse(window, win32::testing::MouseButton::Left, 15, 12);
    Poll();
    EXPECT_EQ(log, (Log{"mouse AxisMoved 0 5"}));
    EXPECT_EQ(mouse, nullptr);
    Poll();
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(DirectXInputTest, TheMouseSumsItsMotionAndTellsEachMovedAxisOnce) {
    win32::HWND window = MakeMainWindow();
    win32::testing::MoveMouse(window, 100, 100);
    Log log;
    RecordingMouse mouse(&log, "mouse");
    ASSERT_TRUE(mouse.Open(0));
    EXPECT_EQ(mouse.ButtonCount(), 3U);
    EXPECT_EQ(mouse.AxisCount(), 3U);

    win32::testing::MoveMouse(window, 102, 101);
    win32::testing::MoveMouse(window, 105, 103);
    Poll();
    EXPECT_EQ(log, (Log{"mouse AxisMoved 0 5", "mouse AxisMoved 1 3"}));
    EXPECT_EQ(mouse.AxisPosition(0), 5);
    EXPECT_EQ(mouse.AxisDelta(0), 5);
    EXPECT_TRUE(mouse.IsAxisChanged(1));
    EXPECT_FALSE(mouse.IsAxisChanged(2));

    log.clear();
    win32::testing::MoveMouse(window, 101, 103);
    win32::testing::TurnMouseWheel(window, -1);
    Poll();
    EXPECT_EQ(log, (Log{"mouse AxisMoved 0 -4", "mouse AxisMoved 2 -120"}));
    EXPECT_EQ(mouse.AxisPosition(0), 1);
    EXPECT_EQ(mouse.AxisDelta(0), -4);
    EXPECT_EQ(mouse.AxisDelta(1), 3) << "the last motion that moved y";
    EXPECT_EQ(mouse.AxisPosition(2), -120);

    Point position;
    mouse.GetPosition(position, false);
    EXPECT_EQ(position, Point(1, 3)) << "sums of relative motion";
    mouse.GetPosition(position, true);
    const win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(position, Point(state.clientRect.left + 101, state.clientRect.top + 103))
        << "the screen cursor";
    EXPECT_FALSE(mouse.SetPosition(0, 0));
    EXPECT_FALSE(mouse.SetAxisPosition(0, 0));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{ResourceSystemErrNotSupported}, {ResourceSystemErrNotSupported}}));
}

TEST_F(DirectXInputTest, ButtonsFollowTheMotionOfTheSamePoll) {
    win32::HWND window = MakeMainWindow();
    win32::testing::MoveMouse(window, 10, 10);
    Log log;
    RecordingMouse mouse(&log, "mouse");
    ASSERT_TRUE(mouse.Open(0));
    RecordingFilter watcher(0, &log, "filter");
    watcher.Attach(mouse);
    win32::testing::PressMouse(window, win32::testing::MouseButton::Right, 20, 10);
    win32::testing::PressMouse(window, win32::testing::MouseButton::Left, 20, 10);
    m_clock.Advance(40);
    Poll();
    EXPECT_EQ(log, (Log{"filter none", "filter motion 10,0,0", "mouse AxisMoved 0 10", "filter button 0 down",
                        "mouse ButtonDown 0", "filter button 1 down", "mouse ButtonDown 1"}));
    m_clock.Advance(60);
    EXPECT_EQ(mouse.ButtonHeldTime(1), 60U);
    EXPECT_TRUE(mouse.IsButtonDown(0));
    EXPECT_FALSE(mouse.IsButtonDown(4));
    EXPECT_FALSE(mouse.IsButtonUp(4));
    EXPECT_EQ(mouse.ButtonHeldTime(4), 0U);
    EXPECT_EQ(mouse.AxisPosition(3), 0);
    EXPECT_FALSE(mouse.SetButtonState(0, false));
    m_application.TakeReports();
}

TEST_F(DirectXInputTest, AMouseThatReportsNoButtonsStillAnswersForFour) {
    win32::HWND window = MakeMainWindow();
    dinput::testing::SetDeviceCapabilities(dinput::testing::DeviceKind::Mouse, dinput::DIDC_ATTACHED, 0, 2);
    Mouse mouse;
    ASSERT_TRUE(mouse.Open(0));
    win32::testing::PressMouse(window, win32::testing::MouseButton::Middle, 5, 5);
    Poll();
    EXPECT_TRUE(mouse.IsButtonDown(2));
    EXPECT_TRUE(mouse.IsButtonUp(3));
    win32::testing::TurnMouseWheel(window, 1);
    Poll();
    EXPECT_EQ(mouse.AxisPosition(2), 0) << "a device with two axes answers for two";
    EXPECT_FALSE(mouse.IsAxisChanged(2));
}

// A poll that finds the input lost acquires the device again, also after a re-acquisition failed, and reads
// the state again at once.
TEST_F(DirectXInputTest, LostInputComesBackWhenTheDeviceCanBeAcquiredAgain) {
    Log log;
    RecordingKeyboard keyboard(&log, "keyboard");
    ASSERT_TRUE(keyboard.Open(0));
    dinput::testing::LoseInput();
    dinput::testing::FailDeviceCall(DeviceCall::Acquire, dinput::DIERR_OTHERAPPHASPRIO, 2);
    win32::testing::PressKey('A');
    Poll();
    Poll();
    EXPECT_TRUE(log.empty()) << "no events while the device cannot be acquired";
    win32::testing::PressKey('S');
    Poll();
    EXPECT_EQ(log, (Log{"keyboard KeyDown 30", "keyboard KeyDown 31"}));
    EXPECT_TRUE(m_application.TakeReports().empty()) << "polls fail silently";

    log.clear();
    dinput::testing::LoseInput();
    win32::testing::ReleaseKey('S');
    Poll();
    EXPECT_EQ(log, (Log{"keyboard KeyUp 31"})) << "read again in the poll that acquired it";

    log.clear();
    dinput::testing::FailDeviceCall(DeviceCall::GetDeviceState, win32::E_FAIL);
    win32::testing::ReleaseKey('A');
    Poll();
    EXPECT_TRUE(log.empty()) << "any other failure ends the poll";
    Poll();
    EXPECT_EQ(log, (Log{"keyboard KeyUp 30"}));
}

TEST_F(DirectXInputTest, AKeyAndAMovePushedIntoSdlReachTheFrontEnds) {
    ASSERT_TRUE(win32::testing::UseDummySdlBackend());
    {
        win32::HWND window = MakeMainWindow();
        ASSERT_TRUE(win32::testing::GetWindowState(window).hasNativeWindow);
        ASSERT_TRUE(win32::testing::PushSdlMouseMotion(window, 40, 30));
        Pump();
        Log log;
        RecordingKeyboard keyboard(&log, "keyboard");
        RecordingMouse mouse(&log, "mouse");
        ASSERT_TRUE(keyboard.Open(0));
        ASSERT_TRUE(mouse.Open(0));
        ASSERT_TRUE(win32::testing::PushSdlKey(window, 4, true)); // the A key's usage
        ASSERT_TRUE(win32::testing::PushSdlMouseMotion(window, 47, 28));
        ASSERT_TRUE(win32::testing::PushSdlWheel(window, 1));
        Pump();
        Poll();
        EXPECT_EQ(log, (Log{"mouse AxisMoved 0 7", "mouse AxisMoved 1 -2", "mouse AxisMoved 2 120",
                            "keyboard KeyDown 30"}));
        EXPECT_TRUE(keyboard.IsKeyDown(kKeyA));
        ASSERT_TRUE(win32::testing::PushSdlKey(window, 4, false));
        Pump();
        m_main->Destroy();
        m_main.reset();
    }
    win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
}

} // namespace
