#include "script/Win32Application.h"

#include "platform/testing/Clock.h"
#include "platform/testing/WindowTesting.h"
#include "platform/win32/windows/Window.h"
#include "resources/testing/TestResourceFamily.h"
#include "script/tests/ApplicationTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ApplicationTest::DrainMessages;
using ApplicationTest::Log;
using ApplicationTest::PumpApplication;
using ApplicationTest::TestInstance;
using Vemo::Win32Application;
using VemoTest::Reports;
using VemoTest::TestApplication;

constexpr win32::UINT kTestMessage = win32::WM_USER + 7;

// A window whose procedure logs the test messages it receives and advances the test's clock by a given time
// for each.
class PumpWindow {
public:
    static constexpr const char* kClassName = "Pump Test Window";

    PumpWindow(Log* log, platform::testing::FakeClock* clock) {
        s_log = log;
        s_clock = clock;
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::WNDCLASSEXA record{};
        record.cbSize = sizeof(record);
        record.lpfnWndProc = &PumpWindow::Procedure;
        record.hInstance = TestInstance();
        record.lpszClassName = kClassName;
        win32::RegisterClassExA(&record);
        m_window = win32::CreateWindowExA(0, kClassName, "Pump", win32::WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                          nullptr, nullptr, TestInstance(), nullptr);
    }
    ~PumpWindow() {
        win32::DestroyWindow(m_window);
        win32::UnregisterClassA(kClassName, TestInstance());
        s_log = nullptr;
        s_clock = nullptr;
    }
    PumpWindow(const PumpWindow&) = delete;
    PumpWindow& operator=(const PumpWindow&) = delete;

    void Post(int count) {
        for (int i = 0; i < count; ++i) {
            win32::PostMessageA(m_window, kTestMessage, static_cast<win32::WPARAM>(i), 0);
        }
    }

    static inline std::uint32_t s_millisecondsPerMessage = 0;

private:
    static win32::LRESULT Procedure(win32::HWND window, win32::UINT message, win32::WPARAM wParam,
                                    win32::LPARAM lParam) {
        if (message != kTestMessage) {
            return win32::DefWindowProcA(window, message, wParam, lParam);
        }
        s_log->push_back("message " + std::to_string(wParam));
        if (s_millisecondsPerMessage > 0) {
            s_clock->Advance(s_millisecondsPerMessage);
        }
        return 0;
    }

    static inline Log* s_log = nullptr;
    static inline platform::testing::FakeClock* s_clock = nullptr;
    win32::HWND m_window = nullptr;
};

class Win32ApplicationTest : public testing::Test {
protected:
    void SetUp() override {
        DrainMessages();
        PumpWindow::s_millisecondsPerMessage = 0;
        Win32Application::SetProcessValues(TestInstance(), nullptr, win32::SW_SHOWMAXIMIZED);
    }
    void TearDown() override {
        DrainMessages();
        Win32Application::SetProcessValues(nullptr, nullptr, win32::SW_SHOW);
    }

    TestApplication m_systems;
    platform::testing::FakeClock m_clock{1000};
    PumpApplication m_application;
    const Vemo::BasicArray<Vemo::String> m_noArguments{};
};

TEST_F(Win32ApplicationTest, InitializeTakesTheProcessValuesAndShutdownPutsThemBack) {
    const auto previous = reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x20000));
    Win32Application::SetProcessValues(TestInstance(), previous, win32::SW_SHOWMAXIMIZED);
    EXPECT_EQ(m_application.GetShowCommand(), win32::SW_SHOW);
    ASSERT_TRUE(m_application.Initialize(m_noArguments));
    EXPECT_EQ(m_application.GetInstanceHandle(), TestInstance());
    EXPECT_EQ(m_application.GetPreviousInstanceHandle(), previous);
    EXPECT_EQ(m_application.GetShowCommand(), win32::SW_SHOWMAXIMIZED);

    EXPECT_TRUE(m_application.Shutdown());
    EXPECT_EQ(Win32Application::GetProcessInstanceHandle(), nullptr);
    EXPECT_EQ(Win32Application::GetProcessPreviousInstanceHandle(), nullptr);
    EXPECT_EQ(Win32Application::GetProcessShowCommand(), win32::SW_SHOW);
}

