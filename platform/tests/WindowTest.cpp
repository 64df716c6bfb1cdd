#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace win32::tests {
namespace {

using testing::GetWindowState;

class WindowTest : public WindowSystemTest {};

TEST_F(WindowTest, CreationSendsMinMaxNcCreateAndCreateWithTheParameterThenSizeAndMove) {
    RecordingWindowClass windows;
    int marker = 0;
    const CREATESTRUCTA* seenAtCreate = nullptr;
    LPVOID paramAtNcCreate = nullptr;
    windows.SetAnswer([&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_NCCREATE) {
            paramAtNcCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams;
        }
        if (message == WM_CREATE) {
            seenAtCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            EXPECT_EQ(seenAtCreate->lpCreateParams, &marker);
            EXPECT_STREQ(seenAtCreate->lpszName, "Title");
            EXPECT_EQ(seenAtCreate->cx, 400);
            EXPECT_EQ(seenAtCreate->cy, 300);
            return 0;
        }
        return std::nullopt;
    });
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, {10, 20, 410, 320}, "Title", &marker);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(paramAtNcCreate, &marker);
    EXPECT_NE(seenAtCreate, nullptr);
    EXPECT_EQ(windows.MessagesOf(window),
              (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
    testing::WindowState state = GetWindowState(window);
    EXPECT_FALSE(state.visible);
    EXPECT_EQ(state.text, "Title");
    EXPECT_EQ(state.rect.left, 10);
    EXPECT_EQ(state.rect.right, 410);
    Received size = windows.Only(WM_SIZE).at(0);
    EXPECT_EQ(size.wParam, SIZE_RESTORED);
    EXPECT_EQ(LOWORD(size.lParam), state.clientRect.right - state.clientRect.left);
    EXPECT_EQ(HIWORD(size.lParam), state.clientRect.bottom - state.clientRect.top);
    EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(WindowTest, AMinusOneFromCreateFailsTheCreationAfterDestroyMessages) {
    RecordingWindowClass windows;
    windows.SetAnswer([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            return -1;
        }
        return std::nullopt;
    });
    EXPECT_EQ(windows.Create(), nullptr);
    EXPECT_EQ(windows.MessagesOf(),
              (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(testing::LiveWindowCount(), 0U);
}

TEST_F(WindowTest, AFalseFromNcCreateFailsTheCreationBeforeCreate) {
    RecordingWindowClass windows;
    windows.SetAnswer([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_NCCREATE) {
            return FALSE;
        }
        return std::nullopt;
    });
    EXPECT_EQ(windows.Create(), nullptr);
    EXPECT_EQ(windows.MessagesOf(), (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY}));
}

TEST_F(WindowTest, ClassRegistrationErrors) {
    RecordingWindowClass windows;
    ASSERT_NE(windows.Atom(), 0);

    WNDCLASSEXA again{};
    again.cbSize = sizeof(again);
    again.lpfnWndProc = DefWindowProcA;
    again.hInstance = RecordingWindowClass::Instance();
    again.lpszClassName = "RECORDING window"; // names compare without regard to case
    EXPECT_EQ(RegisterClassExA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);

    WNDCLASSEXA wrongSize = again;
    wrongSize.cbSize = 48;
    wrongSize.lpszClassName = "Other";
    EXPECT_EQ(RegisterClassExA(&wrongSize), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_EQ(CreateWindowExA(0, "No Such Class", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);

    EXPECT_EQ(CreateWindowExA(0, RecordingWindowClass::kName, "", WS_CHILD, 0, 0, 10, 10, nullptr, nullptr,
                              RecordingWindowClass::Instance(), nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);

    HWND window = windows.Create();
    EXPECT_FALSE(UnregisterClassA(RecordingWindowClass::kName, RecordingWindowClass::Instance()));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(window);
    EXPECT_FALSE(UnregisterClassA("No Such Class", RecordingWindowClass::Instance()));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST_F(WindowTest, WindowLongZeroHoldsAPointerAndTellsAStoredZeroFromAFailure) {
    RecordingWindowClass windows;
    HWND window = windows.Create();
    int object = 0;
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetWindowLongA(window, 0, reinterpret_cast<LONG_PTR>(&object)), 0);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(GetWindowLongA(window, 0), reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(SetWindowLongA(window, 0, -1), reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(GetWindowLongA(window, 0), -1);

    struct Case {
        int index;
        DWORD error;
    };
    for (Case bad :
         {Case{4, ERROR_INVALID_INDEX}, Case{2, ERROR_INVALID_INDEX}, Case{-2, ERROR_INVALID_INDEX}}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(SetWindowLongA(window, bad.index, 7), 0);
        EXPECT_EQ(GetLastError(), bad.error) << bad.index;
    }
    DestroyWindow(window);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetWindowLongA(window, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTest, DestroyWindowSendsDestroyParentFirstAndNcDestroyChildFirstAndOwnedWindowsGoFirst) {
    RecordingWindowClass windows;
    HWND parent = windows.Create();
    HWND child = windows.Create(WS_CHILD | WS_VISIBLE, parent, {0, 0, 50, 50});
    HWND owned = windows.Create(WS_POPUP, parent, {0, 0, 50, 50});
    ASSERT_NE(child, nullptr);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(GetWindowState(owned).parent, parent);
    PostMessageA(parent, WM_USER, 0, 0);
    windows.ClearLog();

    EXPECT_TRUE(DestroyWindow(parent));
    std::vector<Received> expected{{owned, WM_DESTROY, 0, 0},   {owned, WM_NCDESTROY, 0, 0},
                                   {parent, WM_DESTROY, 0, 0},  {child, WM_DESTROY, 0, 0},
                                   {child, WM_NCDESTROY, 0, 0}, {parent, WM_NCDESTROY, 0, 0}};
    ASSERT_EQ(windows.Log().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(windows.Log()[i].window, expected[i].window) << i;
        EXPECT_EQ(windows.Log()[i].message, expected[i].message) << i;
    }
    for (HWND gone : {parent, child, owned}) {
        EXPECT_FALSE(GetWindowState(gone).exists);
    }
    EXPECT_TRUE(testing::QueuedMessages().empty()) << "messages for a destroyed window are dropped";
    EXPECT_FALSE(DestroyWindow(parent));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(WindowTest, OnlyTheOwningThreadDestroysAWindow) {
    RecordingWindowClass windows;
    HWND window = windows.Create();
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread([&] {
        result = DestroyWindow(window);
        error = GetLastError();
    }).join();
    EXPECT_FALSE(result);
    EXPECT_EQ(error, ERROR_ACCESS_DENIED);
    EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(WindowTest, DefaultProcessingClosesOnCloseAndOnTheCloseCommand) {
    RecordingWindowClass windows;
    HWND first = windows.Create();
    EXPECT_EQ(SendMessageA(first, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(GetWindowState(first).exists);

    HWND second = windows.Create();
    windows.ClearLog();
    // The low four bits of the command belong to the system and do not change it.
    SendMessageA(second, WM_SYSCOMMAND, SC_CLOSE | 0x3, 0);
    EXPECT_EQ(windows.MessagesOf(second, false), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(GetWindowState(second).exists);
}

TEST_F(WindowTest, TheRestoreCommandRestoresAMaximisedWindow) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, {100, 100, 500, 400});
    testing::SetDesktopSize(1024, 768);
    ShowWindow(window, SW_SHOWMAXIMIZED);
    testing::WindowState maximized = GetWindowState(window);
    EXPECT_TRUE(maximized.maximized);
    EXPECT_EQ(maximized.clientRect.right - maximized.clientRect.left, 1024);
    EXPECT_EQ(windows.Only(WM_SIZE).back().wParam, SIZE_MAXIMIZED);

    SendMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    testing::WindowState restored = GetWindowState(window);
    EXPECT_FALSE(restored.maximized);
    EXPECT_EQ(restored.rect.left, 100);
    EXPECT_EQ(restored.rect.right, 500);
    Received size = windows.Only(WM_SIZE).back();
    EXPECT_EQ(size.wParam, SIZE_RESTORED);
    EXPECT_EQ(LOWORD(size.lParam), restored.clientRect.right - restored.clientRect.left);
    DestroyWindow(window);
}

TEST_F(WindowTest, ShowingActivatesAndFocusesAndHidingTheActiveWindowDeactivates) {
    RecordingWindowClass windows;
    HWND window = windows.Create();
    windows.ClearLog();

    EXPECT_FALSE(ShowWindow(window, SW_SHOW));
    EXPECT_EQ(windows.MessagesOf(window),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS}));
    EXPECT_EQ(windows.Only(WM_ACTIVATEAPP).at(0).wParam, WPARAM{TRUE});
    EXPECT_EQ(LOWORD(windows.Only(WM_ACTIVATE).at(0).wParam), WA_ACTIVE);
    EXPECT_EQ(testing::ActiveWindow(), window);
    EXPECT_EQ(testing::FocusWindow(), window);

    windows.ClearLog();
    EXPECT_TRUE(ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(windows.Log().empty()) << "no change, no message";

    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_EQ(windows.MessagesOf(window),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS}));
    EXPECT_EQ(LOWORD(windows.Only(WM_ACTIVATE).at(0).wParam), WA_INACTIVE);
    EXPECT_EQ(testing::ActiveWindow(), nullptr);
    EXPECT_EQ(testing::FocusWindow(), nullptr);

    windows.ClearLog();
    ShowWindow(window, SW_SHOWNA);
    EXPECT_EQ(windows.MessagesOf(window), (std::vector<UINT>{WM_SHOWWINDOW}));
    DestroyWindow(window);
}

TEST_F(WindowTest, ActivationMovesBetweenWindowsAndSetActiveWindowReturnsThePreviousOne) {
    RecordingWindowClass windows;
    HWND first = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND second = windows.Create(WS_OVERLAPPEDWINDOW);
    ShowWindow(second, SW_SHOWNA);
    EXPECT_EQ(testing::ActiveWindow(), first);
    windows.ClearLog();

    EXPECT_TRUE(SetForegroundWindow(second));
    std::vector<Received> expected{{first, WM_ACTIVATE, 0, 0},
                                   {second, WM_ACTIVATE, 0, 0},
                                   {first, WM_KILLFOCUS, 0, 0},
                                   {second, WM_SETFOCUS, 0, 0}};
    ASSERT_EQ(windows.Log().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(windows.Log()[i].window, expected[i].window) << i;
        EXPECT_EQ(windows.Log()[i].message, expected[i].message) << i;
    }
    EXPECT_EQ(windows.Log()[0].lParam, reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(windows.Log()[1].lParam, reinterpret_cast<LPARAM>(first));

    EXPECT_EQ(SetActiveWindow(first), second);
    EXPECT_EQ(testing::ActiveWindow(), first);
    DestroyWindow(second);
    DestroyWindow(first);
    EXPECT_EQ(testing::ActiveWindow(), nullptr);
}

TEST_F(WindowTest, ShownWindowsAskForPaintingUntilValidated) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_PAINT);
    EXPECT_EQ(message.hwnd, window);
    // Taking WM_PAINT does not validate; only the default processing does.
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_PAINT);
    DispatchMessageA(&message);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    testing::HostExposes(window);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, WM_PAINT);
    DestroyWindow(window);
}

TEST_F(WindowTest, SetWindowTextSendsSetTextAndFindWindowMatchesWithoutCase) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 100, 100}, "First");
    HWND child = windows.Create(WS_CHILD, window, {0, 0, 10, 10}, "Child");
    EXPECT_TRUE(SetWindowTextA(window, "Quorven"));
    EXPECT_EQ(windows.Only(WM_SETTEXT).size(), 1U);
    EXPECT_EQ(GetWindowState(window).text, "Quorven");

    EXPECT_EQ(FindWindowA("recording WINDOW", "QUORVEN"), window);
    EXPECT_EQ(FindWindowA(nullptr, "Quorven"), window);
    EXPECT_EQ(FindWindowA(MAKEINTRESOURCEA(windows.Atom()), nullptr), window);
    EXPECT_EQ(FindWindowA(RecordingWindowClass::kName, "First"), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Child"), nullptr) << "child windows are not top-level windows";
    EXPECT_EQ(FindWindowA("Other Class", nullptr), nullptr);
    DestroyWindow(window);
    EXPECT_FALSE(GetWindowState(child).exists);
    EXPECT_EQ(FindWindowA(nullptr, "Quorven"), nullptr);
}

TEST_F(WindowTest, AnAdjustedClientRectangleGivesTheClientAreaAskedFor) {
    RecordingWindowClass windows;
    RECT rect{50, 60, 50 + 640, 60 + 480};
    ASSERT_TRUE(AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0));
    EXPECT_LT(rect.left, 50);
    EXPECT_LT(rect.top, 60);
    EXPECT_GT(rect.right - rect.left, 640);
    EXPECT_GT(rect.bottom - rect.top, 480);

    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, rect);
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.clientRect.left, 50);
    EXPECT_EQ(state.clientRect.top, 60);
    EXPECT_EQ(state.clientRect.right, 50 + 640);
    EXPECT_EQ(state.clientRect.bottom, 60 + 480);

    RECT popup{0, 0, 640, 480};
    AdjustWindowRectEx(&popup, WS_POPUP, FALSE, 0);
    EXPECT_EQ(popup.right - popup.left, 640) << "a borderless window has no frame";
    DestroyWindow(window);
}

