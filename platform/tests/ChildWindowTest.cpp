#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/video/Overlays.h"
#include "platform/win32/LastError.h"
#include "platform/win32/gdi/Gdi.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace win32::tests {
namespace {

class ChildWindowTest : public WindowSystemTest {
protected:
    void SetUp() override {
        WindowSystemTest::SetUp();
        m_parent = m_class.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {100, 100, 500, 400});
        ASSERT_NE(m_parent, nullptr);
        m_child = m_class.Create(WS_CHILD | WS_VISIBLE, m_parent, {10, 10, 110, 110});
        ASSERT_NE(m_child, nullptr);
        Pump();
        m_class.ClearLog();
    }

    void TearDown() override {
        DestroyWindow(m_parent);
        WindowSystemTest::TearDown();
    }

    RecordingWindowClass m_class;
    HWND m_parent = nullptr;
    HWND m_child = nullptr;
};

// Stands in for a procedure that subclasses a window: it counts, then hands on to the one it replaced.
WNDPROC g_replaced = nullptr;
int g_seen = 0;
LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_seen;
    return CallWindowProcA(g_replaced, window, message, wParam, lParam);
}

TEST_F(ChildWindowTest, AReplacedProcedureGetsEveryMessageAndHandsItOn) {
    g_seen = 0;
    g_replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongA(m_child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProcedure)));
    ASSERT_NE(g_replaced, nullptr);
    EXPECT_EQ(GetWindowLongA(m_child, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&CountingProcedure));
    SendMessageA(m_child, WM_USER, 1, 2);
    EXPECT_EQ(g_seen, 1);
    EXPECT_EQ(m_class.MessagesOf(m_child), std::vector<UINT>{WM_USER});

    EXPECT_EQ(SetWindowLongA(m_child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_replaced)),
              reinterpret_cast<LONG_PTR>(&CountingProcedure));
    SendMessageA(m_child, WM_USER, 1, 2);
    EXPECT_EQ(g_seen, 1);

    SetLastError(0);
    EXPECT_EQ(SetWindowLongA(m_child, GWL_WNDPROC, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CallWindowProcA(nullptr, m_child, WM_USER, 0, 0), 0);
}

TEST_F(ChildWindowTest, UserDataIsPointerSizedAndReturnsTheOldValue) {
    const auto pointer = reinterpret_cast<LONG_PTR>(this);
    EXPECT_EQ(SetWindowLongA(m_child, GWL_USERDATA, pointer), 0);
    EXPECT_EQ(GetWindowLongA(m_child, GWL_USERDATA), pointer);
    EXPECT_EQ(SetWindowLongA(m_child, GWL_USERDATA, 7), pointer);
    EXPECT_EQ(GetWindowLongA(m_parent, GWL_USERDATA), 0);
}

TEST_F(ChildWindowTest, FocusMovesWithKillAndSetFocusAndKeysFollowIt) {
    SetFocus(m_child);
    EXPECT_EQ(GetFocus(), m_child);
    m_class.ClearLog();
    ASSERT_EQ(SetFocus(m_parent), m_child);
    ASSERT_EQ(m_class.Only(WM_KILLFOCUS).size(), 1U);
    EXPECT_EQ(m_class.Only(WM_KILLFOCUS)[0].window, m_child);
    EXPECT_EQ(m_class.Only(WM_KILLFOCUS)[0].wParam, reinterpret_cast<WPARAM>(m_parent));
    ASSERT_EQ(m_class.Only(WM_SETFOCUS).size(), 1U);
    EXPECT_EQ(m_class.Only(WM_SETFOCUS)[0].window, m_parent);
    EXPECT_EQ(m_class.Only(WM_SETFOCUS)[0].wParam, reinterpret_cast<WPARAM>(m_child));

    SetFocus(m_child);
    m_class.ClearLog();
    testing::TypeKey('A', m_parent);
    Pump();
    ASSERT_FALSE(m_class.Only(WM_KEYDOWN).empty());
    EXPECT_EQ(m_class.Only(WM_KEYDOWN)[0].window, m_child);

    DestroyWindow(m_child);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x1234)), nullptr);
}

