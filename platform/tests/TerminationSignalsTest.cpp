#include "platform/win32/kernel/TerminationSignals.h"

#include "platform/tests/ChildProcess.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

namespace win32::tests {
namespace {

constexpr int kClosedCode = 5;

LRESULT ClosingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        PostQuitMessage(kClosedCode);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ShowMainWindow() {
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = ClosingProcedure;
    record.lpszClassName = "Signal Test Window";
    RegisterClassExA(&record);
    CreateWindowExA(0, "Signal Test Window", "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                    nullptr, nullptr, nullptr);
}

// The message loop until WM_QUIT; its exit code.
int MessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

sigset_t TerminationSet() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        sigaddset(&signals, signal);
    }
    return signals;
}

// What a helper does, by its case; its exit code, unless a signal ends it.
int RunHelper(const std::string& which) {
    if (which == "nohup") {
        std::signal(SIGHUP, SIG_IGN);
        CatchTerminationSignals();
        std::raise(SIGHUP);
        return TakeTerminationRequest() ? 1 : 0;
    }
    if (!CatchTerminationSignals()) {
        return 99;
    }
    if (which == "twice") {
        std::raise(SIGTERM);
        std::raise(SIGINT);
        return 0;
    }
    if (which == "early") {
        // Before there is a main window: the request waits for one.
        std::raise(SIGTERM);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        ShowMainWindow();
        return MessageLoop();
    }
    // "sleeping": the signal lands on another thread while the loop sleeps; only the pipe can wake it.
    ShowMainWindow();
    const sigset_t signals = TerminationSet();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([signals] {
        pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::kill(::getpid(), SIGTERM);
    }).detach();
    return MessageLoop();
}

[[maybe_unused]] const int kHelper = [] {
    const char* which = std::getenv("VEMO_TEST_SIGNALS");
    if (which == nullptr) {
        return 0;
    }
    std::exit(RunHelper(which));
}();

int RunCase(const char* which) {
    return platform::tests::FinishChild(
        platform::tests::StartSelf({std::string("VEMO_TEST_SIGNALS=") + which, "VEMO_VIDEO=headless"}));
}

TEST(TerminationSignalsTest, TheFirstSignalClosesTheMainWindowAsItsCloseBoxDoes) {
    EXPECT_EQ(RunCase("sleeping"), kClosedCode) << "a loop asleep wakes for it";
    EXPECT_EQ(RunCase("early"), kClosedCode) << "a signal before the main window closes it once it is there";
}

TEST(TerminationSignalsTest, ASecondSignalEndsTheProgramAtOnceAndAnIgnoredOneStaysIgnored) {
    EXPECT_EQ(RunCase("twice"), 128 + SIGINT);
    EXPECT_EQ(RunCase("nohup"), 0);
}

} // namespace
} // namespace win32::tests
