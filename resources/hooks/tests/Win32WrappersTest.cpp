#include "resources/hooks/Win32Wrappers.h"

#include "platform/testing/WindowTesting.h"
#include "platform/win32/LastError.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;

const win32::HINSTANCE kInstance =
    reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

class Win32WrappersTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = win32::DefWindowProcA;
        record.cbWndExtra = 4;
        record.hInstance = kInstance;
        record.lpszClassName = "Wrapper Test";
        ASSERT_NE(Win32RegisterClassEx(&record), 0);
    }

    void TearDown() override { EXPECT_TRUE(win32::UnregisterClassA("Wrapper Test", kInstance)); }
};

TEST_F(Win32WrappersTest, WindowCallsTakeStrings) {
    // The style comes first, then the extended style.
    win32::HWND window = Win32CreateWindowEx(win32::WS_POPUP, win32::WS_EX_TOPMOST, "Wrapper Test", String(),
                                             0, 0, 100, 100, nullptr, nullptr, kInstance, nullptr);
    ASSERT_NE(window, nullptr);
    win32::testing::WindowState state = win32::testing::GetWindowState(window);
    EXPECT_EQ(state.style, win32::WS_POPUP);
    EXPECT_EQ(state.exStyle, win32::WS_EX_TOPMOST);
    EXPECT_EQ(state.text, "");

    EXPECT_TRUE(Win32SetWindowText(window, "Quorven"));
    EXPECT_EQ(Win32FindWindow("wrapper test", "QUORVEN"), window);
    EXPECT_TRUE(Win32SetWindowText(window, String()));
    EXPECT_EQ(win32::testing::GetWindowState(window).text, "");

    EXPECT_EQ(Win32SetWindowLong(window, 0, 42), 0);
    EXPECT_EQ(Win32GetWindowLong(window, 0), 42);
    EXPECT_TRUE(win32::DestroyWindow(window));
}

TEST_F(Win32WrappersTest, AFailedGetMessageIsNoMessage) {
    win32::HWND window = Win32CreateWindowEx(win32::WS_POPUP, 0, "Wrapper Test", "", 0, 0, 10, 10, nullptr,
                                             nullptr, kInstance, nullptr);
    ASSERT_TRUE(win32::DestroyWindow(window));
    win32::MSG message{};
    // GetMessageA answers -1 for a filter window that does not exist.
    EXPECT_FALSE(Win32GetMessage(&message, window, 0, 0));
    EXPECT_EQ(win32::GetLastError(), win32::ERROR_INVALID_WINDOW_HANDLE);

    win32::PostMessageA(nullptr, win32::WM_USER, 1, 2);
    EXPECT_TRUE(Win32PeekMessage(&message, nullptr, 0, 0, win32::PM_NOREMOVE));
    EXPECT_TRUE(Win32GetMessage(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<win32::UINT>(win32::WM_USER));
    EXPECT_EQ(Win32DispatchMessage(&message), 0) << "a thread message has no window procedure";
    win32::PostQuitMessage(0);
    EXPECT_FALSE(Win32GetMessage(&message, nullptr, 0, 0));
}

} // namespace
