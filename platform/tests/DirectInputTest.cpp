#include "platform/directx/DirectInput.h"
#include "platform/testing/DirectInputTesting.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace dinput {
namespace {

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

TEST(DirectInputTest, EachCreateGivesAnObjectOfItsOwnThatLivesUntilItsLastRelease) {
    int before = testing::LiveDirectInputObjects();
    IDirectInputA* first = nullptr;
    IDirectInputA* second = nullptr;
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &first, nullptr), DI_OK);
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &second, nullptr), DI_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 2);

    void* queried = nullptr;
    ASSERT_EQ(first->QueryInterface(IID_IDirectInput2A, &queried), DI_OK);
    EXPECT_EQ(static_cast<IDirectInput2A*>(queried), static_cast<IDirectInput2A*>(first));
    EXPECT_EQ(first->Release(), 1U) << "the queried interface holds a reference of its own";
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 2);
    EXPECT_EQ(static_cast<IDirectInput2A*>(queried)->Release(), 0U);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before + 1);

    void* none = &queried;
    EXPECT_EQ(second->QueryInterface(com::IID{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}}, &none),
              DIERR_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(second->Release(), 0U);
    EXPECT_EQ(testing::LiveDirectInputObjects(), before);
}

TEST(DirectInputTest, CreateRefusesWhatItCannotServe) {
    struct Case {
        HINSTANCE instance;
        DWORD version;
        bool outer;
        HRESULT expected;
    };
    IDirectInputA* outerObject = nullptr;
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &outerObject, nullptr), DI_OK);
    for (Case test : {Case{nullptr, 0x0700, false, DIERR_INVALIDPARAM},
                      Case{kInstance, 0x0200, false, DIERR_OLDDIRECTINPUTVERSION},
                      Case{kInstance, 0x0800, false, DIERR_BETADIRECTINPUTVERSION},
                      Case{kInstance, 0x0700, true, CLASS_E_NOAGGREGATION}}) {
        IDirectInputA* created = reinterpret_cast<IDirectInputA*>(&test);
        EXPECT_EQ(
            DirectInputCreateA(test.instance, test.version, &created, test.outer ? outerObject : nullptr),
            test.expected)
            << std::hex << test.version;
        EXPECT_EQ(created, nullptr);
    }
    EXPECT_EQ(DirectInputCreateA(kInstance, 0x0700, nullptr, nullptr), win32::E_POINTER);
    outerObject->Release();

    testing::FailNextDirectInputCreate(win32::E_FAIL);
    IDirectInputA* failed = nullptr;
    EXPECT_EQ(DirectInputCreateA(kInstance, 0x0700, &failed, nullptr), win32::E_FAIL);
    ASSERT_EQ(DirectInputCreateA(kInstance, 0x0300, &failed, nullptr), DI_OK) << "only the next call fails";
    failed->Release();
}

// A DirectInput object and the system keyboard and mouse made through it, formats set, on the headless window
// system with no input held.
class DirectInputDeviceTest : public win32::tests::WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        testing::ResetDevices();
        m_devicesBefore = testing::LiveDirectInputDevices();
        IDirectInputA* created = nullptr;
        ASSERT_EQ(DirectInputCreateA(kInstance, 0x0700, &created, nullptr), DI_OK);
        void* second = nullptr;
        ASSERT_EQ(created->QueryInterface(IID_IDirectInput2A, &second), DI_OK);
        created->Release();
        m_directInput = static_cast<IDirectInput2A*>(second);
        m_keyboard = Make(GUID_SysKeyboard);
        m_mouse = Make(GUID_SysMouse);
        ASSERT_EQ(m_keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
        ASSERT_EQ(m_mouse->SetDataFormat(&c_dfDIMouse), DI_OK);
    }

    void TearDown() override {
        m_keyboard->Release();
        m_mouse->Release();
        m_directInput->Release();
        EXPECT_EQ(testing::LiveDirectInputDevices(), m_devicesBefore);
        testing::ResetDevices();
        WindowSystemTest::TearDown();
    }

    IDirectInputDevice2A* Make(com::REFGUID device) {
        IDirectInputDeviceA* first = nullptr;
        EXPECT_EQ(m_directInput->CreateDevice(device, &first, nullptr), DI_OK);
        void* second = nullptr;
        EXPECT_EQ(first->QueryInterface(IID_IDirectInputDevice2A, &second), DI_OK);
        first->Release();
        return static_cast<IDirectInputDevice2A*>(second);
    }

    std::array<BYTE, 256> Keys() {
        std::array<BYTE, 256> keys{};
        EXPECT_EQ(m_keyboard->GetDeviceState(256, keys.data()), DI_OK);
        return keys;
    }

    DIMOUSESTATE MouseState() {
        DIMOUSESTATE state{};
        EXPECT_EQ(m_mouse->GetDeviceState(sizeof(state), &state), DI_OK);
        return state;
    }

    IDirectInput2A* m_directInput = nullptr;
    IDirectInputDevice2A* m_keyboard = nullptr;
    IDirectInputDevice2A* m_mouse = nullptr;
    int m_devicesBefore = 0;
};

