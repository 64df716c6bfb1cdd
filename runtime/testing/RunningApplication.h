// The product's application in this process, made, started and shut down as the program's run function does
// it, with its windows on the headless backend. Start leaves the single-instance guard out (the guard has
// tests of its own); Make followed by Initialize(true) runs it.
//
//     TitleTest::RunningApplication m_running;           // a member of the fixture
//     void SetUp() override { ASSERT_NO_FATAL_FAILURE(TitleTest::RunningApplication::SetUpWindows()); }
//     void TearDown() override { m_running.TearDown(); }
//     TEST_F(MyTest, ...) { ASSERT_TRUE(m_running.Start()); m_running.App().Step(); }
#pragma once

#include "platform/testing/WindowTesting.h"
#include "platform/win32/WindowMessages.h"
#include "platform/win32/kernel/Module.h"
#include "platform/win32/windows/Window.h"
#include "runtime/product/QuorvenApp.h"

#include <gtest/gtest.h>

#include <memory>

namespace TitleTest {

class RunningApplication {
public:
    // Windows on the headless backend, no key or button held, and no window left by an earlier test.
    static void SetUpWindows() {
        ASSERT_EQ(win32::testing::LiveWindowCount(), 0U);
        win32::testing::UseVideoBackend(win32::testing::VideoBackendKind::Headless);
        win32::testing::ReleaseAllInput();
    }

    // Shuts the application down, drops the messages it left, and expects every window gone.
    void TearDown() {
        Stop();
        win32::MSG message;
        while (win32::PeekMessageA(&message, nullptr, 0, 0, win32::PM_REMOVE)) {
        }
        win32::testing::ReleaseAllInput();
        EXPECT_EQ(win32::testing::LiveWindowCount(), 0U);
    }

    // A new application, not yet initialized, with the process values the run function gives it.
    QuorvenApp& Make() {
        Vemo::Win32Application::SetProcessValues(win32::GetModuleHandleA(nullptr), nullptr, win32::SW_SHOW);
        m_application = std::make_unique<QuorvenApp>();
        return *m_application;
    }

    // The run function's Initialize; with the guard, the product application's own, else the messenger
    // application's beneath it.
    bool Initialize(bool guarded) {
        Vemo::BasicArray<Vemo::String> arguments;
        arguments.PushBack(Vemo::String());
        return guarded ? m_application->Initialize(arguments)
                       : m_application->MessengerApplication::Initialize(arguments);
    }

    // Start-up as the run function begins it, without the single-instance guard.
    bool Start() {
        Make();
        return Initialize(false);
    }

    // Shut-down as the run function ends it; true when nothing was started.
    bool Stop() {
        if (m_application == nullptr) {
            return true;
        }
        const bool shut = m_application->Shutdown();
        m_application.reset();
        // The program registers its mutex window's class once a process and leaves it to the process's end;
        // the next start-up in this process registers it again.
        win32::UnregisterClassA(Win32DXQTMultimediaApplication::kMutexWindowClassName,
                                win32::GetModuleHandleA(nullptr));
        return shut;
    }

    bool Made() const { return m_application != nullptr; }
    QuorvenApp& App() { return *m_application; }

private:
    std::unique_ptr<QuorvenApp> m_application;
};

} // namespace TitleTest
