#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

namespace win32::tests {
namespace {

using testing::GetWindowState;

class WindowGeometryTest : public WindowSystemTest {};

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(WindowGeometryTest, RectanglesOfATopLevelWindowAndOfAChildAreOnTheScreen) {
    RecordingWindowClass windows;
    HWND top = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {100, 100, 500, 400});
    HWND child = windows.Create(WS_CHILD | WS_BORDER | WS_VISIBLE, top, {10, 20, 110, 70});
    const testing::WindowState state = GetWindowState(top);

    RECT rect{};
    ASSERT_TRUE(GetWindowRect(top, &rect));
    EXPECT_TRUE(SameRect(rect, RECT{100, 100, 500, 400}));
    ASSERT_TRUE(GetWindowRect(child, &rect));
    EXPECT_TRUE(SameRect(rect, RECT{state.clientRect.left + 10, state.clientRect.top + 20,
                                    state.clientRect.left + 110, state.clientRect.top + 70}));
    ASSERT_TRUE(GetClientRect(top, &rect));
    EXPECT_TRUE(SameRect(rect, RECT{0, 0, state.clientRect.right - state.clientRect.left,
                                    state.clientRect.bottom - state.clientRect.top}));
    ASSERT_TRUE(GetClientRect(child, &rect));
    EXPECT_TRUE(SameRect(rect, RECT{0, 0, 98, 48})) << "inside the child's one-pixel border";

    // The frame that AdjustWindowRect adds is the window's own: its top-left corner is the client area's
    // offset in the window.
    RECT frame{0, 0, 0, 0};
    ASSERT_TRUE(AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE));
    EXPECT_EQ(state.clientRect.left - state.rect.left, -frame.left);
    EXPECT_EQ(state.clientRect.top - state.rect.top, -frame.top);

    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetParent(top), nullptr);
    DestroyWindow(top);
    SetLastError(0);
    EXPECT_FALSE(GetWindowRect(top, &rect));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(GetParent(child), nullptr);
}

TEST_F(WindowGeometryTest, APointOnTheRightOrBottomEdgeIsOutside) {
    const RECT rect{10, 20, 30, 40};
    EXPECT_TRUE(PtInRect(&rect, POINT{10, 20}));
    EXPECT_TRUE(PtInRect(&rect, POINT{29, 39}));
    EXPECT_FALSE(PtInRect(&rect, POINT{30, 39}));
    EXPECT_FALSE(PtInRect(&rect, POINT{29, 40}));
    EXPECT_FALSE(PtInRect(&rect, POINT{9, 20}));
    EXPECT_FALSE(PtInRect(nullptr, POINT{10, 20}));
}

TEST_F(WindowGeometryTest, TheWindowUnderAPointIsTheTopMostVisibleOneAndItsDeepestChild) {
    RecordingWindowClass windows;
    HWND early = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 300, 300});
    HWND child = windows.Create(WS_CHILD | WS_VISIBLE, early, {10, 10, 60, 60});
    HWND inner = windows.Create(WS_CHILD | WS_VISIBLE, child, {5, 5, 15, 15});
    HWND hiddenChild = windows.Create(WS_CHILD, early, {100, 100, 200, 200});
    HWND late = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {200, 200, 400, 400});
    SetActiveWindow(nullptr);

    EXPECT_EQ(WindowFromPoint(POINT{12, 12}), child);
    EXPECT_EQ(WindowFromPoint(POINT{25, 25}), child);
    EXPECT_EQ(WindowFromPoint(POINT{16, 16}), inner);
    EXPECT_EQ(WindowFromPoint(POINT{150, 150}), early) << "a hidden child is not under any point";
    EXPECT_EQ(WindowFromPoint(POINT{250, 250}), late) << "the later window lies above";
    EXPECT_EQ(WindowFromPoint(POINT{500, 500}), nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{300, 250}), late) << "the earlier window's right edge is outside it";

    SetActiveWindow(early);
    EXPECT_EQ(WindowFromPoint(POINT{250, 250}), early) << "the active window lies above";
    SetWindowPos(late, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint(POINT{250, 250}), late) << "a topmost window lies above the active one";
    ShowWindow(late, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(POINT{350, 350}), nullptr);
    ShowWindow(late, SW_MINIMIZE);
    EXPECT_EQ(WindowFromPoint(POINT{250, 250}), early) << "a minimised window covers nothing";
    EXPECT_NE(hiddenChild, nullptr);
    DestroyWindow(late);
    DestroyWindow(early);
}

} // namespace
} // namespace win32::tests
