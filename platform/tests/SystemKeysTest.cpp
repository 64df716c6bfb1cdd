#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

namespace win32::tests {
namespace {

class SystemKeysTest : public WindowSystemTest {};

TEST_F(SystemKeysTest, AltPressedAndReleasedAloneAsksForTheWindowMenu) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Drain();
    windows.ClearLog();
    const std::size_t before = testing::WindowMenuRequests();

    testing::PressKey(VK_LMENU);
    testing::PressKey(VK_LMENU, nullptr, true);
    testing::ReleaseKey(VK_LMENU);
    Pump();
    const std::vector<Received> commands = windows.Only(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1U);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, SC_KEYMENU);
    EXPECT_EQ(testing::WindowMenuRequests(), before + 1);

    // Another key between press and release makes it a shortcut, not a request for the menu.
    windows.ClearLog();
    testing::PressKey(VK_LMENU);
    testing::TypeKey('X');
    testing::ReleaseKey(VK_LMENU);
    testing::PressKey(VK_LMENU);
    testing::TypeKey(VK_SHIFT);
    testing::ReleaseKey(VK_LMENU);
    Pump();
    EXPECT_TRUE(windows.Only(WM_SYSCOMMAND).empty());

    // A window that swallows the request keeps the menu shut.
    windows.SetAnswer([](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) {
            return 0;
        }
        return std::nullopt;
    });
    testing::TypeKey(VK_LMENU);
    Pump();
    EXPECT_EQ(windows.Only(WM_SYSCOMMAND).size(), 1U);
    EXPECT_EQ(testing::WindowMenuRequests(), before + 1);
    DestroyWindow(window);
}

} // namespace
} // namespace win32::tests
