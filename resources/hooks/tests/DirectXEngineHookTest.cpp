#include "resources/hooks/DirectXEngineHook.h"

#include "platform/testing/DirectInputTesting.h"
#include "resources/testing/HookTestWindows.h"
#include "resources/testing/TestResourceFamily.h"

#include <gtest/gtest.h>

namespace {

using namespace Vemo;
using namespace VemoTest;

const win32::HINSTANCE kInstance =
    reinterpret_cast<win32::HINSTANCE>(static_cast<win32::ULONG_PTR>(0x400000));

class DirectXEngineHookTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (DirectXEngineHook::Installed() != nullptr) {
            DirectXEngineHook::Uninstall();
        }
    }

    TestApplication m_application;
};

TEST_F(DirectXEngineHookTest, InstallNeedsAnInstanceAndHappensOnce) {
    EXPECT_FALSE(DirectXEngineHook::Install(nullptr));
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    DirectXEngineHook* first = DirectXEngineHook::Installed();
    EXPECT_FALSE(DirectXEngineHook::Install(kInstance));
    EXPECT_EQ(DirectXEngineHook::Installed(), first);
    EXPECT_EQ(first->GetInstance(), kInstance);
    EXPECT_TRUE(DirectXEngineHook::Uninstall());
    EXPECT_FALSE(DirectXEngineHook::Uninstall());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrNoInstance},
                                                    {EngineHookErrStartupFailed},
                                                    {EngineHookErrAlreadyInstalled},
                                                    {EngineHookErrNotInstalled}}));
}

TEST_F(DirectXEngineHookTest, EveryServiceNeedsTheHook) {
    HookTestDisplayWindow window;
    HookTestInputObject object;
    EXPECT_FALSE(DirectXEngineHook::AddWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::RemoveWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::SetCurrentWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::ReleaseCurrentWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::AddInputObject(&object));
    EXPECT_FALSE(DirectXEngineHook::RemoveInputObject(&object));
    EXPECT_FALSE(DirectXEngineHook::HasWindow(&window));
    EXPECT_EQ(m_application.TakeReports(), Reports(6, Reported(EngineHookErrNotInstalled)));
}

TEST_F(DirectXEngineHookTest, WindowsJoinAndLeaveTheSetOnce) {
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    HookTestDisplayWindow window(true);
    ASSERT_TRUE(DirectXEngineHook::AddWindow(&window));
    EXPECT_EQ(window.GetDirectXHook(), hook);
    EXPECT_FALSE(window.IsMain()) << "a window of the set does not hold the display";
    EXPECT_TRUE(DirectXEngineHook::HasWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::AddWindow(&window));

    // Another object with the same serial is the same window.
    HookTestDisplayWindow twin;
    twin.m_serial = window.m_serial;
    EXPECT_TRUE(DirectXEngineHook::HasWindow(&twin));

    EXPECT_TRUE(DirectXEngineHook::RemoveWindow(&window));
    EXPECT_EQ(window.GetDirectXHook(), nullptr);
    EXPECT_FALSE(DirectXEngineHook::HasWindow(&window));
    EXPECT_FALSE(DirectXEngineHook::RemoveWindow(&window));
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{DirectXEngineHookErrWindowKnown}, {DirectXEngineHookErrWindowUnknown}}));
}

TEST_F(DirectXEngineHookTest, OneWindowHoldsTheDisplay) {
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    DirectXEngineHook* hook = DirectXEngineHook::Installed();
    HookTestDisplayWindow first;
    HookTestDisplayWindow second;
    EXPECT_FALSE(DirectXEngineHook::ReleaseCurrentWindow(&first));
    ASSERT_TRUE(DirectXEngineHook::SetCurrentWindow(&first));
    EXPECT_EQ(hook->GetCurrentWindow(), &first);
    EXPECT_TRUE(first.IsMain());
    EXPECT_EQ(first.GetDirectXHook(), hook);

    EXPECT_FALSE(DirectXEngineHook::SetCurrentWindow(&second));
    EXPECT_EQ(hook->GetCurrentWindow(), &first);
    EXPECT_FALSE(DirectXEngineHook::ReleaseCurrentWindow(&second));
    EXPECT_EQ(hook->GetCurrentWindow(), &first);

    EXPECT_TRUE(DirectXEngineHook::ReleaseCurrentWindow(&first));
    EXPECT_EQ(hook->GetCurrentWindow(), nullptr);
    EXPECT_FALSE(first.IsMain());
    EXPECT_EQ(first.GetDirectXHook(), nullptr);
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrNoDisplayWindow},
                                                    {DirectXEngineHookErrDisplayTaken},
                                                    {DirectXEngineHookErrNotDisplayWindow}}));
}