TEST_F(WindowTest, MinMaxInfoAnswersLimitTheCreatedSize) {
    RecordingWindowClass windows;
    windows.SetAnswer([](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_GETMINMAXINFO) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMaxTrackSize = POINT{200, 150};
            return 0;
        }
        return std::nullopt;
    });
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW, nullptr, {0, 0, 400, 300});
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.rect.right - state.rect.left, 200);
    EXPECT_EQ(state.rect.bottom - state.rect.top, 150);
    DestroyWindow(window);
}

// A dialog procedure that keeps what it was given.
struct DialogRecord {
    static inline std::vector<Received> log;
    static inline INT_PTR initAnswer = TRUE;

    static INT_PTR Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        log.push_back(Received{dialog, message, wParam, lParam});
        return message == WM_INITDIALOG ? initAnswer : FALSE;
    }
};

TEST_F(WindowTest, AnIntegerTemplateGivesAnEmptyHiddenDialogThatSeesInitDialog) {
    DialogRecord::log.clear();
    RecordingWindowClass windows;
    HWND owner = windows.Create();
    HWND dialog = CreateDialogParamA(RecordingWindowClass::Instance(), MAKEINTRESOURCEA(101), owner,
                                     &DialogRecord::Procedure, 0x1234);
    ASSERT_NE(dialog, nullptr);
    testing::WindowState state = GetWindowState(dialog);
    EXPECT_TRUE(state.isDialog);
    EXPECT_FALSE(state.visible);
    EXPECT_EQ(state.parent, owner);
    auto init = std::find_if(DialogRecord::log.begin(), DialogRecord::log.end(),
                             [](const Received& received) { return received.message == WM_INITDIALOG; });
    ASSERT_NE(init, DialogRecord::log.end());
    EXPECT_EQ(init->lParam, 0x1234);
    EXPECT_EQ(init->wParam, 0U);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(SetWindowLongA(dialog, DWL_USER, 0x5678), 0);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_EQ(GetWindowLongA(dialog, DWL_USER), 0x5678);

    // Closing a dialog asks its owner's code for Cancel instead of destroying it.
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(GetWindowState(dialog).exists);
    DialogRecord::log.clear();
    Pump();
    ASSERT_FALSE(DialogRecord::log.empty());
    EXPECT_EQ(DialogRecord::log[0].message, WM_COMMAND);
    EXPECT_EQ(LOWORD(DialogRecord::log[0].wParam), IDCANCEL);

    DestroyWindow(owner);
    EXPECT_FALSE(GetWindowState(dialog).exists) << "an owned dialog goes with its owner";
}

