#include "platform/testing/Clock.h"
#include "platform/testing/WindowTesting.h"
#include "platform/tests/RecordingWindow.h"
#include "platform/win32/LastError.h"
#include "platform/win32/kernel/Time.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace win32::tests {
namespace {

class MessageQueueTest : public WindowSystemTest {};

const HWND kThreadOnly = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));

std::vector<UINT> TakeAll(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
    std::vector<UINT> taken;
    MSG message;
    while (PeekMessageA(&message, filter, first, last, PM_REMOVE)) {
        taken.push_back(message.message);
        if (message.message == WM_QUIT) {
            break;
        }
    }
    return taken;
}

TEST_F(MessageQueueTest, PostedMessagesComeInOrderAndPeekWithoutRemoveLeavesThem) {
    RecordingWindowClass windows;
    HWND window = windows.Create();
    PostMessageA(window, WM_USER + 1, 11, 12);
    PostMessageA(nullptr, WM_USER + 2, 21, 22);
    PostMessageA(window, WM_USER + 3, 31, 32);

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, WM_USER + 1U);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 1U);
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.wParam, 11U);
    EXPECT_EQ(message.lParam, 12);
    EXPECT_EQ(TakeAll(), (std::vector<UINT>{WM_USER + 2, WM_USER + 3}));
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, FiltersTakeOnlyTheirWindowOrRange) {
    RecordingWindowClass windows;
    HWND first = windows.Create();
    HWND second = windows.Create();
    PostMessageA(first, WM_USER + 1, 0, 0);
    PostMessageA(second, WM_USER + 2, 0, 0);
    PostMessageA(nullptr, WM_USER + 3, 0, 0);
    PostMessageA(first, WM_APP, 0, 0);

    EXPECT_EQ(TakeAll(second), (std::vector<UINT>{WM_USER + 2}));
    EXPECT_EQ(TakeAll(kThreadOnly), (std::vector<UINT>{WM_USER + 3}));
    EXPECT_EQ(TakeAll(nullptr, WM_APP, WM_APP + 10), (std::vector<UINT>{WM_APP}));
    EXPECT_EQ(TakeAll(), (std::vector<UINT>{WM_USER + 1}));

    MSG message;
    DestroyWindow(second);
    EXPECT_FALSE(PeekMessageA(&message, second, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(GetMessageA(&message, second, 0, 0), -1);

    // WM_QUIT is the thread's: a window filter does not take it.
    PostQuitMessage(0);
    EXPECT_FALSE(PeekMessageA(&message, first, 0, 0, PM_REMOVE));
    EXPECT_EQ(TakeAll(kThreadOnly), (std::vector<UINT>{WM_QUIT}));
    DestroyWindow(first);
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessagesAndBeforeInputAndPaint) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    testing::TypeKey('A', window);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(testing::QuitPending());

    MSG message;
    std::vector<UINT> order;
    for (int i = 0; i < 5 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        order.push_back(message.message);
        if (message.message == WM_QUIT) {
            EXPECT_EQ(message.wParam, 3U);
            EXPECT_EQ(message.hwnd, nullptr);
        }
        if (message.message == WM_PAINT) {
            DispatchMessageA(&message);
        }
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_QUIT, WM_KEYDOWN, WM_KEYUP, WM_PAINT}));
    EXPECT_FALSE(testing::QuitPending());
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, GetMessageReturnsZeroForQuitAndPeekWithoutRemoveKeepsIt) {
    PostQuitMessage(0);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 0U);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));

    PostMessageA(nullptr, WM_USER, 0, 0);
    EXPECT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, WM_USER);
}

// One step of the application's message pump: for at most 2 ms by timeGetTime, peek without removing and take
// a message only when one is there, so that the step never blocks.
struct PumpStep {
    bool quit = false;
    WPARAM exitCode = 0;
    int dispatched = 0;

    static PumpStep Run() {
        PumpStep step;
        DWORD deadline = timeGetTime() + 2;
        MSG message;
        while (timeGetTime() < deadline) {
            if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
                break;
            }
            if (!GetMessageA(&message, nullptr, 0, 0)) {
                step.quit = true;
                step.exitCode = message.wParam;
                return step;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            ++step.dispatched;
        }
        return step;
    }
};

