#include "platform/tests/ChildProcess.h"
#include "platform/tests/ScopedVariable.h"
#include "platform/win32/LastError.h"
#include "platform/win32/windows/Window.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace win32::tests {
namespace {

constexpr const char* kClass = "Exchange Test Window";
constexpr UINT kExitMessage = WM_USER + 1;

// Started as the helper (by the environment below), the test program makes a hidden top-level window titled
// as asked and sleeps in WaitMessage until messages arrive, which it dispatches: a kExitMessage ends it with
// wParam as its exit code.
[[maybe_unused]] const int kHelper = [] {
    const char* title = std::getenv("VEMO_TEST_EXCHANGE_TITLE");
    if (title == nullptr) {
        return 0;
    }
    WNDCLASSEXA record{};
    record.cbSize = sizeof record;
    record.lpfnWndProc = DefWindowProcA;
    record.cbWndExtra = 4;
    record.lpszClassName = kClass;
    RegisterClassExA(&record);
    CreateWindowExA(0, kClass, title, WS_OVERLAPPEDWINDOW, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    for (;;) {
        WaitMessage();
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == kExitMessage) {
                std::exit(static_cast<int>(message.wParam));
            }
            DispatchMessageA(&message);
        }
    }
}();

HWND FindWithin(const char* title, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (HWND found = FindWindowA(kClass, title)) {
            return found;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return nullptr;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST(WindowExchangeTest, AnotherProcessesWindowIsFoundAndPostedToAndItsWaitWakes) {
    const std::string desktop = "exchange-test-" + std::to_string(::getpid());
    const std::string title = "Exchange " + std::to_string(::getpid());
    const std::string log = ::testing::TempDir() + "exchange-log-" + std::to_string(::getpid()) + ".txt";
    const win32::PROCESS_INFORMATION child =
        platform::tests::StartSelf({"VEMO_DESKTOP=" + desktop, "VEMO_VIDEO=headless",
                                    "VEMO_TEST_EXCHANGE_TITLE=" + title, "VEMO_HEADLESS_LOG=" + log});

    HWND found = nullptr;
    {
        platform::tests::ScopedVariable same("VEMO_DESKTOP", desktop);
        found = FindWithin(title.c_str(), std::chrono::seconds(30));
        if (found == nullptr) {
            ::kill(static_cast<pid_t>(child.dwProcessId), SIGKILL);
            platform::tests::FinishChild(child);
            FAIL() << "the other process's window was not found";
        }
        EXPECT_EQ(FindWindowA("exchange TEST window", title.c_str()), found) << "one stand-in a window";
        EXPECT_EQ(FindWindowA(kClass, "Another title"), nullptr);
        EXPECT_EQ(FindWindowA(nullptr, title.c_str()), nullptr) << "other processes are asked for a class";
        EXPECT_FALSE(IsWindow(found)) << "a stand-in is no window of this process";
    }
    {
        platform::tests::ScopedVariable other("VEMO_DESKTOP", desktop + "-other");
        EXPECT_EQ(FindWindowA(kClass, title.c_str()), nullptr);
    }
    {
        platform::tests::ScopedVariable alone("VEMO_DESKTOP", "private");
        EXPECT_EQ(FindWindowA(kClass, title.c_str()), nullptr);
    }

    // The single-instance protocol's last step: the first instance is asked to come forward.
    EXPECT_TRUE(PostMessageA(found, WM_SYSCOMMAND, SC_RESTORE, 0));
    EXPECT_TRUE(PostMessageA(found, kExitMessage, 42, 0));
    EXPECT_EQ(platform::tests::FinishChild(child), 42);
    std::ifstream file(log);
    const std::string logged((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(logged, "restore\nexit 42\n");
    std::remove(log.c_str());
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(found, kExitMessage, 1, 0)) << "the process is gone";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

} // namespace
} // namespace win32::tests