TEST_F(WindowTest, ANamedDialogTemplateDoesNotExist) {
    DialogRecord::log.clear();
    EXPECT_EQ(CreateDialogParamA(nullptr, "IDD_MAIN", nullptr, &DialogRecord::Procedure, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_TRUE(DialogRecord::log.empty());
}

TEST_F(WindowTest, MouseInputGoesToTheChildUnderThePointInItsOwnCoordinates) {
    RecordingWindowClass windows(CS_DBLCLKS);
    HWND top = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 300, 200});
    HWND child = windows.Create(WS_CHILD | WS_VISIBLE, top, {100, 50, 200, 150});
    Drain();
    windows.ClearLog();

    testing::Click(top, testing::MouseButton::Left, 120, 70);
    testing::Click(top, testing::MouseButton::Left, 120, 70, 2);
    testing::Click(top, testing::MouseButton::Right, 10, 10);
    Pump();

    std::vector<Received> mouse;
    for (const Received& received : windows.Log()) {
        if (received.message >= WM_MOUSEFIRST && received.message <= WM_MOUSELAST) {
            mouse.push_back(received);
        }
    }
    struct Expected {
        HWND window;
        UINT message;
        WPARAM keys;
    };
    std::vector<Expected> expected{
        {child, WM_MOUSEMOVE, 0},          {child, WM_LBUTTONDOWN, MK_LBUTTON},
        {child, WM_LBUTTONUP, 0},          {child, WM_LBUTTONDBLCLK, MK_LBUTTON},
        {child, WM_LBUTTONUP, 0},          {top, WM_MOUSEMOVE, 0},
        {top, WM_RBUTTONDOWN, MK_RBUTTON}, {top, WM_RBUTTONUP, 0},
    };
    ASSERT_EQ(mouse.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(mouse[i].window, expected[i].window) << i;
        EXPECT_EQ(mouse[i].message, expected[i].message) << i;
        EXPECT_EQ(mouse[i].wParam, expected[i].keys) << i;
    }
    EXPECT_EQ(GET_X_LPARAM(mouse[1].lParam), 20);
    EXPECT_EQ(GET_Y_LPARAM(mouse[1].lParam), 20);
    EXPECT_EQ(GET_X_LPARAM(mouse[6].lParam), 10);
    DestroyWindow(top);
}