TEST_F(DirectXEngineHookTest, EachInputObjectGetsAnInterfaceOfItsOwn) {
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    int before = dinput::testing::LiveDirectInputObjects();
    HookTestInputObject first;
    HookTestInputObject second;
    ASSERT_TRUE(DirectXEngineHook::AddInputObject(&first));
    ASSERT_TRUE(DirectXEngineHook::AddInputObject(&second));
    EXPECT_NE(first.m_directInput, nullptr);
    EXPECT_NE(first.m_directInput, second.m_directInput);
    EXPECT_EQ(dinput::testing::LiveDirectInputObjects(), before + 2);
    EXPECT_FALSE(DirectXEngineHook::AddInputObject(&first));

    first.Obtain();
    first.Obtain();
    ASSERT_EQ(first.m_interfaces.size(), 2U);
    ASSERT_TRUE(DirectXEngineHook::RemoveInputObject(&first));
    EXPECT_EQ(first.m_released, 2) << "the further interfaces go through the object's own release";
    EXPECT_TRUE(first.m_interfaces.empty());
    EXPECT_EQ(first.m_directInput, nullptr);
    EXPECT_EQ(dinput::testing::LiveDirectInputObjects(), before + 1) << "only its own interface is released";
    EXPECT_NE(second.m_directInput, nullptr);
    EXPECT_FALSE(DirectXEngineHook::RemoveInputObject(&first));
    EXPECT_EQ(DirectXEngineHook::Installed()->GetInputObjects().Size(), 1U);
    EXPECT_EQ(m_application.TakeReports(),
              (Reports{{DirectXEngineHookErrObjectKnown}, {DirectXEngineHookErrObjectUnknown}}));
}

TEST_F(DirectXEngineHookTest, AFailedDirectInputCreationLeavesTheObjectOut) {
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    HookTestInputObject object;
    dinput::testing::FailNextDirectInputCreate(win32::E_OUTOFMEMORY);
    EXPECT_FALSE(DirectXEngineHook::AddInputObject(&object));
    EXPECT_EQ(object.m_directInput, nullptr);
    EXPECT_TRUE(DirectXEngineHook::Installed()->GetInputObjects().Empty());
    EXPECT_EQ(m_application.TakeReports(), (Reports{{DirectXEngineHookErrDirectInput}}));
}

TEST_F(DirectXEngineHookTest, ShutdownLetsWindowsGoAndLeavesInputObjectsTheirInterfaces) {
    ASSERT_TRUE(DirectXEngineHook::Install(kInstance));
    HookTestDisplayWindow main;
    HookTestDisplayWindow first;
    HookTestDisplayWindow second;
    HookTestInputObject object;
    ASSERT_TRUE(DirectXEngineHook::SetCurrentWindow(&main));
    ASSERT_TRUE(DirectXEngineHook::AddWindow(&first));
    ASSERT_TRUE(DirectXEngineHook::AddWindow(&second));
    ASSERT_TRUE(DirectXEngineHook::AddInputObject(&object));

    EXPECT_TRUE(DirectXEngineHook::Uninstall());
    for (HookTestDisplayWindow* window : {&main, &first, &second}) {
        EXPECT_EQ(window->GetDirectXHook(), nullptr);
        EXPECT_FALSE(window->IsMain());
    }
    EXPECT_NE(object.m_directInput, nullptr) << "the object releases its interface itself";
    EXPECT_TRUE(m_application.TakeReports().empty());
}

} // namespace