TEST_F(DirectInputDeviceTest, OnlyTheSystemKeyboardAndMouseExistAndEachDeviceIsCounted) {
    EXPECT_EQ(testing::LiveDirectInputDevices(), m_devicesBefore + 2);
    IDirectInputDeviceA* device = reinterpret_cast<IDirectInputDeviceA*>(this);
    EXPECT_EQ(m_directInput->CreateDevice(IID_IDirectInput2A, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(m_directInput->CreateDevice(GUID_SysMouse, &device, reinterpret_cast<com::IUnknown*>(this)),
              CLASS_E_NOAGGREGATION);

    void* queried = nullptr;
    EXPECT_EQ(m_mouse->QueryInterface(IID_IDirectInputA, &queried), DIERR_NOINTERFACE);
    EXPECT_EQ(queried, nullptr);
    ASSERT_EQ(m_mouse->QueryInterface(com::IID_IUnknown, &queried), DI_OK);
    EXPECT_EQ(m_mouse->AddRef(), 3U);
    EXPECT_EQ(m_mouse->Release(), 2U);
    EXPECT_EQ(static_cast<com::IUnknown*>(queried)->Release(), 1U);
}

TEST_F(DirectInputDeviceTest, FormatsCooperativeLevelsAndAcquisitionFollowTheirRules) {
    IDirectInputDevice2A* fresh = Make(GUID_SysKeyboard);
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(fresh->Acquire(), DIERR_INVALIDPARAM) << "no data format yet";
    EXPECT_EQ(fresh->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM) << "the keyboard's format only";
    EXPECT_EQ(fresh->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(fresh->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
    EXPECT_EQ(fresh->Acquire(), DI_OK);
    EXPECT_EQ(fresh->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(fresh->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(fresh->GetDeviceState(16, keys.data()), DIERR_INVALIDPARAM);
    EXPECT_EQ(fresh->GetDeviceState(256, nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(fresh->Unacquire(), DI_OK);
    EXPECT_EQ(fresh->Unacquire(), DI_NOEFFECT);
    fresh->Release();

    win32::tests::RecordingWindowClass windows;
    win32::HWND window = windows.Create();
    ASSERT_NE(window, nullptr);
    struct Case {
        win32::HWND window;
        DWORD flags;
        HRESULT expected;
    };
    for (Case test :
         {Case{window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, DI_OK},
          Case{window, DISCL_EXCLUSIVE | DISCL_FOREGROUND, DI_OK},
          Case{window, DISCL_NONEXCLUSIVE, DIERR_INVALIDPARAM},
          Case{window, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, DIERR_INVALIDPARAM},
          Case{window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND | 0x10, DIERR_INVALIDPARAM},
          Case{nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND, DIERR_HANDLE}}) {
        EXPECT_EQ(m_mouse->SetCooperativeLevel(test.window, test.flags), test.expected) << test.flags;
    }
    EXPECT_EQ(m_keyboard->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_BACKGROUND), DIERR_UNSUPPORTED);
    ASSERT_EQ(m_mouse->Acquire(), DI_OK);
    EXPECT_EQ(m_mouse->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DIERR_ACQUIRED);
}

TEST_F(DirectInputDeviceTest, TheDevicesDescribeThemselves) {
    DIDEVICEINSTANCEA instance{};
    EXPECT_EQ(m_keyboard->GetDeviceInfo(&instance), DIERR_INVALIDPARAM) << "dwSize must be set";
    instance.dwSize = sizeof(instance);
    ASSERT_EQ(m_keyboard->GetDeviceInfo(&instance), DI_OK);
    EXPECT_STREQ(instance.tszProductName, "Keyboard");
    EXPECT_TRUE(instance.guidInstance == GUID_SysKeyboard);
    ASSERT_EQ(m_mouse->GetDeviceInfo(&instance), DI_OK);
    EXPECT_STREQ(instance.tszProductName, "Mouse");

    DIDEVCAPS capabilities{};
    capabilities.dwSize = sizeof(capabilities);
    ASSERT_EQ(m_mouse->GetCapabilities(&capabilities), DI_OK);
    EXPECT_EQ(capabilities.dwFlags, DIDC_ATTACHED);
    EXPECT_EQ(capabilities.dwButtons, 3U);
    EXPECT_EQ(capabilities.dwAxes, 3U);
    EXPECT_EQ(capabilities.dwDevType & 0xFF, DIDEVTYPE_MOUSE);

    testing::SetDeviceCapabilities(testing::DeviceKind::Keyboard, DIDC_FORCEFEEDBACK, 5, 0);
    ASSERT_EQ(m_keyboard->GetCapabilities(&capabilities), DI_OK);
    EXPECT_EQ(capabilities.dwFlags, DIDC_FORCEFEEDBACK);
    EXPECT_EQ(capabilities.dwButtons, 5U);

    testing::FailDeviceCall(testing::DeviceCall::GetCapabilities, win32::E_FAIL, 2);
    EXPECT_EQ(m_keyboard->GetCapabilities(&capabilities), win32::E_FAIL);
    EXPECT_EQ(m_mouse->GetCapabilities(&capabilities), win32::E_FAIL);
    EXPECT_EQ(m_mouse->GetCapabilities(&capabilities), DI_OK) << "two calls failed, then no more";
}

// Key codes are set-1 make codes with 0x80 for the extended keys, Num Lock and Pause the other way round.
TEST_F(DirectInputDeviceTest, TheKeyboardStateHoldsEachKeyAtItsKeyCode) {
    ASSERT_EQ(m_keyboard->Acquire(), DI_OK);
    struct Case {
        const char* name;
        win32::BYTE virtualKey;
        BYTE code;
    };
    for (Case test : {Case{"A", 'A', 0x1E}, Case{"Escape", win32::VK_ESCAPE, 0x01},
                      Case{"RightControl", win32::VK_RCONTROL, 0x9D}, Case{"Up", win32::VK_UP, 0xC8},
                      Case{"NumLock", win32::VK_NUMLOCK, 0x45}, Case{"Pause", win32::VK_PAUSE, 0xC5}}) {
        win32::testing::PressKey(test.virtualKey);
        std::array<BYTE, 256> keys = Keys();
        EXPECT_EQ(keys[test.code], 0x80) << test.name;
        EXPECT_EQ(std::count(keys.begin(), keys.end(), 0x80), 1) << test.name;
        win32::testing::ReleaseKey(test.virtualKey);
        keys = Keys();
        EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 256) << test.name;
    }
}

TEST_F(DirectInputDeviceTest, TheMouseReadsMotionSinceTheLastReadAndItsButtons) {
    win32::tests::RecordingWindowClass windows;
    win32::HWND window = windows.Create(win32::WS_OVERLAPPEDWINDOW | win32::WS_VISIBLE);
    ASSERT_NE(window, nullptr);
    win32::testing::MoveMouse(window, 50, 50);
    ASSERT_EQ(m_mouse->Acquire(), DI_OK);
    win32::testing::MoveMouse(window, 55, 47);
    win32::testing::MoveMouse(window, 60, 50);
    win32::testing::TurnMouseWheel(window, 2);
    win32::testing::TurnMouseWheel(window, -1);
    win32::testing::PressMouse(window, win32::testing::MouseButton::Right, 60, 50);
    windows.ClearLog();
    Pump();
    std::vector<win32::tests::Received> wheel = windows.Only(win32::WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 2U) << "the window hears the wheel too";
    EXPECT_EQ(static_cast<short>(win32::HIWORD(wheel[0].wParam)), 240);
    EXPECT_EQ(static_cast<short>(win32::HIWORD(wheel[1].wParam)), -120);
    DIMOUSESTATE state = MouseState();
    EXPECT_EQ(state.lX, 10);
    EXPECT_EQ(state.lY, 0);
    EXPECT_EQ(state.lZ, 120) << "a notch is WHEEL_DELTA";
    EXPECT_EQ(state.rgbButtons[0], 0);
    EXPECT_EQ(state.rgbButtons[1], 0x80);
    state = MouseState();
    EXPECT_EQ(state.lX, 0) << "read once";
    EXPECT_EQ(state.lZ, 0);
    EXPECT_EQ(state.rgbButtons[1], 0x80) << "buttons are state";

    ASSERT_EQ(m_mouse->Unacquire(), DI_OK);
    win32::testing::MoveMouse(window, 90, 90);
    ASSERT_EQ(m_mouse->Acquire(), DI_OK);
    EXPECT_EQ(MouseState().lX, 0) << "no motion gathers while the device is not acquired";
}

TEST_F(DirectInputDeviceTest, LostInputIsReportedOnceThenTheDeviceWaitsForAcquire) {
    ASSERT_EQ(m_keyboard->Acquire(), DI_OK);
    testing::LoseInput();
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys.data()), DIERR_INPUTLOST);
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
    testing::FailDeviceCall(testing::DeviceCall::Acquire, DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(m_keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    EXPECT_EQ(m_keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
    win32::testing::PressKey('A');
    EXPECT_EQ(m_keyboard->Acquire(), DI_OK);
    EXPECT_EQ(Keys()[0x1E], 0x80) << "a key pressed meanwhile is down";
}

} // namespace
} // namespace dinput
