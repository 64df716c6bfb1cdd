#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

namespace win32::tests {
namespace {

using testing::GetWindowState;

class WindowPositionTest : public WindowSystemTest {
protected:
    static LONG Width(const RECT& rect) { return rect.right - rect.left; }
    static LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

    static DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
};

TEST_F(WindowPositionTest, TheStyleLongReadsTheWindowsStateAndSettingItShowsOrHidesWithoutMessages) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, {100, 100, 500, 400});
    EXPECT_EQ(Style(window), WS_OVERLAPPEDWINDOW);
    ShowWindow(window, SW_SHOW);
    EXPECT_EQ(Style(window), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Pump();
    windows.ClearLog();

    const DWORD fullScreen = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(static_cast<DWORD>(SetWindowLongA(window, GWL_STYLE, fullScreen)),
              WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    EXPECT_EQ(Style(window), fullScreen);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(windows.Log().empty());
    // The frame is gone at once: the client area is the window rectangle.
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.clientRect.left, state.rect.left);
    EXPECT_EQ(Width(state.clientRect), 400);

    EXPECT_EQ(SetWindowLongA(window, GWL_EXSTYLE, WS_EX_TOPMOST), 0);
    EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), WS_EX_TOPMOST);
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(fullScreen | WS_VISIBLE));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(windows.Log().empty());

    ShowWindow(window, SW_MINIMIZE);
    EXPECT_EQ(Style(window), fullScreen | WS_VISIBLE | WS_MINIMIZE);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_SHOWMAXIMIZED);
    EXPECT_EQ(Style(window), fullScreen | WS_VISIBLE | WS_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_FALSE(IsIconic(window));
    // WS_CHILD cannot be given to a top-level window through its style.
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(Style(window) & WS_CHILD, 0U);
}

TEST_F(WindowPositionTest, AFrameChangeWithNoMoveNoSizeNoZOrderSendsTheNewClientSize) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 640, 480});
    Pump();
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    windows.ClearLog();
    ASSERT_TRUE(
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED));
    std::vector<Received> sizes = windows.Only(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1U);
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.rect.right, 640) << "the window rectangle stays";
    EXPECT_EQ(LOWORD(sizes[0].lParam), Width(state.clientRect));
    EXPECT_EQ(HIWORD(sizes[0].lParam), Height(state.clientRect));
    EXPECT_LT(Width(state.clientRect), 640);
    ASSERT_EQ(windows.Only(WM_MOVE).size(), 1U);

    windows.ClearLog();
    ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER));
    EXPECT_TRUE(windows.Only(WM_SIZE).empty());
    EXPECT_TRUE(windows.Only(WM_MOVE).empty());
}

TEST_F(WindowPositionTest, SetWindowPosMovesSizesAndMakesTopmost) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP, nullptr, {0, 0, 100, 100});
    windows.ClearLog();
    ASSERT_TRUE(SetWindowPos(window, HWND_TOPMOST, 10, 20, 300, 200, SWP_SHOWWINDOW));
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.rect.left, 10);
    EXPECT_EQ(state.rect.top, 20);
    EXPECT_EQ(Width(state.rect), 300);
    EXPECT_EQ(Height(state.rect), 200);
    EXPECT_NE(state.exStyle & WS_EX_TOPMOST, 0U);
    EXPECT_TRUE(state.visible);
    EXPECT_EQ(testing::ActiveWindow(), window);
    std::vector<Received> sizes = windows.Only(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1U);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(300, 200));
    std::vector<Received> moves = windows.Only(WM_MOVE);
    ASSERT_EQ(moves.size(), 1U);
    EXPECT_EQ(moves[0].lParam, MAKELPARAM(10, 20));

    ASSERT_TRUE(SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW));
    state = GetWindowState(window);
    EXPECT_EQ(state.exStyle & WS_EX_TOPMOST, 0U);
    EXPECT_FALSE(state.visible);
    EXPECT_EQ(Width(state.rect), 300);

    EXPECT_FALSE(SetWindowPos(reinterpret_cast<HWND>(0x2), nullptr, 0, 0, 1, 1, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowPositionTest, MoveWindowPlacesTheOuterRectangleAndRepaintsWhenAsked) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 200, 200});
    Drain();
    ASSERT_TRUE(MoveWindow(window, 50, 60, 400, 300, FALSE));
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.rect.left, 50);
    EXPECT_EQ(state.rect.bottom, 360);
    EXPECT_FALSE(state.needsPaint);
    ASSERT_TRUE(MoveWindow(window, 50, 60, 420, 300, TRUE));
    EXPECT_TRUE(GetWindowState(window).needsPaint);
}