TEST_F(ChildWindowTest, ADisabledChildTakesNoMouseAndLosesTheFocus) {
    SetFocus(m_child);
    EXPECT_TRUE(IsWindowEnabled(m_child));
    m_class.ClearLog();
    EXPECT_FALSE(EnableWindow(m_child, FALSE));
    EXPECT_EQ(GetWindowLongA(m_child, GWL_STYLE) & WS_DISABLED, WS_DISABLED);
    EXPECT_FALSE(IsWindowEnabled(m_child));
    EXPECT_EQ(GetFocus(), nullptr);
    ASSERT_EQ(m_class.Only(WM_ENABLE).size(), 1U);
    EXPECT_EQ(m_class.Only(WM_ENABLE)[0].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_TRUE(EnableWindow(m_child, FALSE)) << "already disabled: no message";
    EXPECT_EQ(m_class.Only(WM_ENABLE).size(), 1U);

    // The screen point of (20, 20) of the parent's client area, over the child.
    const testing::WindowState state = testing::GetWindowState(m_parent);
    const POINT origin{state.clientRect.left + 20, state.clientRect.top + 20};
    EXPECT_EQ(WindowFromPoint(origin), m_parent);
    m_class.ClearLog();
    testing::Click(m_parent, testing::MouseButton::Left, 20, 20);
    Pump();
    ASSERT_FALSE(m_class.Only(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(m_class.Only(WM_LBUTTONDOWN)[0].window, m_parent);

    EXPECT_TRUE(EnableWindow(m_child, TRUE));
    EXPECT_EQ(WindowFromPoint(origin), m_child);
    m_class.ClearLog();
    testing::Click(m_parent, testing::MouseButton::Left, 21, 21);
    Pump();
    ASSERT_FALSE(m_class.Only(WM_LBUTTONDOWN).empty());
    EXPECT_EQ(m_class.Only(WM_LBUTTONDOWN)[0].window, m_child);
    EXPECT_EQ(m_class.Only(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(11, 11));
}

TEST_F(ChildWindowTest, GetWindowFindsTheFirstChild) {
    HWND second = m_class.Create(WS_CHILD, m_parent, {0, 0, 5, 5});
    EXPECT_EQ(GetWindow(m_parent, GW_CHILD), m_child);
    EXPECT_EQ(GetWindow(m_child, GW_CHILD), nullptr);
    EXPECT_EQ(GetWindow(m_parent, 2), nullptr);
    DestroyWindow(m_child);
    EXPECT_EQ(GetWindow(m_parent, GW_CHILD), second);
}

TEST_F(ChildWindowTest, TheMessageTimeAndPositionAreThoseOfTheLastMessageTaken) {
    testing::MoveMouse(m_parent, 50, 60);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
    EXPECT_EQ(GetMessageTime(), static_cast<LONG>(message.time));
    const DWORD position = GetMessagePos();
    EXPECT_EQ(static_cast<LONG>(LOWORD(position)), message.pt.x);
    EXPECT_EQ(static_cast<LONG>(HIWORD(position)), message.pt.y);
    const testing::WindowState state = testing::GetWindowState(m_parent);
    EXPECT_EQ(message.pt.x, state.clientRect.left + 50);
}

TEST_F(ChildWindowTest, ControlParentIsKeptAndTheWhiteBrushIsAStockObject) {
    HWND host = CreateWindowExA(WS_EX_CONTROLPARENT, RecordingWindowClass::kName, nullptr, WS_CHILD, 0, 0, 10,
                                10, m_parent, nullptr, RecordingWindowClass::Instance(), nullptr);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(GetWindowLongA(host, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_CONTROLPARENT));
    EXPECT_NE(GetStockObject(WHITE_BRUSH), nullptr);
    EXPECT_NE(GetStockObject(WHITE_BRUSH), GetStockObject(BLACK_BRUSH));
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
}

TEST_F(ChildWindowTest, AFramePartBesideAChildWithABackgroundBrushIsLeftAsItWas) {
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = DefWindowProcA;
    record.hInstance = GetModuleHandleA(nullptr);
    record.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    record.lpszClassName = "WhiteBackedChild";
    ASSERT_NE(RegisterClassExA(&record), 0);
    HWND white = CreateWindowExA(0, "WhiteBackedChild", "", WS_CHILD | WS_VISIBLE, 200, 10, 50, 50, m_parent,
                                 nullptr, record.hInstance, nullptr);
    ASSERT_NE(white, nullptr);
    // The changed part of a frame: the client area's first 100 columns, all to the left of the child; what
    // lies past the part stands for the memory beyond it.
    const int width = 100;
    const int height = 300;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height + 64, 0x123456);
    video::OverlayFrame part{pixels.data(), width, height, width * 4, {0, 0}};
    video::ComposeWindowOverlays(m_parent, part);
    EXPECT_TRUE(
        std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t pixel) { return pixel == 0x123456; }));
    // The whole client area does show the child's white.
    std::vector<std::uint32_t> whole(400 * 300, 0);
    video::OverlayFrame frame{whole.data(), 400, 300, 400 * 4, {0, 0}};
    video::ComposeWindowOverlays(m_parent, frame);
    EXPECT_EQ(whole[20 * 400 + 210] & 0xFFFFFF, 0xFFFFFFU);
    DestroyWindow(white);
    UnregisterClassA("WhiteBackedChild", record.hInstance);
}

} // namespace
} // namespace win32::tests
