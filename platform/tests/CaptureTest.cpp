#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace win32::tests {
namespace {

using testing::MouseButton;

class CaptureTest : public WindowSystemTest {
protected:
    // The mouse messages the windows received: window, message and point.
    std::vector<Received> Mouse() const {
        std::vector<Received> mouse;
        for (const Received& received : m_windows.Log()) {
            if (received.message >= WM_MOUSEFIRST && received.message <= WM_MOUSELAST) {
                mouse.push_back(received);
            }
        }
        return mouse;
    }

    RecordingWindowClass m_windows;
};

TEST_F(CaptureTest, TheWindowThatLosesTheCaptureIsToldWhoTookIt) {
    HWND first = m_windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    HWND second = m_windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {200, 0, 300, 100});
    Drain();
    m_windows.ClearLog();

    EXPECT_EQ(SetCapture(first), nullptr);
    EXPECT_EQ(GetCapture(), first);
    EXPECT_EQ(SetCapture(first), first);
    EXPECT_TRUE(m_windows.Only(WM_CAPTURECHANGED).empty()) << "taking it again tells nobody";
    EXPECT_EQ(SetCapture(second), first);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(first);
    testing::TakeCaptureAway();
    EXPECT_EQ(GetCapture(), nullptr);

    const std::vector<Received> changes = m_windows.Only(WM_CAPTURECHANGED);
    ASSERT_EQ(changes.size(), 3U);
    EXPECT_EQ(changes[0].window, first);
    EXPECT_EQ(reinterpret_cast<HWND>(changes[0].lParam), second);
    EXPECT_EQ(changes[1].window, second);
    EXPECT_EQ(changes[1].lParam, 0);
    EXPECT_EQ(changes[2].window, first);
    EXPECT_EQ(changes[2].lParam, 0);

    EXPECT_EQ(SetCapture(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234))), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(second);
    DestroyWindow(second);
    EXPECT_EQ(GetCapture(), nullptr) << "a destroyed window holds no capture";
    DestroyWindow(first);
}

TEST_F(CaptureTest, TheHolderGetsTheMouseOutsideItsClientAreaInItsOwnCoordinates) {
    HWND window = m_windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {100, 100, 200, 200});
    HWND other = m_windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {300, 100, 400, 200});
    Drain();
    testing::PressMouse(window, MouseButton::Left, 10, 10);
    Pump();
    SetCapture(window);
    m_windows.ClearLog();

    // Moves one after the other fold into the last: each is taken before the next.
    testing::MovePointerTo(350, 150);
    Pump();
    testing::MovePointerTo(20, 30);
    Pump();
    testing::ReleaseMouse(window, MouseButton::Left, -80, -70);
    Pump();
    const std::vector<Received> mouse = Mouse();
    ASSERT_EQ(mouse.size(), 3U);
    for (const Received& received : mouse) {
        EXPECT_EQ(received.window, window);
    }
    EXPECT_EQ(GET_X_LPARAM(mouse[0].lParam), 250);
    EXPECT_EQ(GET_Y_LPARAM(mouse[0].lParam), 50);
    EXPECT_EQ(GET_X_LPARAM(mouse[1].lParam), -80);
    EXPECT_EQ(GET_Y_LPARAM(mouse[1].lParam), -70);
    EXPECT_EQ(mouse[2].message, WM_LBUTTONUP);

    ReleaseCapture();
    m_windows.ClearLog();
    testing::MovePointerTo(350, 150);
    Pump();
    testing::MovePointerTo(5, 5);
    Pump();
    const std::vector<Received> free = Mouse();
    ASSERT_EQ(free.size(), 1U) << "without the capture the pointer over no window tells nobody";
    EXPECT_EQ(free[0].window, other);
    EXPECT_EQ(GET_X_LPARAM(free[0].lParam), 50);
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 5);
    EXPECT_EQ(cursor.y, 5);
    DestroyWindow(other);
    DestroyWindow(window);
}

} // namespace
} // namespace win32::tests