TEST_F(WindowTest, ADoubleClickNeedsTheDoubleClickClassStyle) {
    RecordingWindowClass windows;
    HWND top = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 300, 200});
    Drain();
    windows.ClearLog();
    testing::Click(top, testing::MouseButton::Left, 5, 5, 2);
    Pump();
    EXPECT_EQ(windows.Only(WM_LBUTTONDBLCLK).size(), 0U);
    EXPECT_EQ(windows.Only(WM_LBUTTONDOWN).size(), 1U);
    DestroyWindow(top);
}

TEST_F(WindowTest, KeysCarryScanCodesAndTranslateIntoCharacters) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Drain();
    windows.ClearLog();

    testing::PressKey(VK_LSHIFT);
    testing::TypeKey('Q');
    testing::ReleaseKey(VK_LSHIFT);
    testing::TypeKey(VK_OEM_1);
    Pump();

    std::vector<Received> keys;
    for (const Received& received : windows.Log()) {
        if (received.message >= WM_KEYFIRST && received.message <= WM_KEYLAST) {
            keys.push_back(received);
        }
    }
    struct Expected {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Expected> expected{
        {WM_KEYDOWN, VK_SHIFT, 0x002A0001}, {WM_KEYDOWN, 'Q', 0x00100001},
        {WM_CHAR, 'Q', 0x00100001},         {WM_KEYUP, 'Q', 0xC0100001},
        {WM_KEYUP, VK_SHIFT, 0xC02A0001},   {WM_KEYDOWN, VK_OEM_1, 0x00270001},
        {WM_CHAR, ';', 0x00270001},         {WM_KEYUP, VK_OEM_1, 0xC0270001},
    };
    ASSERT_EQ(keys.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(keys[i].message, expected[i].message) << i;
        EXPECT_EQ(keys[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(keys[i].lParam, expected[i].lParam) << i;
        EXPECT_EQ(keys[i].window, window) << i;
    }
    DestroyWindow(window);
}

TEST_F(WindowTest, AltMakesSystemKeysAndSystemCharacters) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Drain();
    windows.ClearLog();

    testing::PressKey(VK_LMENU);
    testing::TypeKey('X');
    testing::ReleaseKey(VK_LMENU);
    testing::TypeKey(VK_RIGHT);
    Pump();

    std::vector<Received> keys;
    for (const Received& received : windows.Log()) {
        if (received.message >= WM_KEYFIRST && received.message <= WM_KEYLAST) {
            keys.push_back(received);
        }
    }
    std::vector<std::pair<UINT, LPARAM>> expected{
        {WM_SYSKEYDOWN, 0x20380001}, {WM_SYSKEYDOWN, 0x202D0001}, {WM_SYSCHAR, 0x202D0001},
        {WM_SYSKEYUP, 0xE02D0001},   {WM_SYSKEYUP, 0xE0380001},   {WM_KEYDOWN, 0x014D0001},
        {WM_KEYUP, 0xC14D0001},
    };
    ASSERT_EQ(keys.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(keys[i].message, expected[i].first) << i;
        EXPECT_EQ(keys[i].lParam, expected[i].second) << i;
    }
    EXPECT_EQ(keys[2].wParam, WPARAM{'x'});
    DestroyWindow(window);
}

TEST_F(WindowTest, HostEventsBecomeWindowMessages) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, {0, 0, 400, 300});
    testing::HostUnfocuses(window);
    Drain();
    windows.ClearLog();

    testing::HostFocuses(window);
    testing::HostMoves(window, 70, 80);
    testing::HostResizes(window, 320, 240);
    testing::HostMinimizes(window);
    testing::HostRestores(window);
    EXPECT_EQ(windows.MessagesOf(window), (std::vector<UINT>{WM_ACTIVATEAPP, WM_ACTIVATE, WM_SETFOCUS,
                                                             WM_MOVE, WM_SIZE, WM_SIZE, WM_SIZE}));
    std::vector<Received> sizes = windows.Only(WM_SIZE);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(320, 240));
    EXPECT_EQ(sizes[1].wParam, SIZE_MINIMIZED);
    EXPECT_EQ(sizes[2].wParam, SIZE_RESTORED);
    EXPECT_EQ(sizes[2].lParam, MAKELPARAM(320, 240));
    testing::WindowState state = GetWindowState(window);
    EXPECT_EQ(state.clientRect.left, 70);
    EXPECT_EQ(state.clientRect.right, 70 + 320);

    testing::HostCloses(window);
    Pump();
    EXPECT_FALSE(GetWindowState(window).exists) << "the close box sends SC_CLOSE, which closes by default";
}

} // namespace
} // namespace win32::tests
