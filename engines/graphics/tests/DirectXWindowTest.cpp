#include "engines/graphics/directx/DirectXWindow.h"

#include "engines/graphics/directx/DirectXWindowEventHandler.h"
#include "engines/graphics/testing/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace Vemo;
using namespace VemoTest;
using win32::testing::GetWindowState;

using DirectXWindowTest = WindowTest;

TEST_F(DirectXWindowTest, TheMainWindowHoldsTheDisplayAndASecondOneIsRefused) {
    DirectXWindow first(true);
    ASSERT_TRUE(Create(first));
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    EXPECT_EQ(hook->GetCurrentWindow(), &first);
    EXPECT_EQ(first.GetDirectXHook(), hook);
    EXPECT_TRUE(hook->GetWindows().Empty()) << "the display window is not one of the set";

    DirectXWindow second(true);
    EXPECT_FALSE(Create(second));
    EXPECT_EQ(second.GetWindowHandle(), nullptr);
    EXPECT_EQ(hook->GetCurrentWindow(), &first);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{DirectXEngineHookErrDisplayTaken}, {DirectXEngineHookErrTakeDisplayFailed}}));

    EXPECT_TRUE(first.Destroy());
    EXPECT_EQ(hook->GetCurrentWindow(), nullptr);
    EXPECT_EQ(first.GetDirectXHook(), nullptr);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

TEST_F(DirectXWindowTest, AMainWindowWhoseCreationFailsLeavesNoDisplayWindow) {
    Log log;
    DirectXWindow window(true);
    RecordingHandler refusing(&log);
    refusing.m_create = false;
    window.AddEventHandler(&refusing);
    EXPECT_FALSE(Create(window));
    EXPECT_EQ(DirectXEngineHook::Installed()->GetCurrentWindow(), nullptr);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{Win32EngineHookErrCreateWindow}, {Win32EngineHookErrCreateWindow}}));
}

TEST_F(DirectXWindowTest, OtherWindowsJoinTheSetUntilDestroyed) {
    DirectXWindow window(false);
    ASSERT_TRUE(Create(window));
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    EXPECT_TRUE(DirectXEngineHook::HasWindow(&window));
    EXPECT_EQ(hook->GetCurrentWindow(), nullptr);
    EXPECT_TRUE(window.Destroy());
    EXPECT_FALSE(DirectXEngineHook::HasWindow(&window));
    EXPECT_FALSE(GetWindowState(window.GetWindowHandle()).exists);

    // A second Destroy finds neither a native window nor a registration.
    EXPECT_FALSE(window.Destroy());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowUnknown},
                                                    {DirectXEngineHookErrWindowUnknown},
                                                    {DirectXEngineHookErrRemoveWindowFailed}}));
}

// A handler that deletes its window while the window's Destroy runs: the destructor leaves the hooks, and
// the rest of the Destroy leaves the deleted object alone.
TEST_F(DirectXWindowTest, AHandlerMayDeleteItsWindowWhileDestroyRuns) {
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    for (bool main : {true, false}) {
        Log log;
        DirectXWindow other(false);
        ASSERT_TRUE(Create(other));
        auto* window = new DirectXWindow(main);
        RecordingHandler handler(&log);
        handler.m_duringDestroy = [&](RecordingHandler&) { delete window; };
        window->AddEventHandler(&handler);
        ASSERT_TRUE(Create(*window));
        EXPECT_TRUE(window->Destroy()) << main;
        EXPECT_EQ(hook->GetCurrentWindow(), nullptr) << main;
        ASSERT_EQ(hook->GetWindows().Size(), 1U) << main;
        EXPECT_EQ(*hook->GetWindows().Begin(), &other) << main;
        EXPECT_EQ(Win32EngineHook::Installed()->GetWindows().Size(), 1U) << main;
        EXPECT_EQ(m_application.TakeReports(), Reports{}) << main;

        // The same during creation: the failed creation has nothing left to undo.
        window = new DirectXWindow(main);
        handler.m_duringCreate = [&](RecordingHandler&) { delete window; };
        window->AddEventHandler(&handler);
        EXPECT_FALSE(Create(*window)) << main;
        EXPECT_EQ(hook->GetCurrentWindow(), nullptr) << main;
        EXPECT_EQ(hook->GetWindows().Size(), 1U) << main;
        EXPECT_EQ(m_application.TakeReports(),
                  (Reports{{Win32EngineHookErrCreateWindow}, {Win32EngineHookErrCreateWindow}}))
            << main;
    }
}

TEST_F(DirectXWindowTest, WithoutTheWin32HookTheRegistrationIsUndone) {
    Win32EngineHook::Uninstall();
    DirectXWindow main(true);
    DirectXWindow other(false);
    EXPECT_FALSE(Create(main));
    EXPECT_FALSE(Create(other));
    EXPECT_EQ(DirectXEngineHook::Installed()->GetCurrentWindow(), nullptr);
    EXPECT_TRUE(DirectXEngineHook::Installed()->GetWindows().Empty());
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{EngineHookErrNotInstalled}, {EngineHookErrNotInstalled}}));
}

TEST_F(DirectXWindowTest, DestroyWithoutTheDirectXHookStillDestroysTheNativeWindow) {
    DirectXWindow window(false);
    ASSERT_TRUE(Create(window));
    win32::HWND handle = window.GetWindowHandle();
    EXPECT_TRUE(DirectXEngineHook::Uninstall());
    EXPECT_FALSE(window.Destroy());
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{EngineHookErrNotInstalled}}));
}

TEST_F(DirectXWindowTest, DestroyOfAMainWindowThatDoesNotHoldTheDisplayReportsIt) {
    DirectXWindow holder(true);
    ASSERT_TRUE(Create(holder));
    DirectXWindow latecomer(true);
    EXPECT_FALSE(Create(latecomer));
    m_application.TakeReports();
    EXPECT_FALSE(latecomer.Destroy());
    EXPECT_EQ(DirectXEngineHook::Installed()->GetCurrentWindow(), &holder);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{Win32EngineHookErrWindowUnknown},
                                                    {DirectXEngineHookErrNotDisplayWindow},
                                                    {DirectXEngineHookErrReleaseDisplayFailed}}));
}

TEST_F(DirectXWindowTest, TheDestructorLeavesTheHook) {
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    Log log;
    DirectXWindowEventHandler handler;
    win32::HWND handle;
    {
        DirectXWindow main(true);
        DirectXWindow other(false);
        ASSERT_TRUE(Create(main));
        ASSERT_TRUE(Create(other));
        main.AddEventHandler(&handler);
        handle = main.GetWindowHandle();
    }
    EXPECT_EQ(hook->GetCurrentWindow(), nullptr);
    EXPECT_TRUE(hook->GetWindows().Empty());
    EXPECT_TRUE(Win32EngineHook::Installed()->GetWindows().Empty());
    EXPECT_FALSE(GetWindowState(handle).exists);
    EXPECT_EQ(handler.GetWindow(), nullptr);
    EXPECT_TRUE(m_application.TakeReports().empty());
}

} // namespace