TEST_F(MessageQueueTest, ThePumpHandlesTwoMillisecondsOfMessagesAndNeverBlocks) {
    platform::testing::FakeClock clock(1000);
    RecordingWindowClass windows;
    HWND window = windows.Create();
    windows.SetAnswer([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            clock.Advance(1);
            return 0;
        }
        return std::nullopt;
    });
    for (int i = 0; i < 5; ++i) {
        PostMessageA(window, WM_USER, static_cast<WPARAM>(i), 0);
    }
    EXPECT_EQ(PumpStep::Run().dispatched, 2);
    EXPECT_EQ(PumpStep::Run().dispatched, 2);
    EXPECT_EQ(PumpStep::Run().dispatched, 1);
    // An empty queue ends the step at once; the clock does not move.
    EXPECT_EQ(PumpStep::Run().dispatched, 0);
    EXPECT_EQ(timeGetTime(), 1005U);
    std::vector<Received> handled = windows.Only(WM_USER);
    ASSERT_EQ(handled.size(), 5U);
    for (std::size_t i = 0; i < handled.size(); ++i) {
        EXPECT_EQ(handled[i].wParam, i);
    }
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, ThePumpStopsAtQuitWithItsExitCodeAfterTheMessagesPostedBefore) {
    platform::testing::FakeClock clock;
    RecordingWindowClass windows;
    HWND window = windows.Create();
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 1, 0, 0);
    PumpStep step = PumpStep::Run();
    EXPECT_TRUE(step.quit);
    EXPECT_EQ(step.exitCode, 7U);
    EXPECT_EQ(step.dispatched, 2) << "posted messages come before WM_QUIT";
    EXPECT_EQ(PumpStep::Run().quit, false);
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, MouseMovesDirectlyAfterAnotherForTheSameWindowAreMerged) {
    RecordingWindowClass windows;
    HWND window = windows.Create(WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    Drain();
    testing::MoveMouse(window, 1, 1);
    testing::MoveMouse(window, 2, 2);
    testing::MoveMouse(window, 3, 4);
    testing::Click(window, testing::MouseButton::Left, 3, 4);
    testing::MoveMouse(window, 5, 5);
    std::vector<MSG> queued = testing::QueuedMessages();
    ASSERT_EQ(queued.size(), 4U);
    EXPECT_EQ(queued[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(queued[0].lParam, MAKELPARAM(3, 4));
    EXPECT_EQ(queued[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(queued[2].message, WM_LBUTTONUP);
    EXPECT_EQ(queued[3].message, WM_MOUSEMOVE);
    EXPECT_EQ(queued[0].pt.x, 3);
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, SendMessageIsReentrant) {
    RecordingWindowClass windows;
    HWND outer = windows.Create();
    HWND inner = windows.Create();
    int depth = 0;
    windows.SetAnswer([&](HWND window, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER) {
            return std::nullopt;
        }
        ++depth;
        LRESULT result = static_cast<LRESULT>(wParam);
        if (wParam > 0) {
            // Each call sends to the other window, which sends back, until the count runs out.
            HWND other = window == outer ? inner : outer;
            result += SendMessageA(other, WM_USER, wParam - 1, 0);
            // A window destroyed in a nested call is gone when the outer call goes on.
            if (wParam == 2) {
                DestroyWindow(inner);
            }
        }
        return result;
    });
    EXPECT_EQ(SendMessageA(outer, WM_USER, 4, 0), 4 + 3 + 2 + 1 + 0);
    EXPECT_EQ(depth, 5);
    EXPECT_FALSE(testing::GetWindowState(inner).exists);
    EXPECT_EQ(SendMessageA(inner, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    DestroyWindow(outer);
}

TEST_F(MessageQueueTest, AnotherThreadsSendWaitsForTheOwnerAndItsPostWakesGetMessage) {
    RecordingWindowClass windows;
    HWND window = windows.Create();
    std::atomic<LRESULT> sendResult{-1};
    windows.SetAnswer([&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    });

    std::thread sender([&] {
        sendResult = SendMessageA(window, WM_USER, 21, 0);
        PostMessageA(window, WM_APP, 0, 0);
    });
    // The sent message is handled inside GetMessageA, which then returns the posted one.
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, WM_APP);
    sender.join();
    EXPECT_EQ(sendResult.load(), 42);
    EXPECT_EQ(windows.Only(WM_USER).size(), 1U);
    DestroyWindow(window);
}

TEST_F(MessageQueueTest, AThreadsWindowsGoWhenTheThreadEnds) {
    RecordingWindowClass windows;
    HWND orphan = nullptr;
    std::thread([&] { orphan = windows.Create(); }).join();
    ASSERT_NE(orphan, nullptr);
    EXPECT_FALSE(testing::GetWindowState(orphan).exists);
    EXPECT_EQ(SendMessageA(orphan, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageA(orphan, WM_USER, 0, 0));
}

TEST_F(MessageQueueTest, TranslateMessageAnswersForKeyMessagesOnly) {
    MSG key{nullptr, WM_KEYUP, 'A', 0, 0, {}};
    EXPECT_TRUE(TranslateMessage(&key));
    MSG other{nullptr, WM_USER, 'A', 0, 0, {}};
    EXPECT_FALSE(TranslateMessage(&other));
    MSG control{nullptr, WM_KEYDOWN, VK_SHIFT, 0, 0, {}};
    EXPECT_TRUE(TranslateMessage(&control));
    EXPECT_TRUE(testing::QueuedMessages().empty()) << "shift types no character";
}

} // namespace
} // namespace win32::tests