TEST_F(WindowPositionTest, GetMenuAnswersATopLevelWindowsMenuOnly) {
    RecordingWindowClass windows;
    HMENU menu = reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(0x77));
    HWND window = CreateWindowExA(0, RecordingWindowClass::kName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, menu, RecordingWindowClass::Instance(), nullptr);
    ASSERT_NE(window, nullptr);
    HWND child = CreateWindowExA(0, RecordingWindowClass::kName, "", WS_CHILD, 0, 0, 10, 10, window, menu,
                                 RecordingWindowClass::Instance(), nullptr);
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(GetMenu(child), nullptr);
    DestroyWindow(window);
}

TEST_F(WindowPositionTest, BeginPaintGivesTheInvalidatedAreaAndValidates) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 80});
    Drain();
    ASSERT_FALSE(GetWindowState(window).needsPaint);
    RECT first{5, 5, 10, 10};
    RECT second{20, 0, 130, 8};
    ASSERT_TRUE(InvalidateRect(window, &first, FALSE));
    ASSERT_TRUE(InvalidateRect(window, &second, FALSE));
    PAINTSTRUCT paint{};
    EXPECT_EQ(BeginPaint(window, &paint), nullptr);
    EXPECT_EQ(paint.rcPaint.left, 5);
    EXPECT_EQ(paint.rcPaint.top, 0);
    EXPECT_EQ(paint.rcPaint.right, 100) << "cut to the client area";
    EXPECT_EQ(paint.rcPaint.bottom, 10);
    EXPECT_FALSE(paint.fErase);
    EXPECT_TRUE(EndPaint(window, &paint));
    EXPECT_FALSE(GetWindowState(window).needsPaint);

    ASSERT_TRUE(InvalidateRect(window, &first, FALSE));
    ASSERT_TRUE(InvalidateRect(window, nullptr, TRUE));
    ASSERT_TRUE(InvalidateRect(window, &first, FALSE));
    BeginPaint(window, &paint);
    EXPECT_EQ(paint.rcPaint.right, 100);
    EXPECT_EQ(paint.rcPaint.bottom, 80);
    EXPECT_TRUE(paint.fErase);
    EndPaint(window, &paint);

    BeginPaint(window, &paint);
    EXPECT_EQ(paint.rcPaint.right - paint.rcPaint.left, 0) << "nothing left to paint";
    EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(0x2), nullptr, FALSE));
}

TEST_F(WindowPositionTest, UpdateWindowSendsPaintAtOnceToAVisibleWindowThatNeedsIt) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 80});
    Drain();
    windows.ClearLog();
    ASSERT_TRUE(UpdateWindow(window));
    EXPECT_TRUE(windows.Only(WM_PAINT).empty());
    InvalidateRect(window, nullptr, FALSE);
    ASSERT_TRUE(UpdateWindow(window));
    EXPECT_EQ(windows.Only(WM_PAINT).size(), 1U);
    EXPECT_FALSE(GetWindowState(window).needsPaint) << "the default processing validated it";

    ShowWindow(window, SW_HIDE);
    InvalidateRect(window, nullptr, FALSE);
    windows.ClearLog();
    ASSERT_TRUE(UpdateWindow(window));
    EXPECT_TRUE(windows.Only(WM_PAINT).empty());
}

TEST_F(WindowPositionTest, VisibilityFollowsTheParentsAndAWindowEndsWithItsDestruction) {
    RecordingWindowClass windows;
    HWND parent = windows.Create(WS_OVERLAPPEDWINDOW, nullptr);
    HWND child = windows.Create(WS_CHILD | WS_VISIBLE, parent, {0, 0, 10, 10});
    EXPECT_TRUE(IsWindow(child));
    EXPECT_FALSE(IsWindowVisible(child));
    ShowWindow(parent, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(child));
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindowVisible(parent));
    EXPECT_FALSE(IsIconic(parent));
}

} // namespace
} // namespace win32::tests