TEST_F(Win32ApplicationTest, InitializeWithoutAnInstanceHandleFailsBeforeTheHooks) {
    Win32Application::SetProcessValues(nullptr, nullptr, win32::SW_SHOW);
    EXPECT_FALSE(m_application.Initialize(m_noArguments));
    EXPECT_TRUE(m_application.TakeLog().empty());
    EXPECT_EQ(m_systems.TakeReports(), (Reports{Win32Application::kErrorNoInstance}));
}

TEST_F(Win32ApplicationTest, WindowMessagesAreHandledBeforeTheFrameStep) {
    Log log;
    PumpWindow window(&log, &m_clock);
    window.Post(3);
    m_application.m_onStep = [&log](PumpApplication&) { log.push_back("OnStep"); };
    m_application.Step();
    EXPECT_EQ(log, (Log{"message 0", "message 1", "message 2", "OnStep"}));
}

TEST_F(Win32ApplicationTest, OneStepHandlesMessagesForAtMostTwoMilliseconds) {
    Log log;
    PumpWindow window(&log, &m_clock);
    PumpWindow::s_millisecondsPerMessage = 1;
    window.Post(5);
    m_application.m_onStep = [&log](PumpApplication&) { log.push_back("OnStep"); };
    m_application.Step();
    EXPECT_EQ(log, (Log{"message 0", "message 1", "OnStep"}));
    log.clear();
    m_application.Step();
    EXPECT_EQ(log, (Log{"message 2", "message 3", "OnStep"}));
}

TEST_F(Win32ApplicationTest, TheTwoMillisecondBoundHoldsAcrossAWrapOfTheClock) {
    platform::testing::FakeClock clock(0xFFFFFFFFull - 1);
    Log log;
    PumpWindow window(&log, &clock);
    PumpWindow::s_millisecondsPerMessage = 1;
    window.Post(3);
    m_application.Step();
    EXPECT_EQ(log, (Log{"message 0", "message 1"}));
}

struct QuitCase {
    int exitCode;
    bool success;
};

class Win32ApplicationQuitTest : public Win32ApplicationTest, public testing::WithParamInterface<QuitCase> {};

TEST_P(Win32ApplicationQuitTest, WmQuitEndsTheRunWithItsExitCodeAndNoFrameStep) {
    win32::PostQuitMessage(GetParam().exitCode);
    EXPECT_EQ(m_application.Run(), GetParam().success);
    EXPECT_TRUE(m_application.IsQuitting());
    EXPECT_TRUE(m_application.TakeLog().empty());
}

INSTANTIATE_TEST_SUITE_P(ExitCodes, Win32ApplicationQuitTest,
                         testing::Values(QuitCase{0, true}, QuitCase{3, false}, QuitCase{-1, false}),
                         [](const testing::TestParamInfo<QuitCase>& info) {
                             const int code = info.param.exitCode;
                             return std::string(code < 0 ? "ExitCodeMinus" : "ExitCode") +
                                    std::to_string(code < 0 ? -code : code);
                         });

TEST_F(Win32ApplicationTest, QuitPostsWmQuitAndTheRunEndsWhenThePumpTakesIt) {
    m_application.SetExitSuccess(false);
    int steps = 0;
    m_application.m_onStep = [&steps](PumpApplication& application) {
        if (++steps == 2) {
            application.Quit();
            EXPECT_FALSE(application.IsQuitting());
        }
    };
    EXPECT_TRUE(m_application.Run());
    EXPECT_EQ(steps, 2);
}

} // namespace
