#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

namespace win32::tests {
namespace {

class RegisteredMessagesTest : public WindowSystemTest {};

TEST_F(RegisteredMessagesTest, EachNameHasOneNumberFrom0xC000) {
    const UINT first = RegisterWindowMessageA("Vemo Test Message One");
    const UINT second = RegisterWindowMessageA("Vemo Test Message Two");
    EXPECT_GE(first, 0xC000U);
    EXPECT_LE(first, 0xFFFFU);
    EXPECT_NE(first, second);
    EXPECT_EQ(RegisterWindowMessageA("Vemo Test Message One"), first);
    EXPECT_EQ(RegisterWindowMessageA("VEMO TEST MESSAGE one"), first);
}

TEST_F(RegisteredMessagesTest, ANameIsNeeded) {
    SetLastError(0);
    EXPECT_EQ(RegisterWindowMessageA(""), 0U);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegisterWindowMessageA(nullptr), 0U);
}

TEST_F(RegisteredMessagesTest, ARegisteredMessageReachesTheWindowProcedure) {
    const UINT message = RegisterWindowMessageA("Vemo Test Question");
    RecordingWindowClass windows;
    windows.SetAnswer([message](HWND, UINT received, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (received == message) {
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    });
    HWND window = windows.Create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(SendMessageA(window, message, 21, 0), 42);
    DestroyWindow(window);
}

} // namespace
} // namespace win32::tests
